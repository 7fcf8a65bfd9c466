#include "shell/pages/engineer_form.h"

#include <QLocale>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include "engineering/engineering_terms.h"
#include "session/session.h"

namespace vrdk::shell::engineer {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

// The column follows the system's locale at start, not the language buttons.
engineering::TermColumn Column() {
  static const engineering::TermColumn column = engineering::TermColumnForLocale(
      engineering::LocaleIdOfPosixLocale(QLocale::system().name().toStdString()));
  return column;
}

}  // namespace

QString Term(int code) { return FromUtf8(engineering::EngineeringText(code, Column())); }

QString OwnTerm(std::string_view english, std::string_view chinese) {
  return FromUtf8(Column() == engineering::TermColumn::kChinese ? chinese : english);
}

QString EffectTerm(std::string_view name) {
  // The effects' terms: "Off" (26) .. "4-Seasons" (43).
  constexpr int kFirstEffectTerm = 26;
  constexpr int kLastEffectTerm = 43;
  for (int code = kFirstEffectTerm; code <= kLastEffectTerm; ++code) {
    if (engineering::EngineeringText(code, engineering::TermColumn::kEnglish) == name)
      return Term(code);
  }
  return FromUtf8(name);
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

NumberField* FormGroup::HexEdit(int column, const QString& name, const QString& caption, int digits,
                                bool exact) {
  long most = 1;
  for (int i = 0; i < digits; ++i) most *= 16;
  auto* edit = new NumberField(name, {0, most - 1, 16, digits, exact, {}}, box_);
  edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  edit->setFixedWidth(12 + 11 * std::max(digits, 3));
  Pair(column, QStringLiteral("lbl_") + name.mid(4), caption, edit);
  return edit;
}

QList<NumberField*> FormGroup::ColourEdits(const QString& stem, int count, int rows,
                                           const std::function<QString(int)>& caption,
                                           const std::function<void(int, int, int)>& changed) {
  constexpr char kComponents[] = {'R', 'G', 'B'};
  QList<NumberField*> edits;
  for (int colour = 1; colour <= count; ++colour) {
    const int row = (colour - 1) % rows;
    const int column = (colour - 1) / rows * 4;
    auto* label = new QLabel(caption(colour), box_);
    label->setObjectName(QStringLiteral("lbl_%1%2RGB").arg(stem).arg(colour));
    grid_->addWidget(label, row, column);
    for (int component = 0; component < 3; ++component) {
      auto* edit = new NumberField(
          QStringLiteral("edt_%1%2%3").arg(stem).arg(colour).arg(kComponents[component]),
          {0, 255, 10, 3, false, {}}, box_);
      edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      edit->setFixedWidth(42);
      grid_->addWidget(edit, row, column + 1 + component);
      edits.append(edit);
      edit->SetSender([colour, component, changed](const QString& text, bool) {
        changed(colour, component, text.toInt());
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

void ShowField(EditField* field, const QString& text, const Session& session) {
  field->Show(text, session.Pages().filled);
}

}  // namespace vrdk::shell::engineer
