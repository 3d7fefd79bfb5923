#include "apps/open_with_menu.h"

#include <filesystem>

#include "apps/application_launch.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/user_messages.h"

namespace quill {

OpenWithItem OpenWithApplicationItem(const std::string& path) {
  OpenWithItem item;
  item.kind = OpenWithItem::Kind::kApplication;
  item.caption = FileNameOf(path);
  item.hint = path;
  item.enabled = !path.empty() && FileExists(PathFromUtf8(path));
  return item;
}

std::vector<OpenWithItem> OpenWithMenuItems(const std::vector<std::string>& applications) {
  std::vector<OpenWithItem> items;
  items.push_back({OpenWithItem::Kind::kAddAnotherApp, kAddAnotherAppCaption, {}, true});
  items.push_back({OpenWithItem::Kind::kSeparator, "-", {}, true});
  for (const std::string& application : applications)
    items.push_back(OpenWithApplicationItem(application));
  return items;
}

void OpenWithApplication(const std::string& application, const std::optional<std::string>& book) {
  if (!book) {
    ShowMessage(kNoFileSelected);
    return;
  }
  LaunchWithFile(application, *book);
}

}  // namespace quill
