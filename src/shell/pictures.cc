#include "shell/pictures.h"

#include <QDir>
#include <QImage>
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
  QPixmap picture;
  if (Has(name)) picture.load(Path(name));
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
  const QPixmap& picture = Get(QStringLiteral("L%1_BackGround").arg(language));
  return QPixmap::fromImage(KeyedOut(picture.toImage()));
}

PictureSizes Pictures::Sizes() {
  return [this](std::string_view name) -> std::optional<SkinSize> {
    const QString picture = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    const QPixmap& pixmap = Get(picture);
    return SkinSize{pixmap.width(), pixmap.height()};
  };
}

QImage KeyedOut(const QImage& image, QRgb key) {
  QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x) {
      if ((line[x] | 0xFF000000u) == key && qAlpha(line[x]) == 255) line[x] = 0;
    }
  }
  return keyed;
}

}  // namespace vrdk::shell
