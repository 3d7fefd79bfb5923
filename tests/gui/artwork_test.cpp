#include <gtest/gtest.h>

#include <QIcon>
#include <QPixmap>

#include "widgets/image_list.h"

namespace quill {
namespace {

// Every picture the windows use is in the program at both densities, each
// rendered at its own resolution rather than scaled from the other.
TEST(Artwork, EveryPictureComesAtOneAndTwoTimesItsSize) {
  const struct {
    const char* name;
    int side;
  } pictures[] = {{"add_file", 16},
                  {"folder_open", 16},
                  {"folder_curved_arrow", 16},
                  {"folder_blue_arrow", 16},
                  {"folder_up_arrow", 16},
                  {"sort_arrows", 16},
                  {"ebook", 16},
                  {"xml_page", 16},
                  {"htm_page", 16},
                  {"header_glyph", 32},
                  {"magnifier", 48}};
  for (const auto& picture : pictures) {
    SCOPED_TRACE(picture.name);
    const QIcon icon = ArtworkIcon(QString::fromLatin1(picture.name));
    const QSize size(picture.side, picture.side);
    const QPixmap single = icon.pixmap(size, 1.0), twice = icon.pixmap(size, 2.0);
    ASSERT_FALSE(single.isNull());
    EXPECT_EQ(single.size(), size);
    EXPECT_EQ(twice.size(), size * 2);
    EXPECT_EQ(twice.devicePixelRatio(), 2.0);
    const QImage scaledUp =
        single.toImage().scaled(size * 2).convertToFormat(QImage::Format_ARGB32);
    EXPECT_NE(twice.toImage().convertToFormat(QImage::Format_ARGB32), scaledUp);

    const QPixmap sized = Artwork(QString::fromLatin1(picture.name), size * 2);
    EXPECT_EQ(sized.deviceIndependentSize().toSize(), size * 2) << "any size, scaled smoothly";
  }
}

}  // namespace
}  // namespace quill
