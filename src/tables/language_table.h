// LanguageTable: one language's texts: the window font ("FontName"), the
// application title ("Title") and the captions, key-function names and
// messages under the keys "Str" + three digits ("Str205").
//
// Stored form (resources "lang1", "lang2", "lang3"): UTF-16 little-endian
// text that begins with the byte-order mark FF FE. The text splits into items
// at blanks and line breaks; an item that starts with a double quote runs to
// the closing quote, keeps its blanks and loses its quotes ("" inside stands
// for one quote character). Each item is then one line of INI form (see
// ini_table.h): the header item "[lang1]" opens the table's section, and
// every "key=value" item sets a key. Entries whose value holds a blank must
// therefore be quoted: "Str001=Reset".
//
// Damaged tables load as far as they can be read: a table without the
// byte-order mark is read as UTF-16 LE from its first byte, an odd last byte
// is dropped, an unpaired surrogate reads as U+FFFD, and a quote left open at
// the end of a line closes there, so one broken entry costs only itself.
// Texts are UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tables/ini_table.h"

namespace vrdk {

inline constexpr int kLanguageCount = 3;

// "Str" and the number in three digits: TextKey(5) is "Str005".
std::string TextKey(int number);

// Splits decoded table text into its items (see above).
std::vector<std::string> SplitLanguageItems(std::string_view text);

class LanguageTable {
 public:
  // A table without texts: every key reads as empty.
  LanguageTable() = default;

  // Reads a stored table. `name` is the section that holds the texts
  // ("lang1"); a table whose header names another section reads as empty.
  static LanguageTable Parse(std::span<const std::uint8_t> bytes, std::string_view name);

  const std::string& Name() const { return name_; }
  // 1..3 for "lang1" .. "lang3"; 1 for a table of another name.
  int Number() const;
  // The text under `key`, or nothing when the table lacks the key.
  std::optional<std::string_view> Find(std::string_view key) const;
  // The text under `key`; a missing key reads as empty text.
  std::string Text(std::string_view key) const;
  std::string Text(int number) const { return Text(TextKey(number)); }
  std::string FontName() const { return Text("FontName"); }
  std::string Title() const { return Text("Title"); }
  // The DPI value text of step n = 1..12 ("Str300" + n - 1); empty for other n.
  std::string DpiText(int n) const;

 private:
  std::string name_;
  IniTable table_;
};

// "lang1" .. "lang3" for languages 1..3, empty text for any other number.
std::string LanguageName(int language);

// LoadLanguageTable: language 1..3 from the program's resources; nothing for
// another number or when the resource is missing.
std::optional<LanguageTable> LoadLanguageTable(int language);

// The three tables side by side, for the lookups that span them all.
class LanguageTables {
 public:
  LanguageTables() = default;
  explicit LanguageTables(std::array<LanguageTable, kLanguageCount> tables);
  // All three from the program's resources; a missing one stays empty.
  static LanguageTables Load();

  // Language 1..3; any other number gives an empty table.
  const LanguageTable& Table(int language) const;

  // FindTextKey: the key whose text equals `text`, searching "lang1", then
  // "lang2", then "lang3", each under "Str" + the numbers 0..800 written
  // without leading zeros; the last match wins. Keys written with a leading
  // zero ("Str001") are therefore never found. Empty text finds nothing.
  std::optional<std::string> FindTextKey(std::string_view text) const;

  // A key-page caption after a switch to `language`: the text of its key in
  // that language when FindTextKey knows it, else the caption unchanged.
  std::string Retranslate(std::string_view caption, int language) const;

 private:
  std::array<LanguageTable, kLanguageCount> tables_;
  // Text -> key, as FindTextKey finds it (the last match kept).
  std::unordered_map<std::string, std::string> keys_of_texts_;
};

}  // namespace vrdk
