#include "shell/pages/page_captions.h"

#include <array>
#include <utility>

namespace vrdk::shell {
namespace {

struct Texts {
  Caption caption;
  std::array<const char*, 3> text;
};

// The breathing fields keep the engineering terms' own texts.
constexpr Texts kTexts[] = {
    {Caption::kFireShots, {"Shots", "次數", "Shots"}},
    {Caption::kFireInterval, {"Interval", "間隔", "Delay"}},
    {Caption::kFireHold, {"Hold", "按住", "Hold"}},
    {Caption::kPointerSpeed, {"Pointer speed", "指標速度", "Pointer Speed"}},
    {Caption::kDoubleClick, {"Double-click speed", "按兩下速度", "Double-Click Speed"}},
    {Caption::kWheel, {"Wheel scroll lines", "滾輪捲動行數", "Scroll Lines"}},
    {Caption::kPrecision, {"Enhance pointer precision", "提高指標精確度", "Pointer Acceleration"}},
    {Caption::kWholeScreen, {"One screen per notch", "一次捲動一個畫面", "Scroll a Whole Screen"}},
    {Caption::kLedType, {"LED type", "燈光類型", "LED Type"}},
    {Caption::kStepTime, {"Step Delay:", "步進時間", "Step Delay:"}},
    {Caption::kLower, {"LED Lower:", "亮度最小值", "LED Lower:"}},
    {Caption::kUpper, {"LED Upper:", "亮度最大值", "LED Upper:"}},
    {Caption::kLowerTime, {"Lower Delay:", "全滅時間", "Lower Delay:"}},
    {Caption::kUpperTime, {"Upper Delay:", "全亮時間", "Upper Delay:"}},
    {Caption::kColours, {"Effect colours", "燈效顏色", "Effect Colours"}},
    {Caption::kProfileColours, {"Profile colours", "設定檔顏色", "Profile Colours"}},
    {Caption::kStrip, {"LED strip step", "流光步進", "Light Strip Step"}},
    {Caption::kScan, {"Scan", "掃描方式", "Scan"}},
    {Caption::kLedCount, {"LEDs", "燈珠數", "LEDs"}},
    {Caption::kScanMultiPoint, {"6-Step Scan", "流光多點版", "6-Step Scan"}},
    {Caption::kScanBrightened, {"3-Step Scan", "流光增亮版", "3-Step Scan"}},
    {Caption::kTypeRgb, {"RGB LED", "RGB燈", "RGB LED"}},
    {Caption::kTypeSync, {"Sync LED", "同步燈", "Sync LED"}},
    {Caption::kTypeNt, {"Smart-control LED", "智控燈", "Smart LED"}},
    {Caption::kTypeMcuLed, {"Flowing-light strip", "流光燈", "Light Strip"}},
    {Caption::kTypeChangeQuestion,
     {"Another LED type gives the mouse the factory settings of that type: every button, "
      "DPI level, lighting setting and macro on the mouse is replaced. Change the type?",
      "變更燈光類型會以該類型的出廠設定取代滑鼠上所有按鍵、DPI、燈光設定與巨集。要變更嗎？",
      "A new LED type restores the factory settings of that type, replacing every button, "
      "DPI, lighting and macro setting on the mouse. Change the type?"}},
    {Caption::kLevelNameHint,
     {"Click the name after the last level to add a level, the last level's name to remove it",
      "點選最後一級之後的名稱可新增一級，點選最後一級的名稱可移除該級",
      "Click the next level's name to add it, the last level's name to remove it"}},
    {Caption::kLevelColourHint,
     {"Click to choose the colour the mouse shows for this level",
      "點選以選擇此級在滑鼠上顯示的顏色",
      "Click to pick the colour the mouse shows for this level"}},
    {Caption::kEffectEnableHint,
     {"Whether the mouse offers this effect", "滑鼠是否提供此燈效",
      "Whether the mouse offers this effect"}},
};

// The effects' names in language 2 (Traditional Chinese); the other
// languages use the names as they stand.
constexpr std::pair<std::string_view, const char*> kEffectNames[] = {
    {"Off", "關燈"},
    {"Random", "隨機變色呼吸"},
    {"Sequence", "依次循環呼吸"},
    {"Fixed", "固定單色呼吸"},
    {"Blend", "混色模式"},
    {"CPI Breath", "CPI 顏色呼吸"},
    {"Sync Breath", "同步漸變呼吸"},
    {"Sync No-breath", "同步漸變不呼吸"},
    {"Colorful Light", "七彩流光"},
    {"Rainbow", "霓虹"},
    {"Floe Light", "浮光掠影"},
    {"Waltz Light", "圓舞曲"},
    {"4-Seasons", "四季幻變"},
};

}  // namespace

QString EffectCaption(std::string_view name, int language) {
  if (language == 2) {
    for (const auto& [english, chinese] : kEffectNames) {
      if (english == name) return QString::fromUtf8(chinese);
    }
  }
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString PageCaption(Caption caption, int language) {
  const auto column = static_cast<std::size_t>(language >= 1 && language <= 3 ? language - 1 : 0);
  for (const Texts& texts : kTexts) {
    if (texts.caption == caption) return QString::fromUtf8(texts.text[column]);
  }
  return {};
}

}  // namespace vrdk::shell
