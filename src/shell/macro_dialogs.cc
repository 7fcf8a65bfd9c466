#include "shell/macro_dialogs.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "keys/keyboard_keys.h"
#include "macros/event_lines.h"
#include "macros/macro_name.h"
#include "shell/virtual_keys.h"

namespace vrdk::shell {
MacroNameDialog::MacroNameDialog(ShellServices& services, const QString& current)
    : SmallDialog(services, kMacroLook,
                  MacroNames(QStringLiteral("Form3"), QStringLiteral("Edt_MacroName")), "Str510",
                  "Str511", "Str512") {
  edit_->setMaxLength(static_cast<int>(macros::kMacroNameUnits));
  edit_->setAlignment(Qt::AlignCenter);
  edit_->setText(current);
  edit_->selectAll();
}

QString MacroNameDialog::Name() const { return edit_->text(); }

OneKeyDialog::OneKeyDialog(ShellServices& services)
    : SmallDialog(services, kMacroLook,
                  MacroNames(QStringLiteral("Form4"), QStringLiteral("Edt_OneKey")), "Str520",
                  "Str501", "Str502") {
  edit_->setReadOnly(true);
  edit_->setAlignment(Qt::AlignCenter);
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text.isEmpty()) virtual_key_.reset();  // Clear
  });
}

bool OneKeyDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    if (const int virtual_key = VirtualKeyOf(*static_cast<const QKeyEvent*>(event))) {
      virtual_key_ = virtual_key;
      const std::string_view name = VirtualKeyName(virtual_key);
      edit_->setText(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    return true;  // every key belongs to the field, Tab and Enter too
  }
  return SmallDialog::eventFilter(watched, event);
}

DelayDialog::DelayDialog(ShellServices& services, int current)
    : SmallDialog(services, kMacroLook,
                  MacroNames(QStringLiteral("Form5"), QStringLiteral("Edt_InputDelay")), "Str521",
                  "Str501", "Str502") {
  edit_->setAlignment(Qt::AlignCenter);
  edit_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit_));
  edit_->setText(QString::number(current));
  edit_->selectAll();
}

int DelayDialog::Delay() const {
  bool ok = false;
  const qlonglong value = edit_->text().toLongLong(&ok);
  if (!ok || value < 1) return 1;
  return value > macros::kMaxDelay ? macros::kMaxDelay : static_cast<int>(value);
}

}  // namespace vrdk::shell
