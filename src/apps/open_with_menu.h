#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quill {

// The items of the main window's "Open with another application" submenu, as
// plain data: the window turns each into a menu item.
struct OpenWithItem {
  enum class Kind {
    kAddAnotherApp,  // opens the application list dialog
    kSeparator,
    kApplication,  // starts the application with the selected book
  };
  Kind kind = Kind::kApplication;
  std::string caption;
  std::string hint;  // an application's full path, which its click reads back
  bool enabled = true;
};

inline constexpr char kAddAnotherAppCaption[] = "Add another app";
inline constexpr char kNoFileSelected[] = "No file selected";

// The item for one application-list entry: captioned with the entry's file
// name, its hint the whole entry, enabled only when a file exists at the
// entry's path now.
OpenWithItem OpenWithApplicationItem(const std::string& path);

// The whole submenu, in order: "Add another app", a separator, then one
// application item per entry in list order.
std::vector<OpenWithItem> OpenWithMenuItems(const std::vector<std::string>& applications);

// What choosing an application item does: with no book selected the message
// "No file selected"; else the application is started with the book.
void OpenWithApplication(const std::string& application, const std::optional<std::string>& book);

}  // namespace quill
