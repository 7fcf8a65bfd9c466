#include "shell/edit_field.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdlib>

namespace vrdk::shell {

EditField::EditField(const QString& name, QWidget* parent) : QLineEdit(parent) {
  setObjectName(name);
  connect(this, &QLineEdit::textEdited, this, &EditField::Edit);
}

void EditField::SetSender(Send send) { send_ = std::move(send); }

void EditField::ShowText(const QString& text) {
  ++shown_;
  pending_ = false;
  pending_left_ = false;
  edited_ = false;
  if (this->text() == text) return;
  const QSignalBlocker blocker(this);
  setText(text);
}

void EditField::Show(const QString& text, std::uint64_t fill) {
  // A box left with a value still waiting to go keeps it too: a refresh of
  // the page (another box's write ending) must not drop that value.
  if ((edited_ || pending_) && fill == fill_) return;
  fill_ = fill;
  ShowText(text);
}

void EditField::Edit(const QString& text) {
  edited_ = true;
  if (Complete(text)) Schedule(false);
}

void EditField::Leave() {
  if (!edited_) return;
  const std::optional<QString> corrected = Corrected(text());
  if (!corrected) return;
  if (*corrected != text()) {
    const QSignalBlocker blocker(this);
    setText(*corrected);
  }
  edited_ = false;
  Schedule(true);
  emit Left();
}

void EditField::Schedule(bool left) {
  pending_left_ = pending_left_ || left;
  if (pending_ || !send_) return;
  pending_ = true;
  const QPointer<EditField> field(this);
  const unsigned shown = shown_;
  // After the handler that is running: the text the box holds then is the
  // one sent.
  QMetaObject::invokeMethod(
      this,
      [field, shown] {
        if (field.isNull() || field->shown_ != shown) return;
        field->pending_ = false;
        const bool left_now = field->pending_left_;
        field->pending_left_ = false;
        if (field->Complete(field->text())) field->send_(field->text(), left_now);
      },
      Qt::QueuedConnection);
}

void EditField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Another window or a pop-up taking the keys for a while is no leaving:
  // the user comes back to the box as it was.
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  Leave();
}

void EditField::keyPressEvent(QKeyEvent* event) {
  QLineEdit::keyPressEvent(event);
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) Leave();
}

// --- NumberField -------------------------------------------------------------------

namespace {

int DigitsOf(long value, int base) {
  int digits = 1;
  for (value = std::labs(value); value >= base; value /= base) ++digits;
  return digits;
}

}  // namespace

NumberField::NumberField(const QString& name, Rules rules, QWidget* parent)
    : EditField(name, parent), rules_(std::move(rules)) {
  if (rules_.digits <= 0) {
    rules_.digits =
        std::max(DigitsOf(rules_.minimum, rules_.base), DigitsOf(rules_.maximum, rules_.base));
  }
  const QString digit = rules_.base == 16 ? QStringLiteral("[0-9A-Fa-f]") : QStringLiteral("[0-9]");
  const QString sign = rules_.minimum < 0 ? QStringLiteral("-?") : QString();
  setValidator(new QRegularExpressionValidator(
      QRegularExpression(sign + digit + QStringLiteral("{0,%1}").arg(rules_.digits)), this));
  setMaxLength(rules_.digits + (rules_.minimum < 0 ? 1 : 0));
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

std::function<std::optional<long>(std::optional<long>)> NumberField::Corrector(
    int (*rule)(std::optional<int>)) {
  return [rule](std::optional<long> typed) -> std::optional<long> {
    return rule(typed ? std::optional(static_cast<int>(*typed)) : std::nullopt);
  };
}

std::optional<long> NumberField::Parse(const QString& text) const {
  bool ok = false;
  const long value = text.toLong(&ok, rules_.base);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<long> NumberField::Number() const { return Parse(text()); }

QString NumberField::Format(long value) const {
  if (rules_.base == 16) {
    return QString::number(value, 16).toUpper().rightJustified(rules_.digits, QLatin1Char('0'));
  }
  return QString::number(value);
}

void NumberField::ShowValue(long value) { ShowText(Format(value)); }

bool NumberField::Complete(const QString& text) const {
  const auto value = Parse(text);
  if (!value || *value < rules_.minimum || *value > rules_.maximum) return false;
  return !rules_.exact || text.size() == rules_.digits;
}

std::optional<QString> NumberField::Corrected(const QString& text) const {
  const std::optional<long> typed = Parse(text);
  std::optional<long> value;
  if (rules_.correct) {
    value = rules_.correct(typed);
  } else if (typed) {
    value = std::clamp(*typed, rules_.minimum, rules_.maximum);
  }
  if (!value) return std::nullopt;
  if (rules_.exact && !Complete(text)) return std::nullopt;  // a partial id is never sent
  return Format(*value);
}

// --- TextField ---------------------------------------------------------------------

TextField::TextField(const QString& name, int length, QWidget* parent) : EditField(name, parent) {
  setMaxLength(length);
  setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[\\x20-\\x7E]{0,%1}").arg(length)), this));
}

}  // namespace vrdk::shell
