// The window without a pointer: Tab walks every control in reading order,
// the keys press, toggle, move and choose, and every control tells
// assistive tools its role, name and state; each change asserted on the
// simulated mouse.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QAccessible>
#include <QApplication>
#include <QListWidget>

#include "settings/navigation.h"
#include "shell/pages/page_controls.h"
#include "shell/skin_widgets.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using settings::NavPage;

class Keyboard : public ::testing::Test {
 protected:
  Keyboard() {
    rig.Connect();
    rig.window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&rig.window));
  }

  QWidget* Focus() { return QApplication::focusWidget(); }
  QString FocusName() { return Focus() != nullptr ? Focus()->objectName() : QString(); }
  // The panel holding the focus.
  QString FocusPanel() {
    return Focus() != nullptr && Focus()->parentWidget() != nullptr
               ? Focus()->parentWidget()->objectName()
               : QString();
  }
  // A key pressed where the focus is, as the keyboard does.
  void Press(Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QWidget* target = Focus() != nullptr ? Focus() : &rig.window;
    QTest::keyClick(target, key, held);
    rig.Settle();
    KeepActive();
  }
  // The offscreen platform makes the loading window active when it shows,
  // which a desktop does not (it is shown without activation): the main
  // window is made active again, and its focus comes back.
  void KeepActive() {
    if (QApplication::activeWindow() == &rig.window) return;
    rig.window.activateWindow();
    rig.Settle();
  }
  void FocusOn(const QString& name) {
    KeepActive();
    rig.Find(name)->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(FocusName(), name);
  }
  // Tab until the focus is on `name`; false when it never comes.
  bool TabTo(const QString& name, int most = 200) {
    for (int i = 0; i < most && FocusName() != name; ++i) Press(Qt::Key_Tab);
    return FocusName() == name;
  }
  // Down in an open menu until `name` has the focus.
  bool DownTo(const QString& name) {
    for (int i = 0; i < 30 && FocusName() != name; ++i) Press(Qt::Key_Down);
    return FocusName() == name;
  }
  void Show(NavPage page) {
    settings::Navigation(rig.session).Go(page);
    rig.window.RefreshAPPage();
    rig.Settle();
  }
  // One round of Tab from the first navigation button: the names met.
  QStringList TabRound(const QString& first) {
    FocusOn(first);
    QStringList met{first};
    for (int i = 0; i < 300; ++i) {
      Press(Qt::Key_Tab);
      if (FocusName() == first) break;
      met << FocusName();
    }
    return met;
  }

  WindowRig rig;
};

TEST_F(Keyboard, TabWalksTheBarThenThePageInReadingOrderAndShiftTabWalksBack) {
  const QStringList met = TabRound(QStringLiteral("Btn_Main_1"));
  // The navigation bar from the top.
  const QStringList bar = {"Btn_Main_1",   "Btn_Switch_1", "Btn_Fixed_1",  "Btn_Adv_1",
                           "Btn_Breath_1", "Btn_Macro_1",  "Btn_Update_1", "Btn_Save_1",
                           "Btn_Load_1",   "Btn_Lang1_1",  "Btn_Lang2_1",  "Btn_Lang3_1"};
  ASSERT_GE(met.size(), bar.size());
  EXPECT_EQ(met.mid(0, bar.size()), bar);
  // Every control of the page is met once, the keys row by row from the
  // left, the gestures from the top, Reset last.
  for (const char* name : {"Key1", "Key2", "Key3", "Key4", "IB_ComboKey1", "IB_ComboKey7",
                           "Btn_Confirm1_1", "Btn_Exit_1"}) {
    EXPECT_EQ(met.count(QLatin1String(name)), 1) << name;
  }
  // The page in reading order: each next control lies in a lower row, or
  // in the same row further right.
  QWidget* page = rig.window.PageOfGroup(1);
  const auto middle = [&](const QString& name) {
    QWidget* widget = rig.Find(name);
    return widget->mapTo(page, widget->rect().center());
  };
  for (qsizetype i = bar.size() + 1; i < met.size(); ++i) {
    const QPoint before = middle(met[i - 1]);
    const QPoint after = middle(met[i]);
    const bool lower_row = after.y() > before.y() + 10;
    const bool same_row_right = std::abs(after.y() - before.y()) <= 10 && after.x() > before.x();
    EXPECT_TRUE(lower_row || same_row_right)
        << met[i - 1].toStdString() << " then " << met[i].toStdString();
  }
  EXPECT_EQ(met.back(), QStringLiteral("Btn_Confirm1_1"));
  for (const ControlLabel* label : rig.window.PageOfGroup(1)->findChildren<ControlLabel*>()) {
    if (label->Role() == ControlRole::kNone || !label->isVisibleTo(&rig.window) ||
        label->Role() == ControlRole::kMenuItem)
      continue;
    EXPECT_TRUE(met.contains(label->objectName())) << label->objectName().toStdString();
  }
  // Back again.
  Press(Qt::Key_Backtab);
  EXPECT_EQ(FocusName(), met.back());
}

TEST_F(Keyboard, APageTabOpensItsPageAndTheFocusStaysOnTheBar) {
  FocusOn(QStringLiteral("Btn_Adv_1"));
  Press(Qt::Key_Return);
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage2")));
  EXPECT_EQ(FocusName(), QStringLiteral("Btn_Adv_2"));
  // The focus shows as the pointer over it does.
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Adv_2"), QStringLiteral("SetS_02")));
  Press(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), QStringLiteral("Btn_Breath_2"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Adv_2"), QStringLiteral("SetS_03")));
}

TEST_F(Keyboard, TheKeyMenusAssignAFunctionAndEscClosesThem) {
  rig.Click(QStringLiteral("Btn_Switch_1"));
  FocusOn(QStringLiteral("Key3"));
  Press(Qt::Key_Space);
  ASSERT_TRUE(rig.Shown(QStringLiteral("Pnl_Main")));
  EXPECT_EQ(FocusPanel(), QStringLiteral("Pnl_Main"));
  ASSERT_TRUE(DownTo(QStringLiteral("Key_Media")));
  Press(Qt::Key_Right);
  ASSERT_TRUE(rig.Shown(QStringLiteral("Pnl_Media")));
  EXPECT_EQ(FocusPanel(), QStringLiteral("Pnl_Media"));
  // Left comes back out, Right goes in again.
  Press(Qt::Key_Left);
  EXPECT_EQ(FocusName(), QStringLiteral("Key_Media"));
  Press(Qt::Key_Right);
  rig.Mouse().ClearTranscript();
  ASSERT_TRUE(DownTo(QStringLiteral("Key_PlayPause")));
  Press(Qt::Key_Return);
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Key3"))->text(), QStringLiteral("Play / Pause"));
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0"), 1);  // the profile written
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Main")));
  EXPECT_EQ(FocusName(), QStringLiteral("Key3"));

  // Esc: out of a submenu, then the menu closed, nothing sent.
  rig.Mouse().ClearTranscript();
  Press(Qt::Key_Return);
  ASSERT_TRUE(DownTo(QStringLiteral("Key_Media")));
  Press(Qt::Key_Return);  // Enter on a category goes in too
  EXPECT_EQ(FocusPanel(), QStringLiteral("Pnl_Media"));
  Press(Qt::Key_Escape);
  EXPECT_EQ(FocusName(), QStringLiteral("Key_Media"));
  Press(Qt::Key_Escape);
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Main")));
  EXPECT_EQ(FocusName(), QStringLiteral("Key3"));
  EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(Keyboard, TheArrowsMoveTheRowsAndSpaceChoosesOnTheAdvancedPage) {
  Show(NavPage::kAdvanced);
  DpiState& dpi = rig.session.Pages().dpi;
  const int first = dpi.values[0];
  FocusOn(QStringLiteral("slider_DPI1"));
  Press(Qt::Key_Right);
  EXPECT_EQ(dpi.values[0], first + 1);
  Press(Qt::Key_End);
  EXPECT_EQ(dpi.values[0], DpiState::kValues - 1);
  EXPECT_EQ(rig.Find<StepSlider>(QStringLiteral("slider_DPI1"))->CurrentStep(), DpiState::kValues);
  Press(Qt::Key_Right);  // at the end already: nothing more
  EXPECT_EQ(dpi.values[0], DpiState::kValues - 1);

  // The AIM row from the keyboard, as a click on its step: without an AIM
  // key the mouse is left alone and the user told why.
  rig.Mouse().ClearTranscript();
  FocusOn(QStringLiteral("slider_AIMDPI"));
  Press(Qt::Key_Right);
  EXPECT_EQ(rig.dialogs->messages, QStringList{QStringLiteral("Please select a AIM Key")});
  EXPECT_TRUE(rig.Sent().empty());

  FocusOn(QStringLiteral("lbl_Rep2"));
  Press(Qt::Key_Space);
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Rep2"), QStringLiteral("RdS_E")));
  EXPECT_TRUE(rig.Find<SkinLabel>(QStringLiteral("lbl_Rep2"))->Checked());
  EXPECT_FALSE(rig.Find<SkinLabel>(QStringLiteral("lbl_Rep4"))->Checked());

  const bool keep = rig.session.Keys().fire[0].keep_firing;
  FocusOn(QStringLiteral("lbl_Fire1Continue"));
  Press(Qt::Key_Space);
  EXPECT_EQ(rig.session.Keys().fire[0].keep_firing, !keep);

  // The current level: its option picture, from the keyboard too.
  FocusOn(QStringLiteral("Img_DPI1"));
  Press(Qt::Key_Space);
  EXPECT_EQ(dpi.current, 0);
  EXPECT_TRUE(rig.Find<PictureLabel>(QStringLiteral("Img_DPI1"))->Checked());
}

TEST_F(Keyboard, TheLightPagesEffectsAndStripFromTheKeyboard) {
  Show(NavPage::kBreathingLight);
  const LedState& led = rig.session.Pages().led;
  int other = led.effect_item == 1 ? 2 : 1;
  if (!led.effect_enabled[static_cast<std::size_t>(other)]) other = led.effect_item == 0 ? 2 : 0;
  ASSERT_TRUE(led.effect_enabled[static_cast<std::size_t>(other)]);
  FocusOn(QStringLiteral("lbl_LED%1").arg(other + 1));
  Press(Qt::Key_Space);
  EXPECT_EQ(led.effect_item, other);
  EXPECT_TRUE(rig.Find<SkinLabel>(QStringLiteral("lbl_LED%1").arg(other + 1))->Checked());

  const int step = led.mcu_step_item;
  FocusOn(QStringLiteral("slider_MCULEDStep"));
  Press(step > 0 ? Qt::Key_Left : Qt::Key_Right);
  EXPECT_EQ(led.mcu_step_item, step > 0 ? step - 1 : step + 1);
}

TEST_F(Keyboard, TheMenuKeyOpensAMacroListsPanelAndEscGivesTheFocusBack) {
  Show(NavPage::kMacro);
  FocusOn(QStringLiteral("LB_PCMacroName"));
  Press(Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(rig.Shown(QStringLiteral("Pnl_PCMacro")));
  EXPECT_EQ(FocusName(), QStringLiteral("Btn_NewMacro"));
  Press(Qt::Key_Down);
  EXPECT_EQ(FocusName(), QStringLiteral("Btn_NewName"));
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);  // round to the last entry
  EXPECT_EQ(FocusName(), QStringLiteral("Btn_Export"));
  Press(Qt::Key_Escape);
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_PCMacro")));
  EXPECT_EQ(FocusName(), QStringLiteral("LB_PCMacroName"));
}

// --- Assistive tools ------------------------------------------------------------------------

// Every interface under `top`, depth first.
void Walk(QAccessibleInterface* top, QList<QAccessibleInterface*>& all) {
  if (top == nullptr) return;
  all.append(top);
  for (int i = 0; i < top->childCount(); ++i) Walk(top->child(i), all);
}

QAccessibleInterface* Named(const QList<QAccessibleInterface*>& all, const QString& name) {
  for (QAccessibleInterface* each : all) {
    if (each->object() != nullptr && each->object()->objectName() == name) return each;
  }
  return nullptr;
}

TEST_F(Keyboard, EveryControlTellsItsRoleNameAndStateAndDecorationIsLeftOut) {
  const QAccessible::Role kControls[] = {
      QAccessible::Button,       QAccessible::CheckBox, QAccessible::RadioButton,
      QAccessible::PageTab,      QAccessible::Slider,   QAccessible::ComboBox,
      QAccessible::EditableText, QAccessible::List,     QAccessible::PageTabList,
      QAccessible::MenuItem,     QAccessible::SpinBox,  QAccessible::Table};
  for (const NavPage page : {NavPage::kMain, NavPage::kAdvanced, NavPage::kBreathingLight,
                             NavPage::kMacro, NavPage::kUpdate}) {
    Show(page);
    QList<QAccessibleInterface*> all;
    Walk(QAccessible::queryAccessibleInterface(&rig.window), all);
    for (QAccessibleInterface* each : all) {
      auto* widget = qobject_cast<QWidget*>(each->object());
      if (widget == nullptr) continue;  // a list's rows, a table's cells
      const std::string name = widget->objectName().toStdString();
      if (const auto* picture = qobject_cast<PictureLabel*>(widget)) {
        EXPECT_NE(picture->Role(), ControlRole::kNone) << name << " decorates only";
      }
      if (!widget->isVisibleTo(&rig.window) || !(widget->focusPolicy() & Qt::TabFocus)) continue;
      EXPECT_FALSE(each->text(QAccessible::Name).isEmpty()) << name << " has no name";
      EXPECT_TRUE(std::find(std::begin(kControls), std::end(kControls), each->role()) !=
                  std::end(kControls))
          << name << " role " << each->role();
    }
  }
  // The main page: the chosen page tab, a gesture's state and its action.
  Show(NavPage::kMain);
  QList<QAccessibleInterface*> all;
  Walk(QAccessible::queryAccessibleInterface(&rig.window), all);
  QAccessibleInterface* tab = Named(all, QStringLiteral("Btn_Main_1"));
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->role(), QAccessible::PageTab);
  EXPECT_TRUE(tab->state().selected);
  EXPECT_FALSE(Named(all, QStringLiteral("Btn_Adv_1"))->state().selected);
  QAccessibleInterface* gesture = Named(all, QStringLiteral("IB_ComboKey2"));
  ASSERT_NE(gesture, nullptr);
  EXPECT_EQ(gesture->role(), QAccessible::CheckBox);
  const bool was = gesture->state().checked;
  QAccessibleActionInterface* action = gesture->actionInterface();
  ASSERT_NE(action, nullptr);
  ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  action->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_NE(gesture->state().checked, was);
  EXPECT_EQ(Named(all, QStringLiteral("Btn_Exit_1"))->text(QAccessible::Name),
            QStringLiteral("Close"));

  // A slider tells its step; an assistive tool may set it.
  Show(NavPage::kAdvanced);
  all.clear();
  Walk(QAccessible::queryAccessibleInterface(&rig.window), all);
  QAccessibleInterface* slider = Named(all, QStringLiteral("slider_DPI2"));
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->role(), QAccessible::Slider);
  QAccessibleValueInterface* value = slider->valueInterface();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->currentValue().toInt(), rig.session.Pages().dpi.values[1] + 1);
  value->setCurrentValue(5);
  EXPECT_EQ(rig.session.Pages().dpi.values[1], 4);

  // Names follow the window's language.
  rig.Click(QStringLiteral("Btn_Lang2_2"));
  EXPECT_EQ(Named(all, QStringLiteral("Btn_Adv_2"))->text(QAccessible::Name),
            QString::fromStdString(rig.session.Language().Text("Str007")));
  EXPECT_EQ(Named(all, QStringLiteral("Btn_Exit_2"))->text(QAccessible::Name),
            QStringLiteral("關閉"));
}

}  // namespace
}  // namespace vrdk::shell
