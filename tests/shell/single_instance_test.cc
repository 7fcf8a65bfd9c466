// One window per user: a second start reaches the first and brings it to the
// front instead of opening a second device session.

#include "shell/single_instance.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vrdk::shell {
namespace {

QString UniqueName() {
  return QStringLiteral("vrdk-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

TEST(SingleInstance, SecondStartReachesTheFirstAndDoesNotListen) {
  const QString name = UniqueName();
  SingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  QSignalSpy shown(&first, &SingleInstance::ShowRequested);
  SingleInstance second(name);
  EXPECT_FALSE(second.Listen());
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown.count() >= 1; }, 3000));
}

TEST(SingleInstance, NobodyRunningMeansNobodyAnswers) {
  SingleInstance alone(UniqueName());
  EXPECT_FALSE(alone.AskRunningToShow(200));
  EXPECT_TRUE(alone.Listen());
}

#ifdef Q_OS_UNIX
TEST(SingleInstance, TheNameLivesInTheUsersRuntimeFolder) {
  QTemporaryDir runtime;
  ASSERT_EQ(::chmod(QFile::encodeName(runtime.path()).constData(), 0700), 0);
  const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  EXPECT_EQ(SingleInstance::DefaultName(), runtime.path() + QStringLiteral("/vrdk-mouse"));
  qputenv("XDG_RUNTIME_DIR", before);
}

// Something planted under the name (a file, or one of another user) is
// neither asked nor trusted: the window starts all the same.
TEST(SingleInstance, APlantedNameIsNeitherAnsweredNorTrusted) {
  QTemporaryDir folder;
  const QString name = folder.filePath(QStringLiteral("vrdk-mouse"));
  QFile planted(name);
  ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
  planted.close();
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(QFile::encodeName(name).constData(), 65534, 65534), 0);
  }
  SingleInstance window(name);
  EXPECT_FALSE(window.AskRunningToShow(200));
  EXPECT_TRUE(window.Listen());
  EXPECT_FALSE(window.Listening());
  EXPECT_TRUE(QFile::exists(name));
}
#endif

}  // namespace
}  // namespace vrdk::shell
