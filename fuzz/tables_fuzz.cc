// Fuzz target: bytes read as a language table (UTF-16) and as an INI table
// (8-bit text), as a damaged or hostile resource may hand them to us. Every
// text the readers hand out must be valid UTF-8 and no item may span a line.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "tables/brand_options.h"
#include "tables/language_table.h"
#include "tables/skin_layout.h"
#include "tables/text_encoding.h"

namespace {

void RequireUtf8(std::string_view text) {
  if (vrdk::SanitizeUtf8(text) != text) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);

  const std::string decoded = vrdk::Utf16LeToUtf8(bytes);
  RequireUtf8(decoded);
  for (const auto& item : vrdk::SplitLanguageItems(decoded)) {
    if (item.find_first_of("\r\n") != std::string::npos) __builtin_trap();
  }
  const vrdk::LanguageTable language = vrdk::LanguageTable::Parse(bytes, "lang1");
  RequireUtf8(language.FontName());
  RequireUtf8(language.Text(205));
  for (int n = 0; n <= 13; ++n) RequireUtf8(language.DpiText(n));
  const vrdk::LanguageTables tables({language, vrdk::LanguageTable::Parse(bytes, "lang2"), {}});
  const std::string caption = language.Text(210);
  RequireUtf8(tables.Retranslate(caption, 2));

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vrdk::IniTable ini = vrdk::IniTable::Parse(text);
  for (const auto& section : ini.Sections()) RequireUtf8(section);
  const auto brand = vrdk::LoadBrandOptions(ini);
  RequireUtf8(brand.options.web_address);
  RequireUtf8(brand.options.macro_folder);
  for (const auto& error : brand.errors) RequireUtf8(error.Message());
  // The same bytes as every skin table at once: placement never fails.
  const vrdk::SkinTables skin_tables{&ini, &ini, &ini};
  const auto skin = vrdk::PlaceSkin(skin_tables, 1 + static_cast<int>(size % 3), brand.options,
                                    [](std::string_view) {
                                      return vrdk::SkinSize{16, 16};
                                    });
  for (const auto& error : skin.errors) RequireUtf8(error.Message());
  return 0;
}
