#include "tables/table_keys.h"

#include <charconv>

namespace vrdk {

std::optional<int> ParseDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string TableKeyError::Message() const {
  const std::string head = table + ": ";
  switch (kind) {
    case Kind::kMissingTable:
      return head + "missing; using the built-in defaults";
    case Kind::kMissingKey:
      return head + "\"" + key + "\" is missing; using " + default_value;
    case Kind::kNotANumber:
      return head + "\"" + key + "\" is \"" + value + "\", not a whole number; using " +
             default_value;
    case Kind::kMissingPicture:
      return head + "the picture \"" + key + "\" is missing; using " + default_value;
  }
  return head;
}

int NumericKeys::Read(std::string_view key, int fallback, std::string_view shown) {
  const std::string fallback_text = shown.empty() ? std::to_string(fallback) : std::string(shown);
  const auto text = table_.Find(section_, key);
  if (!text) {
    errors_.push_back(
        {TableKeyError::Kind::kMissingKey, title_, std::string(key), "", fallback_text});
    return fallback;
  }
  const auto value = ParseDecimal(*text);
  if (!value) {
    errors_.push_back({TableKeyError::Kind::kNotANumber, title_, std::string(key),
                       std::string(*text), fallback_text});
    return fallback;
  }
  return *value;
}

}  // namespace vrdk
