// gbPage2: the advanced page. The eight DPI levels (colour box
// Img_DPIn_Col / cs_DPInCol / lbl_DPInCol, selection picture Img_DPIn, name
// lbl_DPIn, value lbl_DPInValue, step row Img_DPIn_1 .. _12 with slider_DPIn
// over it), the polling rate (Img_Rep1..4, lbl_Rep1..4), the fire keys
// (lbl_Fire1..3, Edt_Repeat1..3, Edt_DelayTime1..3, Img_Fire1..3Continue
// under lbl_Fire1..3Continue), the AIM DPI row (lbl_AIMDPI, lbl_AIMDPIValue,
// Img_AIMDPI_1 .. _12) and the system pointer settings (Img_Spd1..11,
// Img_DbSpd1..11, Img_ScrSpd1..11 with their number labels and sliders, the
// switches Img_IsControl / lbl_IsControl and Img_IsScreen / lbl_IsScreen).
//
// Every change goes through the core's editors at once; the page then shows
// the Session's state again.
#pragma once

#include <QList>
#include <optional>

#include "settings/pointer_platform.h"
#include "shell/page.h"

class QLabel;

namespace vrdk::shell {

class ColourSwatch;
class NumberField;
class PictureLabel;
class SkinLabel;
class StepSlider;

class DpiPage : public Page {
  Q_OBJECT
 public:
  DpiPage(ShellServices& services, QWidget* parent);
  void ShowState() override;
  void ApplyLanguage() override;

 private:
  struct Level {
    PictureLabel* frame = nullptr;
    ColourSwatch* swatch = nullptr;
    SkinLabel* colour = nullptr;
    PictureLabel* check = nullptr;
    SkinLabel* name = nullptr;
    QLabel* value = nullptr;
    QList<PictureLabel*> steps;
    StepSlider* slider = nullptr;
  };
  struct Fire {
    QLabel* name = nullptr;
    NumberField* count = nullptr;
    NumberField* interval = nullptr;
    PictureLabel* check = nullptr;
    SkinLabel* keep = nullptr;
  };
  // One pointer row: Spd, DbSpd or ScrSpd.
  struct PointerRow {
    QList<PictureLabel*> steps;
    QList<QLabel*> numbers;
    StepSlider* slider = nullptr;
    QLabel* title = nullptr;
  };

  void BuildLevels();
  void BuildPollingAndAim();
  void BuildFire();
  void BuildPointer();
  void BuildPointerRow(int row, const QString& stem, const QString& slider);

  void ShowLevels();
  void ShowPollingAndAim();
  void ShowFire();
  void ShowPointer();
  void PlaceCaptions();

  void ChooseLevelColour(int level);
  // Fire key n's shots or interval as the user gave them (the other kept).
  void SendFirePreset(int n, std::optional<int> count, std::optional<int> interval);
  void PointerStep(int row, int step);
  void PointerSliderReleased(int row, int ruler_position);
  void PointerSwitch(bool whole_screen);
  // Says once when the system did not take a pointer setting.
  void ReportPointerApply(const settings::PointerApplyResult& result);

  QString Text(int key) const;
  // The DPI value text of step 1..12.
  QString DpiText(int step) const;
  bool Loading() const;

  QList<Level> levels_;
  QList<PictureLabel*> rate_pictures_;
  QList<SkinLabel*> rate_labels_;
  QLabel* rate_title_ = nullptr;
  QList<Fire> fire_;
  QList<QLabel*> fire_headers_;
  QLabel* aim_name_ = nullptr;
  StepSlider* aim_slider_ = nullptr;  // slider_AIMDPI: the AIM row from the keyboard
  QLabel* aim_value_ = nullptr;
  QList<PictureLabel*> aim_steps_;
  QList<PointerRow> pointer_rows_;
  PictureLabel* precision_picture_ = nullptr;
  SkinLabel* precision_label_ = nullptr;
  PictureLabel* screen_picture_ = nullptr;
  SkinLabel* screen_label_ = nullptr;
  // The last pointer change the system did not take, while that holds.
  std::optional<settings::PointerApplyResult> pointer_problem_;
  // The desktop's settings that could not be read, once said in a message.
  std::optional<settings::PointerReadProblem> told_unread_;
  QLabel* pointer_note_ = nullptr;
};

}  // namespace vrdk::shell
