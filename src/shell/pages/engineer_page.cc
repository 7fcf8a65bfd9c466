#include "shell/pages/engineer_page.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <cstdio>

#include "engineering/engineer_page.h"
#include "engineering/patch_code.h"
#include "macros/editors/device_macros.h"
#include "shell/dialogs.h"
#include "shell/pages/engineer_chip_tab.h"
#include "shell/pages/engineer_form.h"
#include "shell/pages/engineer_gun_tab.h"
#include "shell/pages/engineer_keys_tab.h"
#include "shell/pages/key_combination_dialog.h"
#include "shell/pages/key_menus.h"
#include "shell/pages/outcome_message.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

using engineer::Term;

constexpr int kWidth = 1256;
constexpr int kHeight = 680;
constexpr int kLogoHeight = 44;
const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)");
constexpr std::string_view kWrongFileKey = "Str102";  // "Bin file type error"
// Term codes: 7 "Engineer Mode", 10 "Default", 11 "Import Base Macro", 13
// "Load Patch Code".
constexpr int kTitleTerm = 7;
constexpr int kDefaultTerm = 10;
constexpr int kImportTerm = 11;
constexpr int kPatchTerm = 13;

// The page's look: the window's own widgets in the skin's colours.
QString PageSheet(const SkinPalette& p) {
  return QStringLiteral(
             "QTabWidget::pane { border: 1px solid %1; background: %2; }"
             "QTabBar::tab { background: %3; color: %4; padding: 6px 18px; }"
             "QTabBar::tab:selected { background: %5; }"
             "QPushButton { background: %3; color: %4; border: 1px solid %1; padding: 3px 8px; }"
             "QPushButton:hover, QPushButton:focus { border-color: %6; }"
             "QPushButton:disabled, QLabel:disabled, QComboBox:disabled { color: %7; }"
             "QLabel, QCheckBox { color: %8; }"
             "QGroupBox { color: %6; border: 1px solid %1; margin-top: 9px; padding-top: 4px; }"
             "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; }"
             "QComboBox, QLineEdit, QListWidget { background: %9; color: %4;"
             "  border: 1px solid %1; padding: 1px 4px; selection-background-color: %5; }")
             .arg(Css(p.border), Css(p.panel), Css(p.raised), Css(p.text), Css(p.accent),
                  Css(p.accent_light), Css(p.disabled), Css(p.soft_text), Css(p.field)) +
         QStringLiteral(
             "QComboBox QAbstractItemView { background: %1; color: %2; }"
             "QListWidget::item:hover { background: %3; color: %4; }"
             "QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid %5;"
             "  background: %1; }"
             "QCheckBox::indicator:checked { background: %6; border-color: %7; }"
             "QListWidget#LB_Script { border: 1px solid %6; }")
             .arg(Css(p.field), Css(p.text), Css(p.chosen), Css(p.chosen_text), Css(p.border),
                  Css(p.accent), Css(p.accent_light));
}

QPushButton* AddButton(QWidget* parent, const char* name, int x) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(x, kHeight - 46, 150, 32);
  return button;
}

}  // namespace

EngineerPage::EngineerPage(ShellServices& services, QWidget* parent) : Page(7, services, parent) {
  setFont(QFont(QStringLiteral("MS Sans Serif"), 9));
  auto* logo = new SkinLabel(QStringLiteral("Img_Logo4"), this);
  logo->SetRole(ControlRole::kNone);
  logo->setGeometry(0, 0, kWidth, kLogoHeight);
  logo->setCursor(Qt::ArrowCursor);
  connect(logo, &SkinLabel::DoubleClicked, this, &EngineerPage::LogoDoubleClicked);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("Pg_Parameter"));
  tabs_->setGeometry(12, kLogoHeight + 8, kWidth - 24, kHeight - kLogoHeight - 64);
  // The tabs hold some 1,200 controls: they are made when the page is first
  // shown (Build); until then stand-ins with their names and titles hold
  // their places.
  for (const auto& [name, title] :
       {std::pair{"ts_Engineer", kTitleTerm}, {"ts_Gun", 149}, {"ts_Operator", 147}}) {
    auto* stand_in = new QWidget(tabs_);
    stand_in->setObjectName(QLatin1String(name));
    tabs_->addTab(stand_in, Term(title));
  }
  int x = 12;
  for (const char* name : {"Btn_Main_6", "Btn_Save_6", "Btn_Load_6", "Btn_Default",
                           "Btn_ImportBaseMacro", "Btn_PatchCode"}) {
    AddButton(this, name, x);
    x += 162;
  }
  const auto button = [this](const char* name) {
    return findChild<QPushButton*>(QLatin1String(name));
  };
  button("Btn_Default")->setText(Term(kDefaultTerm));
  button("Btn_ImportBaseMacro")->setText(Term(kImportTerm));
  button("Btn_PatchCode")->setText(Term(kPatchTerm));
  connect(button("Btn_Default"), &QPushButton::clicked, this, &EngineerPage::Btn_DefaultClick);
  connect(button("Btn_ImportBaseMacro"), &QPushButton::clicked, this,
          &EngineerPage::Btn_ImportBaseMacroClick);
  connect(button("Btn_PatchCode"), &QPushButton::clicked, this, &EngineerPage::Btn_PatchCodeClick);
  // Created hidden, as on the other pages; nothing shows it.
  AddButton(this, "Btn_Engineer_6", x)->hide();
  auto* close = new QPushButton(QStringLiteral("X"), this);
  close->setObjectName(QStringLiteral("Btn_Close"));
  close->setGeometry(kWidth - 44, 8, 32, 28);
  ShowRevealed(false);
}

void EngineerPage::Build() {
  if (keys_ != nullptr) return;
  const QSignalBlocker quiet(tabs_);
  // Made while hidden, the controls are laid out once they are polished,
  // when shown.
  tabs_->hide();
  while (tabs_->count() > 0) {
    QWidget* stand_in = tabs_->widget(0);
    tabs_->removeTab(0);
    delete stand_in;
  }
  chip_ = new EngineerChipTab(services_, tabs_);
  gun_ = new EngineerGunTab(services_, tabs_);
  keys_ = new EngineerKeysTab(services_, this, tabs_);
  tabs_->addTab(chip_, Term(kTitleTerm));
  tabs_->addTab(gun_, Term(149));   // "Fire Key Setting"
  tabs_->addTab(keys_, Term(147));  // "Profile"
  chip_->SetPackageListener([this] { keys_->ShowState(); });
  // The engineer keys take their functions from the key page's menus, with
  // the engineer page's sizes and both profile entries.
  tabs_->show();
  menus_ = new KeyMenus(services_, this);
  menus_->ApplyLanguage();
  connect(menus_, &KeyMenus::LeafChosen, this, [this](int tag) {
    if (menu_target_) AssignMenuEntry(*menu_target_, tag);
  });
  connect(menus_, &KeyMenus::MacroChosen, this, &EngineerPage::AssignMacro);
  connect(menus_, &KeyMenus::CombinationChosen, this, &EngineerPage::OpenCombinationDialog);
  keys_->SetKeyMenuHook(key_menu_hook_
                            ? key_menu_hook_
                            : [this](const keys::KeyTarget& target, const QPoint& global_at) {
                                OpenKeyMenus(target, global_at);
                              });
}

void EngineerPage::OpenKeyMenus(const keys::KeyTarget& target, const QPoint& global_at) {
  services_.HideAllMenu();
  menu_target_ = target;
  settings::KeyMenuSizes sizes;
  sizes.main_height = 170;
  sizes.special_height = 266;
  sizes.profile_height = 98;
  sizes.profile1_shown = true;
  sizes.profile2_shown = true;
  const QPoint at = mapFromGlobal(global_at);
  menus_->Open(QRect(at, QSize(1, 1)), sizes);
}

void EngineerPage::AssignMacro(int item) {
  services_.HideAllMenu();
  const macros::DeviceMacros* store = macros::FindDeviceMacros(services_.GetSession());
  if (!menu_target_ || store == nullptr) return;
  const auto address = store->Address(item);
  const auto names = store->Names();
  if (!address || item < 0 || item >= static_cast<int>(names.size())) return;
  char code[9];
  std::snprintf(code, sizeof code, "10%04X00", static_cast<unsigned>(*address));
  AssignCode(*menu_target_, code, names[static_cast<std::size_t>(item)]);
  services_.GetSession().Events().RefreshPages();
}

void EngineerPage::OpenCombinationDialog() {
  services_.HideAllMenu();
  if (!menu_target_) return;
  auto* dialog = new TForm2(services_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  const keys::KeyTarget target = *menu_target_;
  connect(dialog, &TForm2::Confirmed, this,
          [this, target](const QString& code, const QString& caption) {
            AssignCode(target, code.toStdString(), caption.toStdString());
            services_.GetSession().Events().RefreshPages();
          });
  dialog->Open();
}

void EngineerPage::ApplyLanguage() {
  // The skin's colours; set again only when they change, as every control
  // of the page takes the sheet again.
  if (const QString sheet = PageSheet(SkinPalette::Of(services_.Skin())); sheet != styleSheet()) {
    setStyleSheet(sheet);
  }
  // Only the buttons shared with the other pages follow the language.
  const LanguageTable& language = services_.Language();
  for (const auto& [name, key] :
       {std::pair{"Btn_Main_6", "Str004"}, {"Btn_Save_6", "Str009"}, {"Btn_Load_6", "Str010"}}) {
    findChild<QPushButton*>(QLatin1String(name))
        ->setText(QString::fromStdString(language.Text(key)));
  }
  if (menus_ != nullptr) menus_->ApplyLanguage();
}

void EngineerPage::ShowState() {
  ShowRevealed(services_.GetSession().Pages().engineer.revealed);
  if (keys_ == nullptr) return;
  chip_->ShowState();
  gun_->ShowState();
  keys_->ShowState();
}

void EngineerPage::Shown() {
  Build();
  ShowState();
}

void EngineerPage::HideMenus() {
  if (keys_ == nullptr) return;
  keys_->HideMenus();
  menus_->HideAll();
}

void EngineerPage::ShowButtonTests(const ButtonTests& tests) {
  if (keys_ != nullptr) keys_->ShowButtonTests(tests);
}

void EngineerPage::SetKeyMenuHook(KeyMenuHook hook) {
  key_menu_hook_ = std::move(hook);
  if (keys_ != nullptr) keys_->SetKeyMenuHook(key_menu_hook_);
}

keys::AssignResult EngineerPage::AssignMenuEntry(const keys::KeyTarget& target, int tag) {
  const auto result = keys::KeyAssignment(services_.GetSession()).AssignMenuEntry(target, tag);
  if (keys_ != nullptr) keys_->ShowCaptions();
  return result;
}

keys::AssignResult EngineerPage::AssignCode(const keys::KeyTarget& target, const std::string& code,
                                            const std::string& caption) {
  const auto result = keys::KeyAssignment(services_.GetSession()).AssignCode(target, code, caption);
  if (keys_ != nullptr) keys_->ShowCaptions();
  return result;
}

void EngineerPage::ShowRevealed(bool revealed) {
  tabs_->setTabVisible(0, revealed);
  tabs_->setTabVisible(1, revealed);
  if (!revealed) tabs_->setCurrentIndex(2);
  for (const char* name : {"Btn_Default", "Btn_ImportBaseMacro", "Btn_PatchCode"}) {
    findChild<QPushButton*>(QLatin1String(name))->setVisible(revealed);
  }
  if (keys_ == nullptr) return;
  findChild<QLabel*>(QStringLiteral("lbl_LEDMode"))->setEnabled(revealed);
  findChild<QComboBox*>(QStringLiteral("cb_LEDMode"))->setEnabled(revealed);
}

void EngineerPage::LogoDoubleClicked() {
  engineering::EngineerAccess access(services_.GetSession());
  using Action = engineering::EngineerAccess::Action;
  if (access.LogoDoubleClicked() == Action::kAskCode) {
    AskAccessCode();
    return;
  }
  ShowState();
}

void EngineerPage::AskAccessCode() {
  if (const auto code = services_.Dialogs().Password(services_.Window(), font())) {
    engineering::EngineerAccess(services_.GetSession()).EnterCode(code->toStdString());
  }
  ShowState();
}

void EngineerPage::Btn_DefaultClick() {
  ShowOutcome(services_, engineering::EngineerPage(services_.GetSession()).RestoreDefaults());
  ShowState();
}

void EngineerPage::Btn_ImportBaseMacroClick() {
  const QString path = services_.AskOpenFile(kLoadFilter);
  if (path.isEmpty()) return;
  const Result<void> outcome =
      engineering::PatchProgrammer(services_.GetSession()).ImportBaseMacros(path.toStdString());
  if (!outcome.ok() && !outcome.message().empty()) {
    services_.ShowMessageText(QString::fromStdString(outcome.message()));
  }
  ShowState();
}

void EngineerPage::Btn_PatchCodeClick() {
  const QString path = services_.AskOpenFile(kLoadFilter);
  if (path.isEmpty()) return;
  const Result<void> outcome =
      engineering::PatchProgrammer(services_.GetSession()).ProgramFile(path.toStdString());
  if (outcome.Is(ErrorKind::kWrongKind) || outcome.Is(ErrorKind::kFileError)) {
    services_.ShowMessageText(QString::fromStdString(services_.Language().Text(kWrongFileKey) +
                                                     "\n\n" + outcome.message()));
    return;
  }
  ShowPatchOutcome(services_, outcome, path.toStdString());
}

void EngineerPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const SkinPalette palette = SkinPalette::Of(services_.Skin());
  painter.fillRect(rect(), palette.field);
  painter.fillRect(QRect(0, 0, width(), kLogoHeight), palette.raised);
  painter.fillRect(QRect(0, kLogoHeight - 2, width(), 2), palette.accent);
  painter.fillRect(QRect(16, 12, 6, kLogoHeight - 24), palette.accent);
  painter.setPen(palette.text);
  painter.setFont(QFont(QStringLiteral("Liberation Sans"), 13, QFont::Bold));
  painter.drawText(QRect(32, 0, 600, kLogoHeight), Qt::AlignVCenter, Term(kTitleTerm));
}

}  // namespace vrdk::shell
