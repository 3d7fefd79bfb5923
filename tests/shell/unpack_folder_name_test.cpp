#include "shell/unpack_folder_name.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(UnpackFolderName, IsTheFileNameWithoutItsLastExtension) {
  EXPECT_EQ(UnpackFolderName("/books/Alice.epub"), "Alice");
  EXPECT_EQ(UnpackFolderName("/books/my.book.final.epub"), "my.book.final");
  EXPECT_EQ(UnpackFolderName("/books.d/no-extension"), "no-extension");
  EXPECT_EQ(UnpackFolderName("/books/.epub"), "");
  EXPECT_EQ(UnpackFolderName("Alice.second.epub"), "Alice.second");
  EXPECT_EQ(UnpackFolderName("/könyvek/Éjszaka.epub"), "Éjszaka");
}

}  // namespace
}  // namespace quill
