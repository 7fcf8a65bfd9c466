#include "shell/pages/engineer_form.h"

#include <QIntValidator>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include "engineering/engineering_terms.h"

namespace vrdk::shell::engineer {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Term(int code) {
  // The column follows the system's locale at start, not the language buttons.
  static const engineering::TermColumn column = engineering::TermColumnForLocale(
      engineering::LocaleIdOfPosixLocale(QLocale::system().name().toStdString()));
  return FromUtf8(engineering::EngineeringText(code, column));
}

QStringList Numbers(int first, int last) {
  QStringList items;
  for (int n = first; n <= last; ++n) items.append(QString::number(n));
  return items;
}

QString Hex(int value, int digits) {
  return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

FormGroup::FormGroup(QWidget* parent, const QString& name, const QString& title)
    : box_(new QGroupBox(title, parent)), grid_(new QGridLayout(box_)) {
  box_->setObjectName(name);
  grid_->setContentsMargins(8, 6, 8, 6);
  grid_->setHorizontalSpacing(6);
  grid_->setVerticalSpacing(3);
}

QLabel* FormGroup::Pair(int column, const QString& label_name, const QString& caption,
                        QWidget* control) {
  auto* label = new QLabel(caption, box_);
  label->setObjectName(label_name);
  const int row = rows_[static_cast<std::size_t>(column)]++;
  grid_->addWidget(label, row, column * 2);
  grid_->addWidget(control, row, column * 2 + 1);
  return label;
}

QComboBox* FormGroup::Combo(int column, const QString& name, const QString& caption,
                            const QStringList& items) {
  auto* combo = new QComboBox(box_);
  combo->setObjectName(name);
  combo->addItems(items);
  Pair(column, QStringLiteral("lbl_") + name.mid(3), caption, combo);
  return combo;
}

QLineEdit* FormGroup::HexEdit(int column, const QString& name, const QString& caption, int digits) {
  auto* edit = new QLineEdit(box_);
  edit->setObjectName(name);
  edit->setMaxLength(digits);
  edit->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,%1}").arg(digits)), edit));
  edit->setFixedWidth(12 + 11 * std::max(digits, 3));
  Pair(column, QStringLiteral("lbl_") + name.mid(4), caption, edit);
  return edit;
}

QList<QLineEdit*> FormGroup::ColourEdits(const QString& stem, int count, int rows,
                                         const std::function<QString(int)>& caption,
                                         const std::function<void(int, int, int)>& changed) {
  constexpr char kComponents[] = {'R', 'G', 'B'};
  QList<QLineEdit*> edits;
  for (int colour = 1; colour <= count; ++colour) {
    const int row = (colour - 1) % rows;
    const int column = (colour - 1) / rows * 4;
    auto* label = new QLabel(caption(colour), box_);
    label->setObjectName(QStringLiteral("lbl_%1%2RGB").arg(stem).arg(colour));
    grid_->addWidget(label, row, column);
    for (int component = 0; component < 3; ++component) {
      auto* edit = new QLineEdit(box_);
      edit->setObjectName(
          QStringLiteral("edt_%1%2%3").arg(stem).arg(colour).arg(kComponents[component]));
      edit->setValidator(new QIntValidator(0, 999, edit));
      edit->setMaxLength(3);
      edit->setFixedWidth(42);
      grid_->addWidget(edit, row, column + 1 + component);
      edits.append(edit);
      QObject::connect(edit, &QLineEdit::textEdited, edit,
                       [edit, colour, component, changed](const QString& text) {
                         if (text.isEmpty()) return;  // empty while typing
                         changed(colour, component, text.toInt());
                         if (text.toInt() > 255) ShowText(edit, QStringLiteral("255"));
                       });
    }
  }
  return edits;
}

void FormGroup::Compact() {
  grid_->setRowStretch(grid_->rowCount(), 1);
  grid_->setColumnStretch(grid_->columnCount(), 1);
}

void ShowItem(QComboBox* combo, int item) {
  const QSignalBlocker blocker(combo);
  combo->setCurrentIndex(item >= 0 && item < combo->count() ? item : -1);
}

void ShowText(QLineEdit* edit, const QString& text) {
  if (edit->text() == text) return;
  const QSignalBlocker blocker(edit);
  edit->setText(text);
}

}  // namespace vrdk::shell::engineer
