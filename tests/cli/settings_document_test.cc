// vrdkctl export and apply against simulated mice kept in files: documents
// that go from one mouse to another whole, documents refused before anything
// is sent, and applies that send only what differs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <random>
#include <sstream>

#include "cli/vrdkctl.h"
#include "engineering/engineer_page.h"
#include "image/checksum.h"
#include "image/code_text.h"
#include "image/fields.h"
#include "image/image_assembly.h"
#include "image/image_split.h"
#include "image/memory_type.h"
#include "keys/key_code.h"
#include "settings/led_editor.h"
#include "simulator/simulated_mouse.h"
#include "support/temp_dir.h"
#include "tables/language_table.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;
using testing::TempDir;

// Random mice or documents per memory type (fewer where the sanitizers make
// every run slow).
#if defined(__SANITIZE_ADDRESS__)
constexpr unsigned kSeeds = 4;
#else
constexpr unsigned kSeeds = 16;
#endif

class SettingsDocumentTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  // vrdkctl on the mouse kept in `mouse` (made factory-new of the test's
  // memory type when missing), its transfers traced to `trace_`.
  int Run(const std::string& mouse, std::vector<std::string> args) {
    std::remove(trace_.c_str());
    args.insert(args.begin(), {"--simulate=" + mouse, "--memory-type",
                               std::string(MemoryTypeName(GetParam())), "--trace", trace_});
    std::ostringstream out, err;
    const int code = RunVrdkctl(args, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }
  json Export(const std::string& mouse) {
    EXPECT_EQ(Run(mouse, {"export"}), kExitDone) << err_;
    return json::parse(out_);
  }
  std::string Write(const std::string& name, const json& document) {
    const std::string path = dir_.File(name);
    std::ofstream(path) << document.dump(2);
    return path;
  }
  // The document applied (engineer settings too) to the factory-new mouse
  // kept in `mouse` exports as the same document.
  void ExpectMovesWhole(const json& document, const std::string& mouse) {
    ASSERT_EQ(Run(mouse, {"apply", "--engineer", Write("moved.json", document)}), kExitDone)
        << err_;
    EXPECT_EQ(Export(mouse), document);
  }
  // Whether the last run sent a write of the live settings or the memory.
  bool SentWrites() const {
    std::ifstream in(trace_);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("> 40 05", 0) == 0 || line.rfind("> 40 07", 0) == 0) return true;
    }
    return false;
  }

  TempDir dir_;
  std::string trace_ = dir_.File("trace.txt");
  std::string out_;
  std::string err_;
};

// A document of random settings a factory mouse of `type` can take: its own
// LED type's effects, button 1 of each profile left alone (the left-click
// rule), an AIM step only with an AIM key.
json RandomDocument(std::mt19937& random, MemoryType type, const json& factory) {
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  const auto number = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto colour = [&] {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", number(0, 0xFFFFFF));
    return std::string(text);
  };
  const std::vector<std::string> functions = {
      "Left Click",   "Right Click",  "Middle Click",  "Forward",       "Backward",  "DPI Loop",
      "DPI +",        "DPI -",        "Fire Button 1", "Fire Button 2", "Profile 1", "Profile 2",
      "DPI Lock",     "LED Mode",     "Disable",       "Play / Pause",  "Volume +",  "Mute",
      "Calculator",   "Ctrl+Shift+A", "Alt+F4",        "Win+D",         "B",         "Ctrl+C+V",
      "code:01000000"};
  json document = json::object();
  // Up to three macros of a few events each, which buttons may play.
  json macros = json::array();
  std::vector<std::string> functions_and_macros = functions;
  const std::vector<std::string> events = {"1 A CODE:8204",    "2 A CODE:0204", "1 Ctrl CODE:8101",
                                           "2 Ctrl CODE:0101", "0 50",          "0 1200"};
  for (const char* name : {"Walk", "Run", "Jump"}) {
    if (number(0, 1) == 0) continue;
    json lines = {"10"};
    for (int n = number(1, 6); n > 0; --n) lines.push_back(pick(events));
    macros.push_back({{"name", name}, {"lines", lines}});
    functions_and_macros.push_back(std::string("macro:") + name);
  }
  document["macros"] = macros;
  json profiles = json::object();
  bool aim = false;
  for (int p = 1; p <= 3; ++p) {
    json buttons = json::object();
    for (int k = 2; k <= 12; ++k) {
      if (number(0, 1) == 0) continue;
      buttons[std::to_string(k)] = pick(functions_and_macros);
      aim = aim || buttons[std::to_string(k)] == "DPI Lock";
    }
    profiles[std::to_string(p)] = {{"buttons", buttons}};
  }
  document["profiles"] = profiles;
  if (aim) document["aim"] = number(1, 12);
  const std::optional<LanguageTable> language = LoadLanguageTable(1);
  json levels = json::array();
  const int count = number(1, 8);
  for (int level = 0; level < count; ++level) {
    levels.push_back({{"value", std::stoi(language->DpiText(number(1, 12)))}, {"color", colour()}});
  }
  document["dpi"] = {{"levels", levels}, {"current", number(1, count)}};
  document["polling_rate"] = std::vector<int>{125, 250, 500, 1000}[number(0, 3)];
  json effects = json::array();
  for (const auto& effect : factory["lighting"]["effects"]) {
    if (number(0, 2) > 0 || effects.empty()) effects.push_back(effect);
  }
  json colours = json::array();
  for (int k = 0; k < 10; ++k) colours.push_back(colour());
  json lighting = {
      {"effects", effects},
      {"effect",
       effects[static_cast<std::size_t>(number(0, static_cast<int>(effects.size()) - 1))]},
      {"step_time", number(0, 255)},
      {"breath",
       {{"lower", number(0, 65535)},
        {"upper", number(0, 65535)},
        {"lower_time", number(0, 4094)},
        {"upper_time", number(0, 65535)}}},
      {"colors", colours},
      {"profile_colors", {number(1, 10), "fixed", number(1, 10)}},
      {"button_flash", number(0, 1) == 1}};
  if (type == MemoryType::kI2C) {
    lighting["mcu"] = {
        {"step", number(0, 7)}, {"scan", number(0, 1) ? 6 : 3}, {"leds", number(4, 13)}};
  }
  document["lighting"] = lighting;
  json fire = json::object();
  for (int n = 1; n <= 3; ++n) {
    fire[std::to_string(n)] = {
        {"count", number(1, 15)}, {"interval", number(1, 4094)}, {"hold", number(0, 1) == 1}};
  }
  document["fire"] = fire;
  const std::string game =
      pick({"none", "middle", "dpi", "dpi+", "dpi-", "right+back", "right+forward"});
  document["gestures"] = {{"game", game},
                          {"lighting", game.rfind("right", 0) != 0 && number(0, 1) == 1}};
  document["current_profile"] = number(1, 3);
  // The engineer page: every chip option and sensor register, the product
  // string and the recoil offsets (the USB ids and customer codes stay, or
  // the program would no longer take the mouse).
  json options = json::object();
  for (const auto& field : engineering::OptionFields()) {
    // An item by its text, or by its index.
    const int item = number(0, field.item_count - 1);
    options[std::string(field.control.substr(3))] =
        number(0, 1) == 0 ? json(item) : json(field.items[static_cast<std::size_t>(item)]);
  }
  json sensor = json::object();
  for (const auto& reg : engineering::SensorRegisters()) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", number(0, 255));
    sensor[std::string(reg.control.substr(4))] = hex;
  }
  json recoil = json::object();
  for (const char* axis : {"x", "y"}) {
    for (int n = 0; n < 10; ++n) recoil[axis].push_back(number(-128, 127));
  }
  document["engineer"] = {{"product_string", pick({"Mouse", "HID Gaming Mouse", "X 7"})},
                          {"options", options},
                          {"sensor", sensor},
                          {"recoil", recoil}};
  return document;
}

// Random settings given to mouse A and exported; the document applied to a
// factory-new mouse B gives the same document back, and applying it again
// sends nothing.
TEST_P(SettingsDocumentTest, ADocumentMovesEverySettingToAnotherMouse) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    const std::string a = dir_.File(std::to_string(seed) + "a.bin");
    const std::string b = dir_.File(std::to_string(seed) + "b.bin");
    const json given = RandomDocument(random, GetParam(), Export(a));
    ASSERT_EQ(Run(a, {"apply", "--engineer", Write("given.json", given)}), kExitDone)
        << err_ << given.dump();
    const json from_a = Export(a);
    // What was given is what the mouse holds.
    for (const char* key : {"dpi", "polling_rate", "current_profile"}) {
      EXPECT_EQ(from_a[key], given[key]) << key;
    }
    EXPECT_EQ(from_a["lighting"]["colors"], given["lighting"]["colors"]);
    EXPECT_EQ(from_a["lighting"]["breath"], given["lighting"]["breath"]);
    EXPECT_EQ(from_a["engineer"]["recoil"], given["engineer"]["recoil"]);
    ExpectMovesWhole(from_a, b);
    const auto memory = TempDir::Read(b);
    ASSERT_EQ(Run(b, {"apply", "--engineer", dir_.File("moved.json")}), kExitDone) << err_;
    EXPECT_THAT(out_, HasSubstr("nothing to change"));
    EXPECT_FALSE(SentWrites());
    EXPECT_EQ(TempDir::Read(b), memory);
  }
}

// A new LED type restores the factory settings of the type first; the rest of
// the document is then applied to them.
TEST_P(SettingsDocumentTest, ANewLedTypeComesFirstAndTheRestIsAppliedAfterIt) {
  const std::string mouse = dir_.File("mouse.bin");
  const json document = {
      {"lighting", {{"type", "NT"}, {"effects", {"Off"}}, {"effect", "Off"}, {"nt_leds", 5}}},
      {"dpi", {{"levels", {{{"value", 800}, {"color", "123456"}}}}, {"current", 1}}}};
  ASSERT_EQ(Run(mouse, {"apply", Write("nt.json", document)}), kExitDone) << err_;
  EXPECT_THAT(out_, HasSubstr("changed /lighting/type:"));
  const json held = Export(mouse);
  EXPECT_EQ(held["lighting"]["type"], "NT");
  EXPECT_EQ(held["lighting"]["effects"], json({"Off"}));
  EXPECT_EQ(held["lighting"]["nt_leds"], 5);
  EXPECT_EQ(held["dpi"], document["dpi"]);
  ASSERT_EQ(Run(mouse, {"apply", dir_.File("nt.json")}), kExitDone) << err_;
  EXPECT_FALSE(SentWrites());
}

// A sound memory image of `type` with random settings where the document has
// them: every button but the first of each profile (a function of `codes` or
// a key combination), the DPI levels, the polling rate, the effect in use
// and those switched on, the step time, the breathing values, the colours,
// the current profile, the fire presets, the recoil offsets and the product
// string. The factory LED type stays.
std::vector<std::uint8_t> RandomImage(std::mt19937& random, MemoryType type,
                                      const std::vector<std::string>& codes) {
  const auto number = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  auto memory = SimulatedMouse::FactoryMemory(type);
  image::ConfigBuffers buffers;
  const image::DefaultInputs inputs{type, image::LedType::kUnknown, std::nullopt};
  if (type == MemoryType::kI2C) {
    image::SplitI2CImage(std::span(memory).first<image::i2c::kSize>(), buffers, inputs);
  } else {
    image::SplitFlashImage(std::span(memory).first<image::flash::kSize>(), buffers, inputs);
  }
  image::DataBuf& data = buffers.data_buf;
  for (std::size_t p = 0; p < 3; ++p) {
    for (std::size_t k = 1; k < 12; ++k) {
      KeyCodeBytes bytes = {0x02, static_cast<std::uint8_t>(number(0, 15)),
                            static_cast<std::uint8_t>(number(4, 0x65)), 0};
      if (number(0, 2) > 0)
        bytes = *ParseKeyCode(
            codes[static_cast<std::size_t>(number(0, static_cast<int>(codes.size()) - 1))]);
      std::copy(bytes.begin(), bytes.end(), image::KeyCode(data, p, k).begin());
    }
  }
  const int count = number(1, 8);
  image::Set(data, image::field::kLevelCount, count - 1);
  auto values = image::Bytes(data, image::field::kLevelValues);
  for (auto& pair : values) pair = static_cast<std::uint8_t>(number(0, 11) << 4 | number(0, 11));
  for (auto& byte : image::Bytes(data, image::field::kLevelColours))
    byte = static_cast<std::uint8_t>(number(0, 255));
  for (auto& byte : image::Bytes(data, image::field::kEffectColours))
    byte = static_cast<std::uint8_t>(number(0, 255));
  image::Set(data, image::field::kCurrentLevel, number(0, count - 1));
  image::Set(data, image::field::kPollingRate, number(0, 3));
  image::Set(data, image::field::kStepTime, number(0, 255));
  for (int f = 0; f < 4; ++f) image::SetBreathValue(data, f, number(0, f == 2 ? 4094 : 65535));
  const image::LedType led = image::LedTypeFromUserByte(
      static_cast<std::uint8_t>(image::Get(data, image::field::kLedModeByte)));
  const auto effects = settings::Effects(led);
  const int effect = number(0, static_cast<int>(effects.size()) - 1);
  int bits = 1 << effects[static_cast<std::size_t>(effect)].bit;
  for (const auto& e : effects) bits |= number(0, 1) << e.bit;
  image::Set(data, image::field::kEffectsEnabled, bits);
  image::Set(data, image::field::kLedModeByte,
             *settings::EncodeLedMode(led, effect, image::Get(data, image::field::kNtLedCount)));
  image::Set(data, image::field::kCurrentProfile, number(0, 2));
  for (int n = 0; n < 3; ++n) image::SetFirePreset(data, n, number(1, 15), number(1, 4094));
  for (auto& byte : image::Bytes(data, image::field::kXOffsets))
    byte = static_cast<std::uint8_t>(number(0, 255));
  for (auto& byte : image::Bytes(data, image::field::kYOffsets))
    byte = static_cast<std::uint8_t>(number(0, 255));
  auto product = image::Bytes(data, image::field::kProductString);
  std::fill(product.begin(), product.end(), 0);
  for (int n = number(1, 16), i = 0; i < n; ++i)
    product[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(number(0x20, 0x7E));
  for (const auto section : image::kCheckedSections) {
    image::WriteSectionChecksum(image::SectionBytes(data, section));
  }
  image::AssembleImage(buffers, type, memory);
  return memory;
}

// A mouse of random settings, exported; the document applied to a
// factory-new mouse gives the same document back.
TEST_P(SettingsDocumentTest, RandomImagesGoWholeToAnotherMouse) {
  const std::string names = dir_.File("names.bin");
  ASSERT_EQ(Run(names, {"--json", "names"}), kExitDone) << err_;
  std::vector<std::string> codes;
  const json functions = json::parse(out_)["functions"];
  const json factory = Export(names);
  for (const auto& function : functions) codes.push_back(function["code"]);
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    const std::string a = dir_.File(std::to_string(seed) + "a.bin");
    const std::string b = dir_.File(std::to_string(seed) + "b.bin");
    TempDir::Write(a, RandomImage(random, GetParam(), codes));
    const json from_a = Export(a);
    // The buttons, levels and colours are the image's, not the factory's.
    EXPECT_NE(from_a["profiles"], factory["profiles"]);
    EXPECT_NE(from_a["lighting"]["colors"], factory["lighting"]["colors"]);
    ExpectMovesWhole(from_a, b);
  }
}

// A change the mouse does not take stops the apply there and says so.
TEST_P(SettingsDocumentTest, AChangeTheMouseDoesNotTakeStopsTheApply) {
  const std::string mouse = dir_.File("mouse.bin");
  const std::string file =
      Write("two.json", json::parse(R"({"aim": 1, "dpi": {"current": 1}, "polling_rate": 250})"));
  ASSERT_EQ(Run(mouse, {"apply", "--dry-run", file}), kExitDone) << err_;
  ASSERT_THAT(out_, HasSubstr("would change /dpi/current"));
  // The transfers of the dry run are those before the first write.
  std::ifstream in(trace_);
  int transfers = 0;
  for (std::string line; std::getline(in, line);) transfers += line.rfind("I", 0) != 0;
  const auto memory = TempDir::Read(mouse);
  EXPECT_EQ(Run(mouse, {"--simulate-fault", "fail-command:" + std::to_string(transfers) + ":50",
                        "apply", file}),
            kExitDeviceFailed);
  EXPECT_THAT(out_, HasSubstr("no change was made"));
  EXPECT_THAT(out_, HasSubstr("the other changes of the document were not made"));
  EXPECT_EQ(Export(mouse)["polling_rate"], 1000);
  EXPECT_EQ(TempDir::Read(mouse), memory);
}

// Holding a fire button lives in the codes of the buttons that fire it: for a
// fire button no button fires, "hold" changes nothing and sends nothing.
TEST_P(SettingsDocumentTest, HoldingAFireButtonNoButtonFiresSendsNothing) {
  const std::string mouse = dir_.File("mouse.bin");
  const json held = Export(mouse);
  ASSERT_EQ(held["fire"]["2"]["hold"], false);
  const std::string file = Write("hold.json", json::parse(R"({"fire": {"2": {"hold": true}}})"));
  ASSERT_EQ(Run(mouse, {"apply", file}), kExitDone) << err_;
  EXPECT_THAT(out_, HasSubstr("nothing to change"));
  EXPECT_FALSE(SentWrites());
  // Once a button fires it, the same document holds it.
  const std::string both = Write(
      "both.json",
      json::parse(
          R"({"profiles": {"2": {"buttons": {"7": "Fire Button 2"}}}, "fire": {"2": {"hold": true}}})"));
  ASSERT_EQ(Run(mouse, {"apply", both}), kExitDone) << err_;
  EXPECT_EQ(Export(mouse)["fire"]["2"]["hold"], true);
  ASSERT_EQ(Run(mouse, {"apply", both}), kExitDone) << err_;
  EXPECT_FALSE(SentWrites());
}

// The engineer object is checked always and applied only with --engineer.
TEST_P(SettingsDocumentTest, TheEngineerSettingsChangeOnlyWhenAskedFor) {
  const std::string mouse = dir_.File("mouse.bin");
  const std::string file =
      Write("engineer.json",
            json::parse(
                R"({"engineer": {"product_string": "Desk Mouse", "sensor": {"MaxShut": "12"}}})"));
  Export(mouse);  // the mouse made
  const auto memory = TempDir::Read(mouse);
  ASSERT_EQ(Run(mouse, {"apply", file}), kExitDone) << err_;
  EXPECT_THAT(err_, HasSubstr("2 engineer settings of the document differ from the mouse and "
                              "were left alone; give --engineer"));
  EXPECT_FALSE(SentWrites());
  EXPECT_EQ(TempDir::Read(mouse), memory);
  ASSERT_EQ(Run(mouse, {"apply", "--engineer", file}), kExitDone) << err_;
  EXPECT_EQ(out_,
            "changed /engineer/product_string: HID Gaming Mouse -> Desk Mouse\n"
            "changed /engineer/sensor/MaxShut: 48 -> 12\n");
  EXPECT_EQ(Export(mouse)["engineer"]["product_string"], "Desk Mouse");
}

TEST_P(SettingsDocumentTest, APartialDocumentChangesOnlyItsKeysAndADryRunSendsNothing) {
  const std::string mouse = dir_.File("mouse.bin");
  const json before = Export(mouse);
  const json document = {{"profiles", {{"2", {{"buttons", {{"4", "Ctrl+Shift+A"}}}}}}},
                         {"lighting", {{"colors", before["lighting"]["colors"]}}},
                         {"fire", {{"3", {{"interval", 99}}}}}};
  const std::string file = Write("part.json", document);
  const auto memory = TempDir::Read(mouse);
  ASSERT_EQ(Run(mouse, {"apply", "--dry-run", file}), kExitDone) << err_;
  EXPECT_EQ(out_,
            "would change /fire/3: 8 shots, 60 ms -> 8 shots, 99 ms\n"
            "would change /profiles/2/buttons/4: " +
                before["profiles"]["2"]["buttons"]["4"].get<std::string>() + " -> Ctrl+Shift+A\n");
  EXPECT_FALSE(SentWrites());
  EXPECT_EQ(TempDir::Read(mouse), memory);
  // Written to a file, the document is the one printed.
  ASSERT_EQ(Run(mouse, {"export", dir_.File("before.json")}), kExitDone) << err_;
  std::ifstream written(dir_.File("before.json"));
  EXPECT_EQ(json::parse(written), before);
  ASSERT_EQ(Run(mouse, {"--json", "apply", file}), kExitDone) << err_;
  EXPECT_EQ(json::parse(out_)["changes"].size(), 2u);
  json after = Export(mouse);
  EXPECT_EQ(after["profiles"]["2"]["buttons"]["4"], "Ctrl+Shift+A");
  EXPECT_EQ(after["fire"]["3"]["interval"], 99);
  after["profiles"]["2"]["buttons"]["4"] = before["profiles"]["2"]["buttons"]["4"];
  after["fire"]["3"]["interval"] = before["fire"]["3"]["interval"];
  EXPECT_EQ(after, before);
}

// Every kind of mistake is told with its JSON path, and nothing is sent.
TEST_P(SettingsDocumentTest, AWrongDocumentIsRefusedBeforeAnythingIsSent) {
  const std::string mouse = dir_.File("mouse.bin");
  const json held = Export(mouse);
  // Each document as its text, with what the error says.
  const std::pair<const char*, const char*> cases[] = {
      {R"({"dpi": {"current": 2}, "colour": 1})", "/colour: unknown key"},
      {R"({"polling_rate": 300})", "/polling_rate: must be 125, 250, 500 or 1000"},
      {R"({"polling_rate": "1000"})", "/polling_rate: must be 125"},
      {R"({"dpi": {"levels": [{"value": 801}]}})",
       "/dpi/levels/0/value: must be one of 200, 400, "},
      {R"({"dpi": {"levels": []}})", "/dpi/levels: must be a list of 1 to 8 levels"},
      {R"({"dpi": {"current": 9}})", "/dpi/current: must be a whole number from 1 to "},
      {R"({"profiles": {"4": {}}})", "/profiles/4: unknown key; the keys here are 1 to 3"},
      {R"({"profiles": {"1": {"buttons": {"3": "Teleport"}}}})",
       "/profiles/1/buttons/3: unknown function \"Teleport\""},
      {R"({"profiles": {"1": {"buttons": {"1": "Right Click"}}}})",
       "/profiles/1/buttons: profile 1 must keep a \"Left Click\" button"},
      {R"({"profiles": {"2": {"buttons": {"2": 7}}}})", "/profiles/2/buttons/2: must be a string"},
      {R"({"lighting": {"effect": "Sparkle"}})", "/lighting/effect: \"Sparkle\" is not an effect"},
      {R"({"lighting": {"effects": ["Off"], "effect": "Rainbow"}})",
       "/lighting/effect: \"Rainbow\" is not among the effects switched on"},
      {R"({"lighting": {"colors": ["FF0000"]}})", "/lighting/colors: must be a list of the ten"},
      {R"({"lighting": {"type": "Neon"}})", "/lighting/type: must be RGB, Sync, NT or MCULED"},
      {R"({"lighting": {"breath": {"lower_time": 5000}}})",
       "/lighting/breath/lower_time: must be a whole number from 0 to 4094"},
      {R"({"fire": {"1": {"count": 0}}})", "/fire/1/count: must be a whole number from 1 to 15"},
      {R"({"gestures": {"game": "wave"}})", "/gestures/game: must be one of none, middle"},
      {R"({"aim": 3})", "/aim: no button is an AIM key"},
      {R"({"gestures": {"game": "right+back", "lighting": true}})",
       "/gestures: the lighting gesture and a right+back"},
      {R"({"language": 2})", "/language: the document's names are in language 2"},
      {R"({"schema_version": 7})", "/schema_version: must be a whole number from 1 to 1"},
      {R"([1, 2])", "/: the document must be a JSON object"},
      {R"({"macros": [{"name": "Walk"}]})", "/macros/0: a macro needs its \"name\" and"},
      {R"({"macros": [{"name": "Walk", "lines": ["10", "1 A CODE:82"]}]})",
       "/macros/0/lines: line 1 (\"1 A CODE:82\") does not end in"},
      {R"({"macros": [{"name": "Walk", "lines": ["00"]}, {"name": "Walk", "lines": ["00"]}]})",
       "/macros/1/name: \"Walk\" names an earlier macro of the list too"},
      {R"({"macros": [{"name": "", "lines": ["00"]}]})", "/macros/0/name: "},
      {R"({"profiles": {"1": {"buttons": {"5": "macro:Nope"}}}})",
       "/profiles/1/buttons/5: no macro named \"Nope\""},
      {R"({"engineer": {"vendor_id": "1234"}})",
       "/engineer/vendor_id: this program looks for the mouse by 1BCF"},
      {R"({"engineer": {"customer_codes": [1, 2]}})",
       "/engineer/customer_codes: this program accepts no mouse with the codes 1, 2"},
      {R"({"engineer": {"options": {"ICType": "9999"}}})",
       "/engineer/options/ICType: must be one of \"2270\", 1, \"2280\", \"2290/2280\""},
      {R"({"engineer": {"options": {"Turbo": "on"}}})", "/engineer/options/Turbo: no such"},
      {R"({"engineer": {"sensor": {"MaxShut": "G1"}}})",
       "/engineer/sensor/MaxShut: must be two hex digits"},
      {R"({"engineer": {"recoil": {"x": [200, 0, 0, 0, 0, 0, 0, 0, 0, 0]}}})",
       "/engineer/recoil/x/0: must be a whole number from -128 to 127"},
      {R"({"engineer": {"product_string": "Much Too Long A Name"}})",
       "/engineer/product_string: must be at most 16 printable ASCII"},
  };
  const auto memory = TempDir::Read(mouse);
  for (const auto& [text, said] : cases) {
    EXPECT_EQ(Run(mouse, {"apply", Write("wrong.json", json::parse(text))}), kExitUsage) << text;
    EXPECT_THAT(err_, HasSubstr(said)) << text;
    EXPECT_THAT(err_, HasSubstr("nothing was sent"));
    EXPECT_FALSE(SentWrites()) << text;
  }
  // More macros than the mouse has room for.
  json many = json::array();
  for (int n = 0; n < 33; ++n) {
    std::string name = "M";
    name += std::to_string(n);
    many.push_back({{"name", name}, {"lines", {"00"}}});
  }
  EXPECT_EQ(Run(mouse, {"apply", Write("many.json", {{"macros", many}})}), kExitUsage);
  EXPECT_THAT(err_, HasSubstr("/macros: the mouse holds at most"));
  EXPECT_FALSE(SentWrites());
  // The good keys beside a wrong one are not made either.
  EXPECT_EQ(
      Run(mouse, {"apply", Write("mixed.json", json::parse(R"({"polling_rate": 500, "aim": 0})"))}),
      kExitUsage);
  EXPECT_FALSE(SentWrites());
  // A file that is no JSON, or no file.
  std::ofstream(dir_.File("broken.json")) << "{\"dpi\": {";
  EXPECT_EQ(Run(mouse, {"apply", dir_.File("broken.json")}), kExitFileError);
  EXPECT_THAT(err_, HasSubstr("is no JSON document"));
  EXPECT_EQ(Run(mouse, {"apply", dir_.File("missing.json")}), kExitFileError);
  EXPECT_EQ(TempDir::Read(mouse), memory);
  EXPECT_EQ(Export(mouse), held);
}

INSTANTIATE_TEST_SUITE_P(BothMemories, SettingsDocumentTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

}  // namespace
}  // namespace vrdk::cli
