// The system's pointer settings on an 11-step scale each: pointer speed,
// double-click speed and wheel scroll lines, and two switches, pointer
// acceleration and whole-screen wheel scrolling. Nothing here reaches the
// mouse; every change is stored and applied through a PointerPlatform.
//
//   step                 1   2   3   4   5   6   7   8   9  10  11
//   MouseSensitivity     1   2   4   6   8  10  12  14  16  18  20
//   DoubleClickSpeed   900 830 760 690 620 550 480 410 340 270 200
//   WheelScrollLines     1   2   3   4   5   6   7   8   9  10  11
#pragma once

#include <array>
#include <optional>
#include <string>

#include "session/session.h"
#include "settings/pointer_platform.h"

namespace vrdk::settings {

inline constexpr int kPointerSteps = 11;
inline constexpr std::array<int, kPointerSteps> kSensitivityByStep = {1,  2,  4,  6,  8, 10,
                                                                      12, 14, 16, 18, 20};
inline constexpr std::array<int, kPointerSteps> kDoubleClickByStep = {900, 830, 760, 690, 620, 550,
                                                                      480, 410, 340, 270, 200};
inline constexpr std::array<int, 3> kAccelerationOn = {1, 6, 10};

// The step a stored value shows. Wheel lines: 0 and 1 step 1, 2..10 their
// own step, anything else (-1 aside, which is whole-screen) step 11.
int SensitivityStep(int sensitivity);
int DoubleClickStep(int milliseconds);
int WheelStep(int lines);
// The step a slider release at x pixels gives: 1 + the smallest i in 0..10
// with x <= 19 + 26 i, 11 beyond.
int PointerSliderStep(int x);

class PointerSettings {
 public:
  PointerSettings(Session& session, PointerPlatform& platform)
      : state_(session.Pages().pointer), platform_(platform) {}

  // RefreshMouseSystemParameterA and B: reads the stored values and shows
  // their steps and switches (unreadable values count as 20, 0, 480 and 3).
  // The wheel step read is the one whole-screen scrolling returns to; with
  // whole-screen scrolling on, the wheel lines kept from before it (step 1
  // when none were kept).
  void Refresh();
  // Pointer speed, double-click speed and wheel lines by step 1..11, then
  // apply. A wheel step is remembered for whole-screen scrolling. False for a
  // step out of range, or a wheel step while whole-screen scrolling is on.
  bool SetSpeedStep(int step);
  bool SetDoubleClickStep(int step);
  bool SetWheelStep(int step);
  // lbl_IsControlClick, lbl_IsScreenClick as set-to-a-value: then apply.
  void SetAcceleration(bool on);
  void SetWholeScreen(bool on);
  // What an apply of `changed` writes for the state shown.
  PointerWrite Values(PointerSetting changed = PointerSetting::kSpeed) const;
  // What became of the last apply.
  const PointerApplyResult& LastApply() const { return last_; }

 private:
  // A change the system did not take: the rows show what it holds instead.
  void Apply(PointerSetting changed) {
    last_ = platform_.Apply(Values(changed));
    if (!last_.taken) Refresh();
  }

  PointerState& state_;
  PointerPlatform& platform_;
  PointerApplyResult last_;
};

}  // namespace vrdk::settings
