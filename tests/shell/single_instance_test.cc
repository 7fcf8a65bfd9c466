// One window per user: a second start reaches the first and brings it to the
// front instead of opening a second device session.

#include "shell/single_instance.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

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

}  // namespace
}  // namespace vrdk::shell
