#include "viewer/qt/zip_image_list.h"

#include "widgets/image_list.h"

namespace quill {

ZipImageList::ZipImageList() {
  // The arrows are the main window's sort picture.
  icons_.push_back(ImageList().icon(ImageList::kSortArrows));
  icons_.push_back(ArtworkIcon(QStringLiteral("xml_page")));
  icons_.push_back(ArtworkIcon(QStringLiteral("htm_page")));
}

QIcon ZipImageList::icon(int index) const {
  return index >= 0 && index < icons_.size() ? icons_[index] : QIcon();
}

}  // namespace quill
