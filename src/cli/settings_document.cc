#include "cli/settings_document.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>

#include "cli/commands.h"
#include "engineering/engineer_page.h"
#include "image/fields.h"
#include "keys/editors/fire_aim.h"
#include "keys/editors/gestures.h"
#include "keys/editors/key_assignment.h"
#include "macros/editors/device_macros.h"
#include "macros/event_lines.h"
#include "macros/macro_name.h"
#include "settings/dpi_editor.h"
#include "settings/led_editor.h"
#include "settings/mode_pages.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;

constexpr int kProfiles = 3;
constexpr int kButtons = 12;
constexpr int kFireKeys = 3;
constexpr int kEffectColours = 10;
constexpr int kBreathLimits[4] = {65535, 65535, 4094, 65535};
constexpr const char* kBreathNames[4] = {"lower", "upper", "lower_time", "upper_time"};
constexpr int kMcuSteps = 8;
constexpr int kMcuFewestLeds = 4;
constexpr int kMcuMostLeds = 13;
constexpr int kNtMostLeds = 8;

std::string Hex(const image::Rgb& rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
  return text;
}

// The DPI value of a step index (0..11) in the language's words.
std::optional<int> DpiValue(const Session& session, int index) {
  if (index < 0 || index >= DpiState::kValues) return std::nullopt;
  const std::string text = session.Language().DpiText(index + 1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string EffectName(image::LedType type, int item) {
  const auto effects = settings::Effects(type);
  if (item < 0 || item >= static_cast<int>(effects.size())) return {};
  return std::string(effects[static_cast<std::size_t>(item)].name);
}

json ProfileColour(int item) { return item == kUserColourItem ? json("fixed") : json(item + 1); }

keys::KeyTarget Button(int number) { return keys::KeyTarget::MainButton(number); }

// The page state the button command shows: PROFILE on the main page.
void ShowProfile(Session& session, int profile) {
  session.Pages().mode_page = profile;
  keys::KeyAssignment(session).RefreshProfileKeys(profile);
  keys::AimKey(session).RefreshAIMKey();
}

// How a button's function is written: its name when the name gives the same
// code again, else its code.
std::string ButtonText(Session& session, int profile, int button) {
  const auto p = static_cast<std::size_t>(profile - 1);
  const auto k = static_cast<std::size_t>(button - 1);
  const std::string& code = session.Pages().code_texts.profiles[p][k];
  const std::string& name = session.Pages().names[p][k];
  // A macro by its name, when the name finds this macro again.
  if (const macros::DeviceMacros* store = macros::FindDeviceMacros(session)) {
    const auto item = store->ItemPlayedBy(code);
    const auto names = store->Names();
    if (item && store->Find(names[static_cast<std::size_t>(*item)]) == item) {
      return "macro:" + names[static_cast<std::size_t>(*item)];
    }
  }
  std::string error;
  const auto parsed = ParseFunction(session, name, Button(button), error);
  if (!name.empty() && parsed && parsed->code == code) return name;
  return "code:" + code;
}

json ButtonsOf(Session& session) {
  json profiles = json::object();
  const int shown = session.Pages().mode_page;
  for (int p = 1; p <= kProfiles; ++p) {
    ShowProfile(session, p);
    json buttons = json::object();
    for (int k = 1; k <= kButtons; ++k) buttons[std::to_string(k)] = ButtonText(session, p, k);
    profiles[std::to_string(p)] = {{"buttons", buttons}};
  }
  ShowProfile(session, shown);
  return profiles;
}

json DpiOf(const Session& session) {
  const DpiState& dpi = session.Pages().dpi;
  json levels = json::array();
  for (int level = 0; level < dpi.count; ++level) {
    const auto value = DpiValue(session, image::LevelValueIndex(session.Data(), level));
    levels.push_back({{"value", value ? json(*value) : json()},
                      {"color", Hex(image::LevelColour(session.Data(), level))}});
  }
  return {{"levels", levels}, {"current", dpi.current + 1}};
}

json LightingOf(const Session& session) {
  const PageState& pages = session.Pages();
  const LedState& led = pages.led;
  const image::LedType type = pages.led_type;
  json effects = json::array();
  const auto all = settings::Effects(type);
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (led.effect_enabled[i]) effects.push_back(std::string(all[i].name));
  }
  json breath = json::object();
  for (std::size_t f = 0; f < 4; ++f) breath[kBreathNames[f]] = led.breath[f];
  json colours = json::array();
  for (int k = 0; k < kEffectColours; ++k) {
    colours.push_back(Hex(image::EffectColour(session.Data(), k)));
  }
  json profile_colours = json::array();
  for (const int item : session.Keys().profile_colour_items) {
    profile_colours.push_back(ProfileColour(item));
  }
  json lighting = {{"type", std::string(image::LedTypeName(type))},
                   {"effects", effects},
                   {"effect", EffectName(type, led.effect_item)},
                   {"step_time", led.step_time},
                   {"breath", breath},
                   {"colors", colours},
                   {"profile_colors", profile_colours},
                   {"button_flash", pages.button_effect_item == 1}};
  if (type == image::LedType::kNT) lighting["nt_leds"] = led.led_count_item + 1;
  if (session.ActiveMemoryType() == MemoryType::kI2C) {
    lighting["mcu"] = {{"step", led.mcu_step_item},
                       {"scan", led.mcu_ctrl_item == 0 ? 6 : 3},
                       {"leds", led.mcu_count_item + kMcuFewestLeds}};
  }
  return lighting;
}

json FireOf(const Session& session) {
  json fire = json::object();
  for (int n = 0; n < kFireKeys; ++n) {
    const FirePreset& preset = session.Keys().fire[static_cast<std::size_t>(n)];
    fire[std::to_string(n + 1)] = {
        {"count", preset.count}, {"interval", preset.interval}, {"hold", preset.keep_firing}};
  }
  return fire;
}

// The macros in the mouse, in list order, with their event lines.
json MacrosOf(const macros::DeviceMacros& store) {
  json list = json::array();
  const auto names = store.Names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto lines = store.Lines(static_cast<int>(i));
    list.push_back({{"name", names[i]}, {"lines", lines ? json(lines->lines) : json::array()}});
  }
  return list;
}

// A macro's events as the mouse stores them (the encoder's bytes); nothing
// for lines that do not encode.
std::optional<std::vector<std::uint8_t>> EventsOf(const macros::MacroText& lines) {
  auto encoded = macros::EncodeLines(lines);
  if (!encoded.ok()) return std::nullopt;
  return std::move(encoded).value();
}

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

std::string Hex2(int value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

// An option list's name as the document writes it ("CPIPrescaleSel").
std::string OptionName(const engineering::OptionField& field) {
  return std::string(field.control.substr(3));
}
std::string RegisterName(const engineering::SensorRegister& reg) {
  return std::string(reg.control.substr(4));
}

// An option's item as the document writes it: its text, or its index where an
// earlier item has the same text.
json OptionItemText(const engineering::OptionField& field, int item) {
  const auto begin = field.items.begin();
  const auto text = field.items[static_cast<std::size_t>(item)];
  if (std::find(begin, begin + item, text) != begin + item) return item;
  return std::string(text);
}

json EngineerOf(const Session& session) {
  const auto& data = session.Data();
  const auto codes = image::Bytes(data, image::field::kCustomerCodes);
  json options = json::object();
  for (const auto& field : engineering::OptionFields()) {
    const int item =
        engineering::OptionItemOf(field, image::Vendor(data)[static_cast<std::size_t>(field.byte)]);
    options[OptionName(field)] = OptionItemText(field, item);
  }
  json sensor = json::object();
  for (const auto& reg : engineering::SensorRegisters()) {
    sensor[RegisterName(reg)] = Hex2(image::Vendor(data)[static_cast<std::size_t>(reg.offset)]);
  }
  json recoil = json::object();
  for (const bool x : {true, false}) {
    json offsets = json::array();
    for (int n = 1; n <= 10; ++n) offsets.push_back(image::RecoilOffset(data, x, n));
    recoil[x ? "x" : "y"] = offsets;
  }
  return {{"vendor_id", Hex4(image::VendorId(data))},
          {"product_id", Hex4(image::ProductId(data))},
          {"product_string", image::ProductString(data)},
          {"customer_codes", {codes[0], codes[1]}},
          {"options", options},
          {"sensor", sensor},
          {"recoil", recoil}};
}

json GesturesOf(const Session& session) {
  const auto game = keys::GameGestureFromNumber(session.Pages().game_gesture_item);
  return {{"game", std::string(keys::GameGestureWord(game.value_or(keys::GameGesture::kNone)))},
          {"lighting", session.Pages().led_gesture_item == 1}};
}

// --- Checking a document ----------------------------------------------------------

// A value's text in a change line: strings as they stand, the rest as JSON.
std::string Shown(const json& value) {
  if (value.is_string()) return value.get<std::string>();
  return value.dump();
}

std::string Key(const std::string& path, const std::string& key) { return path + "/" + key; }
std::string Key(const std::string& path, int index) { return Key(path, std::to_string(index)); }

class Planner {
 public:
  Planner(Session& session, ApplyPlan& plan, bool engineer)
      : engineer_(engineer),
        session_(session),
        plan_(plan),
        held_(ExportSettings(session)),
        final_names_(session.Pages().names) {}

  void Plan(const json& document) {
    if (!document.is_object()) return Problem("", "the document must be a JSON object");
    if (!Keys(document, "",
              {"schema_version", "language", "current_profile", "profiles", "dpi", "polling_rate",
               "lighting", "fire", "aim", "gestures", "macros", "engineer"})) {
      return;
    }
    if (document.contains("schema_version")) {
      const auto version =
          Int(document["schema_version"], "/schema_version", 1, kSettingsSchemaVersion);
      if (!version) return;
    }
    if (document.contains("language")) {
      const auto language = Int(document["language"], "/language", 1, 3);
      if (language && *language != session_.CurrentLanguage()) {
        Problem("/language", "the document's names are in language " + std::to_string(*language) +
                                 "; apply it with --lang " + std::to_string(*language));
        return;
      }
    }
    // The lighting first: a new LED type decides which effects there are.
    if (document.contains("lighting")) Lighting(document["lighting"]);
    if (document.contains("macros")) Macros(document["macros"]);
    if (document.contains("profiles")) Profiles(document["profiles"]);
    if (document.contains("fire")) Fire(document["fire"]);
    if (document.contains("aim")) Aim(document["aim"]);
    if (document.contains("gestures")) Gestures(document["gestures"]);
    if (document.contains("dpi")) Dpi(document["dpi"]);
    if (document.contains("current_profile")) CurrentProfile(document["current_profile"]);
    if (document.contains("engineer")) Engineer(document["engineer"]);
    if (document.contains("polling_rate")) PollingRate(document["polling_rate"]);
    std::stable_sort(plan_.changes.begin(), plan_.changes.end(),
                     [](const SettingChange& a, const SettingChange& b) {
                       return static_cast<int>(a.stage) < static_cast<int>(b.stage);
                     });
  }

 private:
  using Make = std::function<Result<void>(Session&)>;

  void Problem(const std::string& path, const std::string& message) {
    plan_.problems.push_back({path.empty() ? "/" : path, message});
  }

  void Change(ChangeStage stage, const std::string& path, const json& before, const json& after,
              Make make) {
    plan_.changes.push_back({stage, path, Shown(before), Shown(after), std::move(make)});
  }

  // The value the mouse holds at `path` (a JSON pointer into the export).
  json Held(const std::string& path) const {
    const json::json_pointer pointer(path);
    return held_.contains(pointer) ? held_.at(pointer) : json();
  }

  // An object whose keys are all among `known`.
  bool Keys(const json& value, const std::string& path, std::initializer_list<const char*> known) {
    if (!value.is_object()) {
      Problem(path, "must be an object");
      return false;
    }
    bool sound = true;
    for (const auto& [key, item] : value.items()) {
      if (std::none_of(known.begin(), known.end(), [&](const char* k) { return key == k; })) {
        std::string names;
        for (const char* k : known) names += (names.empty() ? "" : ", ") + std::string(k);
        Problem(Key(path, key), "unknown key; the keys here are " + names);
        sound = false;
      }
    }
    return sound;
  }

  // An object keyed by the numbers 1..count.
  bool Numbered(const json& value, const std::string& path, int count) {
    if (!value.is_object()) {
      Problem(path, "must be an object keyed by number 1 to " + std::to_string(count));
      return false;
    }
    bool sound = true;
    for (const auto& [key, item] : value.items()) {
      const auto number = ParseNumber(key, 1, count);
      if (!number || std::to_string(*number) != key) {
        Problem(Key(path, key), "unknown key; the keys here are 1 to " + std::to_string(count));
        sound = false;
      }
    }
    return sound;
  }

  std::optional<int> Int(const json& value, const std::string& path, int low, int high) {
    if (!value.is_number_integer() || value.get<long long>() < low ||
        value.get<long long>() > high) {
      Problem(path,
              "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
      return std::nullopt;
    }
    return static_cast<int>(value.get<long long>());
  }

  std::optional<bool> Bool(const json& value, const std::string& path) {
    if (!value.is_boolean()) {
      Problem(path, "must be true or false");
      return std::nullopt;
    }
    return value.get<bool>();
  }

  std::optional<std::string> String(const json& value, const std::string& path) {
    if (!value.is_string()) {
      Problem(path, "must be a string");
      return std::nullopt;
    }
    return value.get<std::string>();
  }

  std::optional<image::Rgb> Colour(const json& value, const std::string& path) {
    const auto text = value.is_string() ? value.get<std::string>() : std::string();
    const auto rgb = text.size() == 6 && std::all_of(text.begin(), text.end(), ::isxdigit)
                         ? ParseNumber("0x" + text, 0, 0xFFFFFF)
                         : std::nullopt;
    if (!rgb) {
      Problem(path, "must be a colour of six hex digits RRGGBB");
      return std::nullopt;
    }
    return image::Rgb{static_cast<std::uint8_t>(*rgb >> 16), static_cast<std::uint8_t>(*rgb >> 8),
                      static_cast<std::uint8_t>(*rgb)};
  }

  // --- The sections -------------------------------------------------------------

  // The engineer page's settings: checked always, planned only when asked for.
  void Engineer(const json& value) {
    if (!Keys(value, "/engineer",
              {"vendor_id", "product_id", "product_string", "customer_codes", "options", "sensor",
               "recoil"})) {
      return;
    }
    const std::size_t first = plan_.changes.size();
    const DeviceIds target = session_.Conn().target;
    for (const bool vid : {true, false}) {
      const std::string path = vid ? "/engineer/vendor_id" : "/engineer/product_id";
      if (!value.contains(path.substr(10))) continue;
      const auto text = String(value[path.substr(10)], path);
      const auto id =
          text && text->size() == 4 && std::all_of(text->begin(), text->end(), ::isxdigit)
              ? ParseNumber("0x" + *text, 0, 0xFFFF)
              : std::nullopt;
      if (text && !id) {
        Problem(path, "must be four hex digits");
        continue;
      }
      if (!id) continue;
      const int wanted = vid ? target.vendor_id : target.product_id;
      if (*id != wanted) {
        Problem(path, "this program looks for the mouse by " + Hex4(wanted) +
                          ": with another id it would no longer find it");
        continue;
      }
      if (Hex4(static_cast<int>(*id)) != Held(path)) {
        Change(ChangeStage::kSettings, path, Held(path), Hex4(static_cast<int>(*id)),
               [vid, hex = Hex4(static_cast<int>(*id))](Session& session) -> Result<void> {
                 engineering::EngineerPage page(session);
                 if (vid ? page.SetVid(hex) : page.SetPid(hex)) return {};
                 return Error{ErrorKind::kDeviceFailed, "the id could not be written"};
               });
      }
    }
    if (value.contains("product_string")) {
      const auto text = String(value["product_string"], "/engineer/product_string");
      if (text && (!engineering::ProductStringAcceptable(*text) ||
                   text->size() > static_cast<std::size_t>(engineering::kProductStringSize))) {
        Problem("/engineer/product_string",
                "must be at most 16 printable ASCII characters (one byte each)");
      } else if (text && *text != Held("/engineer/product_string")) {
        Change(ChangeStage::kSettings, "/engineer/product_string", Held("/engineer/product_string"),
               *text, [text = *text](Session& session) -> Result<void> {
                 engineering::EngineerPage(session).SetProductString(text);
                 return {};
               });
      }
    }
    if (value.contains("customer_codes")) CustomerCodes(value["customer_codes"]);
    if (value.contains("options")) Options(value["options"]);
    if (value.contains("sensor")) Sensor(value["sensor"]);
    if (value.contains("recoil")) Recoil(value["recoil"]);
    if (!engineer_) {
      plan_.engineer_left.assign(std::make_move_iterator(plan_.changes.begin() + first),
                                 std::make_move_iterator(plan_.changes.end()));
      plan_.changes.erase(plan_.changes.begin() + first, plan_.changes.end());
    }
  }

  void CustomerCodes(const json& value) {
    const std::string path = "/engineer/customer_codes";
    if (!value.is_array() || value.size() != 2) {
      return Problem(path, "must be the two codes [vendor, product], each 0 to 255");
    }
    const auto vendor = Int(value[0], Key(path, 0), 0, 255);
    const auto product = Int(value[1], Key(path, 1), 0, 255);
    if (!vendor || !product || value == Held(path)) return;
    if (!session_.CustomerCodesAccepted(static_cast<std::uint8_t>(*vendor),
                                        static_cast<std::uint8_t>(*product))) {
      return Problem(path, "this program accepts no mouse with the codes " +
                               std::to_string(*vendor) + ", " + std::to_string(*product) +
                               ": after its next restart it would refuse this mouse");
    }
    Change(ChangeStage::kSettings, path, Held(path), value,
           [vendor = *vendor, product = *product](Session& session) -> Result<void> {
             engineering::EngineerPage(session).SetCustomerCodes(vendor, product);
             return {};
           });
  }

  void Options(const json& value) {
    if (!value.is_object()) return Problem("/engineer/options", "must be an object");
    for (const auto& [key, item] : value.items()) {
      const std::string path = Key("/engineer/options", key);
      const engineering::OptionField* field = engineering::FindOption(key);
      if (field == nullptr || OptionName(*field) != key) {
        Problem(path, "no such chip option");
        continue;
      }
      std::optional<int> chosen;
      std::string items;
      for (int i = field->item_count; i-- > 0;) {
        const json text = OptionItemText(*field, i);
        if (item == text || item == i) chosen = i;
        items = (i == 0 ? "" : ", ") + text.dump() + items;
      }
      if (!chosen) {
        Problem(path, "must be one of " + items + " (an item's text or its index)");
      } else if (OptionItemText(*field, *chosen) != Held(path)) {
        Change(ChangeStage::kSettings, path, Held(path), OptionItemText(*field, *chosen),
               [field, i = *chosen](Session& session) -> Result<void> {
                 engineering::EngineerPage(session).SetOption(*field, i);
                 return {};
               });
      }
    }
  }

  void Sensor(const json& value) {
    if (!value.is_object()) return Problem("/engineer/sensor", "must be an object");
    for (const auto& [key, item] : value.items()) {
      const std::string path = Key("/engineer/sensor", key);
      const engineering::SensorRegister* reg = engineering::FindSensorRegister(key);
      if (reg == nullptr || RegisterName(*reg) != key) {
        Problem(path, "no such sensor register");
        continue;
      }
      const auto text = item.is_string() ? item.get<std::string>() : std::string();
      const auto byte = text.size() == 2 && std::all_of(text.begin(), text.end(), ::isxdigit)
                            ? ParseNumber("0x" + text, 0, 0xFF)
                            : std::nullopt;
      if (!byte) {
        Problem(path, "must be two hex digits");
      } else if (Hex2(static_cast<int>(*byte)) != Held(path)) {
        Change(ChangeStage::kSettings, path, Held(path), Hex2(static_cast<int>(*byte)),
               [reg, hex = Hex2(static_cast<int>(*byte))](Session& session) -> Result<void> {
                 engineering::EngineerPage(session).SetSensorRegister(*reg, hex);
                 return {};
               });
      }
    }
  }

  void Recoil(const json& value) {
    if (!Keys(value, "/engineer/recoil", {"x", "y"})) return;
    for (const bool x : {true, false}) {
      const char* axis = x ? "x" : "y";
      if (!value.contains(axis)) continue;
      const std::string path = Key("/engineer/recoil", axis);
      const json& offsets = value[axis];
      if (!offsets.is_array() || offsets.size() != 10) {
        Problem(path, "must be the ten offsets, each -128 to 127");
        continue;
      }
      for (int n = 1; n <= 10; ++n) {
        const std::string at = Key(path, n - 1);
        const auto offset = Int(offsets[static_cast<std::size_t>(n - 1)], at, -128, 127);
        if (offset && json(*offset) != Held(at)) {
          Change(ChangeStage::kSettings, at, Held(at), *offset,
                 [x, n, offset = *offset](Session& session) -> Result<void> {
                   engineering::EngineerPage(session).SetRecoilOffset(x, n, std::to_string(offset));
                   return {};
                 });
        }
      }
    }
  }

  // The mouse's macros become exactly the list given, in its order: those
  // after the first that differs are deleted and the rest added.
  void Macros(const json& value) {
    macros::DeviceMacros* store = macros::FindDeviceMacros(session_);
    if (store == nullptr) return Problem("/macros", "this mouse keeps no macros");
    if (!value.is_array()) return Problem("/macros", "must be a list of {\"name\", \"lines\"}");
    const std::size_t problems = plan_.problems.size();
    std::vector<macros::LibraryRecord> records;
    std::vector<std::string> names;
    std::vector<std::vector<std::uint8_t>> events;
    for (std::size_t i = 0; i < value.size(); ++i) {
      const std::string path = Key("/macros", static_cast<int>(i));
      const json& item = value[i];
      if (!Keys(item, path, {"name", "lines"})) continue;
      if (!item.contains("name") || !item.contains("lines")) {
        Problem(path, "a macro needs its \"name\" and its \"lines\"");
        continue;
      }
      const auto name = String(item["name"], Key(path, "name"));
      const auto wide = name ? macros::Utf8ToUtf16(*name) : std::nullopt;
      if (name && !wide) Problem(Key(path, "name"), "is not valid UTF-8");
      if (wide) {
        if (const auto checked = macros::CheckMacroName(*wide); !checked.ok()) {
          Problem(Key(path, "name"), checked.message());
        } else if (std::find(names.begin(), names.end(), *name) != names.end()) {
          Problem(Key(path, "name"), "\"" + *name + "\" names an earlier macro of the list too");
        }
      }
      macros::MacroText lines;
      const json& given = item["lines"];
      bool sound = given.is_array();
      for (std::size_t n = 0; sound && n < given.size(); ++n) {
        sound = given[n].is_string();
        if (sound) lines.push_back(given[n].get<std::string>());
      }
      if (!sound) {
        Problem(Key(path, "lines"), "must be a list of event lines, the header line first");
        continue;
      }
      const auto encoded = macros::EncodeLinesForRecord(lines);
      if (!encoded.ok()) Problem(Key(path, "lines"), encoded.message());
      if (!encoded.ok() || !wide) continue;
      macros::LibraryRecord record;
      record.name = macros::EncodeMacroName(*wide);
      std::copy(encoded.value().begin(), encoded.value().end(), record.events.begin());
      records.push_back(record);
      names.push_back(*name);
      events.push_back(encoded.value());
    }
    if (plan_.problems.size() != problems) return;
    const auto held = store->Names();
    std::size_t kept = 0;
    while (kept < held.size() && kept < names.size() && held[kept] == names[kept]) {
      const auto lines = store->Lines(static_cast<int>(kept));
      if (!lines || EventsOf(lines->lines) != events[kept]) break;
      ++kept;
    }
    final_macros_ = names;
    if (kept == held.size() && kept == names.size()) return;
    const std::span<const macros::LibraryRecord> added = std::span(records).subspan(kept);
    if (const auto fits = store->CheckReplacement(kept, added); !fits.ok()) {
      return Problem("/macros", fits.message());
    }
    macros_kept_ = kept;
    for (std::size_t i = held.size(); i-- > kept;) {
      Change(ChangeStage::kShaping, Key("/macros", static_cast<int>(i)), held[i], "(deleted)",
             [i](Session& session) {
               return macros::FindDeviceMacros(session)->Delete(static_cast<int>(i));
             });
    }
    for (std::size_t i = kept; i < records.size(); ++i) {
      Change(ChangeStage::kShaping, Key("/macros", static_cast<int>(i)), "(none)", names[i],
             [record = records[i]](Session& session) {
               return macros::FindDeviceMacros(session)->Add(record);
             });
    }
  }

  // Whether a button of some profile has the function `name` once the
  // document's buttons are given.
  bool HasButtonNamed(const std::string& name) const {
    return std::any_of(final_names_.begin(), final_names_.end(), [&](const auto& names) {
      return std::find(names.begin(), names.end(), name) != names.end();
    });
  }

  // A button given macro:NAME: the macro named, from the list given or the
  // mouse's. Nothing when there is none of that name.
  std::optional<std::size_t> MacroAt(const std::string& name) const {
    const macros::DeviceMacros* store = macros::FindDeviceMacros(session_);
    const std::vector<std::string> names = final_macros_      ? *final_macros_
                                           : store != nullptr ? store->Names()
                                                              : std::vector<std::string>{};
    const auto at = std::find(names.begin(), names.end(), name);
    if (at == names.end()) return std::nullopt;
    return static_cast<std::size_t>(at - names.begin());
  }

  void CurrentProfile(const json& value) {
    const auto profile = Int(value, "/current_profile", 1, kProfiles);
    if (!profile || json(*profile) == Held("/current_profile")) return;
    Change(ChangeStage::kSettings, "/current_profile", Held("/current_profile"), *profile,
           [p = *profile](Session& session) -> Result<void> {
             if (settings::ModePages(session).SelectModePage(p)) return {};
             return Error{ErrorKind::kDeviceFailed, "the profile could not be chosen"};
           });
  }

  void PollingRate(const json& value) {
    const bool known = value.is_number_integer() &&
                       std::find(image::kPollingRates.begin(), image::kPollingRates.end(),
                                 value.get<long long>()) != image::kPollingRates.end();
    if (!known) return Problem("/polling_rate", "must be 125, 250, 500 or 1000");
    if (value == Held("/polling_rate")) return;
    Change(
        ChangeStage::kRestart, "/polling_rate", Held("/polling_rate"), value,
        [hz = value.get<int>()](Session& session) -> Result<void> {
          settings::DpiEditor(session).SetPollingRate(hz);
          if (session.Conn().state == ConnectionState::kConnected) return {};
          return Error{ErrorKind::kDeviceFailed, "the mouse did not come back after its restart"};
        });
  }

  void Profiles(const json& value) {
    if (!Numbered(value, "/profiles", kProfiles)) return;
    for (const auto& [key, profile] : value.items()) {
      const std::string path = Key("/profiles", key);
      if (!Keys(profile, path, {"buttons"}) || !profile.contains("buttons")) continue;
      Buttons(std::stoi(key), profile["buttons"], Key(path, "buttons"));
    }
  }

  void Buttons(int profile, const json& value, const std::string& path) {
    if (!Numbered(value, path, kButtons)) return;
    ShowProfile(session_, profile);
    keys::KeyAssignment assignment(session_);
    const std::string left = assignment.LeftClickName();
    auto captions = session_.Pages().names[static_cast<std::size_t>(profile - 1)];
    struct Given {
      int button;
      std::string text;
      bool left;
    };
    std::vector<Given> given;
    for (const auto& [key, item] : value.items()) {
      const int button = std::stoi(key);
      const std::string at = Key(path, key);
      const auto text = String(item, at);
      if (!text) continue;
      if (text->rfind("macro:", 0) == 0) {
        const std::string name = text->substr(6);
        const auto macro = MacroAt(name);
        if (!macro) {
          Problem(at, "no macro named \"" + name + "\" in the mouse or in the document's macros");
          continue;
        }
        captions[static_cast<std::size_t>(button - 1)] = name;
        final_names_[static_cast<std::size_t>(profile - 1)] = captions;
        // A macro added again moves: its buttons are given it again.
        if (*text != Held(at) || *macro >= macros_kept_) given.push_back({button, *text, false});
        continue;
      }
      std::string error;
      const auto function = ParseFunction(session_, *text, Button(button), error);
      if (!function) {
        Problem(at, error.empty() ? "unknown function \"" + *text +
                                        "\": give a name from 'vrdkctl names', tag:NNNN, "
                                        "code:XXXXXXXX or a key combination such as Ctrl+Shift+A"
                                  : error);
        continue;
      }
      captions[static_cast<std::size_t>(button - 1)] = function->caption;
      final_names_[static_cast<std::size_t>(profile - 1)] = captions;
      const std::string held =
          session_.Pages().code_texts.profiles[static_cast<std::size_t>(profile - 1)]
                                              [static_cast<std::size_t>(button - 1)];
      if (function->code != held) given.push_back({button, *text, function->caption == left});
    }
    // Profiles 1 and 2 keep a "Left Click" button; one that moves is given
    // to its new button before the old one changes.
    if (profile <= 2 && std::count(captions.begin(), captions.end(), left) == 0) {
      return Problem(path,
                     "profile " + std::to_string(profile) + " must keep a \"" + left + "\" button");
    }
    std::stable_partition(given.begin(), given.end(), [](const Given& g) { return g.left; });
    for (const Given& g : given) {
      const std::string at = Key(path, g.button);
      Change(ChangeStage::kButtons, at, Held(at), g.text,
             [profile, button = g.button, text = g.text](Session& session) -> Result<void> {
               ShowProfile(session, profile);
               if (text.rfind("macro:", 0) == 0) {
                 macros::DeviceMacros* store = macros::FindDeviceMacros(session);
                 const auto item = store->Find(text.substr(6));
                 if (!item) return Error{ErrorKind::kNoSuchMacro, "no macro named " + text};
                 return store->AssignToButton(button, *item);
               }
               std::string error;
               const auto function = ParseFunction(session, text, Button(button), error);
               if (!function)
                 return Error{ErrorKind::kInvalid, "unknown function \"" + text + "\""};
               return keys::KeyAssignment(session)
                              .AssignCode(Button(button), function->code, function->caption)
                              .Is(ErrorKind::kRefused)
                          ? Result<void>(Error{ErrorKind::kRefused,
                                               "the last \"Left Click\" button must stay"})
                          : Result<void>();
             });
    }
  }

  void Fire(const json& value) {
    if (!Numbered(value, "/fire", kFireKeys)) return;
    for (const auto& [key, item] : value.items()) {
      const int n = std::stoi(key);
      const std::string path = Key("/fire", key);
      if (!Keys(item, path, {"count", "interval", "hold"})) continue;
      const FirePreset& held = session_.Keys().fire[static_cast<std::size_t>(n - 1)];
      FirePreset wanted = held;
      if (item.contains("count")) {
        const auto count = Int(item["count"], Key(path, "count"), 1, keys::FireKeys::kMaxCount);
        if (count) wanted.count = *count;
      }
      if (item.contains("interval")) {
        const auto interval =
            Int(item["interval"], Key(path, "interval"), 1, keys::FireKeys::kMaxInterval);
        if (interval) wanted.interval = *interval;
      }
      if (item.contains("hold")) {
        if (const auto hold = Bool(item["hold"], Key(path, "hold"))) wanted.keep_firing = *hold;
      }
      // Holding lives only in the codes of the fire button's buttons: without
      // one there is nothing to change.
      if (wanted.keep_firing != held.keep_firing &&
          HasButtonNamed(keys::FireKeys(session_).FunctionName(n))) {
        Change(ChangeStage::kShaping, Key(path, "hold"), held.keep_firing, wanted.keep_firing,
               [n, hold = wanted.keep_firing](Session& session) -> Result<void> {
                 keys::FireKeys(session).SetKeepFiring(n, hold);
                 return {};
               });
      }
      if (wanted.count != held.count || wanted.interval != held.interval) {
        Change(ChangeStage::kShaping, path,
               std::to_string(held.count) + " shots, " + std::to_string(held.interval) + " ms",
               std::to_string(wanted.count) + " shots, " + std::to_string(wanted.interval) + " ms",
               [n, wanted](Session& session) -> Result<void> {
                 keys::FireKeys(session).SetPreset(n, wanted.count, wanted.interval);
                 return {};
               });
      }
    }
  }

  void Aim(const json& value) {
    const auto step = Int(value, "/aim", 1, keys::AimKey::kSteps);
    if (!step || json(*step) == Held("/aim")) return;
    // The step lives only in the AIM buttons' codes.
    const std::string aim = keys::AimKey(session_).FunctionName();
    if (!HasButtonNamed(aim)) {
      return Problem("/aim", "no button is an AIM key (\"" + aim +
                                 "\"); give one the function, here or on the mouse, first");
    }
    Change(
        ChangeStage::kSettings, "/aim", Held("/aim"), *step,
        [step = *step](Session& session) -> Result<void> {
          // The buttons given before may have made the step so already.
          keys::AimKey(session).RefreshAIMKey();
          if (session.Keys().aim_step == step) return {};
          if (keys::AimKey(session).SetAimStep(step)) return {};
          return Error{ErrorKind::kRefused, "no button is an AIM key; give one the function first"};
        });
  }

  void Gestures(const json& value) {
    if (!Keys(value, "/gestures", {"game", "lighting"})) return;
    if (value.value("lighting", json()) == true &&
        (value.value("game", json()) == "right+back" ||
         value.value("game", json()) == "right+forward")) {
      return Problem("/gestures",
                     "the lighting gesture and a right+back or right+forward game "
                     "gesture share their buttons: only one of them can be on");
    }
    // The lighting gesture first: the Right + Back and Right + Forward game
    // gestures switch it off, and switching it off afterwards could undo them.
    if (value.contains("lighting")) {
      const auto on = Bool(value["lighting"], "/gestures/lighting");
      if (on && json(*on) != Held("/gestures/lighting")) {
        Change(ChangeStage::kSettings, "/gestures/lighting", Held("/gestures/lighting"), *on,
               [on = *on](Session& session) -> Result<void> {
                 keys::Gestures(session).SetLightingGesture(on);
                 return {};
               });
      }
    }
    if (value.contains("game")) {
      const auto word = String(value["game"], "/gestures/game");
      const auto gesture = word ? keys::GameGestureFromWord(*word) : std::nullopt;
      if (word && !gesture) {
        std::string words;
        for (const auto w : keys::kGameGestureWords) {
          words += (words.empty() ? "" : ", ") + std::string(w);
        }
        Problem("/gestures/game", "must be one of " + words);
      } else if (gesture && value["game"] != Held("/gestures/game")) {
        Change(ChangeStage::kSettings, "/gestures/game", Held("/gestures/game"), value["game"],
               [g = *gesture](Session& session) -> Result<void> {
                 keys::Gestures(session).SetGameGesture(g);
                 return {};
               });
      }
    }
  }

  void Dpi(const json& value) {
    if (!Keys(value, "/dpi", {"levels", "current"})) return;
    const json held_levels = Held("/dpi/levels");
    int count = static_cast<int>(held_levels.size());
    const std::size_t changes = plan_.changes.size();
    if (value.contains("levels")) {
      const json& levels = value["levels"];
      if (!levels.is_array() || levels.empty() || levels.size() > DpiState::kLevels) {
        Problem("/dpi/levels", "must be a list of 1 to 8 levels");
      } else {
        count = static_cast<int>(levels.size());
        Levels(levels, held_levels);
      }
    }
    if (value.contains("current")) {
      const auto current = Int(value["current"], "/dpi/current", 1, count);
      const Make make = [level = current.value_or(1)](Session& session) -> Result<void> {
        if (session.Pages().dpi.current != level - 1) {
          settings::DpiEditor(session).SetCurrentLevel(level - 1);
        }
        return {};
      };
      if (current && json(*current) != Held("/dpi/current")) {
        Change(ChangeStage::kSettings, "/dpi/current", Held("/dpi/current"), *current, make);
      } else if (current && plan_.changes.size() != changes &&
                 plan_.changes[changes].path == "/dpi/levels") {
        // A new number of levels may move the current one: it is set again.
        Make& levels = plan_.changes[changes].make;
        levels = [first = levels, make](Session& session) -> Result<void> {
          if (auto made = first(session); !made.ok()) return made;
          return make(session);
        };
      }
    }
  }

  void Levels(const json& levels, const json& held) {
    const int count = static_cast<int>(levels.size());
    if (count != static_cast<int>(held.size())) {
      Change(ChangeStage::kSettings, "/dpi/levels", std::to_string(held.size()) + " levels",
             std::to_string(count) + " levels", [count](Session& session) -> Result<void> {
               settings::DpiEditor(session).SetLevelCount(count);
               return {};
             });
    }
    for (int level = 1; level <= count; ++level) {
      const std::string path = Key("/dpi/levels", level - 1);
      const json& item = levels[static_cast<std::size_t>(level - 1)];
      if (!Keys(item, path, {"value", "color"})) continue;
      const json was = level <= static_cast<int>(held.size())
                           ? held[static_cast<std::size_t>(level - 1)]
                           : json::object();
      if (item.contains("value")) {
        std::optional<int> index;
        std::string values;
        for (int n = 0; n < DpiState::kValues; ++n) {
          const auto dpi = DpiValue(session_, n);
          if (dpi && item["value"].is_number_integer() && item["value"] == *dpi) index = n;
          if (dpi) values += (values.empty() ? "" : ", ") + std::to_string(*dpi);
        }
        if (!index) {
          Problem(Key(path, "value"), "must be one of " + values);
        } else if (item["value"] != was.value("value", json())) {
          Change(ChangeStage::kSettings, Key(path, "value"), was.value("value", json()),
                 item["value"], [level, index = *index](Session& session) -> Result<void> {
                   settings::DpiEditor(session).SetLevelValue(level, index);
                   return {};
                 });
        }
      }
      if (item.contains("color")) {
        const auto rgb = Colour(item["color"], Key(path, "color"));
        if (rgb && Hex(*rgb) != was.value("color", std::string())) {
          Change(ChangeStage::kSettings, Key(path, "color"), was.value("color", json()), Hex(*rgb),
                 [level, rgb = *rgb](Session& session) -> Result<void> {
                   settings::DpiEditor(session).SetColour(level, rgb[0], rgb[1], rgb[2]);
                   return {};
                 });
        }
      }
    }
  }

  void Lighting(const json& value) {
    if (!Keys(value, "/lighting",
              {"type", "effects", "effect", "nt_leds", "step_time", "breath", "colors",
               "profile_colors", "button_flash", "mcu"})) {
      return;
    }
    image::LedType type = session_.Pages().led_type;
    if (value.contains("type")) {
      const auto name = String(value["type"], "/lighting/type");
      const auto wanted = name ? settings::LedTypeNamed(*name) : std::nullopt;
      if (name && !wanted) return Problem("/lighting/type", "must be RGB, Sync, NT or MCULED");
      if (!wanted) return;
      if (*wanted != type) {
        Change(ChangeStage::kLedType, "/lighting/type", Held("/lighting/type"),
               std::string(image::LedTypeName(*wanted)),
               [t = *wanted](Session& session) -> Result<void> {
                 settings::LedEditor(session).SetLedType(t);
                 if (session.Conn().state == ConnectionState::kConnected) return {};
                 return Error{ErrorKind::kDeviceFailed,
                              "the mouse did not come back after its restart"};
               });
        type_changes_ = true;
      }
      type = *wanted;
    }
    Effects(value, type);
    if (value.contains("step_time")) {
      const auto time = Int(value["step_time"], "/lighting/step_time", 0, 255);
      if (time && (type_changes_ || json(*time) != Held("/lighting/step_time"))) {
        Change(ChangeStage::kSettings, "/lighting/step_time", Held("/lighting/step_time"), *time,
               [time = *time](Session& session) -> Result<void> {
                 settings::LedEditor(session).SetStepTime(time);
                 return {};
               });
      }
    }
    if (value.contains("breath") &&
        Keys(value["breath"], "/lighting/breath", {"lower", "upper", "lower_time", "upper_time"})) {
      for (int f = 0; f < 4; ++f) {
        const std::string path = Key("/lighting/breath", kBreathNames[f]);
        if (!value["breath"].contains(kBreathNames[f])) continue;
        const auto number = Int(value["breath"][kBreathNames[f]], path, 0, kBreathLimits[f]);
        if (number && (type_changes_ || json(*number) != Held(path))) {
          Change(ChangeStage::kSettings, path, Held(path), *number,
                 [f, number = *number](Session& session) -> Result<void> {
                   settings::LedEditor(session).SetBreathValue(f, number);
                   return {};
                 });
        }
      }
    }
    Colours(value);
    if (value.contains("button_flash")) {
      const auto on = Bool(value["button_flash"], "/lighting/button_flash");
      if (on && json(*on) != Held("/lighting/button_flash")) {
        Change(ChangeStage::kSettings, "/lighting/button_flash", Held("/lighting/button_flash"),
               *on, [on = *on](Session& session) -> Result<void> {
                 settings::LedEditor(session).SetButtonFlash(on ? 1 : 0);
                 return {};
               });
      }
    }
    Strip(value);
  }

  void Effects(const json& value, image::LedType type) {
    const auto effects = settings::Effects(type);
    std::array<bool, LedState::kEffects> enabled = session_.Pages().led.effect_enabled;
    std::optional<std::size_t> effects_change;
    if (value.contains("effects")) {
      const json& names = value["effects"];
      if (!names.is_array()) return Problem("/lighting/effects", "must be a list of effect names");
      enabled.fill(false);
      for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string path = Key("/lighting/effects", static_cast<int>(i));
        const auto name = String(names[i], path);
        const auto item = name ? settings::EffectNamed(type, *name) : std::nullopt;
        if (name && !item) {
          std::string known;
          for (const auto& e : effects) known += (known.empty() ? "" : ", ") + std::string(e.name);
          Problem(path, "\"" + *name + "\" is not an effect of " +
                            std::string(image::LedTypeName(type)) + " LEDs: " + known);
        }
        if (item) enabled[static_cast<std::size_t>(*item)] = true;
      }
      if (type_changes_ || enabled != session_.Pages().led.effect_enabled) {
        json after = json::array();
        for (std::size_t i = 0; i < effects.size(); ++i) {
          if (enabled[i]) after.push_back(std::string(effects[i].name));
        }
        Change(ChangeStage::kSettings, "/lighting/effects", Held("/lighting/effects"), after,
               [enabled](Session& session) -> Result<void> {
                 session.Pages().led.effect_enabled = enabled;
                 settings::LedEditor(session).TLRefreshBreathMode();
                 return {};
               });
        effects_change = plan_.changes.size() - 1;
      }
    }
    if (value.contains("nt_leds")) {
      if (type != image::LedType::kNT) {
        Problem("/lighting/nt_leds", "applies only to NT LEDs");
      } else if (const auto leds = Int(value["nt_leds"], "/lighting/nt_leds",
                                       settings::LedEditor::kFirstNtCountItem + 1, kNtMostLeds)) {
        if (type_changes_ || json(*leds) != Held("/lighting/nt_leds")) {
          Change(ChangeStage::kSettings, "/lighting/nt_leds", Held("/lighting/nt_leds"), *leds,
                 [leds = *leds](Session& session) -> Result<void> {
                   if (settings::LedEditor(session).SetNtLedCountIndex(leds - 1)) return {};
                   return Error{ErrorKind::kRefused, "the NT LED count could not be set"};
                 });
        }
      }
    }
    if (value.contains("effect")) {
      const auto name = String(value["effect"], "/lighting/effect");
      const auto item = name ? settings::EffectNamed(type, *name) : std::nullopt;
      if (name && !item) {
        Problem("/lighting/effect", "\"" + *name + "\" is not an effect of " +
                                        std::string(image::LedTypeName(type)) + " LEDs");
      } else if (item && !enabled[static_cast<std::size_t>(*item)]) {
        Problem("/lighting/effect", "\"" + *name + "\" is not among the effects switched on");
      } else if (item) {
        const std::string after = EffectName(type, *item);
        // Switching effects off may move the effect in use, so this is also
        // checked when only the effects change.
        if (type_changes_ || after != Held("/lighting/effect")) {
          Change(ChangeStage::kSettings, "/lighting/effect", Held("/lighting/effect"), after,
                 [item = *item](Session& session) { return KeepEffect(session, item); });
        } else if (effects_change) {
          Make& make_effects = plan_.changes[*effects_change].make;
          make_effects = [make = make_effects, item = *item](Session& session) -> Result<void> {
            if (auto made = make(session); !made.ok()) return made;
            return KeepEffect(session, item);
          };
        }
      }
    }
  }

  static Result<void> KeepEffect(Session& session, int item) {
    if (session.Pages().led.effect_item == item) return {};
    if (settings::LedEditor(session).SetEffect(item)) return {};
    return Error{ErrorKind::kRefused, "the effect is switched off"};
  }

  void Colours(const json& value) {
    if (value.contains("colors")) {
      const json& colours = value["colors"];
      if (!colours.is_array() || colours.size() != kEffectColours) {
        Problem("/lighting/colors", "must be a list of the ten colours RRGGBB");
      } else {
        for (int k = 0; k < kEffectColours; ++k) {
          const std::string path = Key("/lighting/colors", k);
          const auto rgb = Colour(colours[static_cast<std::size_t>(k)], path);
          if (rgb && (type_changes_ || Hex(*rgb) != Held(path))) {
            Change(ChangeStage::kSettings, path, Held(path), Hex(*rgb),
                   [k, rgb = *rgb](Session& session) -> Result<void> {
                     settings::LedEditor(session).SetColour(k + 1, rgb[0], rgb[1], rgb[2]);
                     return {};
                   });
          }
        }
      }
    }
    if (value.contains("profile_colors")) {
      const json& colours = value["profile_colors"];
      if (!colours.is_array() || colours.size() != kProfiles) {
        return Problem("/lighting/profile_colors",
                       "must be a list of three colours, each 1 to 10 or \"fixed\"");
      }
      for (int p = 0; p < kProfiles; ++p) {
        const std::string path = Key("/lighting/profile_colors", p);
        const json& item = colours[static_cast<std::size_t>(p)];
        std::optional<int> colour;
        if (item == "fixed") {
          colour = kUserColourItem;
        } else if (item.is_number_integer() && item.get<long long>() >= 1 &&
                   item.get<long long>() <= 10) {
          colour = item.get<int>() - 1;
        } else {
          Problem(path, "must be a colour 1 to 10 or \"fixed\"");
        }
        if (colour && (type_changes_ || ProfileColour(*colour) != Held(path))) {
          Change(ChangeStage::kShaping, path, Held(path), ProfileColour(*colour),
                 [p, colour = *colour](Session& session) -> Result<void> {
                   settings::LedEditor(session).SetProfileColour(p + 1, colour);
                   return {};
                 });
        }
      }
    }
  }

  void Strip(const json& value) {
    if (!value.contains("mcu")) return;
    const json& strip = value["mcu"];
    if (session_.ActiveMemoryType() != MemoryType::kI2C) {
      if (!strip.is_null()) Problem("/lighting/mcu", "a \"Flash\" mouse keeps no MCU LED settings");
      return;
    }
    if (!Keys(strip, "/lighting/mcu", {"step", "scan", "leds"})) return;
    const LedState& led = session_.Pages().led;
    int step = led.mcu_step_item;
    int scan = led.mcu_ctrl_item;
    int count = led.mcu_count_item;
    bool sound = true;
    if (strip.contains("step")) {
      const auto s = Int(strip["step"], "/lighting/mcu/step", 0, kMcuSteps - 1);
      sound = sound && s;
      if (s) step = *s;
    }
    if (strip.contains("scan")) {
      if (strip["scan"] != 6 && strip["scan"] != 3) {
        Problem("/lighting/mcu/scan", "must be 6 (6-Step Scan) or 3 (3-Step Scan)");
        sound = false;
      } else {
        scan = strip["scan"] == 6 ? 0 : 1;
      }
    }
    if (strip.contains("leds")) {
      const auto leds = Int(strip["leds"], "/lighting/mcu/leds", kMcuFewestLeds, kMcuMostLeds);
      sound = sound && leds;
      if (leds) count = *leds - kMcuFewestLeds;
    }
    const json after = {{"step", step}, {"scan", scan == 0 ? 6 : 3}, {"leds", count + 4}};
    if (!sound || (!type_changes_ && after == Held("/lighting/mcu"))) return;
    Change(ChangeStage::kSettings, "/lighting/mcu", Held("/lighting/mcu"), after,
           [step, scan, count](Session& session) -> Result<void> {
             if (settings::LedEditor(session).SetMcuLed(step, scan, count)) return {};
             return Error{ErrorKind::kDeviceFailed, "the MCU LED settings could not be written"};
           });
  }

  const bool engineer_;
  Session& session_;
  ApplyPlan& plan_;
  const json held_;
  // The mouse's macros once the document's are given, and how many of the
  // mouse's stay where they are.
  std::optional<std::vector<std::string>> final_macros_;
  std::size_t macros_kept_ = std::numeric_limits<std::size_t>::max();
  // The buttons' names once the document's buttons are given.
  std::array<std::array<std::string, kButtons>, kProfiles> final_names_;
  bool type_changes_ = false;  // the rest of the lighting is planned again after the type
};

}  // namespace

bool TakeLiveSettings(Session& session) {
  return settings::DpiEditor(session).TakeLiveLevels() &&
         settings::LedEditor(session).TakeLiveSettings();
}

json ExportSettings(Session& session) {
  json document = {
      {"schema_version", kSettingsSchemaVersion},
      {"language", session.CurrentLanguage()},
      {"current_profile", image::Get(session.Data(), image::field::kCurrentProfile) + 1},
      {"profiles", ButtonsOf(session)},
      {"dpi", DpiOf(session)},
      {"polling_rate", image::PollingRateHz(session.Data())},
      {"lighting", LightingOf(session)},
      {"fire", FireOf(session)},
      {"aim", session.Keys().aim_step},
      {"gestures", GesturesOf(session)}};
  if (const macros::DeviceMacros* store = macros::FindDeviceMacros(session)) {
    document["macros"] = MacrosOf(*store);
  }
  document["engineer"] = EngineerOf(session);
  return document;
}

ApplyPlan PlanSettings(Session& session, const json& document, bool engineer) {
  ApplyPlan plan;
  Planner(session, plan, engineer).Plan(document);
  if (!plan.problems.empty()) plan.changes.clear();
  return plan;
}

std::string ChangeLine(const SettingChange& change) {
  return change.path + ": " + change.before + " -> " + change.after;
}

}  // namespace vrdk::cli
