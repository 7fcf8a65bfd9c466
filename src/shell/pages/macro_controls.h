// The macro page's own controls: the picture buttons of its record and
// insert panels, and its number fields, which take their limits from the
// core's field ranges.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "macros/event_lines.h"

class QLineEdit;
class QWidget;

namespace vrdk::shell {

class NumberField;
class Pictures;
class SkinLabel;

// A picture with its label, as the record buttons are ("Img_" and "Btn_" +
// stem): the hover and pressed pictures of its family.
SkinLabel* PictureButton(QWidget* page, Pictures& pictures, const QString& stem,
                         const QString& family, std::function<void()> action);

// A number box of the page, showing the range's start; corrected to the
// range when it is left. An emptied box then reads the start when
// `empty_reads_start`, or stays empty.
NumberField* Field(QWidget* page, const QString& name, macros::FieldRange range,
                   bool empty_reads_start);

// The whole number a box holds; nothing when it holds none.
std::optional<int> TypedNumber(const QLineEdit* edit);

}  // namespace vrdk::shell
