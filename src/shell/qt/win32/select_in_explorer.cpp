#include "shell/qt/select_in_explorer.h"

#include <memory>
#include <type_traits>

// windows.h first: the shell's header builds on it.
#include <windows.h>

#include <shlobj.h>

#include "shell/win32/com_scope.h"

namespace quill {
namespace {

using ItemList = std::remove_pointer_t<PIDLIST_ABSOLUTE>;

struct ItemListRelease {
  void operator()(ItemList* list) const { ::ILFree(list); }
};

}  // namespace

bool SelectInExplorer(const std::filesystem::path& path) {
  // COM may not run on this thread yet (the offscreen platform sets none up).
  const ComScope com;
  // The item identifier list names the item itself; with a count of 0 the
  // shell opens its parent folder with the item selected.
  const std::unique_ptr<ItemList, ItemListRelease> item(::ILCreateFromPathW(path.c_str()));
  if (!item) return false;
  return SUCCEEDED(::SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0));
}

}  // namespace quill
