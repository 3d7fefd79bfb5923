#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QVector>

namespace quill {

// The main window's image list: seven 16 by 16 images used by the menu and the
// list of found books, drawn from the program's own artwork.
class ImageList {
 public:
  // The images by index.
  enum Index {
    kAddFile = 0,            // a blank page with a blue plus sign
    kFolder = 1,             // an open folder
    kFolderCurvedArrow = 2,  // an open folder with a green curved arrow
    kFolderBlueArrow = 3,    // an open folder with a blue arrow
    kFolderUpArrow = 4,      // an open folder with a green upward arrow
    kSortArrows = 5,         // green downward and upward arrows
    kEbook = 6,              // a green e-book symbol
  };
  static constexpr int kCount = 7;
  static constexpr int kSize = 16;

  ImageList();

  // The image at `index` (0 to kCount - 1); a null icon for any other index.
  QIcon icon(int index) const;

 private:
  QVector<QIcon> icons_;
};

// Renders one picture of the program's artwork ("header_glyph", "magnifier",
// or an image of the list) at `size` logical pixels, sharp on high-density
// screens.
QPixmap Artwork(const QString& name, QSize size);

}  // namespace quill
