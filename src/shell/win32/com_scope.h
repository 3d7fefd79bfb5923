#pragma once

#include <windows.h>

#include <objbase.h>

namespace quill {

// COM for this thread while the object lives, for the shell's objects and
// calls. Where the window system has set it up already this only counts up; a
// thread where COM already runs in another apartment keeps it, which the
// shell's objects serve too.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

}  // namespace quill
