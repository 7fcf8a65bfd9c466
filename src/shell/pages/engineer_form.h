// The pieces the engineer page's tabs are built from: captions from the
// engineering term table (in the system's language, chosen once), labelled
// lists and hex edits that carry their component names, and group boxes
// laid out as a grid of caption and control pairs.
#pragma once

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <string_view>

#include "shell/edit_field.h"

namespace vrdk {
class Session;
}

namespace vrdk::shell::engineer {

// The text of an engineering term code in the column the system's locale
// chose when the program started.
QString Term(int code);
// A text of the page's own that the term table lacks, in the same column.
QString OwnTerm(std::string_view english, std::string_view chinese);
// A lighting effect's name ("CPI Breath") as the term table has it in the
// system's language; the name itself when it is no term.
QString EffectTerm(std::string_view name);
QString FromUtf8(std::string_view text);
// The items "first" .. "last".
QStringList Numbers(int first, int last);
// "0A", "08B9": upper-case hexadecimal of the given width.
QString Hex(int value, int digits);

// A group box with a grid; Pair() adds caption and control in the next free
// row of column pair `column`.
class FormGroup {
 public:
  FormGroup(QWidget* parent, const QString& name, const QString& title);
  QGroupBox* Box() const { return box_; }
  QGridLayout* Grid() const { return grid_; }
  QLabel* Pair(int column, const QString& label_name, const QString& caption, QWidget* control);
  QComboBox* Combo(int column, const QString& name, const QString& caption,
                   const QStringList& items);
  // Red, green and blue edits (0 .. 255; more shows 255) for colours 1 ..
  // `count`, `rows` to a column: edt_<stem><n>R, G, B after the caption
  // lbl_<stem><n>RGB. `changed` gets colour, component (0 R, 1 G, 2 B), value.
  QList<NumberField*> ColourEdits(const QString& stem, int count, int rows,
                                  const std::function<QString(int)>& caption,
                                  const std::function<void(int, int, int)>& changed);
  // Keeps the pairs packed at the top left when the box grows.
  void Compact();
  // A hex field of at most `digits` digits (exact: complete only with all).
  NumberField* HexEdit(int column, const QString& name, const QString& caption, int digits,
                       bool exact = false);

 private:
  QGroupBox* box_;
  QGridLayout* grid_;
  std::array<int, 4> rows_{};
};

// Selects an item or sets a text without telling the handlers.
void ShowItem(QComboBox* combo, int item);
void ShowText(QLineEdit* edit, const QString& text);
// Shows a value the mouse holds in a field: one the user is typing in keeps
// what was typed until DataBuf is filled anew.
void ShowField(EditField* field, const QString& text, const Session& session);

}  // namespace vrdk::shell::engineer
