#include "shell/pages/macro_rows.h"

#include <QListWidget>
#include <QPainter>

#include "macros/event_lines.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

constexpr int kTextLeft = 35;  // where a line's text starts in LB_macro
constexpr int kNameLeft = 8;   // and a name in the name lists

}  // namespace

void MacroRowDelegate::SetColours(QColor text, QColor disabled_text, QColor selected_text,
                                  QColor selected_back) {
  text_ = text;
  disabled_text_ = disabled_text;
  selected_text_ = selected_text;
  selected_back_ = selected_back;
}

QSize MacroRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(height_);
  return size;
}

void MacroRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QVariant line = index.data(kLineRole);
  painter->save();
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  if (selected) painter->fillRect(option.rect, selected_back_);
  const bool enabled = option.state.testFlag(QStyle::State_Enabled);
  if (pictures_ == nullptr || !line.isValid()) {
    // A macro's name.
    painter->setPen(selected ? selected_text_ : (enabled ? text_ : disabled_text_));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(kNameLeft, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
    return;
  }
  const std::string text = line.toString().toStdString();
  const QString kind = text.empty() ? QString() : QString(QChar::fromLatin1(text[0]));
  const QRect square(option.rect.left() + 4, option.rect.top(), option.rect.height(),
                     option.rect.height());
  const QPixmap& icon = pictures_->Get(QStringLiteral("MacroEvent") + kind);
  painter->drawPixmap(
      QRect(square.center() - QPoint(icon.width() / 2, icon.height() / 2), icon.size()), icon);
  painter->setPen(selected ? selected_text_ : text_);
  painter->setFont(option.font);
  painter->drawText(option.rect.adjusted(kTextLeft, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                    FromUtf8(macros::LineDisplayText(text)));
  painter->restore();
}

void SetLine(QListWidgetItem& item, const std::string& line) {
  item.setData(kLineRole, FromUtf8(line));
  item.setData(Qt::AccessibleTextRole, FromUtf8(macros::LineDisplayText(line)));
}

int HighlightedRow(const QListWidget* list) {
  const QListWidgetItem* item = list->currentItem();
  return item != nullptr && item->isSelected() ? list->currentRow() : -1;
}

}  // namespace vrdk::shell
