#include "shell/pictures.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QPainter>

namespace vrdk::shell {
namespace {
const QSize kPlaceholderSize(96, 28);
}  // namespace

Pictures::Pictures() { SetRoot(root_); }

void Pictures::SetRoot(const QString& root) {
  root_ = root;
  files_.clear();
  cache_.clear();
  sizes_.clear();
  const QDir dir(root_);
  for (const QString& file : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
    files_.insert(file.chopped(4).toLower(), file);
  }
}

bool Pictures::Has(const QString& name) const { return files_.contains(name.toLower()); }

QString Pictures::Path(const QString& name) const {
  return root_ + QLatin1Char('/') + files_.value(name.toLower());
}

const QPixmap& Pictures::Get(const QString& name) {
  const QString folded = name.toLower();
  auto found = cache_.find(folded);
  if (found != cache_.end()) return *found;
  // Read as an image, not with QPixmap::load, which would keep a second
  // copy in Qt's own pixmap cache.
  QPixmap picture;
  if (Has(name)) {
    QImage image(Path(name));
    if (!image.isNull()) picture = QPixmap::fromImage(std::move(image));
  }
  if (picture.isNull()) {
    errors_.append(
        QStringLiteral("the picture \"%1\" is missing; a placeholder is shown").arg(name));
    QImage placeholder(kPlaceholderSize, QImage::Format_ARGB32);
    placeholder.fill(QColor(60, 64, 74));
    QPainter painter(&placeholder);
    painter.setPen(QColor(224, 40, 58));
    painter.drawRect(placeholder.rect().adjusted(0, 0, -1, -1));
    painter.end();
    picture = QPixmap::fromImage(placeholder);
  }
  return *cache_.insert(folded, picture);
}

QPixmap Pictures::Background(int language) {
  if (background_language_ != language || background_.isNull()) {
    // Keyed straight from the file: the plain picture is not kept as well.
    const QString name = QStringLiteral("L%1_BackGround").arg(language);
    QImage plain;
    if (Has(name)) plain.load(Path(name));
    background_ = QPixmap::fromImage(plain.isNull() ? KeyedOut(Get(name).toImage())
                                                    : KeyedOut(std::move(plain)));
    background_language_ = language;
  }
  return background_;
}

// Placing the skin needs the pictures' sizes, not their pixels: the sizes
// come from the files' headers, and a picture is decoded when it is shown.
QSize Pictures::Size(const QString& name) {
  const QString folded = name.toLower();
  QSize size = sizes_.value(folded);
  if (size.isValid()) return size;
  if (const auto found = cache_.constFind(folded); found != cache_.constEnd()) {
    size = found->size();
  } else if (Has(name)) {
    size = QImageReader(Path(name)).size();
  }
  if (!size.isValid()) size = Get(name).size();  // a placeholder, and its error
  sizes_.insert(folded, size);
  return size;
}

void Pictures::KeepLanguage(int language) {
  const QString own = QStringLiteral("l%1_").arg(language);
  for (auto it = cache_.begin(); it != cache_.end();) {
    const QString& name = it.key();
    const bool of_a_language = name.size() > 3 && name[0] == QLatin1Char('l') &&
                               name[1] >= QLatin1Char('1') && name[1] <= QLatin1Char('3') &&
                               name[2] == QLatin1Char('_');
    if (of_a_language && !name.startsWith(own)) {
      it = cache_.erase(it);
    } else {
      ++it;
    }
  }
}

PictureSizes Pictures::Sizes() {
  return [this](std::string_view name) -> std::optional<SkinSize> {
    const QSize size = Size(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    return SkinSize{size.width(), size.height()};
  };
}

QImage KeyedOut(QImage image, QRgb key) {
  // Premultiplied, as the window draws it: an opaque pixel keeps its value
  // and a keyed one becomes 0, so drawing needs no further conversion.
  QImage keyed = std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x) {
      if (line[x] == key) line[x] = 0;
    }
  }
  return keyed;
}

}  // namespace vrdk::shell
