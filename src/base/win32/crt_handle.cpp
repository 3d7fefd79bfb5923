#include "base/win32/crt_handle.h"

#include <io.h>

namespace quill {

int AdoptFileHandle(HANDLE handle, int flags) noexcept {
  const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
  if (descriptor < 0) ::CloseHandle(handle);
  return descriptor;
}

HANDLE FileHandleOf(int descriptor) noexcept {
  return reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
}

}  // namespace quill
