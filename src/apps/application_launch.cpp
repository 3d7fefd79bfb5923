#include "apps/application_launch.h"

#include <algorithm>

#include "base/file_system.h"
#include "base/path_text.h"
#include "shell/application_start.h"
#include "shell/shortcut.h"

namespace quill {

void SortUniqueItems(std::vector<std::string>& items, const TextCollation& compare) {
  std::vector<std::string> sorted;
  sorted.reserve(items.size());
  for (std::string& item : items) {
    const auto place = std::lower_bound(
        sorted.begin(), sorted.end(), item,
        [&](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
    if (place != sorted.end() && compare(*place, item) == 0) continue;
    sorted.insert(place, std::move(item));
  }
  items = std::move(sorted);
}

std::string GetShortcutTarget(const std::string& path) {
  return ResolveShortcut(PathFromUtf8(path));
}

void LaunchWithFile(const std::string& application, const std::string& file) {
  const std::filesystem::path program = PathFromUtf8(application);
  if (!FileExists(program) || !FileExists(PathFromUtf8(file))) return;
  StartApplication(program, file);
}

}  // namespace quill
