#include "tables/language_table.h"

#include <cstdio>

#include "resources/resources.h"
#include "tables/text_encoding.h"

namespace vrdk {
namespace {

constexpr int kFirstDpiText = 300;
constexpr int kDpiSteps = 12;
constexpr int kLastFindableNumber = 800;

bool EndsItem(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The quoted item that starts at text[at] (the opening quote); moves `at`
// past it.
std::string QuotedItem(std::string_view text, std::size_t& at) {
  std::string item;
  ++at;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '"') {
      if (at + 1 < text.size() && text[at + 1] == '"') {
        item.push_back('"');
        at += 2;
        continue;
      }
      ++at;
      break;
    }
    if (c == '\r' || c == '\n') break;  // an open quote closes at the line's end
    item.push_back(c);
    ++at;
  }
  return item;
}

}  // namespace

std::string TextKey(int number) {
  char key[16];
  std::snprintf(key, sizeof key, "Str%03d", number);
  return key;
}

std::vector<std::string> SplitLanguageItems(std::string_view text) {
  std::vector<std::string> items;
  std::size_t at = 0;
  while (at < text.size()) {
    if (EndsItem(text[at])) {
      ++at;
    } else if (text[at] == '"') {
      items.push_back(QuotedItem(text, at));
    } else {
      const std::size_t start = at;
      while (at < text.size() && !EndsItem(text[at])) ++at;
      items.emplace_back(text.substr(start, at - start));
    }
  }
  return items;
}

LanguageTable LanguageTable::Parse(std::span<const std::uint8_t> bytes, std::string_view name) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) bytes = bytes.subspan(2);
  LanguageTable table;
  table.name_ = std::string(name);
  table.table_ = IniTable::FromLines(SplitLanguageItems(Utf16LeToUtf8(bytes)));
  return table;
}

std::optional<std::string_view> LanguageTable::Find(std::string_view key) const {
  return table_.Find(name_, key);
}

int LanguageTable::Number() const {
  for (int language = 1; language <= kLanguageCount; ++language) {
    if (name_ == LanguageName(language)) return language;
  }
  return 1;
}

std::string LanguageTable::Text(std::string_view key) const { return table_.Value(name_, key); }

std::string LanguageTable::DpiText(int n) const {
  if (n < 1 || n > kDpiSteps) return {};
  return Text(kFirstDpiText + n - 1);
}

std::string LanguageName(int language) {
  if (language < 1 || language > kLanguageCount) return {};
  return "lang" + std::to_string(language);
}

std::optional<LanguageTable> LoadLanguageTable(int language) {
  const std::string name = LanguageName(language);
  if (name.empty()) return std::nullopt;
  const auto bytes = resources::Find(name);
  if (!bytes) return std::nullopt;
  return LanguageTable::Parse(*bytes, name);
}

LanguageTables LanguageTables::Load() {
  std::array<LanguageTable, kLanguageCount> tables;
  for (int language = 1; language <= kLanguageCount; ++language) {
    if (auto table = LoadLanguageTable(language)) tables[language - 1] = std::move(*table);
  }
  return LanguageTables(std::move(tables));
}

const LanguageTable& LanguageTables::Table(int language) const {
  static const LanguageTable kEmpty;
  if (language < 1 || language > kLanguageCount) return kEmpty;
  return tables_[language - 1];
}

LanguageTables::LanguageTables(std::array<LanguageTable, kLanguageCount> tables)
    : tables_(std::move(tables)) {
  // Every caption of a language switch is looked up: the search is made
  // once, here.
  for (const auto& table : tables_) {
    for (int number = 0; number <= kLastFindableNumber; ++number) {
      std::string key = "Str" + std::to_string(number);
      if (const auto text = table.Find(key); text && !text->empty())
        keys_of_texts_.insert_or_assign(std::string(*text), std::move(key));
    }
  }
}

std::optional<std::string> LanguageTables::FindTextKey(std::string_view text) const {
  if (text.empty()) return std::nullopt;
  const auto found = keys_of_texts_.find(std::string(text));
  if (found == keys_of_texts_.end()) return std::nullopt;
  return found->second;
}

std::string LanguageTables::Retranslate(std::string_view caption, int language) const {
  const auto key = FindTextKey(caption);
  if (!key) return std::string(caption);
  return Table(language).Text(*key);
}

}  // namespace vrdk
