// gbPage3: the breathing-light page. The LED type (cb_LEDMode_3), the
// effects of the type, each with its enable box (Img_Mode0_3 .. Img_Mode6_3
// under cb_Mode0_3 .. cb_Mode6_3) and its choice (Img_LED1 .. Img_LED7,
// lbl_LED1 .. lbl_LED7, "------" for a disabled one), the step time
// (Img_Fall1 .. Img_Fall10, edt_StepTime_3), the breathing bounds and times
// (edt_Lower_3, edt_Upper_3, edt_LowerTime_3, edt_UpperTime_3), the ten
// colours (Img_Col1 .. 10, cs_Col1 .. 10, lbl_Col1 .. 10), button flash
// (Img_BtnEFT_3, cb_BtnEFT_3, where the brand offers it), the profiles'
// colours (cb_Profile1Color_3 .. cb_Profile3Color_3) and, for the "MCULED"
// strip, its step (Img_MCULEDStep_1 .. 8, slider_MCULEDStep, the labels
// lbl_MCULEDStep_1 .. 8), scan (cb_MCULEDCtrl_3) and LED count
// (cb_MCULEDNum_3); "NT" LEDs show their count (cb_LEDNum_3).
//
// The controls named like the engineer page's carry the page's number, as
// the navigation controls do. Every change goes through the core's LED
// editor at once; a type change, which gives the mouse the type's factory
// image and restarts it, is asked about first.
#pragma once

#include <QList>

#include "shell/page.h"

class QComboBox;
class QLabel;

namespace vrdk::shell {

class ColourSwatch;
class NumberField;
class PictureLabel;
class SkinLabel;
class StepSlider;

class LightPage : public Page {
  Q_OBJECT
 public:
  LightPage(ShellServices& services, QWidget* parent);
  void ShowState() override;
  void ApplyLanguage() override;

 private:
  struct Effect {
    PictureLabel* enable_picture = nullptr;
    SkinLabel* enable = nullptr;
    PictureLabel* radio = nullptr;
    SkinLabel* name = nullptr;
  };

  void BuildEffects();
  void BuildTimes();
  void BuildColours();
  void BuildStrip();
  QComboBox* AddList(const QString& name);
  QLabel* AddCaption(const QString& name);

  void ShowEffects();
  void ShowTimes();
  void ShowColours();
  void ShowStrip();
  void PlaceCaptions();
  void FillLists();

  void ChangeType(int item);
  void ChooseColour(int colour);
  void StripChanged(int step, int control, int count);

  QString Text(int key) const;

  QComboBox* type_ = nullptr;
  QList<Effect> effects_;
  QList<PictureLabel*> fall_;
  NumberField* step_time_ = nullptr;
  QList<NumberField*> breath_;
  QList<PictureLabel*> colour_frames_;
  QList<ColourSwatch*> swatches_;
  QList<SkinLabel*> colour_labels_;
  PictureLabel* flash_picture_ = nullptr;
  SkinLabel* flash_ = nullptr;
  QList<QLabel*> profile_names_;
  QList<QComboBox*> profile_colours_;
  QList<QRgb> listed_colours_;  // the colours the profile lists show
  QList<PictureLabel*> strip_steps_;
  QList<QLabel*> strip_numbers_;
  StepSlider* strip_slider_ = nullptr;
  QComboBox* scan_ = nullptr;
  QComboBox* strip_count_ = nullptr;
  QComboBox* nt_count_ = nullptr;
  // In the strip row's place where the mouse stores no strip settings.
  QLabel* strip_note_ = nullptr;
  // What an empty panel is empty for: the colours and the profile colours
  // a Sync light does not take, the strip's row of other LED types.
  QList<QLabel*> panel_notes_;
  // Captions by the control they stand by.
  QList<QPair<QLabel*, QWidget*>> left_captions_;
  QList<QPair<QLabel*, QWidget*>> top_captions_;
};

}  // namespace vrdk::shell
