#include "shell/pages/engineer_gun_tab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "engineering/engineer_page.h"
#include "macros/editors/device_macros.h"
#include "shell/page.h"
#include "shell/pages/engineer_form.h"

namespace vrdk::shell {
namespace {

using engineer::FormGroup;
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
  for (QWidget* group : {BuildScripts(), BuildOffsets()}) {
    auto* column = new QVBoxLayout;
    column->addWidget(group);
    column->addStretch();
    columns->addLayout(column, 1);
  }
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
  auto* hint = new QLabel(
      QStringLiteral("A script plays on a button once it is given to it: right-click the button "
                     "on the Profile tab and choose the script."),
      group.Box());
  hint->setObjectName(QStringLiteral("lbl_ScriptHint"));
  hint->setWordWrap(true);
  hint->setStyleSheet(QStringLiteral("color: #7d8696;"));
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
  const auto* validator = new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("-?[0-9]{0,3}")), group.Box());
  for (const bool x_axis : {true, false}) {
    for (int n = 1; n <= kOffsets; ++n) {
      auto* edit = new QLineEdit(group.Box());
      edit->setObjectName(QStringLiteral("edt_%1Offset%2").arg(x_axis ? 'X' : 'Y').arg(n));
      edit->setValidator(validator);
      edit->setFixedWidth(56);
      group.Pair(x_axis ? 0 : 1, QStringLiteral("lbl_%1Offset%2").arg(x_axis ? 'X' : 'Y').arg(n),
                 QStringLiteral("%1 %2:").arg(x_axis ? 'X' : 'Y').arg(n), edit);
      (x_axis ? x_offsets_ : y_offsets_).append(edit);
      connect(edit, &QLineEdit::textEdited, this, [this, edit, x_axis, n](const QString& text) {
        const std::string shown = engineering::EngineerPage(services_.GetSession())
                                      .SetRecoilOffset(x_axis, n, text.toStdString());
        engineer::ShowText(edit, QString::fromStdString(shown));
      });
    }
  }
  group.Compact();
  return group.Box();
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
  if (const auto error = scripts->Add(*code)) {
    services_.ShowMessageText(QString::fromStdString(*error));
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
  if (const auto error = scripts->Delete(items[static_cast<std::size_t>(selected)])) {
    services_.ShowMessageText(QString::fromStdString(*error));
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
  const auto user = image::User(services_.GetSession().Data());
  for (int n = 1; n <= kOffsets; ++n) {
    for (const bool x_axis : {true, false}) {
      QLineEdit* edit = (x_axis ? x_offsets_ : y_offsets_)[n - 1];
      const int address = (x_axis ? engineering::kXOffsetBase : engineering::kYOffsetBase) + n;
      const auto value =
          static_cast<std::int8_t>(user[static_cast<std::size_t>(address) - kLiveUserAddress]);
      if (!edit->hasFocus()) engineer::ShowText(edit, QString::number(value));
    }
  }
}

}  // namespace vrdk::shell
