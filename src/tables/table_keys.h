// Numeric keys of the skin tables: every numeric value is a decimal integer,
// and a key that is missing or not a number is reported by name instead of
// silently reading as 0.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/ini_table.h"

namespace vrdk {

// A decimal integer with an optional sign; nothing for any other text.
std::optional<int> ParseDecimal(std::string_view text);

// One problem met while reading a table; the value concerned keeps a default.
struct TableKeyError {
  enum class Kind {
    kMissingTable,    // the resource or its section is missing
    kMissingKey,      // a numeric key is not in the section
    kNotANumber,      // a numeric key's value is not a decimal integer
    kMissingPicture,  // a picture the table places controls by is missing
  };
  Kind kind = Kind::kMissingKey;
  std::string table;          // "brand table [org]", "skin table [org2]"
  std::string key;            // the key (or picture) concerned; empty for kMissingTable
  std::string value;          // the text found, for kNotANumber
  std::string default_value;  // what is used instead

  // One line for the user, e.g.
  // brand table [org]: "Num_Order" is "two", not a whole number; using 0
  std::string Message() const;
};

// Reads the numeric keys of one section, collecting what is wrong.
class NumericKeys {
 public:
  NumericKeys(const IniTable& table, std::string_view section, std::string_view title,
              std::vector<TableKeyError>& errors)
      : table_(table), section_(section), title_(title), errors_(errors) {}

  // The key's value, or `fallback` with an error when it is missing or not a
  // number. `shown` is the fallback as the message names it (empty: the number).
  int Read(std::string_view key, int fallback, std::string_view shown = {});

 private:
  const IniTable& table_;
  std::string section_;
  std::string title_;
  std::vector<TableKeyError>& errors_;
};

}  // namespace vrdk
