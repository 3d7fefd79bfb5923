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

// The program's pictures, by the name of their artwork ("header_glyph",
// "magnifier", an image of a list). The build renders each one at one and two
// times its size, so they are sharp on screens of either density and no SVG
// renderer is needed at run time.

// The picture at `size` logical pixels for the screen's density.
QPixmap Artwork(const QString& name, QSize size);

// The picture at both densities, for menus and lists, which pick the one
// that suits the screen they are drawn on.
QIcon ArtworkIcon(const QString& name);

}  // namespace quill
