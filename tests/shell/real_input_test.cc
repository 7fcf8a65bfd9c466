// The built window driven as a user drives it: vrdk-mouse on the simulated
// mouse under Xvfb, with real X key presses and clicks (xdotool, through the
// XTEST extension) at a human pace and a fast one. What the mouse got is read
// from the simulated mouse's memory file (written back when the window
// closes) and from the report trace. Places come from --layout-report.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "macros/macro_library.h"
#include "support/temp_dir.h"

namespace vrdk::shell {
namespace {

using nlohmann::json;
using testing::TempDir;
using namespace std::chrono_literals;

std::string Run(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const std::string& log) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
  const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (out >= 0) {
    ::dup2(out, 1);
    ::dup2(out, 2);
  }
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  ::execvp(args[0], args.data());
  ::_exit(127);
}

// One Xvfb for the whole run.
class Display : public ::testing::Environment {
 public:
  void SetUp() override {
    for (int n = 91; n < 130 && name_.empty(); ++n) {
      const std::string number = std::to_string(n);
      std::string lock = "/tmp/.X";
      lock.append(number).append("-lock");
      if (std::filesystem::exists(lock)) continue;
      std::string display = ":";
      display.append(number);
      std::string socket = "/tmp/.X11-unix/X";
      socket.append(number);
      pid_ = Spawn({"Xvfb", display, "-screen", "0", "1600x1000x24", "-nolisten", "tcp"}, {},
                   "/dev/null");
      for (int i = 0; i < 50; ++i) {
        std::this_thread::sleep_for(100ms);
        if (std::filesystem::exists(socket)) {
          std::this_thread::sleep_for(300ms);
          name_ = display;
          break;
        }
      }
      if (name_.empty()) ::kill(pid_, SIGKILL);
    }
    ::setenv("DISPLAY", name_.c_str(), 1);
  }
  void TearDown() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  static const std::string& Name() { return name_; }

 private:
  inline static std::string name_;
  pid_t pid_ = -1;
};

// The window on a simulated mouse kept in a file of its own.
class Window {
 public:
  explicit Window(std::vector<std::string> extra = {}) {
    std::vector<std::string> argv = {VRDK_MOUSE_PATH, "--simulate=" + Memory(),
                                     "--layout-report=" + Layout(), "--trace=" + TracePath()};
    argv.insert(argv.end(), extra.begin(), extra.end());
    pid_ = Spawn(argv,
                 {{"XDG_STATE_HOME", dir_.File("state")},
                  {"XDG_DATA_HOME", dir_.File("data")},
                  {"XDG_CONFIG_HOME", dir_.File("config")},
                  {"XDG_RUNTIME_DIR", dir_.File("")},
                  {"XDG_CURRENT_DESKTOP", "none"},
                  {"LANG", "C.UTF-8"}},
                 dir_.File("window.log"));
  }
  ~Window() { Close(); }

  std::string Memory() const { return dir_.File("mouse.bin"); }
  std::string Layout() const { return dir_.File("layout.json"); }
  std::string TracePath() const { return dir_.File("trace.txt"); }

  // Waits until the mouse is read and the pages show it.
  bool WaitConnected(std::chrono::seconds limit = 30s) {
    return WaitFor(limit, [this] {
      const json layout = ReadLayout();
      return layout.contains("controls") && !Visible(layout, "Disable_All_1") &&
             Find(layout, "Btn_Adv_1") != nullptr;
    });
  }
  template <typename Done>
  bool WaitFor(std::chrono::milliseconds limit, Done done) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (done()) return true;
      std::this_thread::sleep_for(100ms);
    }
    return done();
  }
  // The last report (an empty object while there is none).
  json ReadLayout() const {
    std::ifstream in(Layout());
    json layout = json::parse(in, nullptr, false);
    return layout.is_object() ? layout : json::object();
  }
  static const json* Find(const json& layout, const std::string& name) {
    if (!layout.contains("controls")) return nullptr;
    for (const json& control : layout["controls"]) {
      if (control.value("name", "") == name) return &control;
    }
    return nullptr;
  }
  static bool Visible(const json& layout, const std::string& name) {
    const json* control = Find(layout, name);
    return control != nullptr && control->value("visible", false);
  }
  // The control with the keyboard focus, as last reported.
  std::string Focus() const { return ReadLayout().value("focus", ""); }
  std::string Page() const { return ReadLayout().value("page", ""); }
  bool Busy() const { return ReadLayout().value("busy", false); }
  // The window takes the keyboard, as a desktop gives it to a window opened.
  void TakeKeyboard() {
    Origin();
    Run("xdotool windowfocus --sync " + window_id_ + " 2>/dev/null");
  }
  // Presses `key` until `name` has the focus; false when it never does.
  bool KeyTo(const std::string& key, const std::string& name, int pace, int most = 80) {
    for (int i = 0; i < most; ++i) {
      if (Focus() == name) return true;
      const std::string before = Focus();
      Keys(key, pace);
      WaitFor(1s, [&] { return Focus() != before; });
    }
    return Focus() == name;
  }
  std::string Text(const std::string& name) const {
    const json layout = ReadLayout();
    const json* control = Find(layout, name);
    return control != nullptr ? control->value("text", "") : "";
  }

  // The window's place on the screen (found once).
  std::pair<int, int> Origin() {
    if (!origin_) {
      for (const std::string& id : Lines(Run("xdotool search --onlyvisible --pid " +
                                             std::to_string(pid_) + " 2>/dev/null"))) {
        const std::string geometry = Run("xdotool getwindowgeometry " + id);
        int x = 0, y = 0, width = 0, height = 0;
        const auto at = geometry.find("Position: ");
        const auto size = geometry.find("Geometry: ");
        if (at == std::string::npos || size == std::string::npos) continue;
        std::sscanf(geometry.c_str() + at, "Position: %d,%d", &x, &y);
        std::sscanf(geometry.c_str() + size, "Geometry: %dx%d", &width, &height);
        if (width >= 1000) {
          origin_ = {x, y};
          window_id_ = id;
        }
      }
    }
    return origin_.value_or(std::pair{0, 0});
  }
  // The visible windows of the program (the main window, a dialog).
  int Windows() const {
    return static_cast<int>(
        Lines(Run("xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null"))
            .size());
  }
  // A click in the middle of a named control, as its place was last reported.
  void Click(const std::string& name) { ClickWith(name, {1}); }
  // A click on a page button; true once the report shows the page.
  bool ShowPage(const std::string& button, const std::string& page) {
    Click(button);
    // Clicks held while a write runs are given to the page afterwards.
    return WaitFor(20s, [&] { return ReadLayout().value("page", "") == page; });
  }
  // The pointer to the middle of a named control, then clicks of the given
  // X buttons (1 left, 2 middle, 3 right) there, 200 ms apart.
  void ClickWith(const std::string& name, const std::vector<int>& buttons) {
    const json layout = ReadLayout();
    const json* control = Find(layout, name);
    ASSERT_NE(control, nullptr) << name;
    const auto [x, y] = Origin();
    const int cx = x + (*control)["x"].get<int>() + (*control)["width"].get<int>() / 2;
    const int cy = y + (*control)["y"].get<int>() + (*control)["height"].get<int>() / 2;
    std::string command =
        "xdotool mousemove --sync " + std::to_string(cx) + " " + std::to_string(cy);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      if (i > 0) command += " sleep 0.2";
      command += " click " + std::to_string(buttons[i]);
    }
    Run(command);
  }
  // The dialogs the report shows (see --layout-report).
  std::size_t Dialogs() const {
    const json layout = ReadLayout();
    return layout.contains("dialogs") ? layout["dialogs"].size() : 0;
  }
  std::string DataFolder() const { return dir_.File("data"); }
  void Type(const std::string& text, int delay_ms) {
    Run("xdotool type --delay " + std::to_string(delay_ms) + " '" + text + "'");
  }
  void Keys(const std::string& keys, int delay_ms) {
    Run("xdotool key --delay " + std::to_string(delay_ms) + " " + keys);
  }
  std::vector<std::string> Trace() const { return Lines(TempDirRead(TracePath())); }
  // Closes the window as SIGTERM does (the close button's road); the memory
  // file holds what the mouse holds then.
  void Close() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(100ms);
    }
    if (::waitpid(pid_, &status, WNOHANG) == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }
  std::vector<std::uint8_t> MemoryBytes() const { return TempDir::Read(Memory()); }
  std::string Log() const { return TempDirRead(dir_.File("window.log")); }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }
  static std::string TempDirRead(const std::string& path) {
    const auto bytes = TempDir::Read(path);
    return {bytes.begin(), bytes.end()};
  }

 private:
  TempDir dir_;
  pid_t pid_ = -1;
  std::optional<std::pair<int, int>> origin_;
  std::string window_id_;
};

int Word(const std::vector<std::uint8_t>& memory, std::size_t at) {
  return memory[at] << 8 | memory[at + 1];
}

// The paces of typing: 200 ms a key as a person types, 20 ms as one who types fast.
class RealInput : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (Display::Name().empty()) GTEST_SKIP() << "no Xvfb display could be started";
  }
  int Pace() const { return GetParam(); }
};

TEST_P(RealInput, EveryKeyTypedIntoTheBoxesReachesTheMouse) {
  Window window;
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  ASSERT_TRUE(window.ShowPage("Btn_Adv_1", "gbPage2"));
  // Fire key 2's interval, typed over: 1234.
  window.Click("Edt_DelayTime2");
  window.Keys("ctrl+a", Pace());
  window.Type("1234", Pace());
  window.Keys("Tab", Pace());
  // Fire key 3's shots "8": End, Backspace, 4. The empty box is neither sent
  // nor refilled, and 4 goes.
  window.Click("Edt_Repeat3");
  window.Keys("End BackSpace", Pace());
  window.Type("4", Pace());
  window.Keys("Tab", Pace());
  // Fire key 1's interval "60": End, Backspace twice, 90.
  window.Click("Edt_DelayTime1");
  window.Keys("End BackSpace BackSpace", Pace());
  window.Type("90", Pace());
  window.Keys("Tab", Pace());
  // The Light page's upper bound, 12345.
  ASSERT_TRUE(window.ShowPage("Btn_Breath_2", "gbPage3"));
  window.Click("edt_Upper_3");
  window.Keys("ctrl+a", Pace());
  window.Type("12345", Pace());
  window.Keys("Tab", Pace());
  std::this_thread::sleep_for(1s);
  window.Close();
  const auto memory = window.MemoryBytes();
  ASSERT_EQ(memory.size(), 2048u);
  EXPECT_EQ(Word(memory, 484 + 6), 1234) << "fire key 2's interval";
  EXPECT_EQ(memory[484 + 8], 4 - 1) << "fire key 3's shots";
  EXPECT_EQ(Word(memory, 484 + 3), 90) << "fire key 1's interval";
  EXPECT_EQ(Word(memory, 50), 12345) << "the LED upper bound";
}

TEST_P(RealInput, TheEngineerPageTakesEveryKeyOfItsBoxes) {
  Window window({"--engineer"});
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  // The access code, typed into its dialog.
  std::this_thread::sleep_for(1s);
  window.Type("TarvondQXKPW", Pace());
  window.Keys("Return", Pace());
  ASSERT_TRUE(window.WaitFor(10s, [&] {
    return window.ReadLayout().value("page", "") == "gbPage7";
  })) << window.Log();
  std::this_thread::sleep_for(500ms);
  // The keys tab shows first: an effect colour's green.
  window.Click("edt_Col1G");
  window.Keys("ctrl+a", Pace());
  window.Type("200", Pace());
  window.Keys("Tab", Pace());
  // Ctrl+Tab to the chip tab, whose controls the report then places.
  for (int tab = 0; tab < 4 && !Window::Visible(window.ReadLayout(), "edt_MaxShut"); ++tab) {
    window.Keys("ctrl+Tab", Pace());
    std::this_thread::sleep_for(300ms);
  }
  ASSERT_TRUE(Window::Visible(window.ReadLayout(), "edt_MaxShut"));
  for (const auto& [box, text] : std::vector<std::pair<std::string, std::string>>{
           {"edt_MaxShut", "5E"}, {"edt_USBDesc", "Mouse"}}) {
    window.Click(box);
    window.Keys("ctrl+a", Pace());
    window.Type(text, Pace());
    window.Keys("Tab", Pace());
  }
  std::this_thread::sleep_for(2s);
  window.Close();
  const auto memory = window.MemoryBytes();
  ASSERT_EQ(memory.size(), 2048u);
  EXPECT_EQ(memory[57 + 1], 200) << "effect colour 1, green";
  EXPECT_EQ(memory[31], 0x5E) << "MaxShut";
  EXPECT_EQ(std::string(memory.begin() + 111, memory.begin() + 116), "Mouse");
  EXPECT_EQ(memory[116], 0);
}

TEST_P(RealInput, ABoxShowsTheMousesValueAfterAResetAndLeavingItWritesNothing) {
  Window window;
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  ASSERT_TRUE(window.ShowPage("Btn_Adv_1", "gbPage2"));
  window.Click("Edt_Repeat1");
  window.Keys("ctrl+a", Pace());
  window.Type("7", Pace());
  std::this_thread::sleep_for(500ms);
  // The box keeps the focus: the reset button is a picture.
  window.Click("Btn_Confirm1_2");
  // Asked first: yes.
  ASSERT_TRUE(window.WaitFor(5s, [&] { return window.Dialogs() == 1; })) << window.Log();
  window.Keys("alt+y", Pace());
  // The whole memory is written, the mouse restarts and is read again.
  ASSERT_TRUE(window.WaitFor(30s, [&] {
    const auto trace = window.Trace();
    return std::find(trace.begin(), trace.end(), "> 40 0E 00 00 00 00 00 00") != trace.end();
  }));
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  const std::size_t after_reset = window.Trace().size();
  EXPECT_EQ(window.Text("Edt_Repeat1"), "3");
  window.Keys("Tab", Pace());
  std::this_thread::sleep_for(1s);
  window.Close();
  const auto trace = window.Trace();
  for (std::size_t i = after_reset; i < trace.size(); ++i) {
    EXPECT_NE(trace[i].rfind("> 40 07", 0), 0u) << "written after the reset: " << trace[i];
  }
  EXPECT_EQ(window.MemoryBytes()[484 + 2], 2) << "the factory preset of fire key 1";
}

TEST_P(RealInput, ClicksMadeWhileAWriteRunsAreAllTaken) {
  Window window;
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  ASSERT_TRUE(window.ShowPage("Btn_Adv_1", "gbPage2"));
  // Level 3 at 3200, then at once level 4 at 800: the second click comes
  // while the first one's writes run.
  window.Click("Img_DPI3_10");
  std::this_thread::sleep_for(std::chrono::milliseconds(Pace() / 4));
  window.Click("Img_DPI4_4");
  std::this_thread::sleep_for(2s);
  window.Close();
  const auto memory = window.MemoryBytes();
  // Levels 3 and 4 share byte 45: level 3 in the low nibble, level 4 high.
  EXPECT_EQ(memory[45] & 0x0F, 9) << "level 3: 3200";
  EXPECT_EQ(memory[45] >> 4, 3) << "level 4: 800";
}

INSTANTIATE_TEST_SUITE_P(Paces, RealInput, ::testing::Values(200, 20),
                         [](const auto& pace) { return std::to_string(pace.param) + "ms"; });

TEST(RealInputWithoutPace, AMouseAttachedAtStartIsReadyAtOnceAndAFirstClickGetsItsAnswer) {
  if (Display::Name().empty()) GTEST_SKIP() << "no Xvfb display could be started";
  Window window;
  // The first report comes with the first paint; the mouse that was there
  // all along is looked for at once and needs no arrival settle.
  ASSERT_TRUE(window.WaitFor(15s, [&] { return window.ReadLayout().contains("controls"); }))
      << window.Log();
  const auto painted = std::chrono::steady_clock::now();
  window.Click("Btn_Adv_1");
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  // Generous for a slow machine: the benchmark gives the real figure.
  EXPECT_LE(std::chrono::steady_clock::now() - painted, 1500ms);
  EXPECT_TRUE(window.WaitFor(5s, [&] {
    return window.ReadLayout().value("page", "") == "gbPage2";
  })) << "the click made while the mouse was read opened no page";
  // The window's class is the desktop file's name (StartupWMClass).
  EXPECT_FALSE(
      shell::Run("xdotool search --class '^io\\.github\\.vrdk\\.Mouse$' 2>/dev/null").empty());
}

TEST(RealInputWithoutPace, AChangeTheMouseDoesNotKeepIsToldAndThePageShowsWhatItHolds) {
  if (Display::Name().empty()) GTEST_SKIP() << "no Xvfb display could be started";
  // Every data report of a memory write is taken but not kept.
  Window window({"--simulate-fault=forget-chunk:0:1000000"});
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  ASSERT_TRUE(window.ShowPage("Btn_Adv_1", "gbPage2"));
  window.Click("Edt_Repeat1");
  window.Keys("ctrl+a", 50);
  window.Type("9", 50);
  // The message dialog comes, a window of its own.
  ASSERT_TRUE(window.WaitFor(10s, [&] { return window.Windows() >= 2; })) << window.Log();
  window.Keys("Return", 50);
  ASSERT_TRUE(window.WaitFor(10s, [&] { return window.Windows() == 1; }));
  std::this_thread::sleep_for(2s);  // read again
  window.Close();
  EXPECT_EQ(window.MemoryBytes()[484 + 2], 2) << "the mouse kept its preset";
}

// Without the pointer: real key presses alone give a button a function
// through the key menus, and change a DPI value, the polling rate and the
// lighting effect.
TEST_P(RealInput, TheKeyboardAloneChangesTheButtonsDpiPollingAndLight) {
  Window window;
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  window.TakeKeyboard();
  // Key 3 of profile 1: its menu opens with Space; Multimedia, Play/Pause.
  ASSERT_TRUE(window.KeyTo("Tab", "Key3", Pace())) << window.Focus();
  window.Keys("space", Pace());
  ASSERT_TRUE(window.WaitFor(2s, [&] { return window.Focus().rfind("Key_", 0) == 0; }));
  ASSERT_TRUE(window.KeyTo("Down", "Key_Media", Pace())) << window.Focus();
  window.Keys("Right", Pace());
  ASSERT_TRUE(window.KeyTo("Down", "Key_PlayPause", Pace())) << window.Focus();
  window.Keys("Return", Pace());
  const auto written = [&](const std::string& line) {
    const auto trace = window.Trace();
    return std::find(trace.begin(), trace.end(), line) != trace.end();
  };
  EXPECT_TRUE(window.WaitFor(3s, [&] { return written("> 40 07 00 C0 00 93 00 00"); }))
      << "profile 1 written";
  EXPECT_TRUE(window.WaitFor(2s, [&] { return window.Focus() == "Key3"; })) << window.Focus();
  ASSERT_TRUE(window.WaitFor(3s, [&] { return !window.Busy(); }));

  // The advanced page, by its tab on the bar.
  ASSERT_TRUE(window.KeyTo("shift+Tab", "Btn_Adv_1", Pace())) << window.Focus();
  window.Keys("Return", Pace());
  ASSERT_TRUE(window.WaitFor(3s, [&] { return window.Page() == "gbPage2"; }));
  const auto writes = [&] {
    const auto trace = window.Trace();
    return std::count_if(trace.begin(), trace.end(),
                         [](const std::string& line) { return line.rfind("> 40 05", 0) == 0; });
  };
  const auto before = writes();
  ASSERT_TRUE(window.KeyTo("Tab", "slider_DPI1", Pace())) << window.Focus();
  window.Keys("Right", Pace());
  EXPECT_TRUE(window.WaitFor(3s, [&] { return writes() > before; })) << "DPI 1 written";
  ASSERT_TRUE(window.WaitFor(3s, [&] { return !window.Busy(); }));
  ASSERT_TRUE(window.KeyTo("Tab", "lbl_Rep2", Pace())) << window.Focus();
  window.Keys("space", Pace());
  // The new rate restarts the mouse, which is read again.
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(window.WaitConnected(10s));
  ASSERT_TRUE(window.WaitFor(3s, [&] { return !window.Busy(); }));

  // The lighting page, from the bar of the page shown after the read.
  const std::string page = window.Page();
  ASSERT_EQ(page.rfind("gbPage", 0), 0u) << page;
  ASSERT_TRUE(window.KeyTo("shift+Tab", "Btn_Breath_" + page.substr(6), Pace())) << window.Focus();
  window.Keys("Return", Pace());
  ASSERT_TRUE(window.WaitFor(3s, [&] { return window.Page() == "gbPage3"; }));
  ASSERT_TRUE(window.KeyTo("Tab", "lbl_LED1", Pace())) << window.Focus();
  window.Keys("space", Pace());
  EXPECT_TRUE(window.WaitFor(3s, [&] {
    const auto trace = window.Trace();
    return std::any_of(trace.begin(), trace.end(),
                       [](const std::string& line) { return line.rfind("> 40 05 00 A5", 0) == 0; });
  })) << "the effect in use written";
  std::this_thread::sleep_for(500ms);
  window.Close();
  const auto memory = window.MemoryBytes();
  ASSERT_EQ(memory.size(), 2048u);
  EXPECT_EQ(memory[192 + 8 + 2], 0xCD) << "key 3 of profile 1 plays and pauses";
  const auto trace = window.Trace();
  EXPECT_EQ((memory[4] >> 4) & 0x03, 1)
      << "the second polling rate; rate writes: "
      << std::count_if(trace.begin(), trace.end(),
                       [](const std::string& line) { return line.rfind("> 40 05 00 04", 0) == 0; });
  EXPECT_EQ(memory[165] & 0x0F, 1) << "the first effect, CPI Breath (mode 1), in use";
}

// The gesture options of the main page take real clicks on their texts and
// on their check pictures.
TEST(RealInputWithoutPace, AGestureOptionSwitchesItsGesture) {
  if (Display::Name().empty()) GTEST_SKIP() << "no Xvfb display could be started";
  Window window;
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  window.Click("Btn_Main_1");
  std::this_thread::sleep_for(500ms);
  // "Press 'Middle Key' 3s Switch Office/Gaming Mode": on by its text, off by
  // its picture, on again.
  for (const char* target : {"IB_ComboKey2", "Img_ComboKey2", "IB_ComboKey2"}) {
    window.Click(target);
    std::this_thread::sleep_for(500ms);
  }
  std::this_thread::sleep_for(500ms);
  const auto trace = window.Trace();
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "> 40 07 00 C0 00 93 00 00"), 3)
      << "profile 1 written once a click";
  window.Close();
  const auto memory = window.MemoryBytes();
  ASSERT_EQ(memory.size(), 2048u);
  EXPECT_EQ(memory[192 + 24 + 3], 0x08) << "the middle button of profile 1 holds the switch";
  EXPECT_EQ(memory[127 + 12], 0x07) << "slot 4 switches the profile";
}

// Recording in each delay mode: a key, then the left, right, middle, back
// and forward buttons clicked over the page, the Menu key (which opens no context menu
// that would take the Stop click), and Stop.
class RealRecording : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (Display::Name().empty()) GTEST_SKIP() << "no Xvfb display could be started";
  }
};

TEST_P(RealRecording, MouseButtonsClickedOverThePageBecomeLines) {
  Window window;
  ASSERT_TRUE(window.WaitConnected()) << window.Log();
  ASSERT_TRUE(window.ShowPage("Btn_Macro_1", "gbPage4"));
  window.Click("Btn_New");
  ASSERT_TRUE(window.WaitFor(5s, [&] { return window.Dialogs() == 1; })) << window.Log();
  window.Type("Rec", 50);
  window.Keys("Return", 50);
  ASSERT_TRUE(window.WaitFor(5s, [&] { return window.Dialogs() == 0; }));
  window.Click(GetParam());
  window.Click("Btn_Start");
  std::this_thread::sleep_for(300ms);
  window.Keys("a", 100);
  window.ClickWith("LB_PCMacroName", {1, 3, 2, 8, 9});
  window.Keys("Menu", 100);
  std::this_thread::sleep_for(300ms);
  window.Click("Btn_Start");
  std::this_thread::sleep_for(500ms);
  // Stopped: a key now is not recorded.
  window.Keys("b", 100);
  std::this_thread::sleep_for(500ms);
  window.Close();
  macros::MacroLibrary library;
  ASSERT_TRUE(library.Load(window.DataFolder() + "/vrdk/Macro.bin").ok());
  ASSERT_EQ(library.Count(), 1);
  const auto decoded = library.Lines(0);
  ASSERT_TRUE(decoded.has_value());
  std::vector<std::string> events;
  for (std::size_t i = 1; i < decoded->lines.size(); ++i) {
    if (decoded->lines[i].rfind("0 ", 0) != 0) events.push_back(decoded->lines[i]);
  }
  // The Menu key is a key like any other; the click on Stop is not recorded.
  EXPECT_EQ(events, (std::vector<std::string>{
                        "1 A CODE:8204", "2 A CODE:0204", "1 LeftKey CODE:00A1",
                        "2 LeftKey CODE:0021", "1 RightKey CODE:00A2", "2 RightKey CODE:0022",
                        "1 MiddleKey CODE:00A4", "2 MiddleKey CODE:0024", "1 Backward CODE:00B0",
                        "2 Backward CODE:0030", "1 Forward CODE:00A8", "2 Forward CODE:0028",
                        "1 Applications CODE:8265", "2 Applications CODE:0265"}));
}

INSTANTIATE_TEST_SUITE_P(DelayModes, RealRecording,
                         ::testing::Values("IB_NoDelay", "IB_RecDelay", "IB_DelayTime"),
                         [](const auto& mode) { return mode.param.substr(3); });

}  // namespace
}  // namespace vrdk::shell

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new vrdk::shell::Display);
  return RUN_ALL_TESTS();
}
