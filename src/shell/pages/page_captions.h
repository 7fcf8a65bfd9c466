// The captions of the advanced and breathing-light pages that the language
// tables do not hold (row and field titles), in the window's three languages:
// 1 English, 2 Traditional Chinese, 3 the second English variant.
#pragma once

#include <QString>
#include <string_view>

namespace vrdk::shell {

enum class Caption {
  kFireShots,
  kFireInterval,
  kFireHold,
  kPointerSpeed,
  kDoubleClick,
  kWheel,
  kPrecision,
  kWholeScreen,
  kLedType,
  kStepTime,
  kLower,
  kUpper,
  kLowerTime,
  kUpperTime,
  kColours,
  kProfileColours,
  kStrip,
  kScan,
  kLedCount,
  kScanMultiPoint,
  kScanBrightened,
  kTypeRgb,
  kTypeSync,
  kTypeNt,
  kTypeMcuLed,
  kTypeChangeQuestion,
  kLevelNameHint,
  kLevelColourHint,
  kEffectEnableHint,
};

// The caption in language 1..3 (another number counts as 1).
QString PageCaption(Caption caption, int language);

// A lighting effect's name ("CPI Breath", as the mouse's tables call it) in
// language 1..3: the window's own Chinese words in language 2.
QString EffectCaption(std::string_view name, int language);

}  // namespace vrdk::shell
