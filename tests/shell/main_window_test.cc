// The window as a user meets it: start-up in the no-device state, the page
// buttons, the confirm, save and load buttons, languages, the hidden
// engineering access, input while a transfer runs, and the layout report.
// Results are asserted on the simulated mouse's transcript and memory.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "shell/loading_window.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"
#include "tables/own_texts.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using vrdk::testing::DefaultsFor;
using vrdk::testing::TranscriptLines;

const QString kNoMouseText = QStringLiteral("Finding the specified device");

TEST(MainWindow, StartsInTheNoDeviceStateWithEveryNamedControl) {
  WindowRig rig;
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage1")));
  for (const char* page : {"gbPage2", "gbPage3", "gbPage4", "gbPage5", "gbPage7"}) {
    EXPECT_FALSE(rig.Shown(QLatin1String(page))) << page;
  }
  EXPECT_EQ(rig.window.size(), QSize(1040, 680));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Disable_All_1")));
  for (int copy = 1; copy <= 5; ++copy) {
    for (const char* stem :
         {"Main", "Switch", "Fixed", "Adv", "Breath", "Macro", "Update", "Engineer", "Save", "Load",
          "Lang1", "Lang2", "Lang3", "Confirm1", "Confirm2", "Confirm3", "Web", "Exit", "Mini"}) {
      rig.Find(QStringLiteral("Btn_%1_%2").arg(QLatin1String(stem)).arg(copy));
      rig.Find(QStringLiteral("Img_%1_%2").arg(QLatin1String(stem)).arg(copy));
    }
    rig.Find(QStringLiteral("Disable_All_%1").arg(copy));
    rig.Find(QStringLiteral("Img_Base_%1").arg(copy));
  }
  for (const char* name :
       {"Img_Logo4", "Btn_Main_6", "Btn_Save_6", "Btn_Load_6", "Btn_Close", "Pg_Parameter",
        "ts_Engineer", "ts_Gun", "ts_Operator", "lbl_Content", "FormLoadingUI", "Key1", "Key12"}) {
    rig.Find(QLatin1String(name));
  }
  EXPECT_FALSE(rig.Shown(QStringLiteral("Btn_Engineer_1")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Main_1"), QStringLiteral("SetS_03")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Adv_1"), QStringLiteral("SetS_01")));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_Main_1"))->text(), QStringLiteral("Mode A"));
  // The bus is looked at once the event loop runs, then every 3.5 s.
  EXPECT_EQ(rig.window.DevTimer().interval(), 0);
  rig.window.DevTimer().start();  // as FormCreate left it
  for (int i = 0; i < 100 && rig.window.DevTimer().interval() != 3500; ++i) QTest::qWait(10);
  EXPECT_EQ(rig.window.DevTimer().interval(), 3500);
  rig.window.DevTimer().stop();
  EXPECT_THAT(rig.window.SkinErrors(), IsEmpty());
  EXPECT_THAT(rig.dialogs->messages, IsEmpty());
}

TEST(MainWindow, PageButtonWithoutAMouseShowsTheMessageAndStays) {
  WindowRig rig;
  rig.Click(QStringLiteral("Btn_Adv_1"));
  rig.Click(QStringLiteral("Btn_Switch_1"));
  EXPECT_THAT(rig.dialogs->messages, ElementsAre(kNoMouseText, kNoMouseText));
  EXPECT_THAT(rig.dialogs->fonts, Contains(QStringLiteral("Calibri")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage1")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("gbPage2")));
  EXPECT_EQ(rig.CountSent("> 40 05"), 0);
}

TEST(MainWindow, PageButtonsShowTheirPagesOnceTheMouseIsRead) {
  WindowRig rig;
  rig.Connect();
  EXPECT_FALSE(rig.Shown(QStringLiteral("Disable_All_1")));
  rig.Click(QStringLiteral("Btn_Adv_1"));
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage2")));
  EXPECT_FALSE(rig.Shown(QStringLiteral("gbPage1")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Adv_2"), QStringLiteral("SetS_03")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Main_2"), QStringLiteral("SetS_01")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_P2"), QStringLiteral("L1_Back2")));
  // The Switch Control page chooses profile 2 on the mouse.
  rig.Click(QStringLiteral("Btn_Switch_2"));
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage1")));
  EXPECT_EQ(rig.CountSent("> 40 05 00 A4"), 1);  // live 164
  EXPECT_EQ(image::User(rig.session.Data())[0], 0xF1);
  rig.window.Btn_Engineer_0Click();
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage7")));
  EXPECT_EQ(rig.window.size(), QSize(1256, 680));
  QTest::mouseClick(rig.Find(QStringLiteral("Btn_Main_6")), Qt::LeftButton);
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage1")));
  EXPECT_EQ(rig.window.size(), QSize(1040, 680));
  EXPECT_THAT(rig.dialogs->messages, IsEmpty());
}

TEST(MainWindow, MouseTheUserMayNotOpenIsNamedWithTheFix) {
  WindowRig rig;
  rig.Bus().SetMouseAccessDenied(true);
  rig.window.DevTimerTimer();
  ASSERT_TRUE(rig.session.Conn().access_denied.has_value());
  const QString text = rig.Find<QLabel>(QStringLiteral("lbl_CoverText_1"))->text();
  EXPECT_THAT(text.toStdString(), HasSubstr(rig.session.Conn().access_denied->path));
  EXPECT_THAT(text.toStdString(), HasSubstr("packaging/70-vrdk-mouse.rules"));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Disable_All_1")));
}

TEST(MainWindow, ConfirmButtonWritesTheFactoryImageAndRestartsTheMouse) {
  WindowRig rig;
  rig.Click(QStringLiteral("Btn_Confirm1_1"));
  EXPECT_THAT(rig.dialogs->messages, ElementsAre(kNoMouseText));
  EXPECT_EQ(rig.CountSent("> 40 07"), 0);
  rig.Connect();
  auto memory = rig.Mouse().Memory();
  memory[200] ^= 0xFF;  // a changed setting that the reset must undo
  rig.Mouse().SetMemory(memory);
  // Asked first; a No keeps everything.
  rig.Click(QStringLiteral("Btn_Confirm1_1"));
  ASSERT_EQ(rig.dialogs->questions.size(), 1);
  EXPECT_TRUE(rig.dialogs->questions.front().contains(QStringLiteral("macro")));
  EXPECT_EQ(rig.CountSent("> 40 07"), 0);
  EXPECT_EQ(rig.Mouse().Memory(), memory);
  rig.dialogs->confirm_answer = true;
  rig.Click(QStringLiteral("Btn_Confirm1_1"));
  EXPECT_EQ(rig.CountSent("> 40 07 00 00 08 00"), 1);  // the whole 2048 bytes
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);              // and the restart
  EXPECT_EQ(rig.Mouse().Memory(), DefaultsFor(MemoryType::kI2C).WorkingImage(1));
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
}

TEST(MainWindow, SaveWritesWhatTheMouseHoldsWithBinAppended) {
  WindowRig rig;
  rig.Connect();
  QTemporaryDir folder;
  rig.dialogs->save_answer = folder.filePath(QStringLiteral("profile"));
  rig.Click(QStringLiteral("Btn_Breath_1"));  // every page's copy of the button saves
  rig.Click(QStringLiteral("Btn_Save_3"));
  EXPECT_THAT(rig.dialogs->filters, ElementsAre(QStringLiteral("SaveFile(*.bin)")));
  QFile file(folder.filePath(QStringLiteral("profile.bin")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << rig.dialogs->messages.join('\n').toStdString();
  const QByteArray bytes = file.readAll();
  const auto memory = rig.Mouse().Memory();
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), memory);
  EXPECT_EQ(bytes.size(), 2048);
  // The user is told where it went.
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_TRUE(
      rig.dialogs->messages.front().contains(folder.filePath(QStringLiteral("profile.bin"))));
}

TEST(MainWindow, SaveOverAnExistingFileAsksAndARefusalKeepsIt) {
  WindowRig rig;
  rig.Connect();
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("old.bin"));
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("keep me");
  old.close();
  rig.dialogs->save_answer = folder.filePath(QStringLiteral("old"));
  rig.dialogs->replace_answer = false;
  rig.Click(QStringLiteral("Btn_Save_1"));
  EXPECT_THAT(rig.dialogs->replace_asked, ElementsAre(path));
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("keep me"));
  EXPECT_EQ(rig.CountSent("> 40 09"), 0);  // not even read
  // Cancelling the dialog does nothing at all.
  rig.dialogs->save_answer.clear();
  rig.Click(QStringLiteral("Btn_Save_1"));
  EXPECT_EQ(rig.CountSent("> 40"), 0);
}

TEST(MainWindow, LoadRefusesAFileOfAnotherKindAndLoadsAGoodOne) {
  WindowRig rig;
  rig.Connect();
  QTemporaryDir folder;
  const QString wrong = folder.filePath(QStringLiteral("wrong.bin"));
  QFile file(wrong);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(2048, '\0'));
  file.close();
  rig.dialogs->open_answer = wrong;
  rig.Click(QStringLiteral("Btn_Load_1"));
  EXPECT_THAT(rig.dialogs->filters, ElementsAre(QStringLiteral("LoadFile(*.bin)")));
  EXPECT_THAT(rig.dialogs->messages, ElementsAre(QStringLiteral("Loading .bin is error!")));
  EXPECT_EQ(rig.CountSent("> 40 07"), 0);

  auto image = DefaultsFor(MemoryType::kI2C).WorkingImage(3);
  const QString good = folder.filePath(QStringLiteral("good.bin"));
  QFile out(good);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
  out.close();
  rig.dialogs->open_answer = good;
  rig.Click(QStringLiteral("Btn_Load_1"));
  EXPECT_EQ(rig.CountSent("> 40 07 00 00 08 00"), 1);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
  EXPECT_EQ(rig.Mouse().Memory(), image);
}

TEST(MainWindow, LoadAsksWhyBeforeAFileThatWouldLeaveAMouseThisProgramNoLongerFinds) {
  WindowRig rig;
  rig.Connect();
  QTemporaryDir folder;
  auto image = rig.Mouse().Memory();
  image[2] = 0x12;  // product id 0x12B8
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < 163; ++i) sum = static_cast<std::uint8_t>(sum + image[i]);
  image[163] = static_cast<std::uint8_t>(sum ^ 0x5A);
  const QString path = folder.filePath(QStringLiteral("other.bin"));
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
  out.close();
  rig.dialogs->open_answer = path;
  rig.dialogs->confirm_answer = false;
  rig.Click(QStringLiteral("Btn_Load_1"));
  ASSERT_EQ(rig.dialogs->questions.size(), 1);
  EXPECT_TRUE(rig.dialogs->questions[0].contains(QStringLiteral("USB ids 1BCF:12B8")));
  EXPECT_TRUE(rig.dialogs->questions[0].endsWith(QStringLiteral("Load it anyway?")));
  EXPECT_EQ(rig.CountSent("> 40 07"), 0);
  rig.dialogs->confirm_answer = true;
  rig.Click(QStringLiteral("Btn_Load_1"));
  EXPECT_EQ(rig.CountSent("> 40 07 00 00 08 00"), 1);
  EXPECT_EQ(rig.Mouse().Memory(), image);
}

TEST(MainWindow, LanguageButtonsSwitchCaptionsPicturesAndFonts) {
  WindowRig rig;
  const LanguageTables& tables = rig.session.Languages();
  rig.Click(QStringLiteral("Btn_Lang2_1"));
  EXPECT_EQ(rig.session.CurrentLanguage(), 2);
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_Main_3"))->text().toStdString(),
            tables.Table(2).Text("Str004"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_Confirm1_1"))->text().toStdString(),
            tables.Table(2).Text("Str001"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_Main_3"))->font().family(),
            QStringLiteral("Microsoft JhengHei"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Lang2_4"), QStringLiteral("SetS_03")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Lang1_4"), QStringLiteral("SetS_01")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_P1"), QStringLiteral("L2_Back1")));
  EXPECT_EQ(rig.window.windowTitle().toStdString(), tables.Table(2).Title());
  rig.Click(QStringLiteral("Btn_Lang1_1"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_Main_3"))->text(), QStringLiteral("Mode A"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Key1"))->text().toStdString(),
            tables.Table(1).Text(210));
}

TEST(MainWindow, InputWhileATransferRunsWaitsForItAndIsThenTakenInOrder) {
  WindowRig rig;
  rig.Connect();
  bool loading_shown = false;
  int writes_when_clicked = -1;
  // While the reset writes, the user clicks a page button: nothing starts
  // inside the transfer, and the page opens once the reset is over.
  rig.clock.on_pump = [&] {
    loading_shown = rig.window.LoadingWindow()->isVisible();
    writes_when_clicked = rig.CountSent("> 40 07");
    rig.Click(QStringLiteral("Btn_Adv_1"));
  };
  rig.dialogs->confirm_answer = true;
  rig.Click(QStringLiteral("Btn_Confirm1_1"));
  EXPECT_TRUE(loading_shown);
  EXPECT_GE(writes_when_clicked, 0);
  EXPECT_EQ(rig.CountSent("> 40 07 00 00 08 00"), 1);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage1")));
  rig.Settle();
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage2")));
  EXPECT_FALSE(rig.window.LoadingWindow()->isVisible());
  EXPECT_EQ(rig.window.LoadingWindow()->size(), QSize(115, 60));
}

TEST(MainWindow, KeysTypedWhileAWriteRunsAllReachTheBoxAndTheLastValueTheMouse) {
  WindowRig rig;
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Adv_1"));
  auto* interval = rig.Find<QLineEdit>(QStringLiteral("Edt_DelayTime2"));
  interval->setFocus();
  interval->selectAll();
  // "1" starts a write; "2", "3", "4" come while it lets the window breathe.
  int pumps = 0;
  std::function<void()> type_more = [&] {
    if (++pumps <= 3) QTest::keyClicks(interval, QString::number(pumps + 1));
    rig.clock.on_pump = type_more;
  };
  rig.clock.on_pump = type_more;
  QTest::keyClicks(interval, QStringLiteral("1"));
  for (int i = 0; i < 20 && interval->text() != QStringLiteral("1234"); ++i) rig.Settle();
  rig.clock.on_pump = nullptr;
  rig.Settle();
  EXPECT_EQ(interval->text(), QStringLiteral("1234"));
  EXPECT_EQ(rig.session.Keys().fire[1].interval, 1234);
  const auto memory = rig.Mouse().Memory();
  EXPECT_EQ(memory[484 + 6] << 8 | memory[484 + 7], 1234);
}

TEST(MainWindow, FifthDoubleClickOnTheLogoAsksForTheCode) {
  WindowRig rig;
  rig.Connect();
  rig.window.Btn_Engineer_0Click();
  auto* tabs = rig.Find<QTabWidget>(QStringLiteral("Pg_Parameter"));
  auto* logo = rig.Find(QStringLiteral("Img_Logo4"));
  rig.dialogs->password_answer = QStringLiteral("wrong");
  for (int i = 0; i < 4; ++i) QTest::mouseDClick(logo, Qt::LeftButton);
  EXPECT_EQ(rig.dialogs->password_asked, 0);
  QTest::mouseDClick(logo, Qt::LeftButton);
  EXPECT_EQ(rig.dialogs->password_asked, 1);
  EXPECT_FALSE(tabs->isTabVisible(1));  // ts_Gun
  rig.dialogs->password_answer = QStringLiteral("TarvondQXKPW");
  for (int i = 0; i < 5; ++i) QTest::mouseDClick(logo, Qt::LeftButton);
  EXPECT_EQ(rig.dialogs->password_asked, 2);
  EXPECT_TRUE(tabs->isTabVisible(0));
  EXPECT_TRUE(tabs->isTabVisible(1));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Btn_PatchCode")));
  EXPECT_TRUE(rig.Find(QStringLiteral("cb_LEDMode"))->isEnabled());
  // Unlocked, one more double-click locks and hides again.
  QTest::mouseDClick(logo, Qt::LeftButton);
  EXPECT_FALSE(tabs->isTabVisible(1));
  EXPECT_FALSE(rig.Shown(QStringLiteral("Btn_PatchCode")));
}

TEST(MainWindow, WebButtonOpensTheAddressOnlyWhenTheBrandEnablesIt) {
  BrandOptions brand = LoadBrandOptions().options;
  brand.web_enabled = false;
  {
    WindowRig rig({}, brand);
    rig.Click(QStringLiteral("Btn_Web_1"));
    EXPECT_THAT(rig.dialogs->opened, IsEmpty());
    EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Web_5"), QStringLiteral("WebS_03")));
  }
  brand.web_enabled = true;
  WindowRig rig({}, brand);
  rig.Click(QStringLiteral("Btn_Web_1"));
  EXPECT_THAT(rig.dialogs->opened, ElementsAre(QString::fromStdString(brand.web_address)));
}

TEST(MainWindow, CaptionsRollOnlyWhenTheBrandSaysSo) {
  BrandOptions brand = LoadBrandOptions().options;
  for (const bool rolling : {false, true}) {
    brand.rolling_captions = rolling;
    WindowRig rig({}, brand);
    auto* label = rig.Find<QLabel>(QStringLiteral("Btn_Load_1"));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(label, &enter);
    rig.window.LabelRunTimer();
    EXPECT_EQ(label->text(),
              rolling ? QStringLiteral("oad Profile    L") : QStringLiteral("Load Profile"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &leave);
    EXPECT_EQ(label->text(), QStringLiteral("Load Profile"));
  }
}

TEST(MainWindow, LayoutReportFollowsPagesAndLanguages) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("layout.json"));
  WindowRig rig({path, QString()});
  const auto read = [&path] {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object();
  };
  // The first report comes once the window is on the screen.
  for (int i = 0; i < 200 && !QFile::exists(path); ++i) QTest::qWait(10);
  QJsonObject report = read();
  EXPECT_EQ(report[QStringLiteral("page")].toString(), QStringLiteral("gbPage1"));
  EXPECT_EQ(report[QStringLiteral("language")].toInt(), 1);
  EXPECT_EQ(report[QStringLiteral("window")][QStringLiteral("width")].toInt(), 1040);
  bool found = false;
  for (const auto value : report[QStringLiteral("controls")].toArray()) {
    const QJsonObject control = value.toObject();
    if (control[QStringLiteral("name")].toString() != QStringLiteral("Btn_Main_1")) continue;
    found = true;
    EXPECT_EQ(control[QStringLiteral("x")].toInt(), 24 + 14);
    EXPECT_EQ(control[QStringLiteral("y")].toInt(), 100);
    EXPECT_EQ(control[QStringLiteral("text")].toString(), QStringLiteral("Mode A"));
    EXPECT_TRUE(control[QStringLiteral("visible")].toBool());
    EXPECT_EQ(control[QStringLiteral("class")].toString(),
              QStringLiteral("vrdk::shell::SkinLabel"));
  }
  EXPECT_TRUE(found);
  rig.Click(QStringLiteral("Btn_Lang3_1"));
  EXPECT_EQ(read()[QStringLiteral("language")].toInt(), 3);
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Macro_1"));
  EXPECT_EQ(read()[QStringLiteral("page")].toString(), QStringLiteral("gbPage4"));
}

// A report's control by name, or an empty object.
QJsonObject ReportedControl(const QJsonObject& parent, const QString& name) {
  for (const auto value : parent[QStringLiteral("controls")].toArray()) {
    if (value.toObject()[QStringLiteral("name")].toString() == name) return value.toObject();
  }
  return {};
}

TEST(MainWindow, LayoutReportFollowsPanelsDialogsAndTheVeil) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("layout.json"));
  WindowRig rig({path, QString()});
  const auto read = [&path] {
    WindowRig::Settle();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object();
  };
  // No mouse yet: the veil says what the window waits for.
  EXPECT_EQ(read()[QStringLiteral("veil")].toString(),
            QStringLiteral("Finding the specified device"));
  rig.Connect();
  EXPECT_EQ(read()[QStringLiteral("veil")].toString(), QString());
  rig.Click(QStringLiteral("Btn_Macro_1"));
  // A right-click opens the library's panel: the report places its entries.
  QTest::mouseClick(rig.Find<QListWidget>(QStringLiteral("LB_PCMacroName"))->viewport(),
                    Qt::RightButton, {}, QPoint(20, 20));
  QJsonObject report = read();
  const QJsonObject panel = ReportedControl(report, QStringLiteral("Pnl_PCMacro"));
  const QJsonObject entry = ReportedControl(report, QStringLiteral("Btn_NewMacro"));
  ASSERT_TRUE(panel[QStringLiteral("visible")].toBool());
  ASSERT_TRUE(entry[QStringLiteral("visible")].toBool());
  EXPECT_EQ(entry[QStringLiteral("text")].toString(), QStringLiteral("New Macro"));
  EXPECT_GE(entry[QStringLiteral("x")].toInt(), panel[QStringLiteral("x")].toInt());
  EXPECT_GE(entry[QStringLiteral("y")].toInt(), panel[QStringLiteral("y")].toInt());
  rig.window.HideAllMenu();
  EXPECT_FALSE(
      ReportedControl(read(), QStringLiteral("Pnl_PCMacro"))[QStringLiteral("visible")].toBool());
  // A dialog of the program is reported with its controls while it shows.
  {
    QDialog dialog(&rig.window);
    dialog.setObjectName(QStringLiteral("FormTest"));
    dialog.setWindowTitle(QStringLiteral("A question"));
    auto* button = new QLabel(QStringLiteral("OK"), &dialog);
    button->setObjectName(QStringLiteral("Btn_OK"));
    dialog.show();
    const QJsonArray dialogs = read()[QStringLiteral("dialogs")].toArray();
    ASSERT_EQ(dialogs.size(), 1);
    const QJsonObject shown = dialogs.first().toObject();
    EXPECT_EQ(shown[QStringLiteral("name")].toString(), QStringLiteral("FormTest"));
    EXPECT_EQ(shown[QStringLiteral("title")].toString(), QStringLiteral("A question"));
    EXPECT_EQ(ReportedControl(shown, QStringLiteral("Btn_OK"))[QStringLiteral("text")].toString(),
              QStringLiteral("OK"));
  }
  EXPECT_TRUE(read()[QStringLiteral("dialogs")].toArray().isEmpty());
}

TEST(MainWindow, ARejectedMouseVeilsThePagesWithTheReason) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("layout.json"));
  WindowRig rig({path, QString()});
  auto memory = rig.Mouse().Memory();
  memory[image::i2c::kFire] = 0x12;
  memory[image::i2c::kFire + 1] = 0x34;
  rig.Mouse().SetMemory(memory);
  rig.Connect();
  ASSERT_EQ(rig.session.Conn().state, ConnectionState::kRejected);
  EXPECT_THAT(rig.dialogs->messages,
              ElementsAre(QStringLiteral("The mouse manufacturer or product id error")));
  EXPECT_TRUE(rig.Shown(QStringLiteral("Disable_All_1")));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QJsonDocument::fromJson(file.readAll()).object()[QStringLiteral("veil")].toString(),
            QStringLiteral("The mouse manufacturer or product id error"));
}

// A page's pictures are decoded when it is first shown, the engineer page's
// controls made then, and a language switch lets the other language's
// pictures go.
TEST(MainWindow, HiddenPagesHoldNoPixelsAndNoEngineerControlsUntilShown) {
  WindowRig rig;
  auto* advanced = rig.Find<QLabel>(QStringLiteral("Img_P2"));
  EXPECT_TRUE(advanced->pixmap().isNull());
  EXPECT_EQ(advanced->size(), rig.window.GetPictures().Size(QStringLiteral("L1_Back2")));
  EXPECT_FALSE(rig.Find<QLabel>(QStringLiteral("Img_P1"))->pixmap().isNull());
  EXPECT_EQ(rig.window.findChild<QWidget*>(QStringLiteral("cb_LEDMode")), nullptr);
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Adv_1"));
  EXPECT_FALSE(advanced->pixmap().isNull());
  rig.window.Btn_Engineer_0Click();
  EXPECT_NE(rig.window.findChild<QWidget*>(QStringLiteral("cb_LEDMode")), nullptr);
  EXPECT_EQ(rig.window.findChildren<QWidget*>(QStringLiteral("ts_Operator")).size(), 1);

  Pictures& pictures = rig.window.GetPictures();
  const qint64 english = pictures.Get(QStringLiteral("L1_Back3")).cacheKey();
  const qint64 shared = pictures.Get(QStringLiteral("SetS_01")).cacheKey();
  pictures.KeepLanguage(2);
  EXPECT_NE(pictures.Get(QStringLiteral("L1_Back3")).cacheKey(), english);
  EXPECT_EQ(pictures.Get(QStringLiteral("SetS_01")).cacheKey(), shared);
}

// The window's cut corners are wholly transparent in every language: nothing
// of the background's drawing lies over the key colour there.
TEST(MainWindow, TheBackgroundsCornersAreWhollyTransparent) {
  Pictures pictures;
  for (int language = 1; language <= 3; ++language) {
    const QImage keyed = pictures.Background(language).toImage();
    const int w = keyed.width();
    const int h = keyed.height();
    int drawn = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        // Two pixels clear of the 26-pixel diagonal cuts, for their smoothing.
        const bool corner = x + y < 24 || (w - 1 - x) + y < 24 || x + (h - 1 - y) < 24 ||
                            (w - 1 - x) + (h - 1 - y) < 24;
        if (corner && qAlpha(keyed.pixel(x, y)) != 0) ++drawn;
      }
    }
    EXPECT_EQ(drawn, 0) << "language " << language;
  }
}

// The application icon's drawing lies whole and centred inside its frame.
TEST(MainWindow, TheIconsDrawingIsWholeAndCentredInItsFrame) {
  Pictures pictures;
  const QImage icon = pictures.Get(QStringLiteral("AppIcon")).toImage();
  ASSERT_EQ(icon.size(), QSize(256, 256));
  QRect drawing;
  for (int y = 24; y < 232; ++y) {
    for (int x = 24; x < 232; ++x) {
      const QColor c = icon.pixelColor(x, y);
      const bool light = c.lightness() > 150;  // the mouse and slashes, not ground or frame
      if (light) drawing |= QRect(x, y, 1, 1);
    }
  }
  ASSERT_FALSE(drawing.isEmpty());
  EXPECT_GT(drawing.left(), 28);
  EXPECT_LT(drawing.right(), 228);
  EXPECT_NEAR(drawing.center().x(), 128, 4);
  EXPECT_NEAR(drawing.center().y(), 128, 4);
}

TEST(MainWindow, MissingPictureGivesANamedErrorAndAUsableWindow) {
  QTemporaryDir folder;
  for (const QString& file : QDir(QStringLiteral(":/skin")).entryList(QDir::Files)) {
    if (file == QStringLiteral("KeyS_01.png")) continue;
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/skin/") + file, folder.filePath(file)));
  }
  TForm1::Options options;
  options.pictures_root = folder.path();
  WindowRig rig(options);
  EXPECT_THAT(rig.window.SkinErrors().join('\n').toStdString(), HasSubstr("\"KeyS_01\""));
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_THAT(rig.dialogs->messages[0].toStdString(), HasSubstr("KeyS_01"));
  EXPECT_GT(rig.Find(QStringLiteral("Key1"))->width(), 0);
  rig.Click(QStringLiteral("Btn_Adv_1"));
  EXPECT_EQ(rig.dialogs->messages.size(), 2);  // the window still answers
}

// Qt's own dialogs (the colour dialog) follow the window into language 2.
TEST(MainWindow, QtsOwnDialogsSpeakTheWindowsLanguage) {
  const QString basic = QStringLiteral("&Basic colors");
  QtDialogs dialogs;
  dialogs.SetLanguage(2, QFont(), QString());
  EXPECT_NE(QCoreApplication::translate("QColorDialog", basic.toUtf8().constData()), basic);
  dialogs.SetLanguage(3, QFont(), QString());
  EXPECT_EQ(QCoreApplication::translate("QColorDialog", basic.toUtf8().constData()), basic);
}

TEST(MainWindow, MessageAndPasswordDialogsCarryTheirNamesAndTheTableFont) {
  const QFont font(QStringLiteral("Microsoft JhengHei"), 11);
  MessageDialog message(nullptr, QStringLiteral("Bin file type error"), font, QStringLiteral("OK"),
                        QString());
  EXPECT_EQ(message.objectName(), QStringLiteral("FormMessagDialog"));
  EXPECT_EQ(message.Text(), QStringLiteral("Bin file type error"));
  EXPECT_EQ(message.font().family(), font.family());
  // Its text and button are drawn in that font, shown.
  message.show();
  for (const char* part : {"lbl_Message", "Btn_MessageOK"}) {
    const QFont shown = message.findChild<QWidget*>(QLatin1String(part))->font();
    EXPECT_EQ(shown.family(), font.family()) << part;
    EXPECT_EQ(shown.pointSize(), 11) << part;
  }
  message.hide();
  // A question in the same look, its words in the window's language, No first.
  QuestionDialog question(nullptr, QStringLiteral("替換？"), font,
                          QString::fromStdString(OwnTextFor(OwnText::kDialogYes, 2)),
                          QString::fromStdString(OwnTextFor(OwnText::kDialogNo, 2)), QString());
  question.show();
  EXPECT_EQ(question.findChild<QLabel*>(QStringLiteral("lbl_Question"))->font().family(),
            font.family());
  EXPECT_EQ(question.findChild<QPushButton*>(QStringLiteral("Btn_Yes"))->text(),
            QStringLiteral("是(&Y)"));
  EXPECT_TRUE(question.findChild<QPushButton*>(QStringLiteral("Btn_No"))->isDefault());
  question.hide();
  PasswordDialog password(nullptr, font, QString());
  EXPECT_EQ(password.objectName(), QStringLiteral("dlgPass"));
  EXPECT_EQ(password.windowTitle(), QStringLiteral("Password"));
}

TEST(MainWindow, AClickHeldDuringAWriteMovesTheFocusBeforeTheKeysHeldAfterIt) {
  WindowRig rig;
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Adv_1"));
  auto* interval = rig.Find<QLineEdit>(QStringLiteral("Edt_DelayTime2"));
  auto* shots = rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat3"));
  interval->setFocus();
  interval->selectAll();
  // While the write of "1" runs: the rest of the number, Tab, a click into
  // fire key 3's shots, End, Backspace and 4, through the window as the
  // window system brings them.
  rig.clock.on_pump = [&] {
    QWindow* window = rig.window.windowHandle();
    for (const char c : {'2', '3', '4'}) QTest::keyClick(window, c);
    QTest::keyClick(window, Qt::Key_Tab);
    QTest::mouseClick(window, Qt::LeftButton, {},
                      shots->mapTo(&rig.window, shots->rect().center()));
    QTest::keyClick(window, Qt::Key_End);
    QTest::keyClick(window, Qt::Key_Backspace);
    QTest::keyClick(window, '4');
  };
  QTest::keyClicks(interval, QStringLiteral("1"));
  for (int i = 0; i < 10; ++i) rig.Settle();
  EXPECT_EQ(interval->text(), QStringLiteral("1234"));
  EXPECT_EQ(shots->text(), QStringLiteral("4"));
  EXPECT_EQ(rig.session.Keys().fire[1].interval, 1234);
  EXPECT_EQ(rig.session.Keys().fire[2].count, 4);
}

// A page button acts on the release over it. Clicks held while a write runs
// keep the places where they came: Qt shares a mouse event's point with the
// events it makes later, and giving the first click again moved the second
// one's release onto the first's place, so the page never opened.
TEST(MainWindow, ClicksHeldWhileAWriteRunsEachLandWhereTheyCame) {
  WindowRig rig;
  rig.Connect();
  rig.Click(QStringLiteral("Btn_Adv_1"));
  auto* interval = rig.Find<QLineEdit>(QStringLiteral("Edt_DelayTime2"));
  auto* shots = rig.Find<QLineEdit>(QStringLiteral("Edt_Repeat3"));
  auto* light = rig.Find(QStringLiteral("Btn_Breath_2"));
  interval->setFocus();
  interval->selectAll();
  rig.clock.on_pump = [&] {
    rig.clock.on_pump = nullptr;
    QWindow* window = rig.window.windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {},
                      shots->mapTo(&rig.window, shots->rect().center()));
    QTest::mouseClick(window, Qt::LeftButton, {},
                      light->mapTo(&rig.window, light->rect().center()));
  };
  QTest::keyClicks(interval, QStringLiteral("1"));
  for (int i = 0; i < 10; ++i) rig.Settle();
  EXPECT_EQ(rig.session.Keys().fire[1].interval, 1);
  EXPECT_TRUE(rig.Shown(QStringLiteral("gbPage3")));
}

}  // namespace
}  // namespace vrdk::shell
