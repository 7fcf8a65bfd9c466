#include "tables/brand_options.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "resources/resources.h"

namespace vrdk {
namespace {

std::optional<int> ParseDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Reads the numeric keys of [org] one at a time, collecting what is wrong.
class NumericReader {
 public:
  NumericReader(const IniTable& table, std::vector<BrandOptionError>& errors)
      : table_(table), errors_(errors) {}

  // The key's value, or `fallback` with an error when it is missing or not a
  // number. `shown` is the fallback as the message names it.
  int Read(std::string_view key, int fallback, std::string_view shown) {
    const auto text = table_.Find(kBrandSection, key);
    if (!text) {
      errors_.push_back(
          {BrandOptionError::Kind::kMissingKey, std::string(key), "", std::string(shown)});
      return fallback;
    }
    const auto value = ParseDecimal(*text);
    if (!value) {
      errors_.push_back({BrandOptionError::Kind::kNotANumber, std::string(key), std::string(*text),
                         std::string(shown)});
      return fallback;
    }
    return *value;
  }

 private:
  const IniTable& table_;
  std::vector<BrandOptionError>& errors_;
};

}  // namespace

std::string BrandOptionError::Message() const {
  const std::string head = "brand table [org]: ";
  switch (kind) {
    case Kind::kMissingTable:
      return head + "missing; using the built-in defaults";
    case Kind::kMissingKey:
      return head + "\"" + key + "\" is missing; using " + default_value;
    case Kind::kNotANumber:
      return head + "\"" + key + "\" is \"" + value + "\", not a whole number; using " +
             default_value;
  }
  return head;
}

LoadedBrandOptions LoadBrandOptions(const IniTable& table) {
  LoadedBrandOptions loaded;
  BrandOptions& options = loaded.options;
  if (!table.HasSection(kBrandSection)) {
    loaded.errors.push_back({BrandOptionError::Kind::kMissingTable, "", "", ""});
    return loaded;
  }
  NumericReader numbers(table, loaded.errors);
  options.web_enabled = numbers.Read("Web_Enable", 0, "0 (web link off)") == 1;
  options.web_address = table.Value(kBrandSection, "Web");
  options.reserved_customer_codes[0] = numbers.Read("Rev_Manu_ID", 0, "0");
  options.reserved_customer_codes[1] = numbers.Read("Rev_Pro_ID", 0, "0");
  options.macro_folder = table.Value(kBrandSection, "Path");
  options.rolling_captions = numbers.Read("TR_Enable", 0, "0") == 1;
  options.button_effect = numbers.Read("BE_Enable", 0, "0") == 1;
  options.step_style =
      numbers.Read("DPILED_Status", 1, "1") == 1 ? StepStyle::kLever : StepStyle::kProgressBar;
  options.led_step_order =
      numbers.Read("Num_Order", 0, "0") >= 1 ? LedStepOrder::kDescending : LedStepOrder::kAscending;
  return loaded;
}

LoadedBrandOptions LoadBrandOptions() {
  const auto bytes = resources::Find(kBrandSection);
  if (!bytes) {
    LoadedBrandOptions loaded;
    loaded.errors.push_back({BrandOptionError::Kind::kMissingTable, "", "", ""});
    return loaded;
  }
  return LoadBrandOptionsFromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

LoadedBrandOptions LoadBrandOptionsFromBytes(std::string_view bytes) {
  return LoadBrandOptions(IniTable::Parse(bytes, IniTable::Encoding::kWindows1252));
}

}  // namespace vrdk
