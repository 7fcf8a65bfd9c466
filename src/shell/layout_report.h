// The window's layout as JSON, for skin authors and scripts:
//   {"page": "gbPage1", "language": 1, "window": {"width": .., "height": ..},
//    "controls": [{"name", "class", "x", "y", "width", "height", "visible",
//                  "enabled", "text"}, ...]}
// one entry per named widget, geometry relative to the window, "visible"
// whether it shows when the window does.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

namespace vrdk::shell {

QByteArray LayoutReport(const QWidget& window, const QString& page, int language);

// Replaces `path` with the report atomically; false with *error when it fails
// (the old file stays as it was).
bool WriteLayoutReport(const QWidget& window, const QString& page, int language,
                       const QString& path, QString* error);

}  // namespace vrdk::shell
