// The window's layout as JSON, for skin authors and scripts:
//   {"page": "gbPage1", "language": 1, "busy": false, "veil": "", "focus": "Key3",
//    "window": {"width": .., "height": ..},
//    "controls": [{"name", "class", "x", "y", "width", "height", "visible",
//                  "enabled", "text"}, ...],
//    "dialogs": [{"name", "class", "title", "x", "y", "width", "height",
//                 "controls": [...]}, ...]}
// one entry per named widget, geometry relative to the window, "visible"
// whether it shows when the window does; "busy" while a transfer with the
// mouse runs (input is then held until it is over); "veil" the text over the
// pages while they are covered (empty when they are not); "focus" the name of
// the control with the keyboard focus (empty when none). "dialogs" are the
// program's other visible windows (dialogs, message boxes), placed on the
// screen, their controls relative to them.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

namespace vrdk::shell {

struct LayoutReportState {
  QString page;
  int language = 1;
  bool busy = false;
  QString veil;
  QString focus;
};

QByteArray LayoutReport(const QWidget& window, const LayoutReportState& state);

// Replaces `path` with the report atomically; false with *error when it fails
// (the old file stays as it was).
bool WriteLayoutReport(const QWidget& window, const LayoutReportState& state, const QString& path,
                       QString* error);

// Asks for the report again, once the events at hand are handled, whenever
// a pop-up panel ("Pnl_..."), a page cover ("Disable_All_...") or another
// window of the program opens or closes, and when the keyboard focus moves.
// Installed on the application.
class LayoutReportWatch : public QObject {
 public:
  LayoutReportWatch(std::function<void()> rewrite, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> rewrite_;
  bool queued_ = false;
};

}  // namespace vrdk::shell
