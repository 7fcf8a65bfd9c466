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

void Page::ShowField(EditField* field, const QString& text) {
  field->Show(text, services_.GetSession().Pages().filled);
}

void Page::ShowField(NumberField* field, long value) { ShowField(field, field->Format(value)); }

}  // namespace vrdk::shell
