// The breathing-light page (gbPage3) as a user meets it, over the shipped
// "MCULED" mouse: effects and their enable boxes, step time, colours, the
// strip, the profiles' colours and the LED type, asserted on the simulated
// mouse's transcript.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>

#include "image/checksum.h"
#include "settings/led_editor.h"
#include "shell/loading_window.h"
#include "shell/pages/page_controls.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LightPageTest : public ::testing::Test {
 protected:
  LightPageTest() {
    rig.Connect();
    rig.Click(QStringLiteral("Btn_Breath_1"));
    rig.Mouse().ClearTranscript();
  }
  std::vector<std::string> Sent() const { return rig.Sent(); }
  QString Caption(const QString& name) { return rig.Find<QLabel>(name)->text(); }

  WindowRig rig;
};

TEST_F(LightPageTest, ShowsTheStripsEffectsAndItsOwnControls) {
  ASSERT_TRUE(rig.Shown(QStringLiteral("gbPage3")));
  EXPECT_EQ(rig.Find<QComboBox>(QStringLiteral("cb_LEDMode_3"))->currentIndex(), 3);
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED1")), QStringLiteral("CPI Breath"));
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED7")), QStringLiteral("Off"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Mode6_3"), QStringLiteral("CbS_E")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("cb_MCULEDCtrl_3")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("slider_MCULEDStep")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("cb_LEDNum_3")));  // "NT" only
  EXPECT_TRUE(rig.Shown(QStringLiteral("cs_Col10")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("cb_BtnEFT_3")));  // the brand offers no button flash
  EXPECT_THAT(rig.window.SkinErrors(), IsEmpty());
  // In language 2 the effects are named in Chinese.
  rig.Click(QStringLiteral("Btn_Lang2_3"));
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED1")), QStringLiteral("CPI 顏色呼吸"));
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED7")), QStringLiteral("關燈"));
}

TEST_F(LightPageTest, DisablingTheEffectInUseMovesToTheFirstEnabledOne) {
  const int in_use = rig.session.Pages().led.effect_item;
  ASSERT_GT(in_use, 0);
  rig.Click(QStringLiteral("cb_Mode%1_3").arg(in_use));
  // Byte 42 loses the effect's bit (item i is bit i + 1), then the first
  // effect, "CPI Breath", is the one in use.
  const int bits = 0xFE & ~(1 << (in_use + 1));
  char enable[40];
  std::snprintf(enable, sizeof enable, "> 40 05 00 2A %02X 00 00 01", bits);
  EXPECT_THAT(Sent(), ElementsAre(enable, "> 40 05 00 A5 81 00 00 01"));
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED%1").arg(in_use + 1)), QStringLiteral("------"));
  EXPECT_FALSE(rig.Find(QStringLiteral("lbl_LED%1").arg(in_use + 1))->isEnabled());
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_LED1"), QStringLiteral("RdS_E")));
  // A disabled effect cannot be chosen; enabling it again offers it again.
  rig.Mouse().ClearTranscript();
  rig.window.PageOfGroup(3)->ShowState();
  rig.Click(QStringLiteral("cb_Mode%1_3").arg(in_use));
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED%1").arg(in_use + 1)),
            QString::fromStdString(rig.session.Pages().led.effect_list[in_use]));
  EXPECT_NE(Caption(QStringLiteral("lbl_LED%1").arg(in_use + 1)), QStringLiteral("------"));
}

TEST_F(LightPageTest, WithEveryEffectDisabledNoneIsMarkedInUse) {
  const int count = static_cast<int>(settings::Effects(rig.session.Pages().led_type).size());
  for (int item = 0; item < count; ++item) {
    if (rig.session.Pages().led.effect_enabled[static_cast<std::size_t>(item)])
      rig.Click(QStringLiteral("cb_Mode%1_3").arg(item));
  }
  for (int n = 1; n <= count; ++n) {
    EXPECT_EQ(Caption(QStringLiteral("lbl_LED%1").arg(n)), QStringLiteral("------"));
    EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_LED%1").arg(n), QStringLiteral("RdS_D"))) << n;
  }
}

TEST_F(LightPageTest, ChoosingAnEffectWritesItsMode) {
  rig.Click(QStringLiteral("lbl_LED2"));  // "Colorful Light": mode 2
  EXPECT_THAT(Sent(), ElementsAre("> 40 05 00 A5 82 00 00 01"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_LED2"), QStringLiteral("RdS_E")));
  // With the lights off the step time has no meaning.
  rig.Click(QStringLiteral("lbl_LED7"));
  EXPECT_FALSE(rig.Find(QStringLiteral("Img_Fall1"))->isEnabled());
}

TEST_F(LightPageTest, StepTimeFromTheBarOrTheBox) {
  rig.Click(QStringLiteral("Img_Fall4"));
  EXPECT_THAT(Sent(), ElementsAre("> 40 05 00 38 14 00 00 01"));  // 20 ms
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("edt_StepTime_3"))->text(), QStringLiteral("20"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Fall4"), QStringLiteral("Bar1_E")));
  auto* box = rig.Find<QLineEdit>(QStringLiteral("edt_StepTime_3"));
  rig.TypeInto(QStringLiteral("edt_StepTime_3"), QStringLiteral("300"));
  EXPECT_EQ(box->text(), QStringLiteral("300"));  // as typed until the box is left
  EXPECT_EQ(rig.Mouse().Live()[56], 20);
  rig.Enter(QStringLiteral("edt_StepTime_3"));
  EXPECT_EQ(box->text(), QStringLiteral("255"));
  EXPECT_EQ(rig.Mouse().Live()[56], 255);
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Fall10"), QStringLiteral("Bar1_E")));
}

TEST_F(LightPageTest, BreathingBoundsGoToTheMouseAsTwoBytes) {
  auto* upper = rig.Find<QLineEdit>(QStringLiteral("edt_UpperTime_3"));
  rig.TypeInto(QStringLiteral("edt_UpperTime_3"), QStringLiteral("70000"));
  rig.Enter(QStringLiteral("edt_UpperTime_3"));
  EXPECT_EQ(upper->text(), QStringLiteral("65535"));
  EXPECT_THAT(Sent(), Contains("> 40 05 00 36 FF FF 00 02"));
  auto* lower = rig.Find<QLineEdit>(QStringLiteral("edt_LowerTime_3"));
  rig.TypeInto(QStringLiteral("edt_LowerTime_3"), QStringLiteral("5000"));
  rig.Enter(QStringLiteral("edt_LowerTime_3"));
  EXPECT_EQ(lower->text(), QStringLiteral("4094"));
  EXPECT_EQ(Sent().back(), "> 40 05 00 34 0F FE 00 02");
}

TEST_F(LightPageTest, AnEffectColourFromTheColourDialog) {
  rig.dialogs->colour_answer = QColor(1, 2, 3);
  rig.Click(QStringLiteral("lbl_Col3"));
  EXPECT_EQ(Sent().back(), "> 40 05 00 3F 01 02 03 03");  // 57 + 6
  EXPECT_EQ(rig.Find<ColourSwatch>(QStringLiteral("cs_Col3"))->Colour(), QColor(1, 2, 3));
}

TEST_F(LightPageTest, TheStripsStepFromItsBarOrItsSlider) {
  rig.Click(QStringLiteral("Img_MCULEDStep_5"));
  EXPECT_THAT(Sent(), Contains("> 40 01 07 C4 04 00 00 00"));
  EXPECT_EQ(rig.Mouse().Memory()[1008 + 8], 4);
  rig.Mouse().ClearTranscript();
  // A press on the slider over the eighth step chooses that step.
  auto* slider = rig.Find<StepSlider>(QStringLiteral("slider_MCULEDStep"));
  const QPoint eighth = slider->mapFromGlobal(
      rig.Find(QStringLiteral("Img_MCULEDStep_8"))->mapToGlobal(QPoint(9, 7)));
  QTest::mouseClick(slider, Qt::LeftButton, {}, eighth);
  EXPECT_THAT(Sent(), Contains("> 40 01 07 C4 07 00 00 00"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_MCULEDStep_8"), QStringLiteral("Bar1_E")));
}

TEST_F(LightPageTest, AProfilesColourRewritesItsSwitchKeysAndTheProfiles) {
  auto* list = rig.Find<QComboBox>(QStringLiteral("cb_Profile1Color_3"));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_End);  // the user's own colour
  EXPECT_EQ(rig.session.Keys().profile_colour_items[0], 10);
  EXPECT_GE(rig.CountSent("> 40 07 00 C0"), 1);  // the profiles at 192
}

TEST_F(LightPageTest, ATypeChangeIsAskedAndThenCoversThePageUntilTheMouseIsBack) {
  auto* type = rig.Find<QComboBox>(QStringLiteral("cb_LEDMode_3"));
  type->setFocus();
  QTest::keyClick(type, Qt::Key_Home);  // "RGB LED", refused
  ASSERT_EQ(rig.dialogs->questions.size(), 1);
  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_EQ(type->currentIndex(), 3);
  rig.dialogs->confirm_answer = true;
  bool covered = false;
  rig.clock.on_pump = [&] {
    covered = rig.window.LoadingWindow()->isVisible() && rig.session.Busy();
  };
  QTest::keyClick(type, Qt::Key_Home);
  EXPECT_TRUE(covered);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);  // the restart
  EXPECT_EQ(rig.session.Pages().led_type, image::LedType::kRGB);
  EXPECT_EQ(rig.Mouse().Memory()[165] >> 6, 0);  // "RGB" in User byte 1
  // Back from the restart the RGB effects are shown.
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED6")), QStringLiteral("CPI Breath"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("lbl_LED7")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("cb_MCULEDCtrl_3")));
}

TEST_F(LightPageTest, SyncLedsShowNoColoursOnEitherPage) {
  rig.dialogs->confirm_answer = true;
  auto* type = rig.Find<QComboBox>(QStringLiteral("cb_LEDMode_3"));
  type->setFocus();
  QTest::keyClick(type, Qt::Key_Home);
  QTest::keyClick(type, Qt::Key_Down);  // "Sync LED"
  ASSERT_EQ(rig.session.Pages().led_type, image::LedType::kSync);
  rig.Click(QStringLiteral("Btn_Breath_1"));
  EXPECT_EQ(Caption(QStringLiteral("lbl_LED3")), QStringLiteral("Sync No-breath"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("lbl_LED4")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("cs_Col1")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("cb_Profile1Color_3")));
  // The two panels say why they are empty.
  for (const char* note : {"lbl_SyncColourNote_3", "lbl_SyncProfileNote_3", "lbl_StripUnused_3"})
    EXPECT_TRUE(rig.Shown(QLatin1String(note))) << note;
  EXPECT_TRUE(Caption(QStringLiteral("lbl_SyncColourNote_3")).startsWith("A Sync light"));
  rig.Click(QStringLiteral("Btn_Adv_3"));
  EXPECT_FALSE(rig.Shown(QStringLiteral("lbl_DPI1Col")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("lbl_DPI1")));
}

TEST_F(LightPageTest, NothingIsSentOrAskedWhileLoading) {
  rig.session.Conn().loading = true;
  rig.Click(QStringLiteral("lbl_LED2"));
  rig.Click(QStringLiteral("Img_Fall3"));
  rig.Click(QStringLiteral("cb_Mode1_3"));
  rig.Click(QStringLiteral("Img_MCULEDStep_2"));
  auto* type = rig.Find<QComboBox>(QStringLiteral("cb_LEDMode_3"));
  type->setFocus();
  QTest::keyClick(type, Qt::Key_Home);
  EXPECT_THAT(rig.dialogs->questions, IsEmpty());
  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_EQ(rig.session.Pages().led_type, image::LedType::kMCULED);
}

TEST(LightPageNt, SmartLedsShowTheirCountAndWriteItWithTheEffect) {
  WindowRig rig;
  auto memory = rig.Mouse().Memory();
  memory[165] = 0xF5;  // "NT", 8 LEDs, "CPI Breath"
  image::WriteSectionChecksum(std::span(memory).subspan(164, 28));
  rig.Mouse().SetMemory(memory);
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Breath_1"));
  ASSERT_EQ(rig.session.Pages().led_type, image::LedType::kNT);
  auto* count = rig.Find<QComboBox>(QStringLiteral("cb_LEDNum_3"));
  EXPECT_TRUE(rig.Shown(QStringLiteral("cb_LEDNum_3")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("cb_MCULEDCtrl_3")));
  EXPECT_EQ(count->currentText(), QStringLiteral("8"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_LED5"))->text(), QStringLiteral("CPI Breath"));
  rig.Mouse().ClearTranscript();
  count->setFocus();
  // One LED would read back as an MCU LED strip: refused with its reason.
  QTest::keyClick(count, Qt::Key_Home);
  EXPECT_THAT(rig.Sent(), IsEmpty());
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(rig.dialogs->messages.front().contains(QStringLiteral("2 to 8 LEDs")));
  EXPECT_EQ(count->currentText(), QStringLiteral("8"));
  // Three LEDs, then another effect: the count stays three.
  count->setCurrentIndex(2);
  emit count->activated(2);
  rig.Settle();
  rig.dialogs->messages.clear();
  EXPECT_EQ(count->currentText(), QStringLiteral("3"));
  rig.Click(QStringLiteral("lbl_LED2"));  // "Random"
  EXPECT_THAT(rig.Sent(), ElementsAre("> 40 05 00 A5 A5 00 00 01", "> 40 05 00 A5 A1 00 00 01"));
  EXPECT_EQ(rig.Mouse().Memory()[165], 0xA1);
  EXPECT_THAT(rig.dialogs->messages, IsEmpty());
}

TEST(LightPageFlash, TheStripRowGivesWayToItsReasonAndSendsNothing) {
  WindowRig rig({}, LoadBrandOptions().options, MemoryType::kFlash);
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Breath_1"));
  ASSERT_EQ(rig.session.Pages().led_type, image::LedType::kMCULED);
  for (const char* name : {"Img_MCULEDStep_1", "slider_MCULEDStep", "cb_MCULEDCtrl_3",
                           "cb_MCULEDNum_3", "lbl_Caption_Scan"}) {
    EXPECT_FALSE(rig.Shown(QString::fromLatin1(name))) << name;
  }
  ASSERT_TRUE(rig.Shown(QStringLiteral("lbl_StripNote_3")));
  EXPECT_TRUE(rig.Find<QLabel>(QStringLiteral("lbl_StripNote_3"))
                  ->text()
                  .contains(QStringLiteral("Flash")));
  // The editor refuses too, and the page keeps what it showed.
  const LedState before = rig.session.Pages().led;
  rig.Mouse().ClearTranscript();
  EXPECT_FALSE(settings::LedEditor(rig.session).SetMcuLedStep(3 - 1));
  EXPECT_THAT(rig.Sent(), IsEmpty());
  EXPECT_EQ(rig.session.Pages().led.mcu_step_item, before.mcu_step_item);
}

TEST(LightPageFlash, ButtonFlashIsOfferedWhereTheBrandSaysSo) {
  BrandOptions brand = LoadBrandOptions().options;
  brand.button_effect = true;
  WindowRig rig({}, brand);
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Breath_1"));
  ASSERT_TRUE(rig.Shown(QStringLiteral("cb_BtnEFT_3")));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("cb_BtnEFT_3"))->text(),
            QStringLiteral("Button Effect Switch"));
  rig.Mouse().ClearTranscript();
  rig.Click(QStringLiteral("cb_BtnEFT_3"));
  EXPECT_THAT(rig.Sent(), ElementsAre("> 40 05 00 A7 01 00 00 01"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_BtnEFT_3"), QStringLiteral("CbS_E")));
}

}  // namespace
}  // namespace vrdk::shell
