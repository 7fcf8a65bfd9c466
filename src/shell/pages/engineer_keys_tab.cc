#include "shell/pages/engineer_keys_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "engineering/engineer_page.h"
#include "image/fields.h"
#include "macros/editors/device_macros.h"
#include "settings/dpi_editor.h"
#include "settings/led_editor.h"
#include "shell/page.h"
#include "shell/pages/engineer_form.h"

namespace vrdk::shell {
namespace {

using engineer::FormGroup;
using engineer::Term;
using Kind = keys::KeyTarget::Kind;

constexpr int kProfileTerms[] = {0, 1, 2};  // "Office Mode", "Gaming Mode", "Profile3"
constexpr int kCpiTerm = 45;
constexpr int kCpiStepsTerm = 46;
constexpr int kCurrentCpiTerm = 47;
constexpr int kFirstCpiLevelTerm = 48;  // "CPI 1:" .. "CPI 8:" (48 .. 55)
constexpr int kUsbReportTerm = 137;
constexpr int kLedTypeTerm = 16;
constexpr int kFirstLedTypeItemTerm = 18;     // "RGB LED", "Sync LED", "ZK LED", "MCU LED"
constexpr int kButtonEffectTerm = 120;        // "Button Effect Switch:", items 121 "Off", 122 "On"
constexpr int kFirstProfileColourTerm = 123;  // "Office Mode Color:" .. "Profile 3 Color:"
constexpr int kFirstColourItemTerm = 126;     // "Color 1" .. "Color 10", "Fixed Color"
constexpr int kCurrentProfileTerm = 141;      // items 142 .. 144
constexpr int kCurrentColourTerm = 145;
constexpr int kPackageHidesFrom = 10;  // an "A-Tech LED" package has no keys 10 .. 12
constexpr int kButtonWidth = 128;

const QStringList kOffOn = {QStringLiteral("Disable"), QStringLiteral("Enable")};

QStringList CombinationItems() {
  QStringList items = {QStringLiteral("0x00")};
  for (int k = 0; k < 8; ++k) items.append(QStringLiteral("0x") + engineer::Hex(1 << k, 2));
  return items;
}

}  // namespace

std::optional<keys::KeyTarget> EngineerTargetOfName(const QString& name) {
  bool ok = false;
  if (name.startsWith(QLatin1String("btn_ComboKey")) && name.size() == 15) {
    const int slot = name.right(3).toInt(&ok);
    if (ok && slot >= 1 && slot <= 9) return keys::KeyTarget::CombinationSlot(slot);
  } else if (name.startsWith(QLatin1String("btn_Key")) && name.size() == 10) {
    const int number = name.right(3).toInt(&ok);
    const int profile = number / 100;
    const int button = number % 100;
    if (ok && profile >= 1 && profile <= 3 && button >= 1 && button <= 12) {
      return keys::KeyTarget::EngineerButton(profile, button);
    }
  }
  return std::nullopt;
}

QString EngineerButtonName(const keys::KeyTarget& target) {
  if (target.kind == Kind::kCombinationSlot) {
    return QStringLiteral("btn_ComboKey%1").arg(target.number, 3, 10, QLatin1Char('0'));
  }
  return QStringLiteral("btn_Key%1").arg(target.profile * 100 + target.number);
}

EngineerKeysTab::EngineerKeysTab(ShellServices& services, QWidget* popup_parent, QWidget* parent)
    : QWidget(parent), services_(services), popup_parent_(popup_parent) {
  setObjectName(QStringLiteral("ts_Operator"));
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(10, 8, 10, 8);
  auto* profiles = new QHBoxLayout;
  for (int profile = 1; profile <= 3; ++profile) profiles->addWidget(BuildProfile(profile));
  rows->addLayout(profiles);
  auto* lower = new QHBoxLayout;
  auto* slots_and_colours = new QVBoxLayout;
  slots_and_colours->addWidget(BuildComboKeys());
  slots_and_colours->addWidget(BuildEffectColours());
  lower->addLayout(slots_and_colours, 3);
  auto* settings = new QVBoxLayout;
  settings->addWidget(BuildProfileSetting());
  settings->addWidget(BuildLedType());
  settings->addStretch();
  lower->addLayout(settings, 2);
  lower->addWidget(BuildComboEnable(), 2);
  lower->addWidget(BuildCpi(), 3);
  rows->addLayout(lower);
  rows->addStretch();

  scripts_ = new QListWidget(popup_parent_);
  scripts_->setObjectName(QStringLiteral("LB_Script"));
  scripts_->setMouseTracking(true);
  scripts_->hide();
  connect(scripts_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { LB_ScriptClick(scripts_->row(item)); });
}

QPushButton* EngineerKeysTab::KeyButton(QWidget* parent, const keys::KeyTarget& target) {
  auto* button = new QPushButton(parent);
  button->setObjectName(EngineerButtonName(target));
  button->setFixedWidth(kButtonWidth);
  connect(button, &QPushButton::clicked, this, [this, button, target] {
    KeyButtonClicked(target, button->mapToGlobal(button->rect().center()));
  });
  if (target.kind == Kind::kEngineerButton) {
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    button->setToolTip(QStringLiteral("Right click: a fire-macro script"));
    connect(button, &QPushButton::customContextMenuRequested, this,
            [this, button, target](const QPoint& at) {
              ShowScriptMenu(target.profile * 100 + target.number, button->mapToGlobal(at));
            });
  }
  return button;
}

QWidget* EngineerKeysTab::BuildProfile(int profile) {
  FormGroup group(this, QStringLiteral("gbProfile%1").arg(profile),
                  Term(kProfileTerms[profile - 1]));
  for (int button = 1; button <= 12; ++button) {
    const keys::KeyTarget target = keys::KeyTarget::EngineerButton(profile, button);
    QLabel* label =
        group.Pair(button <= 6 ? 0 : 1, QStringLiteral("lbl_Key%1").arg(profile * 100 + button),
                   QStringLiteral("Key %1").arg(button), KeyButton(group.Box(), target));
    key_labels_.append(label);
    key_buttons_.append(group.Box()->findChild<QPushButton*>(EngineerButtonName(target)));
  }
  return group.Box();
}

QWidget* EngineerKeysTab::BuildComboKeys() {
  FormGroup group(this, QStringLiteral("gbComboKey"), QStringLiteral("Combo Key"));
  for (int slot = 1; slot <= 9; ++slot) {
    const keys::KeyTarget target = keys::KeyTarget::CombinationSlot(slot);
    auto* caption = new QLabel(QStringLiteral("Combo Key%1").arg(slot), group.Box());
    caption->setObjectName(QStringLiteral("lbl_ComboKey%1").arg(slot));
    QPushButton* button = KeyButton(group.Box(), target);
    const int row = (slot - 1) / 3 * 2;
    const int column = (slot - 1) % 3;
    group.Grid()->addWidget(caption, row, column);
    group.Grid()->addWidget(button, row + 1, column);
    combo_buttons_.append(button);
  }
  group.Compact();
  return group.Box();
}

QWidget* EngineerKeysTab::BuildProfileSetting() {
  FormGroup group(this, QStringLiteral("gbProfileSetting"), QStringLiteral("Profile Setting"));
  rtz_ = group.Combo(0, QStringLiteral("cb_RTZ"), QStringLiteral("return to zero:"), kOffOn);
  axy_ = group.Combo(0, QStringLiteral("cb_AXY"), QStringLiteral("Adjust XY:"), kOffOn);
  cc_ = group.Combo(0, QStringLiteral("cb_CC"), QStringLiteral("Change color:"), kOffOn);
  offset_ = group.HexEdit(0, QStringLiteral("edt_OffSet"), QStringLiteral("OffSet:"), 3);
  for (QComboBox* combo : {rtz_, axy_, cc_}) {
    connect(combo, &QComboBox::activated, this, &EngineerKeysTab::ProfileSettingChanged);
  }
  offset_->SetSender([this](const QString&, bool) { ProfileSettingChanged(); });
  group.Compact();
  return group.Box();
}

QWidget* EngineerKeysTab::BuildComboEnable() {
  FormGroup group(this, QStringLiteral("gbComboEnable"), QStringLiteral("Combo Enable"));
  // In the order of the functions (ComboFunction), then the gun button.
  const std::pair<const char*, const char*> lists[] = {
      {"cb_MidCom", "Middle Button:"},
      {"cb_BackCom", "Back Button:"},
      {"cb_ForwardCom", "Forward Button:"},
      {"cb_CPICom", "CPI:"},
      {"cb_CPIICom", "CPI +:"},
      {"cb_CPIDCom", "CPI -:"},
      {"cb_GunCom", "Gun Button:"},
  };
  for (const auto& [name, caption] : lists) {
    QComboBox* combo =
        group.Combo(0, QLatin1String(name), QLatin1String(caption), CombinationItems());
    const int function = static_cast<int>(combo_bits_.size());
    combo_bits_.append(combo);
    connect(combo, &QComboBox::activated, this, [this, function](int item) {
      engineering::EngineerPage page(services_.GetSession());
      if (function < kComboFunctionCount) {
        page.SetComboItem(static_cast<ComboFunction>(function), item);
      } else {
        page.SetGunComboItem(item);
      }
      ShowCaptions();
    });
  }
  group.Compact();
  return group.Box();
}

QWidget* EngineerKeysTab::BuildCpi() {
  FormGroup group(this, QStringLiteral("gbCPI"), Term(kCpiTerm));
  cpi_steps_ = group.Combo(0, QStringLiteral("cb_CPISteps"), Term(kCpiStepsTerm),
                           engineer::Numbers(1, DpiState::kLevels));
  current_cpi_ = group.Combo(0, QStringLiteral("cb_CurrentCPI"), Term(kCurrentCpiTerm), {});
  report_rate_ = group.Combo(0, QStringLiteral("cb_RepRate"), Term(kUsbReportTerm),
                             {QStringLiteral("125Hz"), QStringLiteral("250Hz"),
                              QStringLiteral("500Hz"), QStringLiteral("1000Hz")});
  for (int level = 1; level <= DpiState::kLevels; ++level) {
    QComboBox* combo = group.Combo(1, QStringLiteral("cb_CPI%1").arg(level),
                                   Term(kFirstCpiLevelTerm + level - 1), {});
    cpi_values_.append(combo);
    connect(combo, &QComboBox::activated, this, [this, level](int index) {
      settings::DpiEditor(services_.GetSession()).SetValueFromCombo(level, index);
    });
  }
  // Term 146 "CPI/Profile Test": the mouse's own buttons tick these.
  auto* test_caption = new QLabel(Term(146), group.Box());
  test_caption->setObjectName(QStringLiteral("lbl_ButtonTest"));
  group.Grid()->addWidget(test_caption, 4, 0, 1, 2);
  const std::pair<const char*, QString> tests[] = {{"cb_CPITest", QStringLiteral("CPI")},
                                                   {"cb_CPIITest", QStringLiteral("CPI +")},
                                                   {"cb_CPIDTest", QStringLiteral("CPI -")},
                                                   {"cb_ProfileTest", Term(147)}};
  for (const auto& [name, text] : tests) {
    auto* check = new QCheckBox(text, group.Box());
    check->setObjectName(QLatin1String(name));
    group.Grid()->addWidget(check, 5 + static_cast<int>(tests_.size()), 0, 1, 2);
    tests_.append(check);
  }
  connect(cpi_steps_, &QComboBox::activated, this, [this](int item) {
    settings::DpiEditor(services_.GetSession()).SetLevelCount(item + 1);
    ShowCpi();
  });
  connect(current_cpi_, &QComboBox::activated, this,
          [this](int item) { settings::DpiEditor(services_.GetSession()).SetCurrentLevel(item); });
  connect(report_rate_, &QComboBox::activated, this, [this](int item) {
    if (item < 0 || item >= static_cast<int>(image::kPollingRates.size())) return;
    settings::DpiEditor(services_.GetSession())
        .SetPollingRate(image::kPollingRates[static_cast<std::size_t>(item)]);
  });
  group.Compact();
  return group.Box();
}

QWidget* EngineerKeysTab::BuildLedType() {
  FormGroup group(this, QStringLiteral("gbLEDType"), Term(14));
  QStringList types;
  for (int i = 0; i < 4; ++i) types.append(Term(kFirstLedTypeItemTerm + i));
  led_type_ = new QComboBox(group.Box());
  led_type_->setObjectName(QStringLiteral("cb_LEDMode"));
  led_type_->addItems(types);
  group.Pair(0, QStringLiteral("lbl_LEDMode"), Term(kLedTypeTerm), led_type_);
  QStringList colours;
  for (int i = 0; i <= 10; ++i) colours.append(Term(kFirstColourItemTerm + i));
  for (int profile = 1; profile <= 3; ++profile) {
    QComboBox* combo = group.Combo(0, QStringLiteral("cb_Profile%1Color").arg(profile),
                                   Term(kFirstProfileColourTerm + profile - 1), colours);
    profile_colours_.append(combo);
    connect(combo, &QComboBox::activated, this, [this, profile](int item) {
      settings::LedEditor(services_.GetSession()).SetProfileColour(profile, item);
      ShowCaptions();
    });
  }
  current_profile_ = group.Combo(0, QStringLiteral("cb_Profile"), Term(kCurrentProfileTerm),
                                 {Term(kCurrentProfileTerm + 1), Term(kCurrentProfileTerm + 2),
                                  Term(kCurrentProfileTerm + 3)});
  current_colour_ =
      group.Combo(0, QStringLiteral("cb_ProfileColor"), Term(kCurrentColourTerm), colours);
  for (QComboBox* combo : {current_profile_, current_colour_}) {
    connect(combo, &QComboBox::activated, this, [this] {
      settings::LedEditor(services_.GetSession())
          .SetCurrentProfile(current_profile_->currentIndex(), current_colour_->currentIndex());
    });
  }
  button_flash_ = group.Combo(0, QStringLiteral("cb_BtnEFT"), Term(kButtonEffectTerm),
                              {Term(kButtonEffectTerm + 1), Term(kButtonEffectTerm + 2)});
  connect(button_flash_, &QComboBox::activated, this,
          [this](int item) { settings::LedEditor(services_.GetSession()).SetButtonFlash(item); });
  connect(led_type_, &QComboBox::activated, this, [this](int item) {
    // A new LED type takes its defaults: the whole image is written.
    led_type_->setEnabled(false);
    settings::LedEditor(services_.GetSession()).SetLedType(settings::LedTypeOfItem(item));
    led_type_->setEnabled(true);
  });
  return group.Box();
}

QWidget* EngineerKeysTab::BuildEffectColours() {
  // Term 69 "LED Color"; the ten effect colours, captioned "Color 1" ..
  FormGroup group(this, QStringLiteral("gbLEDColor"), Term(69));
  effect_colours_ = group.ColourEdits(
      QStringLiteral("Col"), settings::kEffectColours, 5,
      [](int colour) { return Term(kFirstColourItemTerm + colour - 1); },
      [this](int colour, int component, int value) {
        settings::LedEditor(services_.GetSession()).SetColourComponent(colour, component, value);
      });
  group.Compact();
  return group.Box();
}

void EngineerKeysTab::ProfileSettingChanged() {
  // The offset as the mouse's codes hold it while its box holds no number.
  const int offset =
      static_cast<int>(offset_->Number().value_or(services_.GetSession().Keys().offset));
  engineering::EngineerPage(services_.GetSession())
      .SetProfileSwitch(rtz_->currentIndex(), axy_->currentIndex(), cc_->currentIndex(),
                        std::min(offset, engineering::kMaxProfileOffset));
  ShowCaptions();
}

void EngineerKeysTab::KeyButtonClicked(const keys::KeyTarget& target, const QPoint& global_at) {
  services_.HideAllMenu();
  if (key_menu_) key_menu_(target, global_at);
}

void EngineerKeysTab::ShowScriptMenu(int key, const QPoint& global_at) {
  services_.HideAllMenu();
  macros::DeviceMacros* store = macros::FindDeviceMacros(services_.GetSession());
  if (store == nullptr) return;
  const auto names = store->FireMacros().Names();
  if (names.empty()) return;
  script_key_ = key;
  scripts_->clear();
  for (const std::string& name : names) scripts_->addItem(QString::fromStdString(name));
  const int row_height = scripts_->sizeHintForRow(0) > 0 ? scripts_->sizeHintForRow(0) : 20;
  const QSize size(kButtonWidth + 20, row_height * static_cast<int>(names.size()) + 6);
  QPoint at = popup_parent_->mapFromGlobal(global_at);
  // Inside the page: flush left or above the point when it would not fit.
  if (at.x() + size.width() > popup_parent_->width()) at.rx() -= size.width();
  if (at.y() + size.height() > popup_parent_->height()) at.ry() -= size.height();
  scripts_->setGeometry(QRect(at, size));
  scripts_->show();
  scripts_->raise();
}

void EngineerKeysTab::LB_ScriptClick(int item) {
  scripts_->hide();
  macros::DeviceMacros* store = macros::FindDeviceMacros(services_.GetSession());
  if (store == nullptr || script_key_ == 0) return;
  const Result<void> outcome = store->AssignFireMacroToEngineerKey(script_key_, item);
  if (!outcome.ok()) services_.ShowMessageText(QString::fromStdString(outcome.message()));
  ShowCaptions();
}

void EngineerKeysTab::HideMenus() { scripts_->hide(); }

void EngineerKeysTab::ShowButtonTests(const ButtonTests& tests) {
  const bool ticked[] = {tests.dpi, tests.dpi_up, tests.dpi_down, tests.profile};
  for (int i = 0; i < tests_.size(); ++i) tests_[i]->setChecked(ticked[i]);
}

void EngineerKeysTab::ShowState() {
  ShowCaptions();
  const Session& session = services_.GetSession();
  const PageState& pages = session.Pages();
  const KeyCodeContext& keys = session.Keys();
  // A "Sync" light has no colours of its own: its colour lists go.
  const bool colours = pages.led_type != image::LedType::kSync;
  if (auto* group = findChild<QWidget*>(QStringLiteral("gbLEDColor"))) group->setVisible(colours);
  for (int profile = 1; profile <= 3; ++profile) {
    for (const QString& name : {QStringLiteral("cb_Profile%1Color").arg(profile),
                                QStringLiteral("lbl_Profile%1Color").arg(profile)}) {
      if (auto* widget = findChild<QWidget*>(name)) widget->setVisible(colours);
    }
  }
  for (int f = 0; f < kComboFunctionCount; ++f) {
    engineer::ShowItem(combo_bits_[f], keys.combination_items[static_cast<std::size_t>(f)]);
  }
  engineer::ShowItem(combo_bits_.back(), pages.engineer.gun_combination_item);
  engineer::ShowItem(rtz_, keys.return_to_zero);
  engineer::ShowItem(axy_, keys.adjust_xy);
  engineer::ShowItem(cc_, keys.change_colour);
  engineer::ShowField(offset_, engineer::Hex(keys.offset, 3), session);
  const int led_item = pages.led_type == image::LedType::kSync     ? 1
                       : pages.led_type == image::LedType::kNT     ? 2
                       : pages.led_type == image::LedType::kMCULED ? 3
                                                                   : 0;
  engineer::ShowItem(led_type_, led_item);
  for (int p = 0; p < profile_colours_.size(); ++p) {
    engineer::ShowItem(profile_colours_[p], keys.profile_colour_items[static_cast<std::size_t>(p)]);
  }
  engineer::ShowItem(current_profile_, pages.led.profile_item);
  engineer::ShowItem(current_colour_, pages.profile_colour_item);
  engineer::ShowItem(button_flash_, pages.button_effect_item);
  const auto effect_colours = image::Bytes(session.Data(), image::field::kEffectColours);
  for (int i = 0; i < effect_colours_.size(); ++i) {
    engineer::ShowField(effect_colours_[i],
                        QString::number(effect_colours[static_cast<std::size_t>(i)]), session);
  }
  ShowCpi();
}

void EngineerKeysTab::ShowCaptions() {
  const PageState& pages = services_.GetSession().Pages();
  const bool all_keys = pages.package != 0;  // "A-Tech LED" has no keys 10 .. 12
  for (int i = 0; i < key_buttons_.size(); ++i) {
    const auto profile = static_cast<std::size_t>(i / 12);
    const auto button = static_cast<std::size_t>(i % 12);
    // A code without a name shows its digits.
    const std::string& caption = pages.engineer_captions[profile][button];
    key_buttons_[i]->setText(QString::fromStdString(
        caption.empty() ? pages.code_texts.profiles[profile][button] : caption));
    const bool shown = all_keys || static_cast<int>(button) + 1 < kPackageHidesFrom;
    key_buttons_[i]->setVisible(shown);
    key_labels_[i]->setVisible(shown);
  }
  for (int s = 0; s < combo_buttons_.size(); ++s) {
    combo_buttons_[s]->setText(
        QString::fromStdString(pages.combination_captions[static_cast<std::size_t>(s)]));
  }
}

void EngineerKeysTab::ShowCpi() {
  const Session& session = services_.GetSession();
  const DpiState& dpi = session.Pages().dpi;
  engineer::ShowItem(cpi_steps_, dpi.count - 1);
  {
    const QSignalBlocker blocker(current_cpi_);
    current_cpi_->clear();
    for (int level = 1; level <= dpi.count; ++level) {
      current_cpi_->addItem(QStringLiteral("CPI%1").arg(level));
    }
  }
  engineer::ShowItem(current_cpi_, dpi.current);
  QStringList values;
  for (int v = 0; v < DpiState::kValues; ++v) {
    values.append(QString::fromStdString(session.Language().Text(300 + v)));
  }
  for (int level = 0; level < DpiState::kLevels; ++level) {
    QComboBox* combo = cpi_values_[level];
    {
      const QSignalBlocker blocker(combo);
      combo->clear();
      combo->addItems(values);
    }
    engineer::ShowItem(combo, dpi.combo_items[static_cast<std::size_t>(level)]);
  }
  const int rate = image::PollingRateIndex(session.Data());
  engineer::ShowItem(report_rate_, rate);
}

}  // namespace vrdk::shell
