// One window per user: a second start tells the running one to come to the
// front and ends, so a second device session never runs. The running one
// answers on a local socket named per user.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace vrdk::shell {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);

  // "vrdk-mouse" in the user's runtime folder (Unix); "vrdk-mouse-" and the
  // user's name (Windows).
  static QString DefaultName();

  // Tells the running instance, if any, to come to the front; true when one
  // answered.
  bool AskRunningToShow(int timeout_ms = 1000);
  // Becomes the running instance, unless another one answers (it is asked to
  // come to the front, and the result is false); a socket left by a crashed
  // run is taken over.
  bool Listen();
  bool Listening() const { return server_.isListening(); }

 signals:
  void ShowRequested();

 private:
  bool ForeignName() const;

  QString name_;
  QLocalServer server_;
};

}  // namespace vrdk::shell
