#include "widgets/image_list.h"

#include <QGuiApplication>
#include <QImage>

namespace quill {
namespace {

constexpr const char* kImageNames[ImageList::kCount] = {
    "add_file",    "folder_open", "folder_curved_arrow", "folder_blue_arrow", "folder_up_arrow",
    "sort_arrows", "ebook"};

// The rendering at one or two times the picture's size.
QImage Rendering(const QString& name, int scale) {
  const QString suffix = scale > 1 ? QStringLiteral("@%1x").arg(scale) : QString();
  QImage image(QStringLiteral(":/artwork/%1%2.png").arg(name, suffix));
  image.setDevicePixelRatio(scale);
  return image;
}

}  // namespace

QPixmap Artwork(const QString& name, QSize size) {
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  // The larger rendering serves every density above one; a size other than
  // the picture's own is scaled from the nearest rendering.
  QImage image = Rendering(name, ratio > 1.0 ? 2 : 1);
  const QSize pixels = size * ratio;
  if (!image.isNull() && image.size() != pixels) {
    image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  image.setDevicePixelRatio(ratio);
  return QPixmap::fromImage(image);
}

QIcon ArtworkIcon(const QString& name) {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(Rendering(name, 1)));
  icon.addPixmap(QPixmap::fromImage(Rendering(name, 2)));
  return icon;
}

ImageList::ImageList() {
  for (const char* name : kImageNames) icons_.push_back(ArtworkIcon(QString::fromLatin1(name)));
}

QIcon ImageList::icon(int index) const {
  return index >= 0 && index < icons_.size() ? icons_[index] : QIcon();
}

}  // namespace quill
