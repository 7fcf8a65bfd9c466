#include "shell/menu_panel.h"

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
  label->setAttribute(Qt::WA_Hover);
  label->setMinimumHeight(24);
  label->setIndent(10);
  connect(label, &SkinLabel::Clicked, this, [this, action = std::move(action)] {
    hide();
    action();
  });
  layout()->addWidget(label);
  entries_.append({label, std::move(caption)});
}

void MenuPanel::Restyle(ShellServices& services) {
  const SkinLayout& skin = services.Skin();
  const TextStyle style = skin.Style("G");
  setStyleSheet(PopupFrameSheet(skin, objectName(), 1) +
                QStringLiteral("QLabel { %1 } QLabel:hover { %2 }")
                    .arg(PopupEntryStyle(skin, false), PopupEntryStyle(skin, true)));
  const QFont font = services.TableFont(style.points);
  for (const Entry& entry : entries_) {
    entry.label->setFont(font);
    entry.label->setText(entry.caption(services));
  }
  setFixedWidth(std::max(skin.Number("O_L_W"), sizeHint().width()));
  adjustSize();
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
