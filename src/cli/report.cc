#include "cli/report.h"

#include <charconv>
#include <cstdio>
#include <sstream>

#include "image/code_text.h"
#include "image/fields.h"
#include "keys/function_codes.h"
#include "keys/menu_entries.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;

constexpr int kEffectColours = 10;

std::string Hex(std::span<const std::uint8_t> bytes, const char* separator = "") {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
    if (i > 0) text += separator;
    text += digits;
  }
  return text;
}

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

json RepairedSections(const Session& session) {
  json names = json::array();
  for (auto section : session.Pages().repaired) names.push_back(image::SectionName(section));
  return names;
}

// The DPI value of a step index (0..11) as a number, from the language's text.
json DpiValue(int index, const LanguageTable& language) {
  if (index < 0 || index > 11) return nullptr;
  const std::string text = language.DpiText(index + 1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return nullptr;
  return value;
}

// The levels as the DPI editors hold them: a stored count above 7 keeps the
// count shown before, and an index that is no value (12..15) shows null.
json DpiReport(const Session& session, const LanguageTable& language) {
  const auto& data = session.Data();
  const DpiState& dpi = session.Pages().dpi;
  json values = json::array();
  json colours = json::array();
  for (int level = 0; level < dpi.count; ++level) {
    values.push_back(DpiValue(image::LevelValueIndex(data, level), language));
    colours.push_back(Hex(image::LevelColour(data, level)));
  }
  return {
      {"levels", dpi.count}, {"values", values}, {"current", dpi.current + 1}, {"colors", colours}};
}

// The lighting settings as the lighting editor shows them.
json LedReport(const Session& session) {
  const LedState& led = session.Pages().led;
  json colours = json::array();
  for (int k = 0; k < kEffectColours; ++k) {
    colours.push_back(Hex(image::EffectColour(session.Data(), k)));
  }
  const auto effect_at = static_cast<std::size_t>(led.effect_item);
  json mcu = nullptr;
  if (session.ActiveMemoryType() == MemoryType::kI2C) {
    mcu = {{"step", led.mcu_step_item},
           {"scan", led.mcu_ctrl_item == 0 ? 6 : 3},
           {"leds", led.mcu_count_item + 4}};
  }
  return {
      {"type", std::string(image::LedTypeName(session.Pages().led_type))},
      {"mode", image::Get(session.Data(), image::field::kLedMode)},
      {"effect", effect_at < led.effect_list.size() ? json(led.effect_list[effect_at]) : json()},
      {"effects", led.effect_list},
      {"step_time", led.step_time},
      {"breath",
       {{"lower", led.breath[0]},
        {"upper", led.breath[1]},
        {"lower_time", led.breath[2]},
        {"upper_time", led.breath[3]}}},
      {"colors", colours},
      {"button_flash", session.Pages().button_effect_item == 1},
      {"mcu", mcu}};
}

json FireReport(const image::DataBuf& data) {
  json presets = json::array();
  for (int key = 0; key < 3; ++key) {
    const auto stored = image::FirePresetOf(data, key);
    presets.push_back({{"count", stored.count_less_one + 1}, {"interval", stored.interval}});
  }
  return presets;
}

std::string Pad(const std::string& label) {
  return label + std::string(label.size() < 19 ? 19 - label.size() : 1, ' ');
}

std::string Plain(const json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "-";
  return value.dump();
}

std::string Joined(const json& list, const char* separator = ", ") {
  std::string text;
  for (const auto& item : list) {
    if (!text.empty()) text += separator;
    text += Plain(item);
  }
  return text.empty() ? "none" : text;
}

std::string LedText(const json& led) {
  std::ostringstream out;
  out << "\nlighting\n"
      << "  " << Pad("effects") << Joined(led["effects"]) << '\n'
      << "  " << Pad("effect in use") << Plain(led["effect"]) << " (mode " << Plain(led["mode"])
      << ")\n"
      << "  " << Pad("step time") << Plain(led["step_time"]) << '\n';
  const json& breath = led["breath"];
  out << "  " << Pad("breathing") << "lower " << Plain(breath["lower"]) << ", upper "
      << Plain(breath["upper"]) << ", lower time " << Plain(breath["lower_time"]) << ", upper time "
      << Plain(breath["upper_time"]) << '\n'
      << "  " << Pad("colours") << Joined(led["colors"], " ") << '\n'
      << "  " << Pad("button flash") << (led["button_flash"].get<bool>() ? "on" : "off") << '\n';
  if (!led["mcu"].is_null()) {
    const int scan = led["mcu"]["scan"].get<int>();
    out << "  " << Pad("MCU LED strip") << "step " << Plain(led["mcu"]["step"]) << ", " << scan
        << "-Step Scan, " << Plain(led["mcu"]["leds"]) << " LEDs\n";
  }
  return out.str();
}

}  // namespace

json InfoReport(const Session& session) {
  const auto& data = session.Data();
  const auto& conn = session.Conn();
  const auto stored = image::Bytes(data, image::field::kCustomerCodes);
  const auto codes =
      conn.read_customer_codes.value_or(std::array<std::uint8_t, 2>{stored[0], stored[1]});
  return {{"memory_type", std::string(MemoryTypeName(session.ActiveMemoryType()))},
          {"vendor_id", Hex4(static_cast<unsigned>(image::VendorId(data)))},
          {"product_id", Hex4(static_cast<unsigned>(image::ProductId(data)))},
          {"customer_codes", {codes[0], codes[1]}},
          {"product_string", image::ProductString(data)},
          {"patch_checksum", session.Pages().patch_checksum_text},
          {"current_profile", image::Get(data, image::field::kCurrentProfile) + 1},
          {"polling_rate", image::PollingRateHz(data)},
          {"led_type", std::string(image::LedTypeName(session.Pages().led_type))},
          {"repaired_sections", RepairedSections(session)}};
}

json DumpReport(const Session& session, const LanguageTable& language) {
  json dump = InfoReport(session);
  const auto& data = session.Data();
  const auto& texts = session.Pages().code_texts;
  json profiles = json::array();
  for (std::size_t p = 0; p < texts.profiles.size(); ++p) {
    json buttons = json::array();
    for (std::size_t k = 0; k < texts.profiles[p].size(); ++k) {
      buttons.push_back({{"code", texts.profiles[p][k]}, {"name", session.Pages().names[p][k]}});
    }
    profiles.push_back({{"buttons", buttons}});
  }
  dump["profiles"] = profiles;
  dump["combination_slots"] = texts.combinations;
  dump["dpi"] = DpiReport(session, language);
  dump["led"] = LedReport(session);
  dump["fire"] = FireReport(data);
  dump["fire_section"] = Hex(image::Fire(data), " ");
  dump["options"] = Hex(image::Bytes(data, image::field::kOptionBytes), " ");
  const auto& buffers = session.Buffers();
  dump["patch_header"] = session.ActiveMemoryType() == MemoryType::kI2C
                             ? Hex(buffers.patch_header, " ")
                             : Hex(buffers.flash_info, " ");
  return dump;
}

json NamesReport(Session& session, bool from_mouse) {
  json functions = json::array();
  for (const MenuEntry& entry : MenuEntries()) {
    functions.push_back({{"tag", entry.tag},
                         {"code", CodeForMenuTag(entry.tag, session.Keys())},
                         {"name", session.Language().Text(entry.caption_key)}});
  }
  return {{"source", from_mouse ? "mouse" : "defaults"}, {"functions", functions}};
}

std::string NamesText(const json& names) {
  std::string text =
      names["source"] == "mouse"
          ? "codes as the mouse makes them (its fire, AIM and combination settings)\n"
          : "codes with the default settings (no mouse was read)\n";
  for (const auto& entry : names["functions"]) {
    char line[32];
    std::snprintf(line, sizeof line, "%5d  %s  ", entry["tag"].get<int>(),
                  entry["code"].get<std::string>().c_str());
    text += line + entry["name"].get<std::string>() + '\n';
  }
  return text;
}

std::string InfoText(const json& info) {
  std::ostringstream out;
  out << Pad("memory type") << Plain(info["memory_type"]) << '\n'
      << Pad("USB id") << Plain(info["vendor_id"]) << ':' << Plain(info["product_id"]) << '\n'
      << Pad("customer codes") << Joined(info["customer_codes"]) << '\n'
      << Pad("product string") << Plain(info["product_string"]) << '\n'
      << Pad("patch checksum") << Plain(info["patch_checksum"]) << '\n'
      << Pad("current profile") << Plain(info["current_profile"]) << '\n'
      << Pad("polling rate") << Plain(info["polling_rate"]) << " Hz\n"
      << Pad("LED type") << Plain(info["led_type"]) << '\n'
      << Pad("repaired sections") << Joined(info["repaired_sections"]) << '\n';
  return out.str();
}

std::string DumpText(const json& dump) {
  std::ostringstream out;
  out << InfoText(dump);
  int number = 1;
  for (const auto& profile : dump["profiles"]) {
    out << "\nprofile " << number++ << '\n';
    int key = 1;
    for (const auto& button : profile["buttons"]) {
      char line[24];
      std::snprintf(line, sizeof line, "  button %-3d", key++);
      out << line << Plain(button["code"]) << "  " << Plain(button["name"]) << '\n';
    }
  }
  out << "\ncombination slots\n";
  int slot = 1;
  for (const auto& code : dump["combination_slots"])
    out << "  slot " << slot++ << "  " << Plain(code) << '\n';
  const auto& dpi = dump["dpi"];
  out << "\nDPI levels          " << Plain(dpi["levels"]) << " (current " << Plain(dpi["current"])
      << ")\n";
  for (std::size_t level = 0; level < dpi["values"].size(); ++level) {
    out << "  level " << level + 1 << "  " << Plain(dpi["values"][level]) << "  #"
        << Plain(dpi["colors"][level]) << '\n';
  }
  out << LedText(dump["led"]) << '\n';
  int key = 1;
  for (const auto& preset : dump["fire"]) {
    out << Pad("fire key " + std::to_string(key++)) << Plain(preset["count"]) << " times, interval "
        << Plain(preset["interval"]) << '\n';
  }
  out << Pad("Fire section") << Plain(dump["fire_section"]) << '\n'
      << Pad("option bytes 4..8") << Plain(dump["options"]) << '\n'
      << Pad("patch header") << Plain(dump["patch_header"]) << '\n';
  return out.str();
}

}  // namespace vrdk::cli
