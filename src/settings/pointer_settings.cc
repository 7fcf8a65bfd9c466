#include "settings/pointer_settings.h"

#include <charconv>

namespace vrdk::settings {
namespace {

std::optional<int> ParseInt(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
  return value;
}

bool ValidStep(int step) { return step >= 1 && step <= kPointerSteps; }

}  // namespace

int SensitivityStep(int sensitivity) {
  if (sensitivity < 0 || sensitivity > 19) return kPointerSteps;
  return sensitivity / 2 + 1;
}

int DoubleClickStep(int milliseconds) {
  if (milliseconds >= 900) return 1;
  if (milliseconds < 270) return kPointerSteps;
  return (900 - milliseconds - 1) / 70 + 2;
}

int WheelStep(int lines) {
  if (lines == 0 || lines == 1) return 1;
  return lines >= 2 && lines <= 10 ? lines : kPointerSteps;
}

int PointerSliderStep(int x) {
  for (int i = 0; i <= 10; ++i) {
    if (x <= 19 + 26 * i) return i + 1;
  }
  return kPointerSteps;
}

void PointerSettings::Refresh() {
  const auto read = [this](PointerValue value) { return ParseInt(platform_.Read(value)); };
  state_.speed_step = SensitivityStep(read(PointerValue::kMouseSensitivity).value_or(20));
  state_.acceleration = read(PointerValue::kMouseSpeed).value_or(0) != 0 ||
                        read(PointerValue::kMouseThreshold1).value_or(0) != 0 ||
                        read(PointerValue::kMouseThreshold2).value_or(0) != 0;
  state_.double_click_step = DoubleClickStep(read(PointerValue::kDoubleClickSpeed).value_or(480));
  const int lines = read(PointerValue::kWheelScrollLines).value_or(3);
  state_.whole_screen = lines == -1;
  if (state_.whole_screen) {
    const auto before = read(PointerValue::kWheelScrollLinesBeforeWholeScreen);
    state_.remembered_wheel_step = before && *before != -1 ? WheelStep(*before) : 1;
  } else {
    state_.wheel_step = WheelStep(lines);
    state_.remembered_wheel_step = state_.wheel_step;
  }
}

bool PointerSettings::SetSpeedStep(int step) {
  if (!ValidStep(step)) return false;
  state_.speed_step = step;
  Apply(PointerSetting::kSpeed);
  return true;
}

bool PointerSettings::SetDoubleClickStep(int step) {
  if (!ValidStep(step)) return false;
  state_.double_click_step = step;
  Apply(PointerSetting::kDoubleClick);
  return true;
}

bool PointerSettings::SetWheelStep(int step) {
  // The wheel steps are disabled while a notch scrolls a whole screen.
  if (!ValidStep(step) || state_.whole_screen) return false;
  state_.wheel_step = step;
  state_.remembered_wheel_step = step;
  Apply(PointerSetting::kWheel);
  return true;
}

void PointerSettings::SetAcceleration(bool on) {
  state_.acceleration = on;
  Apply(PointerSetting::kAcceleration);
}

void PointerSettings::SetWholeScreen(bool on) {
  state_.whole_screen = on;
  if (!on) state_.wheel_step = state_.remembered_wheel_step;
  Apply(PointerSetting::kWheel);
}

PointerWrite PointerSettings::Values(PointerSetting changed) const {
  PointerWrite values;
  values.changed = changed;
  values.mouse_sensitivity = kSensitivityByStep[static_cast<std::size_t>(state_.speed_step - 1)];
  values.acceleration = state_.acceleration ? kAccelerationOn : std::array<int, 3>{0, 0, 0};
  values.double_click_ms =
      kDoubleClickByStep[static_cast<std::size_t>(state_.double_click_step - 1)];
  values.wheel_lines = state_.whole_screen ? -1 : state_.wheel_step;
  values.wheel_lines_before_whole_screen = state_.remembered_wheel_step;
  return values;
}

}  // namespace vrdk::settings
