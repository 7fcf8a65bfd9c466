#include "shell/skin_palette.h"

namespace vrdk::shell {
namespace {

QColor Mix(const QColor& a, const QColor& b) {
  return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

}  // namespace

QColor ToQColor(const SkinColour& colour) { return QColor(colour.red, colour.green, colour.blue); }

SkinPalette SkinPalette::Of(const SkinLayout& skin) {
  SkinPalette palette;
  palette.panel = ToQColor(skin.Colour("G_Back"));
  palette.field = ToQColor(skin.Colour("D_Back"));
  palette.raised = ToQColor(skin.Colour("BG_Slider"));
  palette.border = ToQColor(skin.Colour("D_Border"));
  palette.accent = ToQColor(skin.Colour("G_Border"));
  palette.accent_light = ToQColor(skin.Colour("D_Selected"));
  palette.chosen = ToQColor(skin.Colour("G_SP"));
  palette.chosen_text = ToQColor(skin.Colour("G_SF"));
  palette.text = ToQColor(skin.Colour("F_Font"));
  palette.soft_text = ToQColor(skin.Style("D").colour);
  palette.hint = ToQColor(skin.Colour("D_notSelected"));
  // Readable, but plainly fainter than a hint.
  palette.disabled = Mix(palette.border, palette.hint);
  return palette;
}

QString Css(const QColor& colour) {
  if (colour.alpha() == 255) return colour.name(QColor::HexRgb);
  return QStringLiteral("rgba(%1, %2, %3, %4)")
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue())
      .arg(colour.alpha());
}

QString ButtonRules(const SkinPalette& palette) {
  return QStringLiteral(
             "QPushButton { background: %1; color: %2; border: 1px solid %3; padding: 5px 18px; }"
             "QPushButton:hover, QPushButton:focus { border-color: %4; }"
             "QPushButton:pressed { background: %5; }"
             "QPushButton:disabled { color: %6; }")
      .arg(Css(palette.raised), Css(palette.text), Css(palette.border), Css(palette.accent_light),
           Css(palette.accent), Css(palette.disabled));
}

QString FieldRules(const SkinPalette& palette) {
  return QStringLiteral(
             "QLineEdit { background: %1; color: %2; border: 1px solid %3; padding: 3px; }"
             "QLineEdit:focus { border-color: %4; }"
             "QLineEdit:read-only, QLineEdit:disabled { color: %5; }")
      .arg(Css(palette.field), Css(palette.text), Css(palette.border), Css(palette.accent_light),
           Css(palette.disabled));
}

QString DialogSheet(const SkinPalette& palette) {
  return QStringLiteral(
             "QDialog { background: %1; border: 1px solid %2; }"
             "QLabel { color: %3; background: transparent; }")
             .arg(Css(palette.panel), Css(palette.border), Css(palette.text)) +
         FieldRules(palette) + ButtonRules(palette);
}

QString HintStyle(const SkinPalette& palette) {
  return QStringLiteral("color: %1;").arg(Css(palette.hint));
}

QString PopupFrameSheet(const SkinLayout& skin, const QString& frame, int border) {
  return QStringLiteral("QFrame#%1 { background: %2; border: %3px solid %4; }")
      .arg(frame, Css(ToQColor(skin.Colour("G_Back"))))
      .arg(border)
      .arg(Css(ToQColor(skin.Colour("G_Border"))));
}

QString PopupEntryStyle(const SkinLayout& skin, bool chosen) {
  const QString text = Css(ToQColor(chosen ? skin.Colour("G_SF") : skin.Style("G").colour));
  const QString back = chosen ? Css(ToQColor(skin.Colour("G_SP"))) : QStringLiteral("transparent");
  return QStringLiteral("color: %1; background: %2;").arg(text, back);
}

}  // namespace vrdk::shell
