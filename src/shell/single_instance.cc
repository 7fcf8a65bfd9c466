#include "shell/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vrdk::shell {
namespace {
constexpr char kShowRequest[] = "show\n";
}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->readAll().contains("show")) emit ShowRequested();
        socket->disconnectFromServer();
      });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

QString SingleInstance::DefaultName() {
#ifdef Q_OS_UNIX
  // In the user's own runtime folder ($XDG_RUNTIME_DIR, or a private 0700
  // folder Qt makes and checks), not in /tmp where anyone may plant the name.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) {
    folder = QDir::homePath() + QStringLiteral("/.cache/vrdk");
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
  }
  return folder + QStringLiteral("/vrdk-mouse");
#else
  return QStringLiteral("vrdk-mouse-%1").arg(qEnvironmentVariable("USERNAME"));
#endif
}

bool SingleInstance::ForeignName() const {
#ifdef Q_OS_UNIX
  // A name another user owns (or that is no socket) is neither answered nor
  // trusted.
  struct stat info {};
  const QByteArray path = QFile::encodeName(name_);
  if (!name_.startsWith(QLatin1Char('/')) || ::lstat(path.constData(), &info) != 0) return false;
  return info.st_uid != ::getuid() || !S_ISSOCK(info.st_mode);
#else
  return false;
#endif
}

bool SingleInstance::AskRunningToShow(int timeout_ms) {
  if (ForeignName()) return false;
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeout_ms)) return false;
  socket.write(kShowRequest);
  socket.waitForBytesWritten(timeout_ms);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen() {
  // Listening would take the name over even from a running instance (the
  // socket file is replaced), so ask first.
  if (AskRunningToShow()) return false;
  // Nobody answers: a socket left there is a crashed run's. Something of
  // another user's there is left alone, and this window runs without being
  // found by a second start.
  if (ForeignName()) return true;
  QLocalServer::removeServer(name_);
  server_.listen(name_);
  return true;
}

}  // namespace vrdk::shell
