// IniTable: the key-value form of the skin and language tables.
//
// Form, line by line: a line "[name]" opens the section "name"; a line
// "key=value" sets a key of the open section (key and value lose surrounding
// blanks; the value is everything after the first "="); a line starting with
// ";" is a comment; any other line (the "//***" banners) carries no key, and
// so does a key line before the first section. Section and key names compare
// without regard to ASCII case. When a key or a section stands twice, the
// first one counts.
//
// Lookups never fail: a missing section or key reads as empty text, as the
// tables' users expect. Find tells a missing key from an empty one.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vrdk {

class IniTable {
 public:
  // How the bytes of an 8-bit table are text.
  enum class Encoding {
    kUtf8,         // invalid bytes become U+FFFD
    kWindows1252,  // the brand table [org]: every byte is one character
  };
  // 8-bit INI text, lines ending in CR LF, LF or CR, read as `encoding`; a
  // leading UTF-8 byte-order mark is skipped and makes the text UTF-8
  // whatever `encoding` says. Values come out as UTF-8.
  static IniTable Parse(std::string_view text, Encoding encoding = Encoding::kUtf8);
  // Lines that are already split, each one line of the form above.
  static IniTable FromLines(std::span<const std::string> lines);

  bool HasSection(std::string_view section) const;
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  // The value, or empty text when the section or the key is missing.
  std::string Value(std::string_view section, std::string_view key) const;
  // The section names in the order they first appear.
  std::vector<std::string> Sections() const;

 private:
  using Keys = std::unordered_map<std::string, std::string>;  // folded key -> value

  // Adds one line; `open` is the index of the open section, if any.
  void AddLine(std::string_view line, std::optional<std::size_t>& open);
  const Keys* FindSection(std::string_view section) const;

  struct Section {
    std::string name;    // as first written
    std::string folded;  // FoldCase(name)
    Keys keys;
  };
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> index_;  // folded name -> sections_ index
};

// ASCII lower case: the folding that section and key names compare under.
std::string FoldCase(std::string_view text);

}  // namespace vrdk
