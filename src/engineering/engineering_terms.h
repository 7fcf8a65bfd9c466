// The engineer page's captions: a term table of 155 codes (0..154), each with
// an English and a Simplified Chinese text. The texts are chosen once at
// start from the system locale (2052, Simplified Chinese, takes the Chinese
// column) and do not follow the window's language buttons.
#pragma once

#include <span>
#include <string_view>

namespace vrdk::engineering {

inline constexpr int kEngineeringTermCount = 155;
inline constexpr unsigned kSimplifiedChineseLocale = 2052;

struct EngineeringTerm {
  std::string_view english;
  std::string_view chinese;
};

enum class TermColumn { kEnglish, kChinese };

std::span<const EngineeringTerm, kEngineeringTermCount> EngineeringTerms();
// The column a locale id (as GetThreadLocale gives it) chooses.
TermColumn TermColumnForLocale(unsigned locale_id);
// The locale id of a POSIX locale name ("zh_CN.UTF-8" is 2052; anything else
// counts as English, 1033).
unsigned LocaleIdOfPosixLocale(std::string_view name);
// The text of a code in a column; empty for a code outside 0..154.
std::string_view EngineeringText(int code, TermColumn column);

}  // namespace vrdk::engineering
