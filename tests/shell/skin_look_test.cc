// The window's own look: every colour its style sheets name is one of the
// skin's, and its small dialogs are one dialog.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>

#include "engineering/engineer_page.h"
#include "settings/navigation.h"
#include "shell/macro_dialogs.h"
#include "shell/pages/key_combination_dialog.h"
#include "shell/pages/key_page.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using settings::NavPage;

// The key-combination dialog, opened as a user does: from a key's menu.
TForm2* OpenCombination(WindowRig& rig) {
  auto* keys = qobject_cast<KeyPage*>(rig.window.PageOfGroup(1));
  if (keys == nullptr) return nullptr;
  settings::Navigation(rig.session).Go(NavPage::kSwitch);
  rig.window.RefreshAPPage();
  keys->ShowPnlMain_OnClick(3);
  keys->Key_AssemblyClick();
  rig.Settle();
  return keys->CombinationDialog();
}

// The colours a style sheet names, as RGB.
QList<QRgb> NamedColours(const QString& sheet) {
  QList<QRgb> found;
  static const QRegularExpression hex(QStringLiteral("#([0-9a-fA-F]{6})\\b"));
  for (auto match = hex.globalMatch(sheet); match.hasNext();) {
    found.append(match.next().captured(1).toUInt(nullptr, 16));
  }
  static const QRegularExpression rgb(
      QStringLiteral("rgba?\\(\\s*(\\d+)\\s*,\\s*(\\d+)\\s*,\\s*(\\d+)"));
  for (auto match = rgb.globalMatch(sheet); match.hasNext();) {
    const auto m = match.next();
    found.append(qRgb(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()));
  }
  return found;
}

// Each widget whose style sheet names a colour that is not the skin's.
QStringList ForeignColours(const QList<QWidget*>& widgets, const SkinLayout& skin) {
  QSet<QRgb> allowed;
  const auto allow = [&allowed](const SkinColour& c) {
    allowed.insert(qRgb(c.red, c.green, c.blue) & 0xFFFFFFu);
  };
  for (const auto& [stem, colour] : skin.colours) allow(colour);
  for (const auto& [group, style] : skin.styles) allow(style.colour);
  allowed.insert(SkinPalette::Of(skin).disabled.rgb() & 0xFFFFFFu);
  QStringList foreign;
  for (QWidget* widget : widgets) {
    for (const QRgb colour : NamedColours(widget->styleSheet())) {
      if (!allowed.contains(colour & 0xFFFFFFu)) {
        foreign.append(QStringLiteral("%1: #%2")
                           .arg(widget->objectName())
                           .arg(colour & 0xFFFFFFu, 6, 16, QLatin1Char('0')));
      }
    }
  }
  return foreign;
}

TEST(SkinLook, EveryColourTheWindowNamesIsTheSkins) {
  WindowRig rig;
  rig.Connect();
  // Every page, the engineer page with each of its tabs made.
  engineering::EngineerAccess(rig.session).EnterCode("TarvondQXKPW");
  for (const NavPage page : {NavPage::kMain, NavPage::kAdvanced, NavPage::kBreathingLight,
                             NavPage::kMacro, NavPage::kUpdate, NavPage::kEngineer}) {
    settings::Navigation(rig.session).Go(page);
    rig.window.RefreshAPPage();
    rig.Settle();
  }
  auto* tabs = rig.Find<QTabWidget>(QStringLiteral("Pg_Parameter"));
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    rig.Settle();
  }
  // The dialogs of their own.
  TForm2* combination = OpenCombination(rig);
  ASSERT_NE(combination, nullptr);
  MacroNameDialog name(rig.window, QStringLiteral("M"));
  QList<QWidget*> widgets = rig.window.findChildren<QWidget*>();
  widgets += name.findChildren<QWidget*>();
  widgets += combination->findChildren<QWidget*>();
  const QStringList foreign = ForeignColours(widgets, rig.window.Skin());
  EXPECT_TRUE(foreign.isEmpty()) << foreign.join('\n').toStdString();
  combination->IB_CloseClick();
}

// The key-combination dialog and the macro page's dialogs: the same picture,
// title, text box and picture buttons; Enter confirms and Esc closes.
TEST(SkinLook, TheSmallDialogsAreOneDialog) {
  WindowRig rig;
  rig.Connect();
  TForm2* combination = OpenCombination(rig);
  ASSERT_NE(combination, nullptr);
  MacroNameDialog name(rig.window, QStringLiteral("Macro1"));
  EXPECT_EQ(name.size(), combination->size());
  for (const auto& [ours, theirs] : {std::pair{"Btn_Confirm", "IB_Confirm"},
                                     {"Btn_Clear", "IB_Cancel"},
                                     {"Btn_Close", "IB_Close"}}) {
    auto* mine = name.findChild<SkinLabel*>(QLatin1String(ours));
    auto* other = combination->findChild<SkinLabel*>(QLatin1String(theirs));
    ASSERT_TRUE(mine != nullptr && other != nullptr) << ours;
    EXPECT_EQ(mine->size(), other->size()) << ours;
    EXPECT_EQ(mine->geometry(), other->geometry()) << ours;
  }
  combination->IB_CloseClick();

  // Pointer over Confirm: its picture lights.
  auto* confirm = name.findChild<SkinLabel*>(QStringLiteral("Btn_Confirm"));
  auto* picture = name.findChild<PictureLabel*>(QStringLiteral("Img_Confirm"));
  ASSERT_TRUE(confirm != nullptr && picture != nullptr);
  const QImage resting = picture->Picture().toImage();
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QCoreApplication::sendEvent(confirm, &enter);
  EXPECT_NE(picture->Picture().toImage(), resting);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(confirm, &leave);
  EXPECT_EQ(picture->Picture().toImage(), resting);

  // The keyboard: Enter confirms what was typed, Esc closes.
  name.show();
  QTest::keyClicks(name.Edit(), QStringLiteral("2"));
  QTest::keyClick(name.Edit(), Qt::Key_Return);
  EXPECT_EQ(name.result(), QDialog::Accepted);
  EXPECT_EQ(name.Name(), QStringLiteral("2"));  // typed over the selected name
  MacroNameDialog other(rig.window, QStringLiteral("Macro1"));
  other.show();
  QTest::keyClick(other.Edit(), Qt::Key_Escape);
  EXPECT_EQ(other.result(), QDialog::Rejected);
  EXPECT_FALSE(other.isVisible());
}

}  // namespace
}  // namespace vrdk::shell
