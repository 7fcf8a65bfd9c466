// The macro page as a user meets it: recording keys and clicks into a
// library macro, sending it to the mouse, the budget of a recording, line
// editing and inserting, and deleting a mouse macro that buttons play.
// Results are asserted on the library, the simulated mouse's memory and
// its transcript.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>

#include "macros/editors/device_macros.h"
#include "shell/macro_dialogs.h"
#include "shell/pages/macro_page.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// The window with its macro library in a folder of the test's own, on the
// macro page, with recorded delays measured by a clock the test sets.
class MacroPageTest : public ::testing::Test {
 protected:
  MacroPageTest() : rig_(TForm1::Options{}, Brand(folder_)) {
    rig_.Connect();
    rig_.Click(QStringLiteral("Btn_Macro_1"));
    page_ = qobject_cast<MacroPage*>(rig_.window.PageOfGroup(4));
    page_->SetTick([this] { return now_.load(); });
  }

  static BrandOptions Brand(const QTemporaryDir& folder) {
    BrandOptions brand = LoadBrandOptions().options;
    brand.macro_folder = folder.path().toStdString() + "/";
    return brand;
  }

  QListWidget* List(const char* name) { return rig_.Find<QListWidget>(QLatin1String(name)); }
  QStringList Lines() {
    QStringList lines;
    QListWidget* list = List("LB_macro");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->data(Qt::UserRole).toString();
    return lines;
  }
  // The name dialog answers with `name`.
  void AnswerName(const QString& name) {
    rig_.dialogs->on_run = [name](QDialog& dialog) {
      dialog.findChild<QLineEdit*>(QStringLiteral("Edt_MacroName"))->setText(name);
      return true;
    };
  }
  void NewMacro(const QString& name) {
    AnswerName(name);
    rig_.Click(QStringLiteral("Btn_New"));
  }
  // A right-click on row `row` of a list, then a click on a panel entry.
  void RightClick(const char* list_name, int row) {
    QListWidget* list = List(list_name);
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
  }
  void Choose(const char* list_name, int row, const char* entry) {
    RightClick(list_name, row);
    ASSERT_TRUE(rig_.Find(QLatin1String(entry))->isVisible()) << entry;
    rig_.Click(QLatin1String(entry));
  }
  void Key(bool press, Qt::Key key, std::uint32_t at,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    now_ = at;
    if (press) {
      QTest::keyPress(&rig_.window, key, modifiers);
    } else {
      QTest::keyRelease(&rig_.window, key, modifiers);
    }
  }
  // Waits for the recorder's worker to hand over its lines.
  bool WaitForLines(int count) {
    return QTest::qWaitFor([&] { return List("LB_macro")->count() >= count; }, 3000);
  }
  std::vector<std::uint8_t> MouseBytes(std::size_t address, std::size_t count) {
    const auto memory = rig_.Mouse().Memory();
    return {memory.begin() + static_cast<std::ptrdiff_t>(address),
            memory.begin() + static_cast<std::ptrdiff_t>(address + count)};
  }
  macros::DeviceMacros& Store() { return *macros::FindDeviceMacros(rig_.session); }
  std::string Code(int button) {
    return rig_.session.Pages().code_texts.profiles[0][static_cast<std::size_t>(button - 1)];
  }

  QTemporaryDir folder_;
  WindowRig rig_;
  MacroPage* page_ = nullptr;
  std::atomic<std::uint32_t> now_{1000};
};

TEST_F(MacroPageTest, ARecordingOfKeysAndAClickBecomesLinesAndTheMouseGetsItsBytes) {
  NewMacro(QStringLiteral("Combo"));
  ASSERT_EQ(List("LB_PCMacroName")->currentItem()->text(), QStringLiteral("Combo"));
  rig_.Click(QStringLiteral("Btn_Start"));
  EXPECT_EQ(rig_.Find<QLabel>(QStringLiteral("Btn_Start"))->text(), QStringLiteral("Stop"));
  EXPECT_FALSE(List("LB_PCMacroName")->isEnabled());
  Key(true, Qt::Key_Control, 1000);
  // (QTest would press and release Ctrl itself around a key given with it.)
  Key(true, Qt::Key_A, 1100);
  Key(false, Qt::Key_A, 1180);
  Key(false, Qt::Key_Control, 1250);
  now_ = 1400;
  QTest::mouseClick(rig_.Find(QStringLiteral("Img_P4")), Qt::LeftButton);
  ASSERT_TRUE(WaitForLines(11));
  // The click on the record button that ends the recording is not recorded.
  rig_.Click(QStringLiteral("Btn_Start"));
  EXPECT_EQ(rig_.Find<QLabel>(QStringLiteral("Btn_Start"))->text(), QStringLiteral("Record"));
  EXPECT_THAT(Lines(), ElementsAre("1 Ctrl CODE:8101", "0 100", "1 A CODE:8204", "0 80",
                                   "2 A CODE:0204", "0 70", "2 Ctrl CODE:0101", "0 150",
                                   "1 LeftKey CODE:00A1", "0 0", "2 LeftKey CODE:0021"));
  const std::vector<std::uint8_t> events = {0x81, 0x01, 0xFE, 0x00, 0x64, 0x82, 0x04, 0xFE, 0x00,
                                            0x50, 0x02, 0x04, 0xFE, 0x00, 0x46, 0x01, 0x01, 0xFE,
                                            0x00, 0x96, 0xA1, 0xFE, 0x00, 0x00, 0x21, 0x00};
  const auto& stored = page_->Library().Records()[0].events;
  EXPECT_TRUE(std::equal(events.begin(), events.end(), stored.begin()));

  rig_.Mouse().ClearTranscript();
  Choose("LB_PCMacroName", 0, "Btn_AddMacro");
  EXPECT_THAT(rig_.dialogs->messages, IsEmpty());
  ASSERT_EQ(List("LB_MacroName")->count(), 1);
  EXPECT_EQ(List("LB_MacroName")->item(0)->text(), QStringLiteral("Combo"));
  // The macro area is written in its two halves from 0x01F0; the events
  // follow the 16-byte name at 0x0200.
  EXPECT_EQ(rig_.CountSent("> 40 07 01 F0 01 00"), 1);
  EXPECT_EQ(rig_.CountSent("> 40 07 02 F0 01 00"), 1);
  EXPECT_THAT(MouseBytes(0x0200, events.size()), ElementsAreArray(events));
}

TEST_F(MacroPageTest, ARecordingThatReachesTheBudgetStopsAndKeepsWhatFits) {
  NewMacro(QStringLiteral("Long"));
  rig_.Click(QStringLiteral("IB_NoDelay"));
  rig_.Click(QStringLiteral("Btn_Start"));
  for (int i = 0; i < 70 && page_->Recording(); ++i) {
    Key(true, Qt::Key_B, 2000 + 10 * i);
    Key(false, Qt::Key_B, 2005 + 10 * i);
  }
  EXPECT_FALSE(page_->Recording());
  EXPECT_EQ(rig_.Find<QLabel>(QStringLiteral("Btn_Start"))->text(), QStringLiteral("Record"));
  EXPECT_THAT(rig_.dialogs->messages,
              ElementsAre(QString::fromUtf8(macros::MacroRecorder::kFullText.data())));
  // No delays: each press and release takes 2 bytes; presses stop 4 bytes
  // short of 254 so that every key is released again.
  EXPECT_EQ(List("LB_macro")->count(), 126);
  EXPECT_EQ(page_->Library().Records()[0].ShownLength(), 253u);
  EXPECT_EQ(Lines().last(), QStringLiteral("2 B CODE:0205"));
}

TEST_F(MacroPageTest, LinesAreEditedDeletedAndInsertedFromTheContentPanel) {
  NewMacro(QStringLiteral("Edit"));
  ASSERT_TRUE(page_->Library()
                  .SetLines(0, {"10", "1 A CODE:8204", "0 50", "2 A CODE:0204", "7 FD03"})
                  .ok());
  QTest::mouseClick(
      List("LB_PCMacroName")->viewport(), Qt::LeftButton, {},
      List("LB_PCMacroName")->visualItemRect(List("LB_PCMacroName")->item(0)).center());
  ASSERT_EQ(Lines().size(), 4);

  // The delay through the input-delay dialog, held at 65535.
  rig_.dialogs->on_run = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Edt_InputDelay"))
        ->setText(QStringLiteral("99999"));
    return true;
  };
  Choose("LB_macro", 1, "Btn_Edit");
  EXPECT_EQ(Lines()[1], QStringLiteral("0 65535"));
  // A key line through the input-key dialog: its key as a keyboard key.
  rig_.dialogs->on_run = [](QDialog& dialog) {
    QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("Edt_OneKey")), Qt::Key_Z);
    return true;
  };
  Choose("LB_macro", 0, "Btn_Edit");
  EXPECT_EQ(Lines()[0], QStringLiteral("1 Z CODE:821D"));
  EXPECT_EQ(Lines()[2], QStringLiteral("2 A CODE:0204"));  // its partner keeps its key

  // Deleting the up line of A finds no down line of A before it.
  Choose("LB_macro", 2, "Btn_Del");
  EXPECT_THAT(rig_.dialogs->messages, ElementsAre(QStringLiteral("Macro Content Error")));
  EXPECT_EQ(Lines().size(), 4);

  // X = -10, Y = 5 after the delay line.
  Choose("LB_macro", 1, "Btn_Insert");
  EXPECT_TRUE(rig_.Shown(QStringLiteral("Gb_Insert")));
  EXPECT_FALSE(rig_.Shown(QStringLiteral("Gb_Delay")));
  rig_.Find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(5);
  EXPECT_TRUE(rig_.Shown(QStringLiteral("edt_XAxisValue")));
  auto* x = rig_.Find<QLineEdit>(QStringLiteral("edt_XAxisValue"));
  x->clear();
  QTest::keyClicks(x, QStringLiteral("-10"));
  auto* y = rig_.Find<QLineEdit>(QStringLiteral("edt_YAxisValue"));
  y->clear();
  QTest::keyClicks(y, QStringLiteral("5"));
  rig_.Click(QStringLiteral("Btn_OK"));
  EXPECT_TRUE(rig_.Shown(QStringLiteral("Gb_Delay")));
  EXPECT_EQ(Lines()[2], QStringLiteral("3 04F605"));
  EXPECT_EQ(List("LB_macro")->currentRow(), 2);
  EXPECT_EQ(List("LB_macro")->item(2)->data(Qt::AccessibleTextRole).toString(),
            QStringLiteral("X: -10  Y: 5"));
  // Typing beyond the field's range shows what was typed; leaving the box
  // holds it at the limit.
  Choose("LB_macro", 0, "Btn_Insert");
  rig_.Find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(4);
  x->clear();
  QTest::keyClicks(x, QStringLiteral("300"));
  EXPECT_EQ(x->text(), QStringLiteral("300"));
  QTest::keyClick(x, Qt::Key_Return);
  EXPECT_EQ(x->text(), QStringLiteral("127"));
  rig_.Click(QStringLiteral("Btn_Cancel"));
  EXPECT_EQ(Lines().size(), 5);
}

TEST_F(MacroPageTest, AnInsertedLoopOrDelayWithAnEmptiedFieldTakesTheFieldsStart) {
  NewMacro(QStringLiteral("Loop"));
  ASSERT_TRUE(page_->Library().SetLines(0, {"00", "0 5"}).ok());
  QTest::mouseClick(
      List("LB_PCMacroName")->viewport(), Qt::LeftButton, {},
      List("LB_PCMacroName")->visualItemRect(List("LB_PCMacroName")->item(0)).center());
  ASSERT_EQ(Lines().size(), 1);
  Choose("LB_macro", 0, "Btn_Insert");
  rig_.Find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(6);  // loop start
  EXPECT_TRUE(rig_.Shown(QStringLiteral("edt_Repeat")));
  EXPECT_FALSE(rig_.Shown(QStringLiteral("edt_XAxisValue")));
  rig_.Find<QLineEdit>(QStringLiteral("edt_Repeat"))->clear();
  rig_.Click(QStringLiteral("Btn_OK"));
  EXPECT_THAT(Lines(), ElementsAre(QStringLiteral("7 FD0A"), QStringLiteral("0 5")));
  Choose("LB_macro", 1, "Btn_Insert");
  rig_.Find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(1);  // delay after
  EXPECT_TRUE(rig_.Shown(QStringLiteral("Edt_InsertDelay")));
  rig_.Find<QLineEdit>(QStringLiteral("Edt_InsertDelay"))->clear();
  rig_.Click(QStringLiteral("Btn_OK"));
  EXPECT_THAT(Lines(),
              ElementsAre(QStringLiteral("7 FD0A"), QStringLiteral("0 5"), QStringLiteral("0 50")));
}

TEST_F(MacroPageTest, TheMouseMenusWriteEntryFollowsTheLanguage) {
  auto* write = rig_.Find<QLabel>(QStringLiteral("Btn_SaveMacro"));
  EXPECT_EQ(write->text(), QStringLiteral("Write to Mouse"));
  rig_.Click(QStringLiteral("Btn_Lang2_4"));
  EXPECT_EQ(write->text(), QStringLiteral("寫入滑鼠"));
  rig_.Click(QStringLiteral("Btn_Lang3_4"));
  EXPECT_EQ(write->text(), QStringLiteral("Write to Mouse"));
}

TEST_F(MacroPageTest, KeysInsertedByRecordingWaitForOkAndCancelDropsThem) {
  NewMacro(QStringLiteral("Ins"));
  ASSERT_TRUE(page_->Library().SetLines(0, {"00", "1 A CODE:8204", "2 A CODE:0204"}).ok());
  QTest::mouseClick(
      List("LB_PCMacroName")->viewport(), Qt::LeftButton, {},
      List("LB_PCMacroName")->visualItemRect(List("LB_PCMacroName")->item(0)).center());
  Choose("LB_macro", 1, "Btn_Insert");
  rig_.Find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(3);  // keys after
  rig_.Click(QStringLiteral("IB_InsertNoDelay"));
  rig_.Click(QStringLiteral("Btn_InsertStart"));
  ASSERT_TRUE(page_->Recording());
  Key(true, Qt::Key_C, 3000);
  Key(false, Qt::Key_C, 3010);
  rig_.Click(QStringLiteral("Btn_InsertStart"));
  EXPECT_THAT(Lines(),
              ElementsAre("1 A CODE:8204", "2 A CODE:0204", "1 C CODE:8206", "2 C CODE:0206"));
  rig_.Click(QStringLiteral("Btn_Cancel"));
  EXPECT_EQ(Lines().size(), 2);

  Choose("LB_macro", 0, "Btn_Insert");
  rig_.Find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(2);  // keys before
  rig_.Click(QStringLiteral("Btn_InsertStart"));
  Key(true, Qt::Key_D, 3100);
  Key(false, Qt::Key_D, 3110);
  rig_.Click(QStringLiteral("Btn_InsertStart"));
  rig_.Click(QStringLiteral("Btn_OK"));
  EXPECT_THAT(Lines(),
              ElementsAre("1 D CODE:8207", "2 D CODE:0207", "1 A CODE:8204", "2 A CODE:0204"));
  EXPECT_EQ(page_->Library().Lines(0)->lines.size(), 5u);
}

TEST_F(MacroPageTest, DeletingAMouseMacroRepointsItsFollowersAndFallsBack) {
  NewMacro(QStringLiteral("One"));
  ASSERT_TRUE(page_->Library().SetLines(0, {"00", "1 A CODE:8204", "2 A CODE:0204"}).ok());
  NewMacro(QStringLiteral("Two"));
  ASSERT_TRUE(page_->Library().SetLines(1, {"00", "1 B CODE:8205", "2 B CODE:0205"}).ok());
  Choose("LB_PCMacroName", 0, "Btn_AddMacro");
  Choose("LB_PCMacroName", 1, "Btn_AddMacro");
  ASSERT_EQ(List("LB_MacroName")->count(), 2);
  // Button 4 plays "Two", button 8 plays "One".
  ASSERT_TRUE(Store().AssignToButton(4, 1).ok());
  ASSERT_TRUE(Store().AssignToButton(8, 0).ok());
  ASSERT_EQ(Code(4), "10021600");  // 0x0200 + 16 + 4 + 2
  rig_.Mouse().ClearTranscript();

  Choose("LB_MacroName", 0, "Btn_DelMacro");
  ASSERT_EQ(List("LB_MacroName")->count(), 1);
  EXPECT_EQ(List("LB_MacroName")->item(0)->text(), QStringLiteral("Two"));
  EXPECT_EQ(Code(4), "10020000");  // "Two" moved to the front
  EXPECT_EQ(Code(8), "02080700");  // button 8's own fallback: Win+D
  // The profiles went to the mouse with the codes.
  EXPECT_THAT(MouseBytes(0x00C0 + 4 * 3, 4), ElementsAre(0x10, 0x02, 0x00, 0x00));
  EXPECT_THAT(rig_.dialogs->messages, IsEmpty());
}

TEST_F(MacroPageTest, NothingActsOnAMacroThatIsNotHighlighted) {
  NewMacro(QStringLiteral("Keep1"));
  ASSERT_TRUE(page_->Library().SetLines(0, {"00", "1 A CODE:8204", "2 A CODE:0204"}).ok());
  NewMacro(QStringLiteral("Keep2"));
  Choose("LB_PCMacroName", 0, "Btn_AddMacro");
  ASSERT_EQ(List("LB_MacroName")->count(), 1);
  const auto events = page_->Library().Records()[0].events;
  rig_.Mouse().ClearTranscript();
  // Ctrl+click takes the highlight away; the list keeps the focus and a
  // current row that is not highlighted.
  QListWidget* names = List("LB_PCMacroName");
  names->setCurrentRow(0);
  QTest::mouseClick(names->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    names->visualItemRect(names->item(0)).center());
  ASSERT_TRUE(names->selectedItems().isEmpty());
  ASSERT_EQ(names->currentRow(), 0);
  rig_.Click(QStringLiteral("Btn_Start"));
  EXPECT_FALSE(page_->Recording());
  const QPoint empty(names->viewport()->width() / 2, names->viewport()->height() - 4);
  rig_.dialogs->save_answer = folder_.filePath(QStringLiteral("out"));
  AnswerName(QStringLiteral("Renamed"));
  for (const char* entry : {"Btn_DelPCMacro", "Btn_NewName", "Btn_ExportOne", "Btn_AddMacro"}) {
    QTest::mouseClick(names->viewport(), Qt::RightButton, {}, empty);
    ASSERT_TRUE(rig_.Find(QLatin1String(entry))->isVisible()) << entry;
    rig_.Click(QLatin1String(entry));
  }
  EXPECT_EQ(names->count(), 2);
  EXPECT_EQ(names->item(0)->text(), QStringLiteral("Keep1"));
  EXPECT_EQ(page_->Library().Records()[0].events, events);
  EXPECT_FALSE(QFileInfo::exists(folder_.filePath(QStringLiteral("out.bin"))));
  EXPECT_EQ(List("LB_MacroName")->count(), 1);
  // The same on the mouse's list.
  QListWidget* mouse = List("LB_MacroName");
  mouse->setCurrentRow(0);
  QTest::mouseClick(mouse->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    mouse->visualItemRect(mouse->item(0)).center());
  ASSERT_TRUE(mouse->selectedItems().isEmpty());
  QTest::mouseClick(mouse->viewport(), Qt::RightButton, {},
                    QPoint(mouse->viewport()->width() / 2, mouse->viewport()->height() - 4));
  rig_.Click(QStringLiteral("Btn_DelMacro"));
  EXPECT_EQ(mouse->count(), 1);
  EXPECT_THAT(rig_.Sent(), IsEmpty());
}

TEST_F(MacroPageTest, RecordingOverAMacroWithEventsAsksFirst) {
  NewMacro(QStringLiteral("Keep1"));
  ASSERT_TRUE(page_->Library().SetLines(0, {"00", "1 A CODE:8204", "2 A CODE:0204"}).ok());
  Choose("LB_PCMacroName", 0, "Btn_NewName");  // highlights it; the dialog is answered
  const auto events = page_->Library().Records()[0].events;
  rig_.dialogs->confirm_answer = false;
  rig_.Click(QStringLiteral("Btn_Start"));
  EXPECT_THAT(rig_.dialogs->questions, ElementsAre(QStringLiteral("OK for clear macro?")));
  EXPECT_FALSE(page_->Recording());
  EXPECT_EQ(page_->Library().Records()[0].events, events);
  EXPECT_EQ(Lines().size(), 2);
  rig_.dialogs->confirm_answer = true;
  rig_.Click(QStringLiteral("Btn_Start"));
  EXPECT_TRUE(page_->Recording());
  rig_.Click(QStringLiteral("Btn_Start"));
  // An empty macro is recorded into without a question.
  NewMacro(QStringLiteral("Empty"));
  rig_.dialogs->questions.clear();
  rig_.Click(QStringLiteral("Btn_Start"));
  EXPECT_TRUE(page_->Recording());
  EXPECT_THAT(rig_.dialogs->questions, IsEmpty());
  rig_.Click(QStringLiteral("Btn_Start"));
}

TEST_F(MacroPageTest, LibraryNamesAreCheckedAndFilesGetTheirExtension) {
  NewMacro(QStringLiteral("Same"));
  NewMacro(QStringLiteral("Same"));
  EXPECT_THAT(rig_.dialogs->messages, ElementsAre(QStringLiteral("This macro already exists")));
  EXPECT_EQ(List("LB_PCMacroName")->count(), 1);
  // A cancelled name dialog adds nothing.
  rig_.dialogs->on_run = {};
  rig_.Click(QStringLiteral("Btn_New"));
  EXPECT_EQ(List("LB_PCMacroName")->count(), 1);

  rig_.dialogs->save_answer = folder_.filePath(QStringLiteral("one"));
  Choose("LB_PCMacroName", 0, "Btn_ExportOne");
  EXPECT_TRUE(QFileInfo::exists(folder_.filePath(QStringLiteral("one.bin"))));
  EXPECT_EQ(QFileInfo(folder_.filePath(QStringLiteral("one.bin"))).size(), 272);
  // The same macro again is refused by its name.
  rig_.dialogs->open_answer = folder_.filePath(QStringLiteral("one.bin"));
  Choose("LB_PCMacroName", 0, "Btn_ImportOne");
  EXPECT_EQ(rig_.dialogs->messages.size(), 2);
  Choose("LB_PCMacroName", 0, "Btn_DelPCMacro");
  EXPECT_EQ(List("LB_PCMacroName")->count(), 0);
  Choose("LB_PCMacroName", 0, "Btn_ImportOne");
  EXPECT_EQ(List("LB_PCMacroName")->count(), 1);
  EXPECT_EQ(List("LB_PCMacroName")->item(0)->text(), QStringLiteral("Same"));
}

TEST_F(MacroPageTest, TheSmallDialogsAndTheDelayFieldKeepTheirRules) {
  // The input-key dialog takes the last key it knows; an unknown key leaves
  // the field as it was, and Confirm without a key does not close it.
  OneKeyDialog key(rig_.window);
  auto* field = key.findChild<QLineEdit*>(QStringLiteral("Edt_OneKey"));
  const auto unknown_key = [field] {
    QKeyEvent eject(QEvent::KeyPress, Qt::Key_Eject, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &eject);
  };
  unknown_key();
  EXPECT_EQ(field->text(), QString());
  QTest::mouseClick(key.findChild<QWidget*>(QStringLiteral("Btn_Confirm")), Qt::LeftButton);
  EXPECT_EQ(key.result(), QDialog::Rejected);
  QTest::keyClick(field, Qt::Key_Tab);
  unknown_key();
  EXPECT_EQ(field->text(), QStringLiteral("Tab"));
  EXPECT_EQ(key.VirtualKey(), 0x09);
  QTest::mouseClick(key.findChild<QWidget*>(QStringLiteral("Btn_Clear")), Qt::LeftButton);
  EXPECT_EQ(key.VirtualKey(), std::nullopt);
  // The input-delay dialog: digits only, held between 1 and 65535.
  DelayDialog delay(rig_.window, 50);
  auto* digits = delay.findChild<QLineEdit*>(QStringLiteral("Edt_InputDelay"));
  digits->clear();
  QTest::keyClicks(digits, QStringLiteral("-7x0"));
  EXPECT_EQ(digits->text(), QStringLiteral("70"));
  digits->setText(QStringLiteral("0"));
  EXPECT_EQ(delay.Delay(), 1);
  // The name dialog holds 8 characters.
  MacroNameDialog name(rig_.window, QString());
  auto* text = name.findChild<QLineEdit*>(QStringLiteral("Edt_MacroName"));
  QTest::keyClicks(text, QStringLiteral("ABCDEFGHIJ"));
  EXPECT_EQ(name.Name(), QStringLiteral("ABCDEFGH"));

  // The page's fixed delay takes typing only in its own mode, and is held.
  auto* fixed = rig_.Find<QLineEdit>(QStringLiteral("Edt_Delay"));
  EXPECT_TRUE(fixed->isReadOnly());
  rig_.Click(QStringLiteral("IB_DelayTime"));
  EXPECT_FALSE(fixed->isReadOnly());
  fixed->clear();
  QTest::keyClicks(fixed, QStringLiteral("70000"));
  EXPECT_EQ(fixed->text(), QStringLiteral("70000"));
  QTest::keyClick(fixed, Qt::Key_Return);
  EXPECT_EQ(fixed->text(), QStringLiteral("65535"));
}

}  // namespace
}  // namespace vrdk::shell
