// The key page as a user meets it: keys, the cascading menus, the
// key-combination dialog and the mouse's macros, each assignment asserted on
// the simulated mouse's transcript and memory.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

#include "macros/editors/device_macros.h"
#include "shell/pages/key_page.h"
#include "shell/skin_widgets.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using ::testing::ElementsAre;

constexpr int kProfile2 = 241;  // the Profile2 section of an "I2C" mouse
constexpr int kProfile3 = 290;

class KeyPageTest : public ::testing::Test {
 protected:
  KeyPageTest() { rig.Connect(); }

  // A mode page, then the transcript forgotten.
  void ShowModePage(const char* stem) {
    rig.Click(QStringLiteral("Btn_%1_1").arg(QLatin1String(stem)));
    rig.Mouse().ClearTranscript();
  }
  void Hover(const QString& name) {
    QWidget* widget = rig.Find(name);
    QTest::mouseMove(widget);
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QCoreApplication::sendEvent(widget, &enter);
  }
  // Click key n, hover the categories, click the entry.
  void Choose(int key, std::initializer_list<const char*> categories, const char* entry) {
    rig.Click(QStringLiteral("Key%1").arg(key));
    for (const char* category : categories) Hover(QLatin1String(category));
    rig.Click(QLatin1String(entry));
  }
  QString Caption(int key) { return rig.Find<QLabel>(QStringLiteral("Key%1").arg(key))->text(); }
  std::string MemoryHex(std::size_t at) {
    const auto memory = rig.Mouse().Memory();
    return testing::Hex(std::span(memory).subspan(at, 4));
  }
  QRect Geometry(const QString& name) { return rig.Find(name)->geometry(); }
  KeyPage* Page() { return qobject_cast<KeyPage*>(rig.window.PageOfGroup(1)); }

  WindowRig rig;
};

TEST_F(KeyPageTest, AGestureOptionSwitchesItsGestureAndItsPictureFollowsTheMouse) {
  ShowModePage("Main");
  // "Press 'Middle Key' 3s Switch Office/Gaming Mode": the middle button of
  // profile 1 (key 7) gets bit 0x08 and slot 4 the switch to profile 2.
  rig.Click(QStringLiteral("IB_ComboKey2"));
  EXPECT_EQ(MemoryHex(192 + 24), "01 04 00 08");
  EXPECT_EQ(MemoryHex(127 + 12).substr(0, 5), "07 D1");
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey2"), QStringLiteral("CbS_E")));
  // Its picture takes the click too, and a second one switches it off.
  rig.Click(QStringLiteral("Img_ComboKey2"));
  EXPECT_EQ(MemoryHex(192 + 24), "01 04 00 00");
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey2"), QStringLiteral("CbS_D")));
  // After a read the pictures show what the mouse holds.
  rig.Click(QStringLiteral("IB_ComboKey4"));  // DPI + held
  rig.session.ReFindDev();
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey4"), QStringLiteral("CbS_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey2"), QStringLiteral("CbS_D")));
}

TEST_F(KeyPageTest, OptionOneIsTheLightingGestureAndOptionSevenRightWithForward) {
  ShowModePage("Main");
  // The factory image has the lighting gesture on: Back carries bit 0x02.
  ASSERT_EQ(MemoryHex(192 + 16), "01 08 00 02");
  rig.Click(QStringLiteral("IB_ComboKey1"));
  EXPECT_EQ(MemoryHex(192 + 16), "01 08 00 00");
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey1"), QStringLiteral("CbS_D")));
  rig.Click(QStringLiteral("IB_ComboKey1"));
  EXPECT_EQ(MemoryHex(192 + 16), "01 08 00 02");
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey1"), QStringLiteral("CbS_E")));
  // Right + Forward ends the lighting gesture and marks every Forward button.
  rig.Click(QStringLiteral("IB_ComboKey7"));
  EXPECT_EQ(MemoryHex(192 + 4), "01 10 00 02");
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey7"), QStringLiteral("CbS_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_ComboKey1"), QStringLiteral("CbS_D")));
}

TEST_F(KeyPageTest, PlayPauseOnKeyThreeOfSwitchControlIsOneProfileWrite) {
  ShowModePage("Switch");
  rig.Click(QStringLiteral("Key3"));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Pnl_Main")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Key3"), QStringLiteral("KeyS_03")));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Key_Media"))->text(), QStringLiteral(" * Multimedia"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Media")));
  Hover(QStringLiteral("Key_Media"));
  ASSERT_TRUE(rig.Shown(QStringLiteral("Pnl_Media")));
  rig.Click(QStringLiteral("Key_PlayPause"));

  const auto lines = TranscriptLines(rig.Mouse());
  ASSERT_EQ(lines.size(), 1u + 21 + 1 + 4 + 2);
  EXPECT_EQ(lines[0], "> 40 07 00 C0 00 93 00 00");   // 147 bytes at 192
  EXPECT_EQ(rig.CountSent("> 41"), 21);               // 7 bytes each
  EXPECT_EQ(lines[22], "> 40 06 00 A4 00 1C 00 00");  // the User bytes read back
  EXPECT_EQ(rig.CountSent("> 40 05 00 A4"), 2);       // the profile reload
  EXPECT_EQ(MemoryHex(kProfile2 + 8), "03 00 CD 00");
  EXPECT_EQ(Caption(3), QStringLiteral("Play / Pause"));
  EXPECT_EQ(rig.session.Pages().engineer_captions[1][2], "Play / Pause");
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Main")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Media")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Key3"), QStringLiteral("KeyS_01")));
}

TEST_F(KeyPageTest, TheLastLeftClickStaysInProfilesOneAndTwoButNotThree) {
  for (const char* page : {"Main", "Switch"}) {
    ShowModePage(page);
    Choose(1, {"Key_Standard"}, "Key_Right");
    EXPECT_EQ(Caption(1), QStringLiteral("Left Click")) << page;
    EXPECT_EQ(rig.CountSent("> 40 07"), 0) << page;
  }
  ShowModePage("Fixed");
  Choose(1, {"Key_Standard"}, "Key_Right");
  EXPECT_EQ(Caption(1), QStringLiteral("Right Click"));
  EXPECT_EQ(MemoryHex(kProfile3), "01 02 00 00");
}

TEST_F(KeyPageTest, SubmenusOpenByHoverAndCloseTheirSiblings) {
  ShowModePage("Fixed");
  rig.Click(QStringLiteral("Key2"));
  Hover(QStringLiteral("Key_Special"));
  Hover(QStringLiteral("Key_Fire"));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Pnl_FireKey")));
  Hover(QStringLiteral("Key_ProfileKey"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_FireKey")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Pnl_Profile")));
  // Fixed Control offers both other profiles.
  EXPECT_EQ(Geometry(QStringLiteral("Pnl_Profile")).height(), 98);
  EXPECT_TRUE(rig.Shown(QStringLiteral("Key_Profile1")));
  EXPECT_EQ(Geometry(QStringLiteral("Key_Profile2")).y(), 25);
  // The button-effect entry is the brand's; the skin shows power and MAC OS.
  EXPECT_FALSE(rig.Shown(QStringLiteral("Key_BtnEFT")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Key_ACPIKey")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Key_MACOS")));
  EXPECT_EQ(Geometry(QStringLiteral("Pnl_Special")).height(), 242);
  Hover(QStringLiteral("Key_Media"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Special")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Profile")));
  // The page background and a page change close everything.
  QTest::mouseClick(rig.Find(QStringLiteral("Img_P1")), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Main")));
  rig.Click(QStringLiteral("Key2"));
  QTest::keyClick(&rig.window, Qt::Key_Escape);
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Main")));
  rig.Click(QStringLiteral("Key2"));
  rig.Click(QStringLiteral("Btn_Adv_1"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Pnl_Main")));
}

TEST_F(KeyPageTest, ModePagesOfferTheOtherProfiles) {
  ShowModePage("Main");
  Choose(8, {"Key_Special", "Key_ProfileKey"}, "Key_Profile2");
  EXPECT_EQ(Caption(8), QStringLiteral("Profile 2"));
  EXPECT_FALSE(rig.Find(QStringLiteral("Key_Profile1"))
                   ->isVisibleTo(rig.Find(QStringLiteral("Pnl_Profile"))));
  EXPECT_EQ(rig.session.Pages().code_texts.profiles[0][7], "07810000");
  ShowModePage("Switch");
  rig.Click(QStringLiteral("Key8"));
  Hover(QStringLiteral("Key_Special"));
  Hover(QStringLiteral("Key_ProfileKey"));
  EXPECT_EQ(Geometry(QStringLiteral("Pnl_Profile")).height(), 26);
  EXPECT_EQ(Geometry(QStringLiteral("Key_Profile1")).y(), 1);
  EXPECT_FALSE(rig.Find(QStringLiteral("Key_Profile2"))
                   ->isVisibleTo(rig.Find(QStringLiteral("Pnl_Profile"))));
}

// The point a menu opens from: the middle of the key.
QPoint Middle(const QRect& key) { return {key.x() + key.width() / 2, key.y() + key.height() / 2}; }

TEST_F(KeyPageTest, MenusTurnAtEachEdgeOfTheWindow) {
  ShowModePage("Fixed");
  const QRect window = rig.window.rect();
  // Key1 lies on the left: the menu opens to the right and down, and so
  // does its submenu.
  rig.Click(QStringLiteral("Key1"));
  QRect main = Geometry(QStringLiteral("Pnl_Main"));
  EXPECT_EQ(main.topLeft(), Middle(Geometry(QStringLiteral("Key1"))));
  Hover(QStringLiteral("Key_Special"));
  const QRect special_entry = Geometry(QStringLiteral("Key_Special"));
  EXPECT_EQ(Geometry(QStringLiteral("Pnl_Special")).topLeft(),
            main.topLeft() + QPoint(special_entry.right() + 1 + 2, special_entry.y()));

  // Key4 lies at the right edge: the menu's right side is at the key's
  // middle, its submenus flush left of it, and theirs keep going left.
  rig.Click(QStringLiteral("Key4"));
  main = Geometry(QStringLiteral("Pnl_Main"));
  EXPECT_EQ(main.right() + 1, Middle(Geometry(QStringLiteral("Key4"))).x());
  Hover(QStringLiteral("Key_Special"));
  const QRect special = Geometry(QStringLiteral("Pnl_Special"));
  EXPECT_EQ(special.right() + 1, main.x());
  Hover(QStringLiteral("Key_ProfileKey"));
  EXPECT_EQ(Geometry(QStringLiteral("Pnl_Profile")).right() + 1, special.x());

  // A key low in the window: the menu's bottom is at the key's middle, and
  // a submenu that would leave the window ends level with its entry.
  Page()->Key(1)->move(246, window.height() - 40);
  rig.Click(QStringLiteral("Key1"));
  main = Geometry(QStringLiteral("Pnl_Main"));
  EXPECT_EQ(main.bottom() + 1, Middle(Geometry(QStringLiteral("Key1"))).y());
  Hover(QStringLiteral("Key_WWW"));
  const QRect www_entry = Geometry(QStringLiteral("Key_WWW")).translated(main.topLeft());
  const QRect www = Geometry(QStringLiteral("Pnl_WWW"));
  EXPECT_EQ(www.bottom(), www_entry.bottom());
  for (const char* panel : {"Pnl_Main", "Pnl_WWW"}) {
    EXPECT_TRUE(window.contains(Geometry(QLatin1String(panel)))) << panel;
  }
}

TEST_F(KeyPageTest, CtrlWithAAndBFromTheDialogIsCode02010405) {
  ShowModePage("Switch");
  Choose(5, {}, "Key_Assembly");
  TForm2* dialog = Page()->CombinationDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(dialog->frameGeometry().center(), rig.window.frameGeometry().center());
  EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lbl_Assembly"))->text(),
            QStringLiteral("Key Combination"));
  EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("IB_Confirm"))->text(),
            QStringLiteral("Confirm"));
  EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("IB_Cancel"))->text(),
            QStringLiteral("Clear"));
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly"));
  QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("CB_Ctrl")), Qt::LeftButton);
  QTest::keyClick(edit, Qt::Key_A);
  QTest::keyClick(edit, Qt::Key_B);
  EXPECT_EQ(edit->text(), QStringLiteral("Ctrl+A+B"));
  EXPECT_EQ(rig.CountSent("> 40"), 0);
  QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm")), Qt::LeftButton);
  EXPECT_EQ(MemoryHex(kProfile2 + 16), "02 01 04 05");
  EXPECT_EQ(Caption(5), QStringLiteral("Ctrl+A+B"));
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0 00 93"), 1);
}

TEST_F(KeyPageTest, TheDialogStartsOverAtAThirdKeyAndRefusesKeysItCannotStore) {
  ShowModePage("Switch");
  Choose(5, {}, "Key_Assembly");
  TForm2* dialog = Page()->CombinationDialog();
  ASSERT_NE(dialog, nullptr);
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly"));
  QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("CB_Shift")), Qt::LeftButton);
  for (const Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_F5}) QTest::keyClick(edit, key);
  EXPECT_EQ(edit->text(), QStringLiteral("Shift+F5"));
  // Launch keys and keys the tables do not know leave the text alone; so do
  // keys pressed with a modifier held and the Windows key.
  for (const Qt::Key key : {Qt::Key_Launch0, Qt::Key_Dead_Grave, Qt::Key_Meta}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &press);
  }
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Shift);
  EXPECT_EQ(edit->text(), QStringLiteral("Shift+F5"));
  EXPECT_EQ(dialog->Combination().Code(), "02023E00");
  // Tab from its check box; clear empties all; close applies nothing.
  QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("CB_Tab")), Qt::LeftButton);
  EXPECT_EQ(edit->text(), QStringLiteral("Shift+F5+Tab"));
  QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("IB_Cancel")), Qt::LeftButton);
  EXPECT_EQ(edit->text(), QString());
  EXPECT_FALSE(dialog->findChild<QCheckBox*>(QStringLiteral("CB_Shift"))->isChecked());
  QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("IB_Close")), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(rig.CountSent("> 40"), 0);
  EXPECT_EQ(Caption(5), QStringLiteral("Backward"));
}

TEST_F(KeyPageTest, TheDialogDoesNotOpenForTheLastLeftClickButOpensOnFixedControl) {
  ShowModePage("Main");
  Choose(1, {}, "Key_Assembly");
  EXPECT_EQ(Page()->CombinationDialog(), nullptr);
  // Profile 3 has no guard: even its only Left Click may take a combination.
  ShowModePage("Fixed");
  Choose(1, {}, "Key_Assembly");
  TForm2* dialog = Page()->CombinationDialog();
  ASSERT_NE(dialog, nullptr);
  QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("CB_Alt")), Qt::LeftButton);
  QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly")), Qt::Key_A);
  QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm")), Qt::LeftButton);
  EXPECT_EQ(MemoryHex(kProfile3), "02 04 04 00");
  EXPECT_EQ(Caption(1), QStringLiteral("Alt+A"));
}

TEST_F(KeyPageTest, AMacroOfTheMouseIsChosenFromItsList) {
  ShowModePage("Switch");
  rig.Click(QStringLiteral("Key2"));
  Hover(QStringLiteral("Key_Macro"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("LB_Name")));  // the mouse holds none yet
  // No arrow promises a list, and a click says why there is none.
  auto* entry = rig.Find<QLabel>(QStringLiteral("Key_Macro"));
  EXPECT_FALSE(entry->findChild<QLabel*>()->isVisibleTo(entry));
  rig.Click(QStringLiteral("Key_Macro"));
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(rig.dialogs->messages.front().contains(QStringLiteral("no macros")));
  auto* store = macros::FindDeviceMacros(rig.session);
  ASSERT_NE(store, nullptr);
  macros::LibraryRecord record;
  record.name = macros::EncodeMacroName(u"Jump");
  std::fill_n(record.events.begin(), 4, 0xFC);
  ASSERT_TRUE(store->Add(record).ok());
  const auto address = store->Address(0);
  ASSERT_TRUE(address.has_value());
  rig.Mouse().ClearTranscript();

  rig.Click(QStringLiteral("Key2"));
  EXPECT_TRUE(entry->findChild<QLabel*>()->isVisibleTo(entry));
  Hover(QStringLiteral("Key_Macro"));
  auto* list = rig.Find<QListWidget>(QStringLiteral("LB_Name"));
  ASSERT_TRUE(rig.Shown(QStringLiteral("LB_Name")));
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("Jump"));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(0)).center());
  EXPECT_EQ(Caption(2), QStringLiteral("Jump"));
  char code[16];
  std::snprintf(code, sizeof code, "10 %02X %02X 00", *address >> 8, *address & 0xFF);
  EXPECT_EQ(MemoryHex(kProfile2 + 4), code);
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0 00 93"), 1);
  EXPECT_FALSE(rig.Shown(QStringLiteral("LB_Name")));
}

TEST_F(KeyPageTest, NothingReachesTheMouseWhileThePagesAreBeingFilled) {
  ShowModePage("Switch");
  rig.session.Conn().loading = true;
  Choose(3, {"Key_Media"}, "Key_Mute");
  EXPECT_EQ(rig.CountSent("> 40"), 0);
}

TEST_F(KeyPageTest, KeysShowTheHoverLookAndTheFactoryFirePatternsTheirNames) {
  ShowModePage("Switch");
  Hover(QStringLiteral("Key6"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Key6"), QStringLiteral("KeyS_02")));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(rig.Find(QStringLiteral("Key6")), &leave);
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Key6"), QStringLiteral("KeyS_01")));
  EXPECT_EQ(Caption(3), QStringLiteral("Fire Pattern 3"));
  EXPECT_EQ(Caption(6), QStringLiteral("Fire Pattern 2"));
}

TEST_F(KeyPageTest, WhileTheProfilesAreWrittenTheKeysTakeNoClicks) {
  ShowModePage("Switch");
  bool opened_meanwhile = true;
  rig.clock.on_pump = [&] {
    rig.Click(QStringLiteral("Key5"));
    opened_meanwhile = rig.Shown(QStringLiteral("Pnl_Main"));
  };
  Choose(3, {"Key_Media"}, "Key_Stop");
  EXPECT_FALSE(opened_meanwhile);
  EXPECT_EQ(rig.CountSent("> 40 07"), 1);
  EXPECT_EQ(MemoryHex(kProfile2 + 8), "03 00 B7 00");
}

TEST(KeyPageBrand, TheButtonEffectEntryAndItsWriteComeWithTheBrandOption) {
  BrandOptions brand = LoadBrandOptions().options;
  brand.button_effect = true;
  WindowRig rig({}, brand);
  rig.Connect();
  rig.session.Pages().button_effect_item = 1;
  rig.Click(QStringLiteral("Btn_Switch_1"));
  EXPECT_EQ(rig.CountSent("> 40 05 00 A7 01"), 1);  // live 167: the button effect
  rig.Click(QStringLiteral("Key8"));
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QCoreApplication::sendEvent(rig.Find(QStringLiteral("Key_Special")), &enter);
  EXPECT_TRUE(rig.Shown(QStringLiteral("Key_BtnEFT")));
  EXPECT_EQ(rig.Find(QStringLiteral("Pnl_Special"))->height(), 266);
  rig.Mouse().ClearTranscript();
  rig.Click(QStringLiteral("Key_BtnEFT"));
  EXPECT_EQ(rig.session.Pages().code_texts.profiles[1][7], "08010000");
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Key8"))->text(),
            QStringLiteral("Button Effect Switch"));
}

TEST(KeyPageBrand, KeyCaptionsRollWhileHoveredAndComeBackWhenClicked) {
  BrandOptions brand = LoadBrandOptions().options;
  brand.rolling_captions = true;
  WindowRig rig({}, brand);
  rig.Connect();
  auto* key = rig.Find<QLabel>(QStringLiteral("Key4"));
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QCoreApplication::sendEvent(key, &enter);
  rig.window.LabelRunTimer();
  EXPECT_EQ(key->text(), QStringLiteral("ight Click    R"));
  rig.Click(QStringLiteral("Key4"));
  EXPECT_EQ(key->text(), QStringLiteral("Right Click"));
  rig.window.LabelRunTimer();
  EXPECT_EQ(key->text(), QStringLiteral("Right Click"));
}

}  // namespace
}  // namespace vrdk::shell
