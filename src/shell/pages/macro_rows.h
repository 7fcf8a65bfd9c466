// The rows of the macro page's three lists: a row delegate that draws a
// macro's name, or an event line with the icon of its kind, at the skin's
// row height; and the helpers that fill and read those rows.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <string>

class QListWidget;
class QListWidgetItem;

namespace vrdk::shell {

class Pictures;

// The role that holds an event line's text (its kind first) in LB_macro.
inline constexpr int kLineRole = Qt::UserRole;

// Without pictures the rows are names; with them, LB_macro's event lines:
// the icon of the line's kind in a square as high as the row and the line's
// text 35 pixels from the left.
class MacroRowDelegate : public QStyledItemDelegate {
 public:
  MacroRowDelegate(Pictures* pictures, QObject* parent)
      : QStyledItemDelegate(parent), pictures_(pictures) {}
  void SetHeight(int height) { height_ = height; }
  void SetColours(QColor text, QColor disabled_text, QColor selected_text, QColor selected_back);

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  Pictures* pictures_;
  int height_ = 22;
  QColor text_ = Qt::white;
  QColor disabled_text_ = Qt::gray;
  QColor selected_text_ = Qt::white;
  QColor selected_back_ = Qt::darkRed;
};

// An event line on its row: the line for the delegate, its display text for
// assistive tools.
void SetLine(QListWidgetItem& item, const std::string& line);

// The highlighted row, or -1. A list given the focus gets a current row
// that is not highlighted: nothing may act on it, as the user chose nothing.
int HighlightedRow(const QListWidget* list);

}  // namespace vrdk::shell
