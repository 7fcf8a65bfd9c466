#include "tables/ini_table.h"

#include "tables/text_encoding.h"

namespace vrdk {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

IniTable IniTable::Parse(std::string_view text, Encoding encoding) {
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (text.starts_with(kUtf8Bom)) {
    text.remove_prefix(kUtf8Bom.size());
    encoding = Encoding::kUtf8;
  }
  const std::string clean =
      encoding == Encoding::kUtf8 ? SanitizeUtf8(text) : Windows1252ToUtf8(text);
  IniTable table;
  std::optional<std::size_t> open;
  std::size_t start = 0;
  while (start < clean.size()) {
    const std::size_t end = clean.find_first_of("\r\n", start);
    const std::size_t stop = end == std::string::npos ? clean.size() : end;
    table.AddLine(std::string_view(clean).substr(start, stop - start), open);
    start = stop + 1;
  }
  return table;
}

IniTable IniTable::FromLines(std::span<const std::string> lines) {
  IniTable table;
  std::optional<std::size_t> open;
  for (const auto& line : lines) table.AddLine(line, open);
  return table;
}

void IniTable::AddLine(std::string_view line, std::optional<std::size_t>& open) {
  line = Trim(line);
  if (line.empty() || line.front() == ';') return;
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    const std::string name(Trim(line.substr(1, line.size() - 2)));
    std::string folded = FoldCase(name);
    const auto [at, added] = index_.try_emplace(folded, sections_.size());
    if (added) sections_.push_back({name, std::move(folded), Keys{}});
    open = at->second;
    return;
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || !open) return;
  const std::string_view key = Trim(line.substr(0, equals));
  if (key.empty()) return;
  sections_[*open].keys.try_emplace(FoldCase(key), Trim(line.substr(equals + 1)));
}

const IniTable::Keys* IniTable::FindSection(std::string_view section) const {
  const auto at = index_.find(FoldCase(section));
  return at == index_.end() ? nullptr : &sections_[at->second].keys;
}

bool IniTable::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

std::optional<std::string_view> IniTable::Find(std::string_view section,
                                               std::string_view key) const {
  const Keys* keys = FindSection(section);
  if (keys == nullptr) return std::nullopt;
  const auto it = keys->find(FoldCase(key));
  if (it == keys->end()) return std::nullopt;
  return it->second;
}

std::string IniTable::Value(std::string_view section, std::string_view key) const {
  return std::string(Find(section, key).value_or(std::string_view{}));
}

std::vector<std::string> IniTable::Sections() const {
  std::vector<std::string> names;
  for (const auto& entry : sections_) names.push_back(entry.name);
  return names;
}

}  // namespace vrdk
