#pragma once

#include <string_view>

namespace quill {

// What the desktop program says, on one line of standard error, when it
// cannot open its window for want of a display; it then exits with status 2.
inline constexpr std::string_view kNoDisplayLine =
    "quillmere: needs a display to open its window (quillmere-cli works without one)\n";

// Whether the window system that Qt would pick has no display to connect to:
// on X11 and Wayland systems, no platform is chosen (QT_QPA_PLATFORM, or the
// -platform or -display option) and neither DISPLAY nor WAYLAND_DISPLAY names
// a display. Windows and macOS always have their own.
bool DisplayMissing(int argc, char* argv[]);

// Watches the creation of the application object: Qt ends the program with
// an abort when its platform cannot be started (a display that does not
// answer, a platform plugin that fails). While this object exists, such an
// end prints kNoDisplayLine and exits with status 2 instead, and Qt's own
// messages of the attempt are dropped; once the platform has started, the
// messages held back pass on to the previous handler. One at a time.
class PlatformStartGuard {
 public:
  PlatformStartGuard();
  ~PlatformStartGuard();
  PlatformStartGuard(const PlatformStartGuard&) = delete;
  PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;
};

}  // namespace quill
