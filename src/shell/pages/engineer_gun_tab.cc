#include "shell/pages/engineer_gun_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "engineering/engineer_page.h"
#include "image/fields.h"
#include "keys/editors/fire_aim.h"
#include "keys/editors/gestures.h"
#include "macros/editors/device_macros.h"
#include "shell/page.h"
#include "shell/pages/engineer_form.h"
#include "shell/skin_palette.h"

namespace vrdk::shell {
namespace {

using engineer::FormGroup;
using engineer::OwnTerm;
using engineer::Term;

constexpr int kOffsets = 10;
constexpr int kUserColourItem = 10;  // "User Color": colour 15
// Term codes: 148 "Fire Key X/Y Offset", 149 "Fire Key Setting", 150 "Is
// Left Key in Fire Key:", 151 "Fire Key Start:", 152 "Fire Key Number:",
// 153 "New Fire Key", 154 "Delect Fire Key".
constexpr int kOffsetsTerm = 148;
constexpr int kScriptsTerm = 149;
constexpr int kKeepLeftTerm = 150;
constexpr int kStartTerm = 151;
constexpr int kCountTerm = 152;
constexpr int kAddTerm = 153;
constexpr int kDeleteTerm = 154;

QStringList ColourItems() {
  QStringList items;
  for (int n = 1; n <= 9; ++n) items.append(QStringLiteral("LED Color%1").arg(n));
  items << QStringLiteral("LED Colo10") << QStringLiteral("User Color");
  return items;
}

}  // namespace

EngineerGunTab::EngineerGunTab(ShellServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
  setObjectName(QStringLiteral("ts_Gun"));
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(10, 8, 10, 8);
  columns->setSpacing(12);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildScripts());
  left->addWidget(BuildFireKeys());
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(BuildOffsets());
  right->addStretch();
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
}

QWidget* EngineerGunTab::BuildScripts() {
  FormGroup group(this, QStringLiteral("gbScript"), Term(kScriptsTerm));
  names_ = new QListWidget(group.Box());
  names_->setObjectName(QStringLiteral("LB_ScriptName"));
  names_->setFixedSize(240, 300);
  group.Grid()->addWidget(names_, 0, 0, 8, 1, Qt::AlignTop);
  const auto pair = [&group](int row, const QString& label_name, const QString& caption,
                             QWidget* control) {
    auto* label = new QLabel(caption, group.Box());
    label->setObjectName(label_name);
    group.Grid()->addWidget(label, row, 1);
    group.Grid()->addWidget(control, row, 2);
    return label;
  };
  const auto combo = [&group](const QString& name, const QStringList& items) {
    auto* box = new QComboBox(group.Box());
    box->setObjectName(name);
    box->addItems(items);
    return box;
  };
  type_ =
      combo(QStringLiteral("cb_SOSType"), {QStringLiteral("Disable"), QStringLiteral("Enable")});
  colour_ = combo(QStringLiteral("cb_SOSColor"), ColourItems());
  keep_left_ =
      combo(QStringLiteral("cb_SOSLB"), {QStringLiteral("Disable"), QStringLiteral("Enable")});
  count_ = combo(QStringLiteral("cb_SOSNumber"), engineer::Numbers(1, 10));
  start_ = combo(QStringLiteral("cb_SOSStartIndex"), engineer::Numbers(1, 10));
  pair(0, QStringLiteral("lbl_SOSType"), QStringLiteral("Script Offset Type:"), type_);
  QLabel* colour_label =
      pair(1, QStringLiteral("lbl_SOSColor"), QStringLiteral("Script Offset Color:"), colour_);
  QLabel* keep_label = pair(2, QStringLiteral("lbl_SOSLB"), Term(kKeepLeftTerm), keep_left_);
  QLabel* count_label = pair(3, QStringLiteral("lbl_SOSNumber"), Term(kCountTerm), count_);
  QLabel* start_label = pair(4, QStringLiteral("lbl_SOSStartIndex"), Term(kStartTerm), start_);
  offset_form_ = {colour_label, colour_};
  plain_form_ = {keep_label, keep_left_, count_label, count_, start_label, start_};
  auto* add = new QPushButton(Term(kAddTerm), group.Box());
  add->setObjectName(QStringLiteral("btn_AddScript"));
  auto* remove = new QPushButton(Term(kDeleteTerm), group.Box());
  remove->setObjectName(QStringLiteral("btn_DelScript"));
  group.Grid()->addWidget(add, 6, 1);
  group.Grid()->addWidget(remove, 6, 2);
  constexpr int kProfileTabTerm = 147;
  auto* hint = new QLabel(OwnTerm("A script plays on a button once it is given to it: right-click "
                                  "the button on the %1 tab and choose the script.",
                                  "脚本分配给按键后才会执行：在“%1”页右键单击该按键，再选择脚本。")
                              .arg(Term(kProfileTabTerm)),
                          group.Box());
  hint->setObjectName(QStringLiteral("lbl_ScriptHint"));
  hint->setWordWrap(true);
  hint->setStyleSheet(HintStyle(SkinPalette::Of(services_.Skin())));
  group.Grid()->addWidget(hint, 7, 1, 1, 2, Qt::AlignTop);
  group.Grid()->setRowStretch(7, 1);
  group.Grid()->setColumnStretch(3, 1);
  type_->setCurrentIndex(1);
  cb_SOSTypeChange();
  connect(type_, &QComboBox::activated, this, &EngineerGunTab::cb_SOSTypeChange);
  connect(add, &QPushButton::clicked, this, &EngineerGunTab::btn_AddScriptClick);
  connect(remove, &QPushButton::clicked, this, &EngineerGunTab::btn_DelScriptClick);
  connect(names_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { LB_ScriptNameClick(names_->row(item)); });
  return group.Box();
}

QWidget* EngineerGunTab::BuildOffsets() {
  FormGroup group(this, QStringLiteral("gbOffset"), Term(kOffsetsTerm));
  for (const bool x_axis : {true, false}) {
    for (int n = 1; n <= kOffsets; ++n) {
      // -128 .. 127; a larger number typed is limited when the box is left.
      auto* edit = new NumberField(QStringLiteral("edt_%1Offset%2").arg(x_axis ? 'X' : 'Y').arg(n),
                                   {-128, 127, 10, 3, false, {}}, group.Box());
      edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      edit->setFixedWidth(56);
      group.Pair(x_axis ? 0 : 1, QStringLiteral("lbl_%1Offset%2").arg(x_axis ? 'X' : 'Y').arg(n),
                 QStringLiteral("%1 %2:").arg(x_axis ? 'X' : 'Y').arg(n), edit);
      (x_axis ? x_offsets_ : y_offsets_).append(edit);
      edit->SetSender([this, x_axis, n](const QString& text, bool) {
        engineering::EngineerPage(services_.GetSession())
            .SetRecoilOffset(x_axis, n, text.toStdString());
      });
    }
  }
  group.Compact();
  return group.Box();
}

QWidget* EngineerGunTab::BuildFireKeys() {
  // Term codes: 56 "Fire Key", 57 .. 59 "Fire Key n:", 60 "Repeat", 61 "Time
  // (*1ms)", 62 "Continue", 119 "AIM Key CPI:", 110 "Switch Mouse Gaming
  // Mode:" with the items 111 .. 117.
  FormGroup group(this, QStringLiteral("gbFireKey"), Term(56));
  QGridLayout* grid = group.Grid();
  for (int column = 0; column < 3; ++column) {
    auto* header = new QLabel(Term(60 + column), group.Box());
    header->setObjectName(QStringLiteral("lbl_FireHeader%1").arg(column + 1));
    grid->addWidget(header, 0, column + 1);
  }
  for (int n = 1; n <= 3; ++n) {
    auto* caption = new QLabel(Term(56 + n), group.Box());
    caption->setObjectName(QStringLiteral("lbl_Fire%1Key").arg(n));
    auto* count = new QComboBox(group.Box());
    count->setObjectName(QStringLiteral("cb_Fire%1Count").arg(n));
    count->addItems(engineer::Numbers(1, keys::FireKeys::kMaxCount));
    auto* time = new NumberField(
        QStringLiteral("edt_Fire%1Time").arg(n),
        {1, keys::FireKeys::kMaxInterval, 10, 4, false, NumberField::Corrector(keys::FireInterval)},
        group.Box());
    time->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    time->setFixedWidth(64);
    auto* keep = new QCheckBox(group.Box());
    keep->setObjectName(QStringLiteral("cb_Fire%1Continue").arg(n));
    grid->addWidget(caption, n, 0);
    grid->addWidget(count, n, 1);
    grid->addWidget(time, n, 2);
    grid->addWidget(keep, n, 3);
    fire_counts_.append(count);
    fire_times_.append(time);
    fire_continue_.append(keep);
    connect(count, &QComboBox::activated, this, [this, n] { FireKeyEdited(n); });
    time->SetSender([this, n](const QString&, bool) { FireKeyEdited(n); });
    connect(keep, &QCheckBox::clicked, this,
            [this, n](bool on) { keys::FireKeys(services_.GetSession()).SetKeepFiring(n, on); });
  }
  aim_ = new QComboBox(group.Box());
  aim_->setObjectName(QStringLiteral("cb_AIM"));
  auto* aim_label = new QLabel(Term(119), group.Box());
  aim_label->setObjectName(QStringLiteral("lbl_AIM"));
  grid->addWidget(aim_label, 4, 0);
  grid->addWidget(aim_, 4, 1, 1, 2);
  game_gesture_ = new QComboBox(group.Box());
  game_gesture_->setObjectName(QStringLiteral("cb_ChangeFireFun"));
  for (int item = 0; item < keys::Gestures::kGameItems; ++item) {
    game_gesture_->addItem(Term(111 + item));
  }
  auto* gesture_label = new QLabel(Term(110), group.Box());
  gesture_label->setObjectName(QStringLiteral("lbl_ChangeFireFun"));
  grid->addWidget(gesture_label, 5, 0);
  grid->addWidget(game_gesture_, 5, 1, 1, 3);
  group.Compact();
  connect(aim_, &QComboBox::activated, this, [this](int item) {
    if (item >= 0 && item < keys::AimKey::kSteps) {
      keys::AimKey(services_.GetSession()).StoreAimStep(item + 1);
    }
  });
  connect(game_gesture_, &QComboBox::activated, this, [this](int item) {
    if (const auto gesture = keys::GameGestureFromNumber(item)) {
      keys::Gestures(services_.GetSession()).SetGameGesture(*gesture);
    }
  });
  return group.Box();
}

void EngineerGunTab::FireKeyEdited(int n) {
  const FirePreset& preset = services_.GetSession().Keys().fire[static_cast<std::size_t>(n - 1)];
  const int interval = static_cast<int>(fire_times_[n - 1]->Number().value_or(preset.interval));
  keys::FireKeys(services_.GetSession())
      .SetPreset(n, fire_counts_[n - 1]->currentIndex() + 1, interval);
}

macros::FireMacroScripts* EngineerGunTab::Scripts() {
  macros::DeviceMacros* store = macros::FindDeviceMacros(services_.GetSession());
  return store != nullptr ? &store->FireMacros() : nullptr;
}

macros::FireMacroParameters EngineerGunTab::Parameters() const {
  macros::FireMacroParameters parameters;
  parameters.offset_form = type_->currentIndex() == 1;
  parameters.colour =
      colour_->currentIndex() == kUserColourItem ? macros::kUserColour : colour_->currentIndex();
  parameters.keep_left = keep_left_->currentIndex() == 1;
  parameters.start = start_->currentIndex();
  parameters.count = count_->currentIndex() + 1;
  return parameters;
}

void EngineerGunTab::cb_SOSTypeChange() {
  const bool offset_form = type_->currentIndex() == 1;
  for (QWidget* widget : offset_form_) widget->setVisible(offset_form);
  for (QWidget* widget : plain_form_) widget->setVisible(!offset_form);
}

void EngineerGunTab::btn_AddScriptClick() {
  macros::FireMacroScripts* scripts = Scripts();
  if (scripts == nullptr || scripts->Count() >= static_cast<int>(macros::kFireMacroSlots)) return;
  const auto code = macros::BuildFireMacroCode(Parameters());
  if (!code) return;
  if (const auto added = scripts->Add(*code); !added.ok()) {
    services_.ShowMessageText(QString::fromStdString(added.message()));
  }
  ShowScripts(scripts->Count() - 1);
  names_->scrollToBottom();
}

void EngineerGunTab::btn_DelScriptClick() {
  macros::FireMacroScripts* scripts = Scripts();
  const int selected = names_->currentRow();
  if (scripts == nullptr || selected < 0) return;
  const auto items = scripts->Items();
  if (selected >= static_cast<int>(items.size())) return;
  if (const auto deleted = scripts->Delete(items[static_cast<std::size_t>(selected)]);
      !deleted.ok()) {
    services_.ShowMessageText(QString::fromStdString(deleted.message()));
  }
  ShowScripts(std::max(selected - 1, 0));
}

void EngineerGunTab::LB_ScriptNameClick(int item) {
  macros::FireMacroScripts* scripts = Scripts();
  if (scripts == nullptr) return;
  const auto items = scripts->Items();
  if (item < 0 || item >= static_cast<int>(items.size())) return;
  const auto shown = macros::ShowFireMacroCode(
      scripts->Entries()[static_cast<std::size_t>(items[static_cast<std::size_t>(item)])]);
  engineer::ShowItem(type_, shown.offset_form ? 1 : 0);
  engineer::ShowItem(colour_, shown.colour == macros::kUserColour ? kUserColourItem : shown.colour);
  engineer::ShowItem(keep_left_, shown.keep_left ? 1 : 0);
  engineer::ShowItem(start_, shown.start);
  engineer::ShowItem(count_, shown.count - 1);
  cb_SOSTypeChange();
}

void EngineerGunTab::ShowScripts(int select) {
  macros::FireMacroScripts* scripts = Scripts();
  names_->clear();
  if (scripts == nullptr) return;
  for (const std::string& name : scripts->Names()) names_->addItem(QString::fromStdString(name));
  if (names_->count() > 0) names_->setCurrentRow(std::clamp(select, 0, names_->count() - 1));
}

void EngineerGunTab::ShowState() {
  ShowScripts(names_->currentRow());
  const Session& session = services_.GetSession();
  for (int n = 0; n < 3; ++n) {
    const FirePreset& preset = session.Keys().fire[static_cast<std::size_t>(n)];
    engineer::ShowItem(fire_counts_[n], preset.count - 1);
    engineer::ShowField(fire_times_[n], QString::number(preset.interval), session);
    fire_continue_[n]->setChecked(preset.keep_firing);
  }
  {
    const QSignalBlocker blocker(aim_);
    aim_->clear();
    for (int v = 0; v < 12; ++v) {
      aim_->addItem(QString::fromStdString(session.Language().Text(300 + v)));
    }
  }
  engineer::ShowItem(aim_, session.Keys().aim_step - 1);
  engineer::ShowItem(game_gesture_, session.Pages().game_gesture_item);
  for (int n = 1; n <= kOffsets; ++n) {
    for (const bool x_axis : {true, false}) {
      NumberField* edit = (x_axis ? x_offsets_ : y_offsets_)[n - 1];
      const int value = image::RecoilOffset(session.Data(), x_axis, n);
      engineer::ShowField(edit, QString::number(value), session);
    }
  }
}

}  // namespace vrdk::shell
