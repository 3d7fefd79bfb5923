#include "widgets/image_list.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// Resources compiled into a static library are only linked in when something
// refers to them, so the image list registers them itself.
static void RegisterAppImages() { Q_INIT_RESOURCE(app_images); }

namespace quill {
namespace {

constexpr const char* kImageNames[ImageList::kCount] = {
    "add_file",    "folder_open", "folder_curved_arrow", "folder_blue_arrow", "folder_up_arrow",
    "sort_arrows", "ebook"};

QPixmap Render(const QString& name, QSize size, qreal ratio) {
  RegisterAppImages();
  QSvgRenderer renderer(QStringLiteral(":/app/images/%1.svg").arg(name));
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  image.setDevicePixelRatio(ratio);
  return QPixmap::fromImage(image);
}

}  // namespace

QPixmap Artwork(const QString& name, QSize size) {
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  return Render(name, size, ratio);
}

ImageList::ImageList() {
  const QSize size(kSize, kSize);
  for (const char* name : kImageNames) {
    QIcon icon;
    // Menus and lists may ask for either density; both renderings stay crisp.
    icon.addPixmap(Render(QString::fromLatin1(name), size, 1.0));
    icon.addPixmap(Render(QString::fromLatin1(name), size, 2.0));
    icons_.push_back(icon);
  }
}

QIcon ImageList::icon(int index) const {
  return index >= 0 && index < icons_.size() ? icons_[index] : QIcon();
}

}  // namespace quill
