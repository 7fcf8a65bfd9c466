#include "shell/layout_report.h"

#include <QAbstractButton>
#include <QApplication>
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

QJsonArray Controls(const QWidget& window) {
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
  return controls;
}

QJsonArray Dialogs(const QWidget& window) {
  QJsonArray dialogs;
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other == &window || !other->isVisible() || other->windowType() == Qt::ToolTip) continue;
    const QRect frame = other->geometry();
    dialogs.append(QJsonObject{
        {QStringLiteral("name"), other->objectName()},
        {QStringLiteral("class"), QString::fromLatin1(other->metaObject()->className())},
        {QStringLiteral("title"), other->windowTitle()},
        {QStringLiteral("x"), frame.x()},
        {QStringLiteral("y"), frame.y()},
        {QStringLiteral("width"), frame.width()},
        {QStringLiteral("height"), frame.height()},
        {QStringLiteral("controls"), Controls(*other)},
    });
  }
  return dialogs;
}

}  // namespace

QByteArray LayoutReport(const QWidget& window, const LayoutReportState& state) {
  const QJsonObject report{
      {QStringLiteral("page"), state.page},
      {QStringLiteral("language"), state.language},
      {QStringLiteral("busy"), state.busy},
      {QStringLiteral("veil"), state.veil},
      {QStringLiteral("focus"), state.focus},
      {QStringLiteral("window"), QJsonObject{{QStringLiteral("width"), window.width()},
                                             {QStringLiteral("height"), window.height()}}},
      {QStringLiteral("controls"), Controls(window)},
      {QStringLiteral("dialogs"), Dialogs(window)},
  };
  return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

bool WriteLayoutReport(const QWidget& window, const LayoutReportState& state, const QString& path,
                       QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(LayoutReport(window, state)) < 0 ||
      !file.commit()) {
    *error = QStringLiteral("cannot write the layout report %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

LayoutReportWatch::LayoutReportWatch(std::function<void()> rewrite, QObject* parent)
    : QObject(parent), rewrite_(std::move(rewrite)) {}

bool LayoutReportWatch::eventFilter(QObject* watched, QEvent* event) {
  const bool focus = event->type() == QEvent::FocusIn;
  if (event->type() != QEvent::Show && event->type() != QEvent::Hide && !focus) return false;
  if (queued_ || !watched->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(watched);
  if (widget->windowType() == Qt::ToolTip) return false;
  const QString name = widget->objectName();
  if (!focus && !widget->isWindow() && !name.startsWith(QLatin1String("Pnl_")) &&
      !name.startsWith(QLatin1String("Disable_All_"))) {
    return false;
  }
  // Once for all the panels and windows one action opens or closes.
  queued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        queued_ = false;
        rewrite_();
      },
      Qt::QueuedConnection);
  return false;
}

}  // namespace vrdk::shell
