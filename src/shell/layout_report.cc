#include "shell/layout_report.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>

namespace vrdk::shell {
namespace {

QString TextOf(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) return edit->text();
  if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) return combo->currentText();
  return {};
}

}  // namespace

QByteArray LayoutReport(const QWidget& window, const QString& page, int language, bool busy) {
  QJsonArray controls;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty() || widget->window() != &window) continue;
    const QPoint at = widget->mapTo(&window, QPoint(0, 0));
    controls.append(QJsonObject{
        {QStringLiteral("name"), widget->objectName()},
        {QStringLiteral("class"), QString::fromLatin1(widget->metaObject()->className())},
        {QStringLiteral("x"), at.x()},
        {QStringLiteral("y"), at.y()},
        {QStringLiteral("width"), widget->width()},
        {QStringLiteral("height"), widget->height()},
        {QStringLiteral("visible"), widget->isVisibleTo(&window)},
        {QStringLiteral("enabled"), widget->isEnabled()},
        {QStringLiteral("text"), TextOf(*widget)},
    });
  }
  const QJsonObject report{
      {QStringLiteral("page"), page},
      {QStringLiteral("language"), language},
      {QStringLiteral("busy"), busy},
      {QStringLiteral("window"), QJsonObject{{QStringLiteral("width"), window.width()},
                                             {QStringLiteral("height"), window.height()}}},
      {QStringLiteral("controls"), controls},
  };
  return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

bool WriteLayoutReport(const QWidget& window, const QString& page, int language, bool busy,
                       const QString& path, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(LayoutReport(window, page, language, busy)) < 0 || !file.commit()) {
    *error = QStringLiteral("cannot write the layout report %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace vrdk::shell
