#include "engineering/engineer_page.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "image/code_text.h"
#include "keys/editors/gestures.h"
#include "keys/function_codes.h"
#include "keys/key_code.h"
#include "session/image_writes.h"
#include "session/write_roads.h"
#include "settings/profile_switch_keys.h"

namespace vrdk::engineering {
namespace {

constexpr std::array<std::string_view, 4> kOffOn = {"Disable", "Enable"};

constexpr std::array<OptionField, 22> kOptionFields = {{
    {"cb_ICType", 4, 6, 2, {"2270", "2270", "2280", "2290/2280"}, {0, 1, 2, 3}, 4},
    {"cb_SensorEnhance", 4, 3, 1, kOffOn, {0, 1}, 2},
    {"cb_Package", 5, 7, 1, {"A-Tech LED", "RGB LED"}, {0, 1}, 2},
    {"cb_KbdType", 5, 6, 1, {"IO", "Multi Key"}, {0, 1}, 2},
    {"cb_CPIIndication", 5, 4, 2, {"No Indication", "Fade ", "Flash"}, {1, 2, 3}, 3},
    {"cb_CPISet",
     5,
     2,
     2,
     {"800,1200,1600,2400", "600,1200,2400,4800", "1000,2400,3200,6000", "400,800,1600,2400"},
     {3, 2, 1, 0},
     4},
    {"cb_CPILevel", 5, 0, 2, {"1st", "4th", "3rd", "2nd"}, {0, 1, 2, 3}, 4},
    {"cb_SensorRotation", 6, 6, 2, {"270°", "180°", "90°", "0 °"}, {0, 1, 2, 3}, 4},
    {"cb_CPIPrescaleSel", 6, 4, 2, {"1.00x", "1.12x", "1.25x", "1.33x"}, {3, 1, 2, 0}, 4},
    {"cb_FireKeyFreq", 6, 2, 2, {"Random", "3Hz", "4Hz", "5Hz"}, {0, 1, 2, 3}, 4},
    {"cb_FireKeyCount", 6, 0, 2, {"Continue", "4 times", "3 times", "2 times"}, {0, 1, 2, 3}, 4},
    {"cb_LEDCtrl0", 7, 7, 1, {"open drain", "drive high"}, {0, 1}, 2},
    {"cb_LEDCtrl1", 7, 6, 1, {"high active", "low active"}, {0, 1}, 2},
    {"cb_LEDModeFuse",
     7,
     4,
     2,
     {"1/F3(ZK LED)", "2/F2(ZK LED)", "5/F1(ZK LED)", "4/2(28s Sync LED)"},
     {0, 1, 2, 3},
     4},
    {"cb_ComboKeyTime", 7, 3, 1, {"2s", "3s"}, {0, 1}, 2},
    {"cb_USBCDR", 7, 2, 1, {"CDR2", "CDR1"}, {0, 1}, 2},
    {"cb_SensorSleep", 7, 1, 1, {"Enable", "Disable"}, {0, 1}, 2},
    {"cb_LEDPower", 7, 0, 1, {"drive high", "open drain"}, {0, 1}, 2},
    {"cb_EFTrelyNAK", 8, 3, 1, kOffOn, {0, 1}, 2},
    {"cb_EFTrelug", 8, 2, 1, kOffOn, {0, 1}, 2},
    {"cb_KeepProfileInfo", 8, 1, 1, kOffOn, {0, 1}, 2},
    {"cb_ProfileLEDFlash", 8, 0, 1, kOffOn, {0, 1}, 2},
}};

constexpr std::array<SensorRegister, 33> kSensorRegisters = {{
    {"edt_Avg_lb_lq", 9},
    {"edt_Avg_hb_lq", 10},
    {"edt_Avg_tg_lq", 11},
    {"edt_Avg_lb", 12},
    {"edt_Avg_hb", 13},
    {"edt_Avg_tg", 14},
    {"edt_MiscBitCfg", 15},
    {"edt_HSqDcrDiv_LSqDcrDiv", 16},
    {"edt_LfBpsShlThr", 17},
    {"edt_LfHfsqThr", 18},
    {"edt_CrpThrGain1Sql", 19},
    {"edt_CrpThrGain1Sqh", 20},
    {"edt_CrpThrGain2Sql", 21},
    {"edt_CrpThrGain2Sqh", 22},
    {"edt_CrpThrGain4Sql", 23},
    {"edt_CrpThrGain4Sqh", 24},
    {"edt_CrpThrGain8Sqx", 25},
    {"edt_BpGainThr_LandThrWeight", 26},
    {"edt_CrpCntThr_LftBpsGainThr", 27},
    {"edt_HsqCorBit_LsqCorBit", 28},
    {"edt_LftCorBitAvgThr", 29},
    {"edt_SubpixCorBit_MaxGain", 30},
    {"edt_MaxShut", 31},
    {"edt_LandCntThr", 32},
    {"edt_LiftCntThr", 33},
    {"edt_CorBitHfsqThr", 34},
    {"edt_illumXledAvgThr", 35},
    {"edt_BpHfsqThr", 36},
    {"edt_HgLsqCorBit_LgLsqCorBit", 37},
    {"edt_HgLsqThr", 38},
    {"edt_Misc_G8CorBit", 39},
    {"edt_LEDInit0", 40},
    {"edt_LEDInit1", 41},
}};

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// Control names match with or without their prefix, in any case.
bool NameMatches(std::string_view control, std::string_view prefix, std::string_view name) {
  const std::string wanted = Lower(name);
  return Lower(control) == wanted || Lower(control.substr(prefix.size())) == wanted;
}

std::optional<long> ParseWhole(const std::string& text, int base) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::uint8_t FieldMask(const OptionField& field) {
  return Byte(((1 << field.width) - 1) << field.low_bit);
}

std::optional<ComboFunction> ComboFunctionOf(std::span<const std::uint8_t, image::kCodeSize> code) {
  return ComboFunctionOfCode({code[0], code[1], code[2], code[3]});
}

bool IsFireMacroName(const std::string& name) {
  for (int n = 1; n <= kFireMacroEntries; ++n) {
    if (name == "Fire Macro" + std::to_string(n)) return true;
  }
  return false;
}

}  // namespace

std::span<const OptionField> OptionFields() { return kOptionFields; }

const OptionField* FindOption(std::string_view name) {
  for (const OptionField& field : kOptionFields) {
    if (NameMatches(field.control, "cb_", name)) return &field;
  }
  return nullptr;
}

int OptionItemOf(const OptionField& field, std::uint8_t byte) {
  const int bits = (byte & FieldMask(field)) >> field.low_bit;
  for (int i = 0; i < field.item_count; ++i) {
    if (field.bits[static_cast<std::size_t>(i)] == bits) return i;
  }
  return -1;  // no item shows these bits
}

std::span<const SensorRegister> SensorRegisters() { return kSensorRegisters; }

const SensorRegister* FindSensorRegister(std::string_view name) {
  for (const SensorRegister& reg : kSensorRegisters) {
    if (NameMatches(reg.control, "edt_", name)) return &reg;
  }
  return nullptr;
}

// --- Option bytes, registers and identity ---------------------------------------------

bool EngineerPage::SetOption(const OptionField& field, int item) {
  if (item < 0 || item >= field.item_count) return false;
  auto& byte = image::Vendor(session_.Data())[static_cast<std::size_t>(field.byte)];
  byte = Byte((byte & ~FieldMask(field)) | field.bits[static_cast<std::size_t>(item)]
                                               << field.low_bit);
  if (field.control == "cb_Package") session_.Pages().package = item;
  if (!Loading()) WriteRoads(session_).WriteLiveField(field.byte, byte);
  return true;
}

std::string EngineerPage::SetSensorRegister(const SensorRegister& reg, const std::string& text) {
  const auto parsed = ParseWhole(text, 16);
  if (!parsed || *parsed < 0) return text;
  const std::uint8_t value = Byte(std::min<long>(*parsed, 0xFF));
  image::Vendor(session_.Data())[static_cast<std::size_t>(reg.offset)] = value;
  if (!Loading()) WriteRoads(session_).WriteLiveField(reg.offset, value);
  return *parsed > 0xFF ? "FF" : text;
}

bool EngineerPage::SetUsbId(image::Field field, const std::string& text) {
  const bool hex4 = text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) {
                      return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                    });
  if (!hex4 || Loading()) return false;
  const long id = *ParseWhole(text, 16);
  const std::array<std::uint8_t, 2> bytes{Byte(id >> 8), Byte(id & 0xFF)};
  std::ranges::copy(bytes, image::Bytes(session_.Data(), field).begin());
  return WriteRoads(session_).WriteLiveBytes(image::LiveAddress(field), bytes);
}

bool EngineerPage::SetVid(const std::string& text) {
  return SetUsbId(image::field::kVendorId, text);
}
bool EngineerPage::SetPid(const std::string& text) {
  return SetUsbId(image::field::kProductId, text);
}

bool ProductStringAcceptable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

bool EngineerPage::SetProductString(const std::string& text) {
  if (!ProductStringAcceptable(text)) return false;
  const auto field = image::Bytes(session_.Data(), image::field::kProductString);
  const int address = image::LiveAddress(image::field::kProductString);
  std::fill(field.begin(), field.end(), 0);
  std::copy_n(text.begin(), std::min<std::size_t>(text.size(), field.size()), field.begin());
  if (Loading()) return true;
  const Session::Change change(session_, WriteSubject::kSettings);
  WriteRoads roads(session_);
  for (int at = 0; at < 15; at += 3) {
    const auto i = static_cast<std::size_t>(at);
    roads.WriteLiveField(address + at, field[i], field[i + 1], field[i + 2]);
  }
  roads.WriteLiveField(address + 15, field[15]);
  return true;
}

std::array<int, 2> EngineerPage::SetCustomerCodes(int vendor_code, int product_code) {
  const int vendor = std::clamp(vendor_code, 0, 255);
  const int product = std::clamp(product_code, 0, 255);
  auto codes = image::Bytes(session_.Data(), image::field::kCustomerCodes);
  codes[0] = Byte(vendor);
  codes[1] = Byte(product);
  const auto fire = image::Fire(session_.Data());
  if (!Loading()) {
    const bool i2c = session_.ActiveMemoryType() == MemoryType::kI2C;
    WriteRoads(session_).WriteMemory(WriteSubject::kCustomerCodes,
                                     i2c ? image::i2c::kFire : image::flash::kFire,
                                     std::span<const std::uint8_t>(fire));
  }
  return {vendor, product};
}

// --- Button codes -------------------------------------------------------------------

void EngineerPage::SetProfileSwitch(int return_to_zero, int adjust_xy, int change_colour,
                                    int offset) {
  KeyCodeContext& keys = session_.Keys();
  keys.return_to_zero = std::clamp(return_to_zero, 0, 1);
  keys.adjust_xy = std::clamp(adjust_xy, 0, 1);
  keys.change_colour = std::clamp(change_colour, 0, 1);
  keys.offset = std::clamp(offset, 0, kMaxProfileOffset);
  settings::RewriteProfileSwitchKeys(session_);
  if (!Loading()) WriteRoads(session_).WriteProfiles();
}

void EngineerPage::SetComboItem(ComboFunction function, int item) {
  const int chosen = std::clamp(item, 0, 8);
  session_.Keys().combination_items[static_cast<std::size_t>(function)] = chosen;
  keys::RewriteCombinationBit(session_, function, CombinationBit(chosen));
  if (!Loading()) WriteRoads(session_).WriteProfiles();
}

void EngineerPage::SetGunComboItem(int item) {
  PageState& pages = session_.Pages();
  pages.engineer.gun_combination_item = std::clamp(item, 0, 8);
  for (std::size_t profile = 0; profile < image::kProfileCount; ++profile) {
    for (std::size_t key = 0; key < image::kKeysPerProfile; ++key) {
      if (!IsFireMacroName(pages.names[profile][key])) continue;
      auto code = image::KeyCode(session_.Data(), profile, key);
      code[3] = CombinationBit(pages.engineer.gun_combination_item);
      pages.code_texts.profiles[profile][key] = image::CodeText(code);
    }
  }
  if (!Loading()) WriteRoads(session_).WriteProfiles();
}

void EngineerPage::TLRefreshComboEn() {
  for (int function = 0; function < kComboFunctionCount; ++function) {
    const auto which = static_cast<ComboFunction>(function);
    keys::RewriteCombinationBit(
        session_, which,
        CombinationBit(session_.Keys().combination_items[static_cast<std::size_t>(function)]));
  }
  SetGunComboItem(session_.Pages().engineer.gun_combination_item);
}

void EngineerPage::ShowComboItemsFromButtons() {
  std::array<bool, kComboFunctionCount> seen{};
  bool gun_seen = false;
  const auto item_of = [](std::uint8_t bit) -> std::optional<int> {
    for (int item = 0; item <= 8; ++item) {
      if (CombinationBit(item) == bit) return item;
    }
    return std::nullopt;
  };
  for (std::size_t profile = 0; profile < image::kProfileCount; ++profile) {
    for (std::size_t key = 0; key < image::kKeysPerProfile; ++key) {
      const auto code = image::KeyCode(session_.Data(), profile, key);
      const auto item = item_of(code[3]);
      if (!item) continue;
      const auto function = ComboFunctionOf(code);
      if (function && !seen[static_cast<std::size_t>(*function)]) {
        session_.Keys().combination_items[static_cast<std::size_t>(*function)] = *item;
        seen[static_cast<std::size_t>(*function)] = true;
      } else if (!function && !gun_seen && IsFireMacroName(session_.Pages().names[profile][key])) {
        session_.Pages().engineer.gun_combination_item = *item;
        gun_seen = true;
      }
    }
  }
}

void EngineerPage::ShowProfileSwitchFromCodes() {
  KeyCodeContext& keys = session_.Keys();
  const auto parameters_of = [](std::span<const std::uint8_t, image::kCodeSize> code) {
    return ExtendedProfileSwitchParameters({code[0], code[1], code[2], code[3]});
  };
  for (std::size_t profile = 0; profile < image::kProfileCount; ++profile) {
    for (std::size_t key = 0; key < image::kKeysPerProfile; ++key) {
      if (const auto found = parameters_of(image::KeyCode(session_.Data(), profile, key))) {
        keys.return_to_zero = found->return_to_zero;
        keys.adjust_xy = found->adjust_xy;
        keys.change_colour = found->change_colour;
        keys.offset = found->offset;
        return;
      }
    }
  }
  // No profile button carries the parameters; a slot's code still carries
  // the offset the engineer page last had.
  for (std::size_t slot = 0; slot < image::kCombinationSlots; ++slot) {
    if (const auto found = parameters_of(image::CombinationCode(session_.Data(), slot))) {
      keys.offset = found->offset;
      return;
    }
  }
}

// --- Recoil offsets, XData and defaults -------------------------------------------------

std::string EngineerPage::SetRecoilOffset(bool x_axis, int n, const std::string& text) {
  if (n < 1 || n > 10 || text == "-") return text;
  const auto parsed = text.empty() ? std::optional<long>(0) : ParseWhole(text, 10);
  if (!parsed) return text;
  const long value = std::clamp<long>(*parsed, -128, 127);
  const int address = image::RecoilOffsetAddress(x_axis, n);
  const auto byte = static_cast<std::uint8_t>(static_cast<std::int8_t>(value));
  session_.Data()[static_cast<std::size_t>(address)] = byte;
  if (!Loading()) WriteRoads(session_).WriteLiveField(address, byte);
  return value == *parsed && !text.empty() ? text : std::to_string(value);
}

std::optional<std::uint8_t> EngineerPage::ReadXData(std::uint16_t address) {
  if (session_.CheckAccess() != Refusal::kNone) return std::nullopt;
  const Session::Operation operation(session_);
  if (!session_.Checked().Ask(command::kReadXData, Byte(address >> 8), Byte(address & 0xFF), 0,
                              1)) {
    return std::nullopt;
  }
  return session_.Link().ResponseData()[0];
}

bool EngineerPage::WriteXData(std::uint16_t address, std::uint8_t value) {
  if (session_.CheckAccess() != Refusal::kNone) return false;
  return session_.Checked().Send(command::kWriteXData, Byte(address >> 8), Byte(address & 0xFF),
                                 value);
}

void EngineerPage::ChangedXData() {
  WriteXData(0x7241, 0x01);
  WriteXData(0x7242, 0x06);
  WriteXData(0x7243, 0x01);
}

Result<void> EngineerPage::RestoreDefaults() { return ImageWrites(session_).TLDefaultParameter(); }

// --- Access ---------------------------------------------------------------------------

EngineerAccess::Action EngineerAccess::LogoDoubleClicked() {
  if (state_.unlocked) {
    state_.unlocked = false;
    state_.revealed = false;
    return Action::kLocked;
  }
  ++state_.unlock_clicks;
  return state_.unlock_clicks % kDoubleClicks == 0 ? Action::kAskCode : Action::kNothing;
}

void EngineerAccess::EnterCode(std::string_view code) {
  if (code == "TarvondQX") {
    state_.unlocked = true;
  } else if (code == "TarvondQXKPW") {
    state_.unlocked = true;
    state_.revealed = true;
  }
}

}  // namespace vrdk::engineering
