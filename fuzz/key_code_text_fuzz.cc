// Fuzz target: key-code text as a user gives it (vrdkctl's FUNCTION
// "code:XXXXXXXX", a file's code texts), the same bytes as the
// working state codes are built from, and as key presses in the
// key-combination dialog. A code text parses when it is eight hexadecimal
// digits and formats back to itself in upper case; naming any text stays
// valid UTF-8 and leaves the working state in its ranges; every menu entry
// gives eight upper-case digits whatever the state holds; a stored extended
// profile switch rebuilds as itself; the dialog's code is always a keyboard
// code that carries each key it took.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "keys/function_codes.h"
#include "keys/key_code.h"
#include "keys/key_combination.h"
#include "keys/keyboard_keys.h"
#include "keys/menu_entries.h"
#include "tables/language_table.h"
#include "tables/text_encoding.h"

namespace {

using namespace vrdk;

// Reads the input as numbers; zeros once it runs out.
class Numbers {
 public:
  explicit Numbers(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t Byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }
  int Int() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return static_cast<int>(value);
  }
  bool Done() const { return at_ >= bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

void RequireUtf8(std::string_view text) {
  if (SanitizeUtf8(text) != text) __builtin_trap();
}

bool IsCodeText(std::string_view text) {
  return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
         });
}

void CheckContext(const KeyCodeContext& context) {
  for (const int item : context.profile_colour_items) {
    if (item < 0 || item > kUserColourItem) __builtin_trap();
  }
}

void Name(std::string_view code, const LanguageTables& languages, KeyCodeContext& context) {
  for (int language = 1; language <= 3; ++language) {
    RequireUtf8(NameForCode(code, languages.Table(language), context));
    RequireUtf8(NameForSlotCode(code, languages.Table(language), context));
  }
  CheckContext(context);
}

void AsCodeText(std::string_view text, const LanguageTables& languages, KeyCodeContext& context) {
  const auto bytes = ParseKeyCode(text);
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  if (bytes.has_value() != IsCodeText(upper)) __builtin_trap();
  Name(text, languages, context);
  if (!bytes) return;
  if (FormatKeyCode(*bytes) != upper || ParseKeyCode(FormatKeyCode(*bytes)) != bytes) {
    __builtin_trap();
  }
  ComboFunctionOfCode(*bytes);
  // A stored extended profile switch, read into the engineer page's
  // controls, is built again as itself (bit 3 of b1 and colour nibbles
  // 10..14 are no part of what the page can hold).
  const auto parameters = ExtendedProfileSwitchParameters(*bytes);
  const int nibble = (*bytes)[2] >> 4;
  if (!parameters || ((*bytes)[1] & 0x08) != 0 || (nibble > 9 && nibble != 15)) return;
  if (parameters->offset < 0 || parameters->offset > 0xFFF) __builtin_trap();
  KeyCodeContext page;
  page.return_to_zero = parameters->return_to_zero;
  page.adjust_xy = parameters->adjust_xy;
  page.change_colour = parameters->change_colour;
  page.offset = parameters->offset;
  const int profile = ((*bytes)[1] & 0x07);
  page.profile_colour_items[static_cast<std::size_t>(profile)] =
      nibble == 15 ? kUserColourItem : nibble;
  if (CodeForMenuTag(menu_tag::kProfile1 + profile, page, MenuOrigin::kCombinationSlot) != upper) {
    __builtin_trap();
  }
}

// The working state as anything may have left it: every menu entry still
// gives a code, which names without trouble.
void MenuCodes(Numbers& numbers, const LanguageTables& languages) {
  KeyCodeContext context;
  for (int& item : context.combination_items) item = numbers.Int();
  context.return_to_zero = numbers.Int();
  context.adjust_xy = numbers.Int();
  context.change_colour = numbers.Int();
  context.offset = numbers.Int();
  for (int& item : context.profile_colour_items) item = numbers.Int();
  context.led_type_item = numbers.Int();
  for (FirePreset& preset : context.fire) {
    preset.count = numbers.Int();
    preset.interval = numbers.Int();
  }
  context.aim_step = numbers.Int();
  context.memory_type = numbers.Byte() % 2 == 0 ? MemoryType::kI2C : MemoryType::kFlash;
  const int extra_tag = numbers.Int();
  for (const MenuOrigin origin : {MenuOrigin::kButton, MenuOrigin::kCombinationSlot}) {
    for (const MenuEntry& entry : MenuEntries()) {
      const std::string code = CodeForMenuTag(entry.tag, context, origin);
      if (!IsCodeText(code)) __builtin_trap();
      RequireUtf8(NameForSlotCode(code, languages.Table(1), context));
    }
    const std::string code = CodeForMenuTag(extra_tag, context, origin);
    if (!code.empty() && !IsCodeText(code)) __builtin_trap();
    if (code.empty() && FindMenuEntry(extra_tag) != nullptr) __builtin_trap();
  }
}

// Presses, modifier boxes and the Tab box of the key-combination dialog.
void Dialog(Numbers& numbers) {
  // In the order of the code's modifier bits.
  constexpr std::array kModifiers = {KeyCombinationDialog::kCtrl, KeyCombinationDialog::kShift,
                                     KeyCombinationDialog::kAlt, KeyCombinationDialog::kWin};
  KeyCombinationDialog dialog;
  while (!numbers.Done()) {
    const std::uint8_t what = numbers.Byte();
    bool took = false;
    int usage = 0;
    switch (what % 4) {
      case 0: {
        const int key = what & 0x80 ? numbers.Int() : numbers.Byte();
        const std::uint8_t held = numbers.Byte();
        took = dialog.KeyDown(key, held & 1, held & 2, held & 4);
        usage = VirtualKeyToUsage(key);
        if (took && usage == 0) __builtin_trap();
        break;
      }
      case 1:
        dialog.SetModifier(kModifiers[what >> 2 & 3], (what & 0x10) != 0);
        break;
      case 2:
        dialog.SetTab((what & 0x10) != 0);
        break;
      default:
        if (what & 0x10) dialog.Clear();
        break;
    }
    const std::string code = dialog.Code();
    const auto bytes = ParseKeyCode(code);
    if (!IsCodeText(code) || !bytes || (*bytes)[0] != key_class::kKeyboard) __builtin_trap();
    for (int m = 0; m < 4; ++m) {
      const bool set = ((*bytes)[1] >> m & 1) != 0;
      if (set != dialog.Modifier(kModifiers[static_cast<std::size_t>(m)])) {
        __builtin_trap();
      }
    }
    if ((*bytes)[1] > 0x0F) __builtin_trap();
    if (took && (*bytes)[2] != usage && (*bytes)[3] != usage) __builtin_trap();
    if (dialog.HasTab() && (*bytes)[2] != KeyCombinationDialog::kTabUsage &&
        (*bytes)[3] != KeyCombinationDialog::kTabUsage) {
      __builtin_trap();
    }
    RequireUtf8(dialog.Text());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const LanguageTables languages = LanguageTables::Load();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  KeyCodeContext context;
  context.fire_macro_naming = size % 2 == 1;
  AsCodeText(text, languages, context);
  // As vrdkctl's FUNCTION "code:XXXXXXXX".
  if (text.substr(0, 5) == "code:") AsCodeText(text.substr(5), languages, context);
  Numbers numbers(std::span(data, size));
  MenuCodes(numbers, languages);
  Numbers presses(std::span(data, size));
  Dialog(presses);
  return 0;
}
