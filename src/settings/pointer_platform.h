// Where the system's pointer settings live: the seam between the pointer
// settings editor and the platform. The values are those the Windows user
// settings hold (as text, as the registry stores them):
//
//   "Control Panel\Mouse":   MouseSensitivity (1..20), MouseSpeed,
//                            MouseThreshold1, MouseThreshold2 (the
//                            acceleration triple), DoubleClickSpeed (ms)
//   "Control Panel\Desktop": WheelScrollLines (lines, -1 a screen a notch)
//
// and, where the platform has a place for it, the wheel lines chosen before
// whole-screen scrolling was switched on, so that switching it off later
// returns to them.
//
// Implementations: Windows (registry and SystemParametersInfo), Linux (the
// desktop's settings service where one runs, a settings file of the program
// for the rest) and an in-memory one for tests.
#pragma once

#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrdk::settings {

enum class PointerValue {
  kMouseSensitivity,
  kMouseSpeed,
  kMouseThreshold1,
  kMouseThreshold2,
  kDoubleClickSpeed,
  kWheelScrollLines,
  kWheelScrollLinesBeforeWholeScreen,
};
inline constexpr int kPointerValueCount = 7;

// The setting one apply is about: the one the user changed.
enum class PointerSetting { kSpeed, kAcceleration, kDoubleClick, kWheel };

// "MouseSensitivity", ... as the registry names them.
std::string_view PointerValueName(PointerValue value);

// The values the page shows, and which of them the user changed.
struct PointerWrite {
  int mouse_sensitivity = 10;                // 1..20
  std::array<int, 3> acceleration{0, 0, 0};  // MouseSpeed, MouseThreshold1, MouseThreshold2
  int double_click_ms = 480;
  int wheel_lines = 3;  // -1: a whole screen a notch
  int wheel_lines_before_whole_screen = 3;
  PointerSetting changed = PointerSetting::kSpeed;
  friend bool operator==(const PointerWrite&, const PointerWrite&) = default;
};

// Why the system does not use a changed value.
struct PointerProblem {
  enum class Kind {
    kNoSuchSetting,  // the desktop has no such setting (or no whole-screen scrolling)
    kToolFailed,     // its settings tool could not set the value
    kNotTaken,       // the value reads back otherwise after the change
    kOtherDesktop,   // a desktop this program cannot tell
  };
  Kind kind = Kind::kNotTaken;
  std::string desktop;        // "GNOME", "KDE Plasma", or the name XDG_CURRENT_DESKTOP gives
  std::string tool;           // kToolFailed: "gsettings", "kwriteconfig"
  bool whole_screen = false;  // kNoSuchSetting: whole-screen wheel scrolling
  std::string read_back;      // kNotTaken: what the setting reads after the change
};

// What became of an apply: whether the system uses the changed value now,
// and when it does not, why and where the value was kept.
struct PointerApplyResult {
  bool taken = true;
  PointerSetting setting = PointerSetting::kSpeed;
  PointerProblem problem;
  std::string file;     // where the value is kept
  bool kept = false;    // it was kept there
  std::string message;  // PointerApplyText in language 1
};

// How long a desktop tool is given to answer before it is ended.
inline constexpr std::chrono::milliseconds kToolTimeLimit{3000};

// A desktop tool that did not answer in time while the settings were read:
// the settings that could not be read from the desktop (the values this
// program kept stand in for them).
struct PointerReadProblem {
  std::string tool;     // "gsettings", "kreadconfig6"
  std::string desktop;  // as XDG_CURRENT_DESKTOP names it
  std::vector<PointerSetting> settings;
  friend bool operator==(const PointerReadProblem&, const PointerReadProblem&) = default;
};

// What could not be read and why, in language 1..3.
std::string PointerReadText(const PointerReadProblem& problem, int language);

// The line that says what was not taken and where the value was kept, in
// language 1..3; empty for a value that was taken.
std::string PointerApplyText(const PointerApplyResult& result, int language);

// "speed", "acceleration", "double-click", "wheel".
std::string_view PointerSettingName(PointerSetting setting);

class PointerPlatform {
 public:
  virtual ~PointerPlatform() = default;
  // The stored text of a value; empty when it cannot be read.
  virtual std::optional<std::string> Read(PointerValue value) = 0;
  // Stores the values and makes the system use them at once. Windows stores
  // every value (the mouse values, then the wheel lines) and tells the system
  // in the order speed, acceleration, double-click time, wheel lines; a store
  // that cannot be opened is skipped, the system is told regardless. Linux
  // desktops are given the changed setting only and read it back.
  virtual PointerApplyResult Apply(const PointerWrite& values) = 0;
  // What could not be read from the system since this platform was made.
  virtual std::optional<PointerReadProblem> ReadProblem() const { return std::nullopt; }
};

// Keeps the texts in memory and records every apply.
class MemoryPointerPlatform : public PointerPlatform {
 public:
  std::optional<std::string> Read(PointerValue value) override;
  PointerApplyResult Apply(const PointerWrite& values) override;

  std::map<PointerValue, std::string> texts;
  std::vector<PointerWrite> applied;
  // While set, a change is not taken for this reason and the values stay.
  std::optional<PointerProblem> refuse;
  std::optional<PointerReadProblem> read_problem;
  std::optional<PointerReadProblem> ReadProblem() const override { return read_problem; }
};

// The platform's own pointer settings (Windows or Linux).
std::unique_ptr<PointerPlatform> SystemPointerPlatform();

}  // namespace vrdk::settings
