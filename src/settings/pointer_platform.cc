#include "settings/pointer_platform.h"

#include <chrono>

#include "tables/own_texts.h"

namespace vrdk::settings {

std::string_view PointerValueName(PointerValue value) {
  switch (value) {
    case PointerValue::kMouseSensitivity:
      return "MouseSensitivity";
    case PointerValue::kMouseSpeed:
      return "MouseSpeed";
    case PointerValue::kMouseThreshold1:
      return "MouseThreshold1";
    case PointerValue::kMouseThreshold2:
      return "MouseThreshold2";
    case PointerValue::kDoubleClickSpeed:
      return "DoubleClickSpeed";
    case PointerValue::kWheelScrollLines:
      return "WheelScrollLines";
    case PointerValue::kWheelScrollLinesBeforeWholeScreen:
      return "WheelScrollLinesBeforeWholeScreen";
  }
  return "";
}

std::string_view PointerSettingName(PointerSetting setting) {
  switch (setting) {
    case PointerSetting::kSpeed:
      return "speed";
    case PointerSetting::kAcceleration:
      return "acceleration";
    case PointerSetting::kDoubleClick:
      return "double-click";
    case PointerSetting::kWheel:
      return "wheel";
  }
  return "";
}

namespace {

OwnText SettingText(PointerSetting setting) {
  static constexpr OwnText kTexts[] = {OwnText::kPointerSpeed, OwnText::kPointerAcceleration,
                                       OwnText::kPointerDoubleClick, OwnText::kPointerWheel};
  return kTexts[static_cast<std::size_t>(setting)];
}

}  // namespace

std::string PointerReadText(const PointerReadProblem& problem, int language) {
  std::vector<std::string> settings;
  for (const PointerSetting setting : problem.settings)
    settings.push_back(OwnTextFor(SettingText(setting), language));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(kToolTimeLimit);
  return OwnTextFor(OwnText::kPointerUnread, language,
                    {problem.tool, std::to_string(seconds.count()), problem.desktop,
                     JoinedList(settings, language)});
}

std::string PointerApplyText(const PointerApplyResult& result, int language) {
  if (result.taken) return "";
  const std::string setting = OwnTextFor(SettingText(result.setting), language);
  const PointerProblem& problem = result.problem;
  std::string text;
  switch (problem.kind) {
    case PointerProblem::Kind::kNoSuchSetting:
      text = OwnTextFor(
          problem.whole_screen ? OwnText::kPointerNoWholeScreen : OwnText::kPointerNoSuchSetting,
          language, {problem.desktop, setting});
      break;
    case PointerProblem::Kind::kToolFailed:
      text = OwnTextFor(OwnText::kPointerToolFailed, language, {problem.tool, setting});
      break;
    case PointerProblem::Kind::kNotTaken:
      text = OwnTextFor(OwnText::kPointerNotTaken, language,
                        {problem.desktop, setting,
                         problem.read_back.empty() ? OwnTextFor(OwnText::kPointerNothing, language)
                                                   : "\"" + problem.read_back + "\""});
      break;
    case PointerProblem::Kind::kOtherDesktop:
      text = OwnTextFor(
          problem.desktop.empty() ? OwnText::kPointerNoDesktop : OwnText::kPointerOtherDesktop,
          language, {problem.desktop});
      break;
  }
  return text + OwnTextFor(result.kept ? OwnText::kPointerKept : OwnText::kPointerNotKept, language,
                           {result.file});
}

std::optional<std::string> MemoryPointerPlatform::Read(PointerValue value) {
  const auto at = texts.find(value);
  if (at == texts.end()) return std::nullopt;
  return at->second;
}

PointerApplyResult MemoryPointerPlatform::Apply(const PointerWrite& values) {
  applied.push_back(values);
  if (refuse) {
    PointerApplyResult result;
    result.taken = false;
    result.setting = values.changed;
    result.problem = *refuse;
    result.file = "pointer-settings";
    result.kept = true;
    result.message = PointerApplyText(result, 1);
    return result;
  }
  texts[PointerValue::kMouseSensitivity] = std::to_string(values.mouse_sensitivity);
  texts[PointerValue::kMouseSpeed] = std::to_string(values.acceleration[0]);
  texts[PointerValue::kMouseThreshold1] = std::to_string(values.acceleration[1]);
  texts[PointerValue::kMouseThreshold2] = std::to_string(values.acceleration[2]);
  texts[PointerValue::kDoubleClickSpeed] = std::to_string(values.double_click_ms);
  texts[PointerValue::kWheelScrollLines] = std::to_string(values.wheel_lines);
  texts[PointerValue::kWheelScrollLinesBeforeWholeScreen] =
      std::to_string(values.wheel_lines_before_whole_screen);
  return {};
}

}  // namespace vrdk::settings
