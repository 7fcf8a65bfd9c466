#include "tables/brand_options.h"

#include <string_view>

#include "resources/resources.h"

namespace vrdk {
namespace {
constexpr std::string_view kBrandTitle = "brand table [org]";

BrandOptionError MissingTable() {
  return {BrandOptionError::Kind::kMissingTable, std::string(kBrandTitle), "", "", ""};
}
}  // namespace

LoadedBrandOptions LoadBrandOptions(const IniTable& table) {
  LoadedBrandOptions loaded;
  BrandOptions& options = loaded.options;
  if (!table.HasSection(kBrandSection)) {
    loaded.errors.push_back(MissingTable());
    return loaded;
  }
  NumericKeys numbers(table, kBrandSection, kBrandTitle, loaded.errors);
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
    loaded.errors.push_back(MissingTable());
    return loaded;
  }
  return LoadBrandOptionsFromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

LoadedBrandOptions LoadBrandOptionsFromBytes(std::string_view bytes) {
  return LoadBrandOptions(IniTable::Parse(bytes, IniTable::Encoding::kWindows1252));
}

}  // namespace vrdk
