#include "shell/pages/macro_controls.h"

#include <QLineEdit>
#include <algorithm>

#include "shell/edit_field.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {

SkinLabel* PictureButton(QWidget* page, Pictures& pictures, const QString& stem,
                         const QString& family, std::function<void()> action) {
  auto* image = new PictureLabel(QStringLiteral("Img_") + stem, page);
  auto* label = new SkinLabel(QStringLiteral("Btn_") + stem, page);
  WireHoverPictures(*label, *image, pictures, family);
  QObject::connect(label, &SkinLabel::Clicked, image,
                   [&pictures, image, family, action = std::move(action)] {
                     image->SetPicture(pictures.Get(family + QStringLiteral("_03")));
                     action();
                   });
  return label;
}

NumberField* Field(QWidget* page, const QString& name, macros::FieldRange range,
                   bool empty_reads_start) {
  const long low = range.low;
  const long high = range.high;
  const std::optional<long> empty =
      empty_reads_start ? std::optional<long>(range.start) : std::nullopt;
  auto* edit =
      new NumberField(name,
                      {low, high, 10, 0, false,
                       [low, high, empty](std::optional<long> typed) -> std::optional<long> {
                         if (!typed) return empty;
                         return std::clamp(*typed, low, high);
                       }},
                      page);
  edit->setText(QString::number(range.start));
  edit->setFixedSize(70, 24);
  edit->setAlignment(Qt::AlignCenter);
  return edit;
}

std::optional<int> TypedNumber(const QLineEdit* edit) {
  bool ok = false;
  const int value = edit->text().toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

}  // namespace vrdk::shell
