#include "shell/pages/engineer_led_group.h"

#include <QCheckBox>
#include <QIntValidator>
#include <QVBoxLayout>

#include "keys/editors/gestures.h"
#include "settings/led_editor.h"
#include "shell/page.h"
#include "shell/pages/engineer_form.h"

namespace vrdk::shell {
namespace {

using engineer::Term;

// Term codes: 101 "LED Breath", 17 "LED Number:", 106 "Step Delay:", 102 ..
// 105 the breathing bounds and times, 22 "LED Step:", 23 "LED Control:"
// (items 24, 25), 44 "LED Mode Select", 107 "Switch Mouse LED Mode:" (items
// 108, 109).
constexpr int kGroupTerm = 101;
constexpr int kEffectTerm = 44;
constexpr int kCountTerm = 17;
constexpr int kStepTimeTerm = 106;
constexpr int kFirstBreathTerm = 102;
constexpr int kMcuStepTerm = 22;
constexpr int kMcuControlTerm = 23;
constexpr int kGestureTerm = 107;
constexpr int kMcuLedTerm = 21;  // "MCU LED"
constexpr int kEffects = LedState::kEffects;
constexpr const char* kBreathNames[] = {"edt_Lower", "edt_Upper", "edt_LowerTime", "edt_UpperTime"};

NumberField* Field(QWidget* parent, const QString& name, int most) {
  auto* edit = new NumberField(name, {0, most, 10, 0, false, {}}, parent);
  edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  edit->setFixedWidth(56);
  return edit;
}

}  // namespace

EngineerLedGroup::EngineerLedGroup(ShellServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  engineer::FormGroup group(this, QStringLiteral("gbLEDBreath"), Term(kGroupTerm));
  layout->addWidget(group.Box());
  // Three columns of pairs; the gesture list, wider, and the effects below.
  effect_ = group.Combo(0, QStringLiteral("cb_BreMode"), Term(kEffectTerm), {});
  led_count_ =
      group.Combo(1, QStringLiteral("cb_LEDNum"), Term(kCountTerm), engineer::Numbers(1, 8));
  step_time_ = Field(group.Box(), QStringLiteral("edt_StepTime"), settings::kStepTimeMaximum);
  group.Pair(2, QStringLiteral("lbl_StepTime"), Term(kStepTimeTerm), step_time_);
  for (int field = 0; field < 4; ++field) {
    NumberField* edit = Field(group.Box(), QLatin1String(kBreathNames[field]),
                              settings::kBreathLimits[static_cast<std::size_t>(field)]);
    group.Pair(field % 3, QStringLiteral("lbl_") + QLatin1String(kBreathNames[field]).mid(4),
               Term(kFirstBreathTerm + field), edit);
    breath_.append(edit);
    edit->SetSender([this, field](const QString& text, bool) {
      settings::LedEditor(services_.GetSession()).SetBreathValue(field, text.toInt());
    });
  }
  mcu_step_ =
      group.Combo(1, QStringLiteral("cb_MCULEDStep"), Term(kMcuStepTerm), engineer::Numbers(0, 7));
  mcu_control_ =
      group.Combo(2, QStringLiteral("cb_MCULEDCtrl"), Term(kMcuControlTerm), {Term(24), Term(25)});
  mcu_count_ = group.Combo(0, QStringLiteral("cb_MCULEDNum"), Term(kMcuLedTerm) + QLatin1Char(':'),
                           engineer::Numbers(4, 13));
  gesture_ = new QComboBox(group.Box());
  gesture_->setObjectName(QStringLiteral("cb_ChangeLEDModeFun"));
  gesture_->addItems({Term(108), Term(109)});
  auto* gesture_label = new QLabel(Term(kGestureTerm), group.Box());
  gesture_label->setObjectName(QStringLiteral("lbl_ChangeLEDModeFun"));
  group.Grid()->addWidget(gesture_label, 3, 2);
  group.Grid()->addWidget(gesture_, 3, 3, 1, 3);
  for (int i = 0; i < kEffects; ++i) {
    auto* check = new QCheckBox(group.Box());
    check->setObjectName(QStringLiteral("cb_Mode%1").arg(i));
    group.Grid()->addWidget(check, 4 + i / 3, i % 3 * 2, 1, 2);
    effects_.append(check);
    connect(check, &QCheckBox::clicked, this, [this, i](bool on) {
      settings::LedEditor(services_.GetSession()).SetEffectEnabled(i, on);
      ShowState();
    });
  }
  connect(effect_, &QComboBox::activated, this, [this](int item) {
    settings::LedEditor(services_.GetSession()).SetEffect(item);
    ShowState();
  });
  connect(led_count_, &QComboBox::activated, this, [this](int item) {
    Session& session = services_.GetSession();
    if (!settings::LedEditor(session).SetNtLedCountIndex(item) &&
        item < settings::LedEditor::kFirstNtCountItem) {
      services_.ShowMessageText(QString::fromStdString(session.Own(OwnText::kNtOneLed)));
    }
    ShowState();
  });
  step_time_->SetSender([this](const QString& text, bool) {
    settings::LedEditor(services_.GetSession()).SetStepTime(text.toInt());
  });
  for (QComboBox* combo : {mcu_step_, mcu_control_, mcu_count_}) {
    connect(combo, &QComboBox::activated, this, &EngineerLedGroup::McuLedChanged);
  }
  connect(gesture_, &QComboBox::activated, this, [this](int item) {
    if (item == 0 || item == 1)
      keys::Gestures(services_.GetSession()).SetLightingGesture(item == 1);
  });
}

void EngineerLedGroup::McuLedChanged() {
  settings::LedEditor(services_.GetSession())
      .SetMcuLed(mcu_step_->currentIndex(), mcu_control_->currentIndex(),
                 mcu_count_->currentIndex());
}

void EngineerLedGroup::ShowState() {
  const PageState& pages = services_.GetSession().Pages();
  const LedState& led = pages.led;
  const auto effects = settings::Effects(pages.led_type);
  for (int i = 0; i < kEffects; ++i) {
    QCheckBox* check = effects_[i];
    const bool exists = i < static_cast<int>(effects.size());
    check->setVisible(exists);
    if (exists) check->setText(engineer::EffectTerm(effects[static_cast<std::size_t>(i)].name));
    check->setChecked(led.effect_enabled[static_cast<std::size_t>(i)]);
  }
  {
    const QSignalBlocker blocker(effect_);
    effect_->clear();
    for (const std::string& name : led.effect_list) effect_->addItem(engineer::EffectTerm(name));
  }
  engineer::ShowItem(effect_, led.effect_item);
  engineer::ShowItem(led_count_, led.led_count_item);
  const Session& session = services_.GetSession();
  engineer::ShowField(step_time_, QString::number(led.step_time), session);
  for (int field = 0; field < 4; ++field) {
    engineer::ShowField(breath_[field],
                        QString::number(led.breath[static_cast<std::size_t>(field)]), session);
  }
  engineer::ShowItem(mcu_step_, led.mcu_step_item);
  engineer::ShowItem(mcu_control_, led.mcu_ctrl_item);
  engineer::ShowItem(mcu_count_, led.mcu_count_item);
  engineer::ShowItem(gesture_, pages.led_gesture_item);
  // The LED count belongs to "NT", the three strip lists to "MCULED".
  const auto show = [this](QComboBox* combo, bool shown) {
    combo->setVisible(shown);
    if (auto* label = findChild<QLabel*>(QStringLiteral("lbl_") + combo->objectName().mid(3))) {
      label->setVisible(shown);
    }
  };
  show(led_count_, pages.led_type == image::LedType::kNT);
  for (QComboBox* combo : {mcu_step_, mcu_control_, mcu_count_}) {
    show(combo, pages.led_type == image::LedType::kMCULED);
  }
}

}  // namespace vrdk::shell
