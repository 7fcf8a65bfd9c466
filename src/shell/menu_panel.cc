#include "shell/menu_panel.h"

#include <QVBoxLayout>

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
  setStyleSheet(QStringLiteral("QFrame#%1 { background: %2; border: 1px solid %3; }"
                               "QLabel { color: %4; background: transparent; }"
                               "QLabel:hover { color: %5; background: %6; }")
                    .arg(objectName(), CssColour(skin.Colour("G_Back")),
                         CssColour(skin.Colour("G_Border")), CssColour(style.colour),
                         CssColour(skin.Colour("G_SF")), CssColour(skin.Colour("G_SP"))));
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
