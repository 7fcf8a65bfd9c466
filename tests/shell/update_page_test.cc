// The update page and the engineer page's patch button as a user meets them:
// a patch file is chosen in the file dialog, refused with a message before a
// byte is sent when it is not whole, and programmed (with the loading window
// shown) when it is.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "shell/loading_window.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

QString WriteFile(const QTemporaryDir& folder, const QString& name,
                  const std::vector<std::uint8_t>& bytes) {
  const QString path = folder.filePath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  return path;
}

// An "I2C" patch file: the header claims `claimed` bytes, `held` follow it.
std::vector<std::uint8_t> PatchFile(int claimed, int held, std::uint8_t fill = 0x01) {
  std::vector<std::uint8_t> bytes(16 + static_cast<std::size_t>(held), fill);
  const std::uint8_t header[16] = {0x04,
                                   0x00,
                                   static_cast<std::uint8_t>(claimed >> 8),
                                   static_cast<std::uint8_t>(claimed & 0xFF),
                                   0x00,
                                   0x1A,
                                   0x00,
                                   0x00,
                                   0x02,
                                   0x81,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0xD9};
  std::copy(std::begin(header), std::end(header), bytes.begin());
  return bytes;
}

class UpdatePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.Connect();
    rig.Click(QStringLiteral("Btn_Update_1"));
    ASSERT_EQ(rig.window.ShownPageName(), QStringLiteral("gbPage5"));
  }
  QString LoadedText() { return rig.Find<QLabel>(QStringLiteral("lbl_LoadBIN"))->text(); }

  WindowRig rig;
  QTemporaryDir folder;
};

TEST_F(UpdatePageTest, ShowsItsControlsWithTheLanguagesCaptions) {
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("lbl_BINPath"))->text(),
            QStringLiteral("Update File Path"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_LoadBIN"))->text(), QStringLiteral("Load File"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_Program"))->text(), QStringLiteral("Update"));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_P5"), QStringLiteral("Update")));
  EXPECT_TRUE(rig.ShowsPicture(QStringLiteral("Img_Program"), QStringLiteral("KeyS_01")));
  EXPECT_EQ(rig.Find(QStringLiteral("Btn_Program"))->geometry(),
            rig.Find(QStringLiteral("Img_Program"))->geometry());
  rig.Click(QStringLiteral("Btn_Lang2_5"));
  EXPECT_EQ(rig.Find<QLabel>(QStringLiteral("Btn_LoadBIN"))->text().toStdString(),
            rig.session.Languages().Table(2).Text("Str440"));
}

TEST_F(UpdatePageTest, RefusedFilesAreNamedAndNothingIsSent) {
  const QString too_long = WriteFile(folder, QStringLiteral("long.bin"), PatchFile(2000, 2000));
  const QString cut = WriteFile(folder, QStringLiteral("cut.bin"), PatchFile(784, 100));
  rig.dialogs->open_answer = too_long;
  rig.Click(QStringLiteral("Btn_LoadBIN"));
  EXPECT_THAT(rig.dialogs->filters, ElementsAre(QStringLiteral("LoadFile(*.bin)")));
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_THAT(rig.dialogs->messages[0].toStdString(), HasSubstr("Bin file type error"));
  EXPECT_THAT(rig.dialogs->messages[0].toStdString(), HasSubstr("long.bin"));
  rig.dialogs->open_answer = cut;
  rig.Click(QStringLiteral("Btn_LoadBIN"));
  ASSERT_EQ(rig.dialogs->messages.size(), 2);
  EXPECT_THAT(rig.dialogs->messages[1].toStdString(), HasSubstr("holds only 100 bytes"));
  EXPECT_TRUE(LoadedText().isEmpty());
  // Nothing is loaded, so the update button sends nothing.
  rig.Click(QStringLiteral("Btn_Program"));
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());
  EXPECT_EQ(rig.dialogs->messages.size(), 2);
}

TEST_F(UpdatePageTest, LoadedPatchIsProgrammedWithTheLoadingWindowShown) {
  const QString path = WriteFile(folder, QStringLiteral("patch.bin"), PatchFile(32, 32));
  rig.dialogs->open_answer = path;
  rig.Click(QStringLiteral("Btn_LoadBIN"));
  EXPECT_THAT(rig.dialogs->messages, IsEmpty());
  EXPECT_EQ(LoadedText(), path);
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());  // loading sends nothing
  bool loading_shown = false;
  rig.clock.on_pump = [&] { loading_shown = rig.window.LoadingWindow()->isVisible(); };
  rig.Click(QStringLiteral("Btn_Program"));
  EXPECT_TRUE(loading_shown);
  EXPECT_EQ(rig.CountSent("> 40 07 03 F0 00 10"), 1);  // the header at 1008
  EXPECT_EQ(rig.CountSent("> 40 07 04 00 00 20"), 1);  // 32 bytes of code at 1024
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);              // and the restart
  const auto memory = rig.Mouse().Memory();
  // 32 bytes of 0x01 sum to 0x0020; XOR 0x015A gives 0x017A.
  EXPECT_THAT(std::vector<std::uint8_t>(memory.begin() + 1008, memory.begin() + 1016),
              ElementsAre(0x04, 0x00, 0x00, 0x20, 0x00, 0x1A, 0x01, 0x7A));
  EXPECT_EQ(std::count(memory.begin() + 1024, memory.begin() + 1056, 0x01), 32);
  // Success is told, with the file.
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_THAT(rig.dialogs->messages[0].toStdString(), HasSubstr("was programmed"));
  EXPECT_THAT(rig.dialogs->messages[0].toStdString(), HasSubstr("patch.bin"));
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
}

TEST_F(UpdatePageTest, OpeningThePageAgainForgetsTheFile) {
  rig.dialogs->open_answer = WriteFile(folder, QStringLiteral("patch.bin"), PatchFile(16, 16));
  rig.Click(QStringLiteral("Btn_LoadBIN"));
  ASSERT_FALSE(LoadedText().isEmpty());
  rig.Click(QStringLiteral("Btn_Main_5"));
  rig.Click(QStringLiteral("Btn_Update_1"));
  EXPECT_TRUE(LoadedText().isEmpty());
  rig.Mouse().ClearTranscript();
  rig.Click(QStringLiteral("Btn_Program"));
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());
  // A cancelled dialog changes nothing either.
  rig.dialogs->open_answer.clear();
  rig.Click(QStringLiteral("Btn_LoadBIN"));
  EXPECT_TRUE(LoadedText().isEmpty());
  EXPECT_THAT(rig.dialogs->messages, IsEmpty());
}

TEST_F(UpdatePageTest, EngineerPatchButtonRefusesABadFileBeforeSendingAByte) {
  rig.window.Btn_Engineer_0Click();
  rig.dialogs->password_answer = QStringLiteral("TarvondQXKPW");
  for (int i = 0; i < 5; ++i)
    QTest::mouseDClick(rig.Find(QStringLiteral("Img_Logo4")), Qt::LeftButton);
  rig.Mouse().ClearTranscript();
  rig.dialogs->open_answer = WriteFile(folder, QStringLiteral("bad.bin"), PatchFile(1025, 1025));
  rig.Click(QStringLiteral("Btn_PatchCode"));
  ASSERT_EQ(rig.dialogs->messages.size(), 1);
  EXPECT_THAT(rig.dialogs->messages[0].toStdString(), HasSubstr("1024-byte patch area"));
  EXPECT_THAT(TranscriptLines(rig.Mouse()), IsEmpty());
  // A whole file goes out at once, header and code, and the mouse restarts.
  rig.dialogs->open_answer = WriteFile(folder, QStringLiteral("good.bin"), PatchFile(64, 64, 0x02));
  rig.Click(QStringLiteral("Btn_PatchCode"));
  EXPECT_EQ(rig.CountSent("> 40 07 03 F0 00 10"), 1);
  EXPECT_EQ(rig.CountSent("> 40 07 04 00 00 40"), 1);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
}

}  // namespace
}  // namespace vrdk::shell
