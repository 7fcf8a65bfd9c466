// The window's layout as JSON, for skin authors and scripts:
//   {"page": "gbPage1", "language": 1, "busy": false,
//    "window": {"width": .., "height": ..},
//    "controls": [{"name", "class", "x", "y", "width", "height", "visible",
//                  "enabled", "text"}, ...]}
// one entry per named widget, geometry relative to the window, "visible"
// whether it shows when the window does; "busy" while a transfer with the
// mouse runs (input is then held until it is over).
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

namespace vrdk::shell {

QByteArray LayoutReport(const QWidget& window, const QString& page, int language, bool busy);

// Replaces `path` with the report atomically; false with *error when it fails
// (the old file stays as it was).
bool WriteLayoutReport(const QWidget& window, const QString& page, int language, bool busy,
                       const QString& path, QString* error);

}  // namespace vrdk::shell
