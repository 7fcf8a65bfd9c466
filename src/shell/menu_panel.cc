#include "shell/menu_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {}  // namespace

MenuPanel::MenuPanel(const QString& name, QWidget* parent) : QFrame(parent) {
  setObjectName(name);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(0);
  hide();
}

MenuPanel::Caption MenuPanel::Key(const char* language_key) {
  return [language_key](ShellServices& services) {
    return QString::fromStdString(services.Language().Text(language_key));
  };
}

void MenuPanel::AddEntry(const QString& name, Caption caption, std::function<void()> action) {
  auto* label = new SkinLabel(name, this);
  label->SetRole(ControlRole::kMenuItem);
  label->installEventFilter(this);
  label->setAttribute(Qt::WA_Hover);
  label->setMinimumHeight(24);
  label->setIndent(10);
  connect(label, &SkinLabel::Clicked, this, [this, action = std::move(action)] {
    const bool keyboard = isAncestorOf(QApplication::focusWidget());
    hide();
    if (keyboard && back_) back_->setFocus(Qt::OtherFocusReason);
    action();
  });
  layout()->addWidget(label);
  entries_.append({label, std::move(caption)});
}

void MenuPanel::Restyle(ShellServices& services) {
  const SkinLayout& skin = services.Skin();
  const TextStyle style = skin.Style("G");
  setStyleSheet(PopupFrameSheet(skin, objectName(), 1) +
                QStringLiteral("QLabel { %1 } QLabel:hover, QLabel:focus { %2 }")
                    .arg(PopupEntryStyle(skin, false), PopupEntryStyle(skin, true)));
  const QFont font = services.TableFont(style.points);
  for (const Entry& entry : entries_) {
    entry.label->setFont(font);
    entry.label->setText(entry.caption(services));
  }
  setFixedWidth(std::max(skin.Number("O_L_W"), sizeHint().width()));
  adjustSize();
}

void MenuPanel::FocusFirst(QWidget* back) {
  back_ = back;
  if (!entries_.isEmpty()) entries_.front().label->setFocus(Qt::TabFocusReason);
}

bool MenuPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  int index = -1;
  for (int i = 0; i < entries_.size(); ++i) {
    if (entries_[i].label == watched) index = i;
  }
  if (index < 0) return QFrame::eventFilter(watched, event);
  const int count = static_cast<int>(entries_.size());
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Down:
      entries_[(index + 1) % count].label->setFocus(Qt::TabFocusReason);
      return true;
    case Qt::Key_Up:
      entries_[(index + count - 1) % count].label->setFocus(Qt::TabFocusReason);
      return true;
    case Qt::Key_Escape:
      hide();
      if (back_) back_->setFocus(Qt::OtherFocusReason);
      return true;
    default:
      return false;
  }
}

void MenuPanel::OpenAt(QPoint at) {
  adjustSize();
  const QWidget* area = parentWidget();
  if (at.y() + height() > area->height()) at.ry() -= height();
  if (at.x() + width() > area->width()) at.rx() = area->width() - width();
  move(at);
  show();
  raise();
}

}  // namespace vrdk::shell
