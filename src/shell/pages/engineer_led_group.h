// The engineer page's lighting group (on its chip tab): the effects a type
// may cycle through (cb_Mode0 .. cb_Mode6) and the one in use (cb_BreMode),
// the "NT" LED count, the step time and breathing bounds and times, the MCU
// LED strip (cb_MCULEDStep, cb_MCULEDCtrl, cb_MCULEDNum) and the lighting
// gesture cb_ChangeLEDModeFun. The lighting editor does the work.
#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;

namespace vrdk::shell {

class NumberField;
class ShellServices;

class EngineerLedGroup : public QWidget {
  Q_OBJECT
 public:
  EngineerLedGroup(ShellServices& services, QWidget* parent);
  void ShowState();

 private:
  void McuLedChanged();

  ShellServices& services_;
  QList<QCheckBox*> effects_;  // cb_Mode0 .. cb_Mode6
  QComboBox* effect_ = nullptr;
  QComboBox* led_count_ = nullptr;
  NumberField* step_time_ = nullptr;
  QList<NumberField*> breath_;  // edt_Lower, edt_Upper, edt_LowerTime, edt_UpperTime
  QComboBox* mcu_step_ = nullptr;
  QComboBox* mcu_control_ = nullptr;
  QComboBox* mcu_count_ = nullptr;
  QComboBox* gesture_ = nullptr;
};

}  // namespace vrdk::shell
