#pragma once

#include <QIcon>
#include <QVector>

namespace quill {

// The zip view's image list, zipImageList: three 16 by 16 images with alpha,
// indexed as ZipViewImage names them: green arrows down and up (the time
// column's header), a page marked XML (".xhtml" rows) and a page marked HTM
// (".html" and ".htm" rows). Drawn from the program's own artwork.
class ZipImageList {
 public:
  static constexpr int kCount = 3;
  static constexpr int kSize = 16;

  ZipImageList();

  // The image at `index` (0 to kCount - 1); a null icon for any other index.
  QIcon icon(int index) const;

 private:
  QVector<QIcon> icons_;
};

}  // namespace quill
