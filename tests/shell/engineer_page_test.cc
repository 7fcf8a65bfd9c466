// The engineer page as an engineer meets it: the hidden access (five
// double-clicks and a code, or --engineer), the chip options and USB ids,
// the profile-switch parameters, the key grid and its key-menu hook, and the
// fire-macro scripts. Results are asserted on the simulated mouse.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include "shell/pages/engineer_form.h"
#include "shell/pages/engineer_keys_tab.h"
#include "shell/pages/engineer_page.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using keys::KeyTarget;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kRevealCode = "TarvondQXKPW";
constexpr std::size_t kProfile1 = 192;  // the profile sections in an "I2C" mouse
constexpr std::size_t kProfileSize = 49;

// The fire-macro file lives in the user's data folder: a fresh one per test.
struct DataHome {
  DataHome() { qputenv("XDG_DATA_HOME", folder.path().toUtf8()); }
  ~DataHome() { qunsetenv("XDG_DATA_HOME"); }
  QTemporaryDir folder;
};

std::vector<std::uint8_t> Code(const std::vector<std::uint8_t>& memory, int profile, int button) {
  const auto at =
      static_cast<std::ptrdiff_t>(kProfile1 + kProfileSize * (profile - 1) + 4 * (button - 1));
  return {memory.begin() + at, memory.begin() + at + 4};
}

class EngineerWindow : public ::testing::Test {
 protected:
  explicit EngineerWindow(TForm1::Options options = {}) : rig(std::move(options)) {}
  void SetUp() override {
    rig.Connect();
    rig.window.Btn_Engineer_0Click();
    ASSERT_EQ(rig.window.ShownPageName(), QStringLiteral("gbPage7"));
  }
  void DoubleClickLogo(int times) {
    for (int i = 0; i < times; ++i) {
      QTest::mouseDClick(rig.Find(QStringLiteral("Img_Logo4")), Qt::LeftButton);
    }
  }
  void Reveal() {
    rig.dialogs->password_answer = QString::fromLatin1(kRevealCode);
    DoubleClickLogo(5);
    rig.Mouse().ClearTranscript();
  }
  // The user picks an item with the keyboard, as a click in the list would.
  void Choose(const QString& list, Qt::Key key) {
    auto* combo = rig.Find<QComboBox>(list);
    combo->setFocus();
    QTest::keyClick(combo, key);
  }
  void Type(const QString& edit, const QString& text) { rig.TypeInto(edit, text); }
  QString Caption(const QString& button) { return rig.Find<QPushButton>(button)->text(); }
  EngineerPage* Page() { return qobject_cast<EngineerPage*>(rig.window.PageOfGroup(7)); }
  QTabWidget* Tabs() { return rig.Find<QTabWidget>(QStringLiteral("Pg_Parameter")); }

  DataHome data_home;
  WindowRig rig;
};

TEST_F(EngineerWindow, FourDoubleClicksDoNothingAndOnlyTheSecondCodeReveals) {
  rig.dialogs->password_answer = QStringLiteral("TarvondQ");
  DoubleClickLogo(4);
  EXPECT_EQ(rig.dialogs->password_asked, 0);
  DoubleClickLogo(1);
  EXPECT_EQ(rig.dialogs->password_asked, 1);
  EXPECT_FALSE(Tabs()->isTabVisible(0));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Btn_Default")));
  // The first code unlocks without showing anything ...
  rig.dialogs->password_answer = QStringLiteral("TarvondQX");
  DoubleClickLogo(5);
  EXPECT_TRUE(rig.session.Pages().engineer.unlocked);
  EXPECT_FALSE(Tabs()->isTabVisible(1));
  EXPECT_FALSE(rig.Find(QStringLiteral("cb_LEDMode"))->isEnabled());
  // ... and a double-click while unlocked locks again without asking.
  DoubleClickLogo(1);
  EXPECT_FALSE(rig.session.Pages().engineer.unlocked);
  EXPECT_EQ(rig.dialogs->password_asked, 2);
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());
}

TEST_F(EngineerWindow, CaptionsKeepTheSystemsLanguageWhenTheWindowsChanges) {
  const QString title = Tabs()->tabText(0);
  const QString patch = rig.Find<QPushButton>(QStringLiteral("Btn_PatchCode"))->text();
  EXPECT_EQ(patch, engineer::Term(13));  // "Load Patch Code" in the system's language
  rig.window.Btn_Lang2_0Click();
  EXPECT_EQ(Tabs()->tabText(0), title);
  EXPECT_EQ(rig.Find<QPushButton>(QStringLiteral("Btn_PatchCode"))->text(), patch);
  // The buttons it shares with the other pages follow the window.
  EXPECT_EQ(rig.Find<QPushButton>(QStringLiteral("Btn_Main_6"))->text().toStdString(),
            rig.session.Languages().Table(2).Text("Str004"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Btn_Engineer_6")));
}

TEST_F(EngineerWindow, TheMousesButtonsTickTheTestBoxes) {
  ButtonTests tests;
  tests.dpi_down = true;
  tests.profile = true;
  rig.window.ButtonTestsChanged(tests);
  EXPECT_FALSE(rig.Find<QCheckBox>(QStringLiteral("cb_CPITest"))->isChecked());
  EXPECT_FALSE(rig.Find<QCheckBox>(QStringLiteral("cb_CPIITest"))->isChecked());
  EXPECT_TRUE(rig.Find<QCheckBox>(QStringLiteral("cb_CPIDTest"))->isChecked());
  EXPECT_TRUE(rig.Find<QCheckBox>(QStringLiteral("cb_ProfileTest"))->isChecked());
}

TEST_F(EngineerWindow, OptionListChangeSendsOnlyItsByte) {
  Reveal();
  Choose(QStringLiteral("cb_CPIPrescaleSel"), Qt::Key_End);  // "1.33x": bits 5, 4 clear
  EXPECT_EQ(rig.Find<QComboBox>(QStringLiteral("cb_CPIPrescaleSel"))->currentText(),
            QStringLiteral("1.33x"));
  EXPECT_THAT(TranscriptLines(rig.Mouse()), ElementsAre("> 40 05 00 06 4F 00 00 01"));
  EXPECT_EQ(image::Vendor(rig.session.Data())[6], 0x4F);
  // The LED package decides whether keys 10 .. 12 exist.
  EXPECT_FALSE(rig.Shown(QStringLiteral("btn_Key110")));
  Choose(QStringLiteral("cb_Package"), Qt::Key_End);  // "RGB LED": bit 7 of byte 5
  EXPECT_EQ(rig.CountSent("> 40 05 00 05 9F 00 00 01"), 1);
  EXPECT_TRUE(rig.Shown(QStringLiteral("btn_Key110")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("btn_Key312")));
}

TEST_F(EngineerWindow, UsbIdsGoOutOnlyAtFourHexDigits) {
  Reveal();
  Type(QStringLiteral("edt_VID"), QStringLiteral("1BC"));
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());
  QTest::keyClicks(rig.Find(QStringLiteral("edt_VID")), QStringLiteral("xD"));  // x is no digit
  rig.Settle();
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_VID"))->text(), QStringLiteral("1BCD"));
  EXPECT_THAT(TranscriptLines(rig.Mouse()), ElementsAre("> 40 05 00 00 1B CD 00 02"));
  Type(QStringLiteral("edt_PID"), QStringLiteral("0a1"));
  EXPECT_EQ(rig.CountSent("> 40"), 1);
  Type(QStringLiteral("edt_XOffset3"), QStringLiteral("200"));
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_XOffset3"))->text(), QStringLiteral("200"));
  rig.Enter(QStringLiteral("edt_XOffset3"));
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_XOffset3"))->text(), QStringLiteral("127"));
  EXPECT_EQ(TranscriptLines(rig.Mouse()).back(), "> 40 05 00 AD 7F 00 00 01");
}

TEST_F(EngineerWindow, ProfileSwitchParameterRewritesEveryProfileSwitchButton) {
  EngineerPage* page = Page();
  ASSERT_TRUE(page->AssignMenuEntry(KeyTarget::EngineerButton(1, 3), 2301).ok());
  ASSERT_TRUE(page->AssignMenuEntry(KeyTarget::EngineerButton(3, 5), 2300).ok());
  EXPECT_EQ(Caption(QStringLiteral("btn_Key103")), QStringLiteral("Profile 2"));
  rig.Mouse().ClearTranscript();
  Choose(QStringLiteral("cb_RTZ"), Qt::Key_Down);      // "Enable"
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0 00 93"), 1);  // the three profiles, once
  const auto memory = rig.Mouse().Memory();
  EXPECT_THAT(Code(memory, 1, 3), ElementsAre(0x07, 0xC1, 0x00 | (0x18 >> 8), 0x18));
  EXPECT_EQ(Code(memory, 3, 5)[0], 0x07);
  EXPECT_EQ(Code(memory, 3, 5)[1], 0xC0);  // profile 1, return to zero
  // Another parameter takes the same road; other buttons keep their codes.
  Type(QStringLiteral("edt_OffSet"), QStringLiteral("2A"));
  EXPECT_EQ(Code(rig.Mouse().Memory(), 1, 3)[3], 0x2A);
  EXPECT_EQ(Code(rig.Mouse().Memory(), 3, 5)[3], 0x2A);
  EXPECT_EQ(Code(rig.Mouse().Memory(), 1, 4), Code(memory, 1, 4));
  // The target profile's colour goes into the high nibble of b2.
  rig.Mouse().ClearTranscript();
  Choose(QStringLiteral("cb_Profile2Color"), Qt::Key_Home);
  for (int i = 0; i < 3; ++i) Choose(QStringLiteral("cb_Profile2Color"), Qt::Key_Down);
  EXPECT_EQ(rig.Find<QComboBox>(QStringLiteral("cb_Profile2Color"))->currentIndex(), 3);
  EXPECT_GE(rig.CountSent("> 40 07 00 C0 00 93"), 3);
  EXPECT_EQ(Code(rig.Mouse().Memory(), 1, 3)[2], 0x30);         // "Color 4": nibble 3
  EXPECT_EQ(Code(rig.Mouse().Memory(), 3, 5)[2] & 0xF0, 0x00);  // profile 1 keeps its colour
}

TEST_F(EngineerWindow, KeyButtonAsksTheMenuHookAndTheChoiceIsAssigned) {
  std::vector<std::pair<KeyTarget, QPoint>> asked;
  Page()->SetKeyMenuHook(
      [&asked](const KeyTarget& target, const QPoint& at) { asked.emplace_back(target, at); });
  rig.Click(QStringLiteral("btn_Key205"));
  rig.Click(QStringLiteral("btn_ComboKey004"));
  ASSERT_EQ(asked.size(), 2);
  EXPECT_EQ(asked[0].first.kind, KeyTarget::Kind::kEngineerButton);
  EXPECT_EQ(asked[0].first.profile, 2);
  EXPECT_EQ(asked[0].first.number, 5);
  auto* button = rig.Find<QPushButton>(QStringLiteral("btn_Key205"));
  EXPECT_EQ(asked[0].second, button->mapToGlobal(button->rect().center()));
  EXPECT_EQ(asked[1].first.kind, KeyTarget::Kind::kCombinationSlot);
  EXPECT_EQ(asked[1].first.number, 4);
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());  // asking assigns nothing

  // The menu answers with the leaf chosen: "Right Click" (tag 901).
  Page()->AssignMenuEntry(asked[0].first, 901);
  EXPECT_THAT(Code(rig.Mouse().Memory(), 2, 5), ElementsAre(0x01, 0x02, 0x00, 0x00));
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0 00 93"), 1);
  EXPECT_EQ(Caption(QStringLiteral("btn_Key205")), QStringLiteral("Right Click"));
  // A slot takes the extended profile switch and is also written alone.
  Page()->AssignMenuEntry(asked[1].first, 2301);
  EXPECT_EQ(image::CombinationCode(rig.session.Data(), 3)[0], 0x07);
  EXPECT_EQ(rig.CountSent("> 40 05 01 8B 07"), 1);  // live 123 + 4 x 4, four bytes
  EXPECT_EQ(Caption(QStringLiteral("btn_ComboKey004")), QStringLiteral("Profile 2"));
  // No left-click guard here: the only "Left Click" of profile 1 may go.
  EXPECT_TRUE(Page()->AssignMenuEntry(KeyTarget::EngineerButton(1, 1), 901).ok());
  EXPECT_THAT(Code(rig.Mouse().Memory(), 1, 1), ElementsAre(0x01, 0x02, 0x00, 0x00));
  EXPECT_EQ(rig.session.Pages().names[0][0], "Right Click");
}

TEST_F(EngineerWindow, EveryControlHasANameOfItsOwn) {
  QStringList names;
  QStringList twice;
  for (const QWidget* widget : Page()->findChildren<QWidget*>()) {
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
    if (names.contains(name)) twice.append(name);
    names.append(name);
  }
  EXPECT_THAT(twice, IsEmpty());
  for (const char* name :
       {"cb_ICType", "edt_Avg_lb_lq", "edt_LEDInit1", "edt_USBDesc", "edt_VendorID", "cb_RTZ",
        "cb_GunCom", "cb_CPI8", "edt_CPI8B", "edt_XOffset10", "edt_YOffset10", "LB_ScriptName",
        "LB_Script", "cb_SOSStartIndex", "btn_ChangeXData", "edt_Col10B", "cb_AIM"}) {
    EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
  }
}

TEST_F(EngineerWindow, EngineerTargetsFollowTheButtonNames) {
  for (const char* name : {"btn_Key101", "btn_Key112", "btn_Key307", "btn_ComboKey009"}) {
    const auto target = EngineerTargetOfName(QLatin1String(name));
    ASSERT_TRUE(target.has_value()) << name;
    EXPECT_EQ(EngineerButtonName(*target), QLatin1String(name));
    rig.Find(QLatin1String(name));
  }
  for (const char* name : {"btn_Key113", "btn_Key401", "btn_ComboKey010", "btn_Key10"}) {
    EXPECT_FALSE(EngineerTargetOfName(QLatin1String(name)).has_value()) << name;
  }
}

TEST_F(EngineerWindow, ScriptsAreAddedAssignedToAKeyAndDeleted) {
  Reveal();
  Choose(QStringLiteral("cb_SOSColor"), Qt::Key_End);  // "User Color"
  rig.Click(QStringLiteral("btn_AddScript"));
  auto* names = rig.Find<QListWidget>(QStringLiteral("LB_ScriptName"));
  ASSERT_EQ(names->count(), 1);
  EXPECT_EQ(names->item(0)->text(), QStringLiteral("Fire Macro1"));
  QFile file(data_home.folder.filePath(QStringLiteral("vrdk/Fire Macro.bin")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray expected(40, '\0');
  expected[0] = '\x0B';
  expected[1] = '\x8F';
  EXPECT_EQ(file.readAll(), expected);
  file.close();

  // A right click on a key button offers the scripts in LB_Script.
  auto* key = rig.Find(QStringLiteral("btn_Key107"));
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), key->mapToGlobal(QPoint(4, 4)));
  QCoreApplication::sendEvent(key, &menu);
  auto* scripts = rig.Find<QListWidget>(QStringLiteral("LB_Script"));
  ASSERT_TRUE(scripts->isVisible());
  ASSERT_EQ(scripts->count(), 1);
  QTest::mouseClick(scripts->viewport(), Qt::LeftButton, {},
                    scripts->visualItemRect(scripts->item(0)).center());
  EXPECT_FALSE(scripts->isVisible());
  EXPECT_THAT(Code(rig.Mouse().Memory(), 1, 7), ElementsAre(0x0B, 0x8F, 0x00, 0x00));
  EXPECT_EQ(Caption(QStringLiteral("btn_Key107")), QStringLiteral("Fire Macro1"));

  // The plain form, then deleting the first renames the second.
  Tabs()->setCurrentWidget(rig.Find(QStringLiteral("ts_Gun")));
  Choose(QStringLiteral("cb_SOSType"), Qt::Key_Home);  // "Disable"
  EXPECT_TRUE(rig.Shown(QStringLiteral("cb_SOSNumber")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("cb_SOSColor")));
  rig.Click(QStringLiteral("btn_AddScript"));
  ASSERT_EQ(names->count(), 2);
  names->setCurrentRow(0);
  rig.Click(QStringLiteral("btn_DelScript"));
  ASSERT_EQ(names->count(), 1);
  EXPECT_EQ(names->item(0)->text(), QStringLiteral("Fire Macro1"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(4), QByteArray("\x0B\x00\x01\x00", 4));
}

TEST_F(EngineerWindow, RegistersAndColoursGoToTheirAddresses) {
  Reveal();
  Type(QStringLiteral("edt_MaxShut"), QStringLiteral("3C"));  // offset 31
  EXPECT_EQ(TranscriptLines(rig.Mouse()).back(), "> 40 05 00 1F 3C 00 00 01");
  Type(QStringLiteral("edt_CPI2G"), QStringLiteral("300"));  // 87 + 3 + 1, at most 255
  rig.Enter(QStringLiteral("edt_CPI2G"));
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_CPI2G"))->text(), QStringLiteral("255"));
  EXPECT_EQ(TranscriptLines(rig.Mouse()).back(), "> 40 05 00 5B FF 00 00 01");
  EXPECT_EQ(image::Vendor(rig.session.Data())[91], 0xFF);
  Type(QStringLiteral("edt_Col3B"), QStringLiteral("17"));  // effect colours from 57
  EXPECT_EQ(TranscriptLines(rig.Mouse()).back(), "> 40 05 00 41 11 00 00 01");
}

TEST_F(EngineerWindow, LightingEffectsAreSwitchedAndChosen) {
  Reveal();
  const std::uint8_t enabled = image::Vendor(rig.session.Data())[42];
  auto* first = rig.Find<QCheckBox>(QStringLiteral("cb_Mode0"));
  Tabs()->setCurrentIndex(0);
  QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(6, first->height() / 2));  // on its box
  EXPECT_NE(image::Vendor(rig.session.Data())[42], enabled);
  EXPECT_EQ(rig.CountSent("> 40 05 00 2A"), 1);  // Vendor byte 42 alone
  EXPECT_EQ(first->isChecked(), (image::Vendor(rig.session.Data())[42] & 0x01) != 0);
  auto* effect = rig.Find<QComboBox>(QStringLiteral("cb_BreMode"));
  ASSERT_GT(effect->count(), 1);
  rig.Mouse().ClearTranscript();
  Choose(QStringLiteral("cb_BreMode"), Qt::Key_End);
  EXPECT_EQ(rig.CountSent("> 40 05 00 A5"), 1);  // User byte 1 at live 165
}

TEST_F(EngineerWindow, FireKeyPresetRewritesItsButtonsAndTheFireSection) {
  Reveal();
  ASSERT_EQ(Code(rig.Mouse().Memory(), 1, 3)[0], 0x06);  // "Fire Button 1" in the default image
  Choose(QStringLiteral("cb_Fire1Count"), Qt::Key_End);  // 15 shots
  Type(QStringLiteral("edt_Fire1Time"), QStringLiteral("5000"));
  // Shown as typed; the limit when the box is left.
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_Fire1Time"))->text(), QStringLiteral("5000"));
  rig.Enter(QStringLiteral("edt_Fire1Time"));
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_Fire1Time"))->text(), QStringLiteral("4094"));
  const auto code = Code(rig.Mouse().Memory(), 1, 3);
  EXPECT_EQ(code[1] & 0x7F, 15 + 0x0F);
  EXPECT_EQ(code[2] << 8 | code[3], 4094);
  EXPECT_GE(rig.CountSent("> 40 07 01 E4 00 0C"), 1);  // the Fire section at 484
  const auto memory = rig.Mouse().Memory();
  EXPECT_THAT(std::vector<std::uint8_t>(memory.begin() + 486, memory.begin() + 489),
              ElementsAre(14, 0x0F, 0xFE));  // count - 1, interval high and low
}

TEST_F(EngineerWindow, DefaultButtonWritesTheWholeImageAndRestarts) {
  Reveal();
  rig.Click(QStringLiteral("Btn_Default"));
  EXPECT_EQ(rig.CountSent("> 40 07 00 00 08 00"), 1);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  rig.Settle();
  // Back on the page, with what the code revealed.
  EXPECT_EQ(rig.window.ShownPageName(), QStringLiteral("gbPage7"));
  EXPECT_TRUE(Tabs()->isTabVisible(0));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Btn_Default")));
}

TEST_F(EngineerWindow, WhileUnlockedTheTitleBarLeadsBackToThePage) {
  EXPECT_FALSE(rig.Find(QStringLiteral("Btn_Engineer_1"))->isVisible());
  Reveal();
  rig.Click(QStringLiteral("Btn_Main_6"));
  ASSERT_EQ(rig.window.ShownPageName(), QStringLiteral("gbPage1"));
  ASSERT_TRUE(rig.Shown(QStringLiteral("Btn_Engineer_1")));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_Engineer_1"))->text(),
            QStringLiteral("Engineer page"));
  // A read of the mouse keeps the way back.
  rig.session.ReFindDev();
  rig.Settle();
  ASSERT_EQ(rig.window.ShownPageName(), QStringLiteral("gbPage1"));
  rig.Click(QStringLiteral("Btn_Engineer_1"));
  EXPECT_EQ(rig.window.ShownPageName(), QStringLiteral("gbPage7"));
  EXPECT_TRUE(Tabs()->isTabVisible(0));
  // Locked again: the button goes.
  DoubleClickLogo(1);
  rig.Click(QStringLiteral("Btn_Main_6"));
  EXPECT_FALSE(rig.Find(QStringLiteral("Btn_Engineer_1"))->isVisible());
}

TEST_F(EngineerWindow, XDataIsWrittenReadBackAndChangedXDataSendsItsThreeWrites) {
  Reveal();
  Type(QStringLiteral("edt_XDataAddr"), QStringLiteral("12A"));
  Type(QStringLiteral("edt_XDataValue"), QStringLiteral("5C"));
  rig.Click(QStringLiteral("btn_XDataWrite"));  // three digits are no address
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());
  Type(QStringLiteral("edt_XDataAddr"), QStringLiteral("12A0"));
  rig.Click(QStringLiteral("btn_XDataWrite"));
  EXPECT_EQ(rig.Mouse().XData(0x12A0), 0x5C);
  Type(QStringLiteral("edt_XDataValue"), QStringLiteral("00"));
  rig.Click(QStringLiteral("btn_XDataRead"));
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_XDataValue"))->text(), QStringLiteral("5C"));
  rig.Mouse().ClearTranscript();
  rig.Click(QStringLiteral("btn_ChangeXData"));
  EXPECT_THAT(TranscriptLines(rig.Mouse()),
              ElementsAre("> 40 01 72 41 01 00 00 00", "> 40 01 72 42 06 00 00 00",
                          "> 40 01 72 43 01 00 00 00"));
}

// vrdk-mouse --engineer: the page opens once the mouse is read, and the code
// is still asked.
class EngineerOption : public ::testing::Test {
 protected:
  static TForm1::Options Engineer() {
    TForm1::Options options;
    options.engineer = true;
    return options;
  }
  DataHome data_home;
  WindowRig rig{Engineer()};
};

TEST_F(EngineerOption, OpensThePageAndAsksForTheCode) {
  rig.dialogs->password_answer = QStringLiteral("wrong");
  QCoreApplication::processEvents();
  EXPECT_EQ(rig.dialogs->password_asked, 0);  // no mouse yet
  rig.Connect();
  QCoreApplication::processEvents();
  EXPECT_EQ(rig.window.ShownPageName(), QStringLiteral("gbPage7"));
  EXPECT_EQ(rig.dialogs->password_asked, 1);
  auto* tabs = rig.Find<QTabWidget>(QStringLiteral("Pg_Parameter"));
  EXPECT_FALSE(tabs->isTabVisible(0));
  EXPECT_FALSE(tabs->isTabVisible(1));
  // Only once: a later read does not ask again.
  rig.session.ReFindDev();
  QCoreApplication::processEvents();
  EXPECT_EQ(rig.dialogs->password_asked, 1);
}

}  // namespace
}  // namespace vrdk::shell

namespace vrdk::shell {
namespace {

// The engineer page's own copy of the key menus, opened by its key buttons:
// Left Click of profile 1 takes a media key, which the main page's guard
// would refuse there.
TEST_F(EngineerWindow, AnEngineerKeyTakesItsFunctionFromTheKeyMenusWithoutTheGuard) {
  Reveal();
  Tabs()->setCurrentIndex(2);
  QTest::mouseClick(rig.Find(QStringLiteral("btn_Key101")), Qt::LeftButton);
  auto* main = Page()->findChild<QWidget*>(QStringLiteral("Pnl_Main"));
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->isVisible());
  EXPECT_EQ(main->height(), 170);
  auto* media = Page()->findChild<QWidget*>(QStringLiteral("Key_Media"));
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QCoreApplication::sendEvent(media, &enter);
  auto* play = Page()->findChild<QWidget*>(QStringLiteral("Key_PlayPause"));
  ASSERT_TRUE(play->isVisible());
  QTest::mouseClick(play, Qt::LeftButton);
  EXPECT_FALSE(main->isVisible());
  EXPECT_THAT(Code(rig.Mouse().Memory(), 1, 1), ElementsAre(0x03, 0x00, 0xCD, 0x00));
  EXPECT_EQ(rig.session.Pages().engineer_captions[0][0], "Play / Pause");
}

}  // namespace
}  // namespace vrdk::shell

namespace vrdk::shell {
namespace {

// What the engineer page shows follows the LED type: the LED count for
// "NT", the strip's lists for "MCULED", and no colour lists for "Sync".
TEST_F(EngineerWindow, TheLightingControlsShownFollowTheLedType) {
  Reveal();
  // Shown on its tab (the tabs not chosen hide their pages as a whole).
  const auto shown = [this](const char* name) {
    return !Page()->findChild<QWidget*>(QLatin1String(name))->isHidden();
  };
  const auto show_type = [this](image::LedType type) {
    rig.session.Pages().led_type = type;
    Page()->ShowState();
  };
  show_type(image::LedType::kMCULED);
  EXPECT_TRUE(shown("cb_MCULEDNum"));
  EXPECT_TRUE(shown("lbl_MCULEDNum"));
  EXPECT_FALSE(shown("cb_LEDNum"));
  EXPECT_TRUE(shown("gbLEDColor"));
  show_type(image::LedType::kNT);
  EXPECT_TRUE(shown("cb_LEDNum"));
  EXPECT_FALSE(shown("cb_MCULEDStep"));
  EXPECT_FALSE(shown("lbl_MCULEDCtrl"));
  show_type(image::LedType::kSync);
  EXPECT_FALSE(shown("gbLEDColor"));
  EXPECT_FALSE(shown("gbCPIColor"));
  EXPECT_FALSE(shown("cb_Profile2Color"));
  EXPECT_FALSE(shown("cb_LEDNum"));
  show_type(image::LedType::kRGB);
  EXPECT_TRUE(shown("gbCPIColor"));
  EXPECT_TRUE(shown("cb_Profile2Color"));
}

}  // namespace
}  // namespace vrdk::shell
