#include "shell/pages/engineer_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

#include "engineering/engineer_page.h"
#include "engineering/engineering_terms.h"
#include "shell/dialogs.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

constexpr int kWidth = 1256;
constexpr int kHeight = 680;
constexpr int kLogoHeight = 44;
constexpr const char* kPageStyle =
    "QTabWidget::pane { border: 1px solid #454c5a; background: #1a1d24; }"
    "QTabBar::tab { background: #2c313c; color: #e6eaf0; padding: 6px 16px; }"
    "QTabBar::tab:selected { background: #e0283a; }"
    "QPushButton { background: #2c313c; color: #e6eaf0; border: 1px solid #454c5a;"
    "  padding: 4px 12px; }"
    "QPushButton:hover { border-color: #ff5a68; }"
    "QLabel { color: #e6eaf0; }";

// The page's texts follow the system's locale, not the language buttons.
QString Term(int code) {
  const auto column = engineering::TermColumnForLocale(
      engineering::LocaleIdOfPosixLocale(QLocale::system().name().toStdString()));
  const std::string_view text = engineering::EngineeringText(code, column);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* Tab(const QString& name, QTabWidget* tabs) {
  auto* tab = new QWidget(tabs);
  tab->setObjectName(name);
  return tab;
}

}  // namespace

EngineerPage::EngineerPage(ShellServices& services, QWidget* parent) : Page(7, services, parent) {
  setStyleSheet(kPageStyle);
  auto* logo = new SkinLabel(QStringLiteral("Img_Logo4"), this);
  logo->setGeometry(0, 0, kWidth, kLogoHeight);
  logo->setCursor(Qt::ArrowCursor);
  connect(logo, &SkinLabel::DoubleClicked, this, &EngineerPage::LogoDoubleClicked);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("Pg_Parameter"));
  tabs_->setGeometry(12, kLogoHeight + 8, kWidth - 24, kHeight - kLogoHeight - 64);
  tabs_->addTab(Tab(QStringLiteral("ts_Engineer"), tabs_), Term(7));
  tabs_->addTab(Tab(QStringLiteral("ts_Gun"), tabs_), QStringLiteral("Gun"));
  tabs_->addTab(Tab(QStringLiteral("ts_Operator"), tabs_), QStringLiteral("Operator"));
  auto* operator_tab = tabs_->widget(2);
  auto* led_label = new QLabel(QStringLiteral("LED type"), operator_tab);
  led_label->setObjectName(QStringLiteral("lbl_LEDMode"));
  led_label->setGeometry(20, 24, 120, 24);
  auto* led_types = new QComboBox(operator_tab);
  led_types->setObjectName(QStringLiteral("cb_LEDMode"));
  led_types->addItems({QStringLiteral("RGB"), QStringLiteral("Sync"), QStringLiteral("NT"),
                       QStringLiteral("MCULED")});
  led_types->setGeometry(150, 22, 140, 26);
  auto* placeholder = new QLabel(operator_tab);
  placeholder->setObjectName(QStringLiteral("lbl_Placeholder_7"));
  placeholder->setGeometry(20, 80, 600, 60);
  placeholder->setWordWrap(true);
  int x = 12;
  for (const char* name : {"Btn_Main_6", "Btn_Save_6", "Btn_Load_6", "Btn_Default",
                           "Btn_ImportBaseMacro", "Btn_PatchCode"}) {
    auto* button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, kHeight - 46, 150, 32);
    x += 162;
  }
  findChild<QPushButton*>(QStringLiteral("Btn_Default"))->setText(Term(10));
  findChild<QPushButton*>(QStringLiteral("Btn_ImportBaseMacro"))
      ->setText(QStringLiteral("Import Base Macro"));
  findChild<QPushButton*>(QStringLiteral("Btn_PatchCode"))->setText(Term(13));
  auto* close = new QPushButton(QStringLiteral("X"), this);
  close->setObjectName(QStringLiteral("Btn_Close"));
  close->setGeometry(kWidth - 44, 8, 32, 28);
  ShowRevealed(false);
}

void EngineerPage::ApplyLanguage() {
  const LanguageTable& language = services_.Language();
  findChild<QPushButton*>(QStringLiteral("Btn_Main_6"))
      ->setText(QString::fromStdString(language.Text("Str004")));
  findChild<QPushButton*>(QStringLiteral("Btn_Save_6"))
      ->setText(QString::fromStdString(language.Text("Str009")));
  findChild<QPushButton*>(QStringLiteral("Btn_Load_6"))
      ->setText(QString::fromStdString(language.Text("Str010")));
  findChild<QLabel*>(QStringLiteral("lbl_Placeholder_7"))
      ->setText(QStringLiteral("Chip options, sensor registers, USB identity, combination keys "
                               "and fire macros."));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 9));
}

void EngineerPage::ShowState() { ShowRevealed(services_.GetSession().Pages().engineer.revealed); }

void EngineerPage::ShowRevealed(bool revealed) {
  tabs_->setTabVisible(0, revealed);
  tabs_->setTabVisible(1, revealed);
  if (!revealed) tabs_->setCurrentIndex(2);
  for (const char* name : {"Btn_Default", "Btn_ImportBaseMacro", "Btn_PatchCode"}) {
    findChild<QPushButton*>(QLatin1String(name))->setVisible(revealed);
  }
  findChild<QLabel*>(QStringLiteral("lbl_LEDMode"))->setEnabled(revealed);
  findChild<QComboBox*>(QStringLiteral("cb_LEDMode"))->setEnabled(revealed);
}

void EngineerPage::LogoDoubleClicked() {
  engineering::EngineerAccess access(services_.GetSession());
  using Action = engineering::EngineerAccess::Action;
  const Action action = access.LogoDoubleClicked();
  if (action == Action::kAskCode) {
    if (const auto code = services_.Dialogs().Password(services_.Window(),
                                                       QFont(QStringLiteral("MS Sans Serif"), 9))) {
      access.EnterCode(code->toStdString());
    }
  }
  ShowState();
}

void EngineerPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0x12, 0x14, 0x1a));
  painter.fillRect(QRect(0, 0, width(), kLogoHeight), QColor(0x22, 0x26, 0x2f));
  painter.fillRect(QRect(0, kLogoHeight - 2, width(), 2), QColor(0xe0, 0x28, 0x3a));
  painter.setPen(QColor(0xe6, 0xea, 0xf0));
  painter.setFont(QFont(QStringLiteral("Liberation Sans"), 13, QFont::Bold));
  painter.drawText(QRect(16, 0, 600, kLogoHeight), Qt::AlignVCenter, QStringLiteral("ENGINEER"));
}

}  // namespace vrdk::shell
