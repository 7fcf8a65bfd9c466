#include "shell/single_instance.h"

#include <QLocalSocket>

#ifdef Q_OS_UNIX
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
  return QStringLiteral("vrdk-mouse-%1").arg(getuid());
#else
  return QStringLiteral("vrdk-mouse-%1").arg(qEnvironmentVariable("USERNAME"));
#endif
}

bool SingleInstance::AskRunningToShow(int timeout_ms) {
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
  // Nobody answers: a socket left there is a crashed run's.
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

}  // namespace vrdk::shell
