#include "shell/page.h"

#include <QLabel>

#include "shell/edit_field.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {

Page::Page(int group, ShellServices& services, QWidget* parent)
    : QWidget(parent), services_(services), group_(group) {
  setObjectName(QStringLiteral("gbPage%1").arg(group));
  if (group > 5) return;
  // First, so that everything the page holds lies over them.
  base_ = new PictureLabel(QStringLiteral("Img_Base_%1").arg(group), this);
  picture_ = new PictureLabel(QStringLiteral("Img_P%1").arg(group), this);
}

void Page::ShowPlaceholder(const QString& name, const QString& title, const QString& detail) {
  auto* label = findChild<QLabel*>(name);
  if (label == nullptr) {
    label = new QLabel(this);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  const QRect area = picture_ != nullptr && !picture_->Picture().isNull()
                         ? picture_->geometry()
                         : rect().adjusted(40, 80, -40, -40);
  // A band low on the left of the page, clear of the page picture's drawings.
  label->setGeometry(area.x() + 48, area.bottom() - 150, 520, 90);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setFont(services_.TableFont(16));
  const SkinPalette palette = SkinPalette::Of(services_.Skin());
  label->setStyleSheet(QStringLiteral("color: %1;").arg(Css(palette.text)));
  label->setText(QStringLiteral("<div style='font-size:20pt; font-weight:600'>%1</div>"
                                "<div style='color:%3; font-size:11pt'>%2</div>")
                     .arg(title.toHtmlEscaped(), detail.toHtmlEscaped(), Css(palette.hint)));
}

void Page::ShowField(EditField* field, const QString& text) {
  field->Show(text, services_.GetSession().Pages().filled);
}

void Page::ShowField(NumberField* field, long value) { ShowField(field, field->Format(value)); }

}  // namespace vrdk::shell
