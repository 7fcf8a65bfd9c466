// Fuzz target: the program's pointer-settings file ("Name=value" lines) as
// a user or an older version may have left it, on a desktop the program
// cannot tell (so every value comes from the file). The page shows steps in
// 1..11 whatever the file holds; one change is kept in the file, which then
// reads the changed values as written and every other value as before, and
// shows the page as it was but for the change.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "session_without_mouse.h"
#include "settings/pointer_platform_linux.h"
#include "settings/pointer_settings.h"
#include "temp_file.h"

namespace {

using namespace vrdk;
using namespace vrdk::settings;

bool InSteps(int step) { return step >= 1 && step <= kPointerSteps; }

bool SameState(const PointerState& a, const PointerState& b) {
  return a.speed_step == b.speed_step && a.double_click_step == b.double_click_step &&
         a.wheel_step == b.wheel_step && a.remembered_wheel_step == b.remembered_wheel_step &&
         a.acceleration == b.acceleration && a.whole_screen == b.whole_screen;
}

void CheckShown(const PointerSettings& pointer, const PointerState& state) {
  if (!InSteps(state.speed_step) || !InSteps(state.double_click_step) ||
      !InSteps(state.wheel_step) || !InSteps(state.remembered_wheel_step)) {
    __builtin_trap();
  }
  const PointerWrite values = pointer.Values();
  if (values.mouse_sensitivity < 1 || values.mouse_sensitivity > 20 ||
      values.double_click_ms < 200 || values.double_click_ms > 900 ||
      (values.wheel_lines != -1 && !InSteps(values.wheel_lines))) {
    __builtin_trap();
  }
}

// The values one apply of `setting` writes.
std::vector<PointerValue> ValuesOf(PointerSetting setting) {
  switch (setting) {
    case PointerSetting::kSpeed:
      return {PointerValue::kMouseSensitivity};
    case PointerSetting::kAcceleration:
      return {PointerValue::kMouseSpeed, PointerValue::kMouseThreshold1,
              PointerValue::kMouseThreshold2};
    case PointerSetting::kDoubleClick:
      return {PointerValue::kDoubleClickSpeed};
    case PointerSetting::kWheel:
      break;
  }
  return {PointerValue::kWheelScrollLines, PointerValue::kWheelScrollLinesBeforeWholeScreen};
}

bool Written(const PointerWrite& values, PointerValue value, const std::string& text) {
  int number = 0;
  switch (value) {
    case PointerValue::kMouseSensitivity:
      number = values.mouse_sensitivity;
      break;
    case PointerValue::kMouseSpeed:
    case PointerValue::kMouseThreshold1:
    case PointerValue::kMouseThreshold2:
      number = values.acceleration[static_cast<std::size_t>(value) -
                                   static_cast<std::size_t>(PointerValue::kMouseSpeed)];
      break;
    case PointerValue::kDoubleClickSpeed:
      number = values.double_click_ms;
      break;
    case PointerValue::kWheelScrollLines:
      number = values.wheel_lines;
      break;
    case PointerValue::kWheelScrollLinesBeforeWholeScreen:
      number = values.wheel_lines_before_whole_screen;
      break;
  }
  return text == std::to_string(number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::SessionWithoutMouse mouseless(MemoryType::kI2C);
  PointerState& state = mouseless.session.Pages().pointer;
  state = {};
  const fuzz::TempFile file("pointer-settings", std::span(data, size));
  LinuxPointerPlatform platform(
      file.Path(), [](const std::vector<std::string>&) { return std::optional<std::string>(); },
      "");
  std::array<std::optional<std::string>, kPointerValueCount> read;
  for (int v = 0; v < kPointerValueCount; ++v) {
    read[static_cast<std::size_t>(v)] = platform.Read(static_cast<PointerValue>(v));
  }

  PointerSettings pointer(mouseless.session, platform);
  pointer.Refresh();
  CheckShown(pointer, state);

  // One change, chosen by the input's size.
  PointerState expected = state;
  const int step = 1 + static_cast<int>(size % kPointerSteps);
  PointerSetting changed = PointerSetting::kWheel;
  switch (size / kPointerSteps % 4) {
    case 0:
      changed = PointerSetting::kSpeed;
      pointer.SetSpeedStep(step);
      expected.speed_step = step;
      break;
    case 1:
      changed = PointerSetting::kDoubleClick;
      pointer.SetDoubleClickStep(step);
      expected.double_click_step = step;
      break;
    case 2:
      changed = PointerSetting::kAcceleration;
      pointer.SetAcceleration(!state.acceleration);
      expected.acceleration = !expected.acceleration;
      break;
    default:
      if (state.whole_screen) {
        pointer.SetWholeScreen(false);
        expected.whole_screen = false;
        expected.wheel_step = expected.remembered_wheel_step;
      } else if (size % 2 == 0) {
        pointer.SetWholeScreen(true);
        expected.whole_screen = true;
      } else {
        pointer.SetWheelStep(step);
        expected.wheel_step = step;
        expected.remembered_wheel_step = step;
      }
      break;
  }
  if (!SameState(state, expected)) __builtin_trap();
  // No desktop takes it, so the apply is reported as not taken, and kept.
  const PointerApplyResult& apply = pointer.LastApply();
  if (apply.taken || apply.message.find("kept in " + file.Path()) == std::string::npos) {
    __builtin_trap();
  }

  const PointerWrite values = pointer.Values(changed);
  const std::vector<PointerValue> written = ValuesOf(changed);
  for (int v = 0; v < kPointerValueCount; ++v) {
    const auto value = static_cast<PointerValue>(v);
    const auto now = platform.Read(value);
    if (std::find(written.begin(), written.end(), value) != written.end()) {
      if (!now || !Written(values, value, *now)) __builtin_trap();
    } else if (now != read[static_cast<std::size_t>(v)]) {
      __builtin_trap();
    }
  }
  pointer.Refresh();
  if (!SameState(state, expected)) __builtin_trap();
  return 0;
}
