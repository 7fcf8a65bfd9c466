// The advanced page (gbPage2) as a user meets it: DPI levels, their values,
// colours and sliders, the polling rate, the fire keys, the AIM row and the
// system pointer settings. Results are asserted on the simulated mouse's
// transcript and memory, and on the in-memory pointer platform.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "shell/pages/page_controls.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Hex(const std::vector<std::uint8_t>& memory, std::size_t at, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", memory[at + i]);
    text += byte;
  }
  return text;
}

class AdvancedPage : public ::testing::Test {
 protected:
  AdvancedPage() {
    rig.Connect();
    rig.Click(QStringLiteral("Btn_Adv_1"));
    rig.Mouse().ClearTranscript();
  }
  std::vector<std::string> Sent() const { return rig.Sent(); }
  // Replaces the field's text as a user does: select all, type.
  void Type(const QString& name, const QString& text) { rig.TypeInto(name, text); }
  DpiState& Dpi() { return rig.session.Pages().dpi; }

  WindowRig rig;
};

TEST_F(AdvancedPage, ShowsTheLevelsOfTheMouse) {
  ASSERT_TRUE(rig.Shown(QStringLiteral("gbPage2")));
  // Six levels, the third current: 800 1600 2400 3200 4800 6400.
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_DPI3Value"))->text(), QStringLiteral("2400"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3"), QStringLiteral("RdS_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI1"), QStringLiteral("RdS_D")));
  // Lever style: only the value's own segment is lit.
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3_9"), QStringLiteral("Bar2_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3_8"), QStringLiteral("Bar2_D")));
  EXPECT_TRUE(rig.Find(QStringLiteral("Img_DPI6_1"))->isEnabled());
  EXPECT_FALSE(rig.Find(QStringLiteral("Img_DPI7_1"))->isEnabled());
  EXPECT_EQ(rig.Find<StepSlider>(QStringLiteral("slider_DPI4"))->value(), 900);
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Rep4"), QStringLiteral("RdS_E")));
  // The Fire section holds 3, 5 and 8 shots, each 60 ms apart.
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat2"))->text(), QStringLiteral("5"));
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("Edt_DelayTime3"))->text(), QStringLiteral("60"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Fire1Continue"), QStringLiteral("CbS_E")));
  EXPECT_THAT(rig.window.SkinErrors(), IsEmpty());
}

TEST_F(AdvancedPage, LevelValuesWriteTheirPairByteAndReselectTheCurrentLevel) {
  rig.Click(QStringLiteral("Img_DPI4_9"));   // level 4: 2400
  rig.Click(QStringLiteral("Img_DPI3_10"));  // level 3: 3200
  EXPECT_THAT(Sent(), ElementsAre("> 40 05 00 2D 88 00 00 01", "> 40 05 00 A6 01 00 00 01",
                                  "> 40 05 00 A6 02 00 00 01", "> 40 05 00 2D 89 00 00 01",
                                  "> 40 05 00 A6 01 00 00 01", "> 40 05 00 A6 02 00 00 01"));
  EXPECT_EQ(rig.Mouse().Live()[45], 0x89);
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_DPI3Value"))->text(), QStringLiteral("3200"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3_10"), QStringLiteral("Bar2_E")));
}

TEST_F(AdvancedPage, AValueTheMouseDidNotTakeIsToldAndThePageShowsWhatItHolds) {
  const QString before = rig.Find<QLabel>(QStringLiteral("lbl_DPI3Value"))->text();
  // Every try of the level's write fails; the mouse keeps its value.
  rig.Mouse().SetFaults(
      {.fail_command_from = rig.Mouse().TransferCount(), .fail_command_count = 3});
  rig.Click(QStringLiteral("Img_DPI3_10"));  // 3200
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(rig.dialogs->messages[0].startsWith(
      QStringLiteral("The mouse did not take all of the settings. Nothing was changed.")))
      << rig.dialogs->messages[0].toStdString();
  rig.Settle();  // the mouse is read again
  EXPECT_GE(rig.CountSent("> 40 09 00 00 08 00"), 1);
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_DPI3Value"))->text(), before);
  EXPECT_NE(before, QStringLiteral("3200"));
}

TEST_F(AdvancedPage, ASliderReleaseSnapsToItsStep) {
  auto* slider = rig.Find<StepSlider>(QStringLiteral("slider_DPI2"));
  ASSERT_GT(slider->height(), slider->width());  // the rows stand upright
  // The ruler is 240 pixels whatever the row's length: 15 is still step 0,
  // 16 already step 1.
  const auto at_ruler = [slider](int x) {
    for (int y = 0; y < slider->height(); ++y) {
      if (slider->RulerPosition(QPoint(slider->width() / 2, y)) >= x) return y;
    }
    return slider->height();
  };
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(18, at_ruler(15) - 1));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(18, at_ruler(15) - 1));
  EXPECT_EQ(Sent().front(), "> 40 05 00 2C 03 00 00 01");  // level 1 = 3, level 2 = 0
  EXPECT_EQ(slider->value(), 0);
  rig.Mouse().ClearTranscript();
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(18, at_ruler(16)));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(18, at_ruler(16)));
  EXPECT_EQ(Sent().front(), "> 40 05 00 2C 13 00 00 01");
  EXPECT_EQ(slider->value(), 100);
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_DPI2Value"))->text(), QStringLiteral("400"));
}

TEST_F(AdvancedPage, ADraggedSliderShowsTheValueOfTheStepUnderItsThumb) {
  auto* slider = rig.Find<StepSlider>(QStringLiteral("slider_DPI2"));
  auto* value = rig.Find<QLabel>(QStringLiteral("lbl_DPI2Value"));
  const LanguageTable& texts = rig.session.Language();
  const QPoint middle(slider->width() / 2, slider->height() / 2);
  QTest::mousePress(slider, Qt::LeftButton, {}, middle);
  for (const int y : {0, slider->height() - 1}) {
    QTest::mouseMove(slider, QPoint(middle.x(), y));
    ASSERT_TRUE(slider->value() == 0 || slider->value() == 1100) << slider->value();
    const int step = slider->value() == 0 ? 1 : 12;
    EXPECT_EQ(value->text().toStdString(), texts.DpiText(step)) << y;
  }
  EXPECT_THAT(Sent(), IsEmpty());  // nothing is written before the release
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(middle.x(), slider->height() - 1));
}

TEST_F(AdvancedPage, LevelsAreAddedAndRemovedAtTheEndByTheirNames) {
  rig.Click(QStringLiteral("lbl_DPI3"));  // not the last level: nothing
  EXPECT_THAT(Sent(), IsEmpty());
  rig.Click(QStringLiteral("lbl_DPI6"));
  EXPECT_EQ(Dpi().count, 5);
  EXPECT_THAT(Sent(), ElementsAre("> 40 05 00 2B 04 00 00 01", "> 40 05 00 2B 04 00 00 01"));
  EXPECT_FALSE(rig.Find(QStringLiteral("Img_DPI6_1"))->isEnabled());
  // The new last level is the current one now.
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI5"), QStringLiteral("RdS_E")));
  rig.Click(QStringLiteral("lbl_DPI6"));
  EXPECT_EQ(Dpi().count, 6);
  rig.Mouse().ClearTranscript();
  rig.Click(QStringLiteral("Img_DPI2"));
  EXPECT_THAT(Sent(), ElementsAre("> 40 05 00 A6 01 00 00 01"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI2"), QStringLiteral("RdS_E")));
}

TEST_F(AdvancedPage, AllEightLevelsShowSideBySideInEveryLanguageAndTheLastIsRemovable) {
  rig.Click(QStringLiteral("lbl_DPI7"));
  rig.Click(QStringLiteral("lbl_DPI8"));
  ASSERT_EQ(Dpi().count, 8);
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 0x2B, 1), "07");
  // The eighth is current and marked.
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI8"), QStringLiteral("RdS_E")));
  EXPECT_TRUE(rig.Find(QStringLiteral("Img_DPI8_1"))->isEnabled());
  for (const char* language : {"Btn_Lang1_1", "Btn_Lang2_1", "Btn_Lang3_1"}) {
    rig.Click(QLatin1String(language));
    rig.Click(QStringLiteral("Btn_Adv_1"));
    const QRect window = rig.window.rect();
    int right = 0;
    for (int n = 1; n <= 8; ++n) {
      QRect column;
      for (const QString& part : {QStringLiteral("lbl_DPI%1"), QStringLiteral("lbl_DPI%1Value"),
                                  QStringLiteral("Img_DPI%1"), QStringLiteral("Img_DPI%1_1")}) {
        QWidget* widget = rig.Find(part.arg(n));
        ASSERT_TRUE(widget->isVisible()) << language << " " << part.arg(n).toStdString();
        column |= QRect(widget->mapTo(&rig.window, QPoint(0, 0)), widget->size());
      }
      EXPECT_TRUE(window.contains(column)) << language << " level " << n;
      EXPECT_GT(column.left(), right) << language << " level " << n;
      right = column.right();
    }
  }
  // The last level goes with a click on its name.
  rig.Click(QStringLiteral("lbl_DPI8"));
  EXPECT_EQ(Dpi().count, 7);
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 0x2B, 1), "06");
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI7"), QStringLiteral("RdS_E")));
  // The level no longer used shows no lit segment.
  for (int step = 1; step <= 12; ++step) {
    EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI8_%1").arg(step), QStringLiteral("Bar2_D")))
        << step;
  }
}

TEST_F(AdvancedPage, TheColourDialogSetsALevelsColour) {
  rig.dialogs->colour_answer = QColor(0x10, 0x80, 0xFF);
  rig.Click(QStringLiteral("lbl_DPI2Col"));
  ASSERT_EQ(rig.dialogs->colour_asked.size(), 1);
  EXPECT_EQ(rig.dialogs->colour_titles.front(), QStringLiteral("Please Select One Color"));
  EXPECT_EQ(Sent().back(), "> 40 05 00 5A 10 80 FF 03");  // 90 = 87 + 3
  EXPECT_EQ(Hex(std::vector<std::uint8_t>(image::Vendor(rig.session.Data()).begin(),
                                          image::Vendor(rig.session.Data()).end()),
                90, 3),
            "10 80 FF");
  EXPECT_EQ(rig.Find<ColourSwatch>(QStringLiteral("cs_DPI2Col"))->Colour(),
            QColor(0x10, 0x80, 0xFF));
  // Cancelling changes nothing.
  rig.dialogs->colour_answer.reset();
  rig.Mouse().ClearTranscript();
  rig.Click(QStringLiteral("lbl_DPI2Col"));
  EXPECT_THAT(Sent(), IsEmpty());
}

TEST_F(AdvancedPage, ThePollingRateRestartsTheMouseOnlyWhenItChanges) {
  rig.Click(QStringLiteral("lbl_Rep4"));  // 1000 Hz, as set
  EXPECT_EQ(rig.CountSent("> 40 05 00 04"), 1);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 0);
  rig.Click(QStringLiteral("lbl_Rep3"));  // 500 Hz
  EXPECT_EQ(rig.CountSent("> 40 05 00 04"), 2);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
  EXPECT_EQ((rig.Mouse().Memory()[4] >> 4) & 3, 2);
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Rep3"), QStringLiteral("RdS_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Rep4"), QStringLiteral("RdS_D")));
}

TEST_F(AdvancedPage, FirePresetOneAtFiveShotsThirtyMillisecondsHeld) {
  Type(QStringLiteral("Edt_Repeat1"), QStringLiteral("5"));
  Type(QStringLiteral("Edt_DelayTime1"), QStringLiteral("30"));
  // Button 3 of profiles 1 and 3 is fire button 1, held.
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 192 + 8, 4), "06 94 00 1E");
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 290 + 8, 4), "06 94 00 1E");
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 484 + 2, 3), "04 00 1E");
  rig.Click(QStringLiteral("lbl_Fire1Continue"));
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 192 + 8, 4), "06 14 00 1E");
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Fire1Continue"), QStringLiteral("CbS_D")));
}

// Keys that arrive together (a fast typist, a busy machine) are all handled
// before any send they queued runs. Fire key 3's send then shows the page
// again while fire key 1's value still waits: that value must still go.
TEST_F(AdvancedPage, AValueWaitingToBeSentOutlastsARefreshOfThePage) {
  const auto press = [](QWidget* widget, int key, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &event);  // nothing queued runs meanwhile
  };
  auto* shots = rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat3"));
  auto* interval = rig.Find<QLineEdit>(QStringLiteral("Edt_DelayTime1"));
  shots->setFocus();
  shots->selectAll();
  press(shots, Qt::Key_4, QStringLiteral("4"));
  interval->setFocus();
  interval->selectAll();
  press(interval, Qt::Key_9, QStringLiteral("9"));
  press(interval, Qt::Key_0, QStringLiteral("0"));
  press(interval, Qt::Key_Return, QString());
  rig.Settle();
  EXPECT_EQ(interval->text(), QStringLiteral("90"));
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 484 + 3, 2), "00 5A");  // fire key 1's interval
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 484 + 8, 1), "03");     // fire key 3's 4 shots
}

TEST_F(AdvancedPage, FireBoxesShowWhatIsTypedAndCorrectItOnlyWhenLeft) {
  auto* count = rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat2"));
  const auto before = rig.Mouse().Memory();
  Type(QStringLiteral("Edt_Repeat2"), QStringLiteral("1"));
  EXPECT_EQ(count->text(), QStringLiteral("1"));  // on its way to 12: not a count yet
  EXPECT_EQ(rig.Mouse().Memory(), before);
  QTest::keyClicks(count, QStringLiteral("2"));
  rig.Settle();
  EXPECT_EQ(count->text(), QStringLiteral("12"));
  EXPECT_EQ(rig.session.Keys().fire[1].count, 12);
  Type(QStringLiteral("Edt_Repeat2"), QStringLiteral("x99"));  // only digits
  EXPECT_EQ(count->text(), QStringLiteral("99"));              // shown as typed, not sent
  EXPECT_EQ(rig.session.Keys().fire[1].count, 12);
  rig.Enter(QStringLiteral("Edt_Repeat2"));  // leaving the box corrects it
  EXPECT_EQ(count->text(), QStringLiteral("15"));
  EXPECT_EQ(rig.session.Keys().fire[1].count, 15);
  // End, Backspace, 4: the empty box is neither sent nor refilled.
  count->end(false);
  QTest::keyClick(count, Qt::Key_Backspace);
  QTest::keyClick(count, Qt::Key_Backspace);
  rig.Settle();
  EXPECT_EQ(count->text(), QString());
  QTest::keyClicks(count, QStringLiteral("4"));
  rig.Settle();
  EXPECT_EQ(count->text(), QStringLiteral("4"));
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 484 + 5, 1), "03");
  Type(QStringLiteral("Edt_Repeat2"), QStringLiteral("1"));
  rig.Enter(QStringLiteral("Edt_Repeat2"));
  EXPECT_EQ(count->text(), QStringLiteral("2"));
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 484 + 5, 1), "01");
  auto* interval = rig.Find<QLineEdit>(QStringLiteral("Edt_DelayTime2"));
  Type(QStringLiteral("Edt_DelayTime2"), QStringLiteral("0"));
  EXPECT_EQ(interval->text(), QStringLiteral("0"));
  rig.Enter(QStringLiteral("Edt_DelayTime2"));
  EXPECT_EQ(interval->text(), QStringLiteral("1"));
  Type(QStringLiteral("Edt_DelayTime2"), QStringLiteral("9999"));
  EXPECT_EQ(interval->text(), QStringLiteral("9999"));
  rig.Enter(QStringLiteral("Edt_DelayTime2"));
  EXPECT_EQ(interval->text(), QStringLiteral("4094"));
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 484 + 6, 2), "0F FE");
}

TEST_F(AdvancedPage, ANumberTypedWhileAWriteRunsIsSentOnceTheWriteIsDone) {
  // The rate change restarts the mouse; the count is typed during its transfers.
  rig.clock.on_pump = [this] {
    auto* count = rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat1"));
    count->setFocus();
    QTest::keyClick(count, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(count, QStringLiteral("5"));
    QCoreApplication::processEvents();
  };
  rig.Click(QStringLiteral("lbl_Rep3"));
  rig.Settle();
  EXPECT_EQ((rig.Mouse().Memory()[4] >> 4) & 3, 2);
  EXPECT_EQ(Hex(rig.Mouse().Memory(), 484 + 2, 1), "04");
  EXPECT_EQ(rig.session.Keys().fire[0].count, 5);
  EXPECT_EQ(rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat1"))->text(), QStringLiteral("5"));
}

TEST_F(AdvancedPage, AFillShowsTheMousesValuesInEveryBoxAndLeavingThenSendsNothing) {
  auto* count = rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat1"));
  Type(QStringLiteral("Edt_Repeat1"), QStringLiteral("7"));
  ASSERT_EQ(rig.session.Keys().fire[0].count, 7);
  // The reset's fresh read shows the factory preset in the box the user was
  // typing in, and leaving it writes nothing back.
  rig.dialogs->confirm_answer = true;
  rig.Click(QStringLiteral("Btn_Confirm1_2"));
  rig.Settle();
  EXPECT_EQ(count->text(), QString::number(rig.session.Keys().fire[0].count));
  EXPECT_NE(count->text(), QStringLiteral("7"));
  rig.Mouse().ClearTranscript();
  rig.Enter(QStringLiteral("Edt_Repeat1"));
  count->clearFocus();
  rig.Settle();
  EXPECT_THAT(Sent(), IsEmpty());
}

TEST_F(AdvancedPage, AnAimStepWithoutAnAimKeySaysSoAndGoesBackToTheFirst) {
  rig.Click(QStringLiteral("Img_AIMDPI_12"));
  EXPECT_THAT(rig.dialogs->messages, ElementsAre(QStringLiteral("Please select a AIM Key")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_AIMDPI_1"), QStringLiteral("Bar2_E")));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_AIMDPIValue"))->text(), QStringLiteral("200"));
  EXPECT_THAT(Sent(), IsEmpty());
}

TEST_F(AdvancedPage, APointerChangeTheSystemDoesNotTakeIsToldEveryTimeInTheWindowsLanguage) {
  settings::PointerProblem problem;
  problem.kind = settings::PointerProblem::Kind::kOtherDesktop;
  problem.desktop = "Plain";
  rig.pointer->refuse = problem;
  auto* note = rig.Find<QLabel>(QStringLiteral("lbl_PointerNote"));
  const int speed_before = rig.session.Pages().pointer.speed_step;
  rig.Click(QStringLiteral("Img_Spd4"));
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(rig.dialogs->messages[0].contains(QStringLiteral("on the desktop \"Plain\"")));
  EXPECT_TRUE(note->isVisibleTo(&rig.window));
  EXPECT_EQ(note->toolTip(), rig.dialogs->messages[0]);
  EXPECT_TRUE(note->text().startsWith(QStringLiteral("The desktop did not take the last change")));
  // The next change is said by the note, and the rows keep what the system holds.
  rig.Click(QStringLiteral("Img_DbSpd2"));
  EXPECT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(note->toolTip().contains(QStringLiteral("double-click")));
  EXPECT_EQ(rig.session.Pages().pointer.speed_step, speed_before);
  rig.Click(QStringLiteral("Btn_Lang2_2"));
  EXPECT_TRUE(note->toolTip().contains(QStringLiteral("本程式只能在 GNOME")));
  // Taken again: the note goes.
  rig.pointer->refuse.reset();
  rig.Click(QStringLiteral("Img_Spd4"));
  EXPECT_FALSE(note->isVisibleTo(&rig.window));
}

TEST_F(AdvancedPage, DesktopSettingsThatCouldNotBeReadAreSaidOnceAndNotedBesideTheRows) {
  rig.pointer->read_problem =
      settings::PointerReadProblem{"gsettings", "GNOME", {settings::PointerSetting::kSpeed}};
  rig.session.ReFindDev();
  rig.Settle();
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(rig.dialogs->messages[0].startsWith(
      QStringLiteral("gsettings did not answer within 3 s and was ended: the pointer speed")));
  auto* note = rig.Find<QLabel>(QStringLiteral("lbl_PointerNote"));
  EXPECT_FALSE(note->isHidden());
  EXPECT_EQ(note->toolTip(), rig.dialogs->messages[0]);
  // Shown again, it is not said again; in language 2 the note speaks it.
  rig.Click(QStringLiteral("Btn_Lang2_2"));
  rig.Settle();
  EXPECT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(note->toolTip().contains(QStringLiteral("在 3 秒內未回應")));
}

TEST_F(AdvancedPage, APointerStepIsAppliedThroughThePlatformAndReadBack) {
  rig.Click(QStringLiteral("Img_Spd4"));
  ASSERT_FALSE(rig.pointer->applied.empty());
  EXPECT_EQ(rig.pointer->applied.back().mouse_sensitivity, 6);
  EXPECT_EQ(rig.pointer->applied.back().changed, settings::PointerSetting::kSpeed);
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Spd4"), QStringLiteral("Bar1_E")));
  EXPECT_THAT(Sent(), IsEmpty());  // nothing reaches the mouse
  // What the system holds is shown again after a read of the mouse.
  rig.pointer->texts[settings::PointerValue::kDoubleClickSpeed] = "500";
  rig.pointer->texts[settings::PointerValue::kWheelScrollLines] = "-1";
  rig.session.ReFindDev();
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DbSpd7"), QStringLiteral("Bar1_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_IsScreen"), QStringLiteral("CbS_E")));
  EXPECT_FALSE(rig.Find(QStringLiteral("Img_ScrSpd3"))->isEnabled());
  // Switching whole-screen scrolling off returns to the lines kept from before.
  rig.Click(QStringLiteral("lbl_IsScreen"));
  EXPECT_EQ(rig.pointer->applied.back().wheel_lines, 3);
  EXPECT_TRUE(rig.Find(QStringLiteral("Img_ScrSpd3"))->isEnabled());
  auto* slider = rig.Find<StepSlider>(QStringLiteral("slider_SrcSpd"));
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 1, slider->height() / 2));
  EXPECT_EQ(rig.pointer->applied.back().wheel_lines, 11);
  rig.Click(QStringLiteral("lbl_IsControl"));
  EXPECT_EQ(rig.pointer->applied.back().acceleration, (std::array<int, 3>{1, 6, 10}));
}

TEST_F(AdvancedPage, ADraggedSliderPreviewsItsValueAndSendsOnRelease) {
  auto* slider = rig.Find<StepSlider>(QStringLiteral("slider_DPI1"));
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(18, 2));
  QTest::mouseMove(slider, QPoint(18, slider->height() - 1));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_DPI1Value"))->text(), QStringLiteral("6400"));
  EXPECT_THAT(Sent(), IsEmpty());
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(18, slider->height() - 1));
  EXPECT_EQ(Sent().front(), "> 40 05 00 2C 6B 00 00 01");  // level 1 = 11, level 2 = 6
}

TEST_F(AdvancedPage, NothingIsSentWhileLoading) {
  rig.session.Conn().loading = true;
  rig.Click(QStringLiteral("Img_DPI3_5"));
  rig.Click(QStringLiteral("lbl_Rep3"));
  rig.Click(QStringLiteral("lbl_Fire1Continue"));
  rig.Click(QStringLiteral("Img_AIMDPI_3"));
  Type(QStringLiteral("Edt_Repeat1"), QStringLiteral("9"));
  rig.dialogs->colour_answer = QColor(1, 2, 3);
  rig.Click(QStringLiteral("lbl_DPI1Col"));
  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_THAT(rig.dialogs->messages, IsEmpty());
  EXPECT_THAT(rig.dialogs->colour_asked, IsEmpty());
}

TEST_F(AdvancedPage, ADpiButtonOnTheMouseMovesTheCurrentLevel) {
  auto memory = rig.Mouse().Memory();
  memory[166] = 4;  // the mouse went on to level 5
  rig.Mouse().SetMemory(memory);
  rig.session.HandleInputReport({0x42, 0, 0, 1});
  rig.session.HandleInputReport({0x42, 0, 0, 0});
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI5"), QStringLiteral("RdS_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3"), QStringLiteral("RdS_D")));
}

TEST(AdvancedPageStyles, TheProgressBarStyleLightsEveryStepUpToTheValue) {
  BrandOptions brand = LoadBrandOptions().options;
  brand.step_style = StepStyle::kProgressBar;
  WindowRig rig({}, brand);
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Adv_1"));
  // Level 3 is at 2400, the ninth step.
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3_1"), QStringLiteral("Bar2_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3_9"), QStringLiteral("Bar2_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DPI3_10"), QStringLiteral("Bar2_D")));
  // The pointer speed keeps the lever style; the double-click row does not.
  rig.Click(QStringLiteral("Img_Spd5"));
  rig.Click(QStringLiteral("Img_DbSpd5"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Spd4"), QStringLiteral("Bar1_D")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DbSpd4"), QStringLiteral("Bar1_E")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_DbSpd6"), QStringLiteral("Bar1_D")));
}

TEST_F(AdvancedPage, HoveringALevelsNameExplainsHowLevelsAreAddedAndRemoved) {
  QWidget* name = rig.Find(QStringLiteral("lbl_DPI6"));
  QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), name->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(name, &hover);
  EXPECT_THAT(rig.Find<QLabel>(QStringLiteral("lbl_Content"))->text().toStdString(),
              ::testing::HasSubstr("to remove it"));
}

}  // namespace
}  // namespace vrdk::shell
