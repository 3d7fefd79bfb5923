#include "viewer/qt/zip_image_list.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "widgets/image_list.h"

// Resources compiled into a static library are only linked in when something
// refers to them, so the image list registers them itself.
static void RegisterViewerImages() { Q_INIT_RESOURCE(viewer_images); }

namespace quill {
namespace {

QPixmap RenderPage(const char* name, qreal ratio) {
  QSvgRenderer renderer(QStringLiteral(":/viewer/images/%1.svg").arg(QLatin1String(name)));
  QImage image(QSize(ZipImageList::kSize, ZipImageList::kSize) * ratio,
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  image.setDevicePixelRatio(ratio);
  return QPixmap::fromImage(image);
}

// Both densities, so that lists on either kind of screen draw crisply.
QIcon Page(const char* name) {
  QIcon icon;
  icon.addPixmap(RenderPage(name, 1.0));
  icon.addPixmap(RenderPage(name, 2.0));
  return icon;
}

}  // namespace

ZipImageList::ZipImageList() {
  RegisterViewerImages();
  // The arrows are the main window's sort picture.
  icons_.push_back(ImageList().icon(ImageList::kSortArrows));
  icons_.push_back(Page("xml_page"));
  icons_.push_back(Page("htm_page"));
}

QIcon ZipImageList::icon(int index) const {
  return index >= 0 && index < icons_.size() ? icons_[index] : QIcon();
}

}  // namespace quill
