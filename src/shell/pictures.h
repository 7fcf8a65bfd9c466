// The skin's pictures, by resource name without regard to case ("KEYS_03" is
// "KeyS_03"), drawn at build time from the SVG sources in artwork/.
//
// A missing picture is not fatal: it is reported once by name and replaced by
// a plain placeholder of a size that keeps its controls usable.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include "tables/skin_layout.h"

namespace vrdk::shell {

class Pictures {
 public:
  Pictures();

  // The picture, or a placeholder (and an error) when there is none.
  const QPixmap& Get(const QString& name);
  bool Has(const QString& name) const;
  // Its size, from the file's header when it has not been decoded.
  QSize Size(const QString& name);
  // Drops the decoded pictures of the other languages (L1_..., L2_...,
  // L3_...): the window shows those of one language at a time.
  void KeepLanguage(int language);
  // The window background of a language with clMaroon made transparent, so
  // the window takes the shape of its picture.
  QPixmap Background(int language);
  // The size lookup the skin placement works with.
  PictureSizes Sizes();
  // Pictures asked for but missing, one line each.
  const QStringList& Errors() const { return errors_; }

  // Where the pictures are looked up; tests point it at a folder of their own.
  void SetRoot(const QString& root);

 private:
  QString Path(const QString& name) const;

  QString root_ = QStringLiteral(":/skin");
  QHash<QString, QString> files_;  // folded name -> file name
  QHash<QString, QPixmap> cache_;  // folded name -> picture
  QHash<QString, QSize> sizes_;    // folded name -> size, read from the file's header
  int background_language_ = 0;
  QPixmap background_;
  QStringList errors_;
};

// The window's transparent key colour, clMaroon.
inline constexpr QRgb kTransparentKey = 0xFF800000;

// The picture with every pixel of the key colour made fully transparent
// (in place when the picture is given up).
QImage KeyedOut(QImage image, QRgb key = kTransparentKey);

}  // namespace vrdk::shell
