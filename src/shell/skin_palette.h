// The window's own colours: those its pictures do not draw (dialogs, fields,
// buttons, lists, tab panes, hints). Every one is taken from the skin's
// colour table, so a skin file sets the whole look, and every style sheet of
// the window is written here from them.
#pragma once

#include <QColor>
#include <QString>

#include "tables/skin_layout.h"

namespace vrdk::shell {

struct SkinPalette {
  QColor panel;         // dialogs, panes, pop-up panels ("G_Back")
  QColor field;         // text boxes, lists, drop-down lists ("D_Back")
  QColor raised;        // buttons and tabs ("BG_Slider")
  QColor border;        // frames of fields, buttons and panes ("D_Border")
  QColor accent;        // the chosen tab, a pressed button, a checked box ("G_Border")
  QColor accent_light;  // the frame under the pointer or with the focus ("D_Selected")
  QColor chosen;        // the chosen row of a list or menu ("G_SP")
  QColor chosen_text;   // its text ("G_SF")
  QColor text;          // text on fields and dialogs ("F_Font")
  QColor soft_text;     // captions of the engineer page (the advanced page's text)
  QColor hint;          // notes and hints ("D_notSelected")
  QColor disabled;      // text of a control that cannot be used now

  static SkinPalette Of(const SkinLayout& skin);
};

// A colour as a style sheet writes it: "#rrggbb", or "rgba(r, g, b, a)"
// when it is not opaque.
QString Css(const QColor& colour);
QColor ToQColor(const SkinColour& colour);

// Style sheet rules, each for the kinds of widget it names.
QString ButtonRules(const SkinPalette& palette);  // QPushButton
QString FieldRules(const SkinPalette& palette);   // QLineEdit
// A dialog of the window's own (QDialog, QLabel and the rules above).
QString DialogSheet(const SkinPalette& palette);
// A hint or note: smaller text in the hint colour.
QString HintStyle(const SkinPalette& palette);

// The pop-up panels (the key menus and the macro page's panels): the frame
// named `frame`, and an entry's look when chosen or not.
QString PopupFrameSheet(const SkinLayout& skin, const QString& frame, int border);
QString PopupEntryStyle(const SkinLayout& skin, bool chosen);

}  // namespace vrdk::shell
