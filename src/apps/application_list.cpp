#include "apps/application_list.h"

#include <algorithm>

#include "apps/application_launch.h"
#include "apps/registry_error.h"
#include "apps/registry_store.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/user_messages.h"
#include "shell/application_files.h"
#include "shell/shortcut.h"

namespace quill {
namespace {

std::string PathValueName(std::size_t index) { return "Path" + std::to_string(index); }

}  // namespace

ApplicationList LoadApplicationList(UserRegistry& registry) {
  RegistryStore store(registry, kApplicationListKey);
  ApplicationList list;
  try {
    const int count = std::min(store.ReadInteger("Count", 0), kMaxApplicationCount);
    // A count beyond the last stored path would add empty entries that the
    // next save writes back: the list ends with the last path present.
    std::size_t present = 0;
    for (int i = 0; i < count; ++i) {
      const std::string name = PathValueName(i);
      list.push_back(store.ReadString(name, ""));
      if (store.ValueExists(name)) present = list.size();
    }
    list.resize(present);
  } catch (const ERegistryError& error) {
    ShowMessage(error.message());
  }
  return list;
}

void SaveApplicationList(UserRegistry& registry, const ApplicationList& list) {
  RegistryStore store(registry, kApplicationListKey);
  try {
    for (std::size_t i = 0; i < list.size(); ++i) store.WriteString(PathValueName(i), list[i]);
    // The count comes last: until it is written, a reader finds the old one.
    store.WriteInteger("Count", static_cast<std::int32_t>(list.size()));
    store.Flush();
  } catch (const ERegistryError& error) {
    ShowMessage(error.message());
  }
}

std::optional<std::string> EntryForChosenFile(const std::string& path) {
  if (!IsShortcutName(PathFromUtf8(path))) return path;
  std::string target = GetShortcutTarget(path);
  if (target.empty()) return std::nullopt;
  return target;
}

std::optional<std::string> EntryForDroppedFile(const std::string& path) {
  const std::filesystem::path file = PathFromUtf8(path);
  if (!FileExists(file) || !IsApplicationFile(file)) return std::nullopt;
  return EntryForChosenFile(path);
}

void MoveEntry(ApplicationList& list, int from, int to) {
  const int count = static_cast<int>(list.size());
  if (from < 0 || from >= count) return;
  if (to < 0 || to >= count) to = count - 1;
  std::string entry = std::move(list[from]);
  list.erase(list.begin() + from);
  list.insert(list.begin() + to, std::move(entry));
}

void DeleteMissingEntries(ApplicationList& list) {
  std::erase_if(list, [](const std::string& entry) {
    return entry.empty() || !FileExists(PathFromUtf8(entry));
  });
}

}  // namespace quill
