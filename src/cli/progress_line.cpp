#include "cli/progress_line.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "cli/standard_output.h"
#include "cli/visible_text.h"
#include "shell/terminal.h"

namespace quill {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr char kEraseLine[] = "\r\033[K";

// How many terminal columns a code point takes: two for the wide and
// full-width characters of East Asian scripts and for emoji, one otherwise. A
// combining mark counted as one only makes the line shorter than it could be;
// a wide character counted as one would wrap it, and the next redraw would
// leave the old line on screen.
std::size_t ColumnsOf(char32_t c) {
  const bool wide =
      c >= 0x1100 && (c <= 0x115F || c == 0x2329 || c == 0x232A ||
                      (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) || (c >= 0xAC00 && c <= 0xD7A3) ||
                      (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE10 && c <= 0xFE19) ||
                      (c >= 0xFE30 && c <= 0xFE6F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F6FF) ||
                      (c >= 0x1F900 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD));
  return wide ? 2 : 1;
}

// The end of the text in at most `width` terminal columns, marked with "..."
// when it had to be cut; the end of a path names the file.
std::string LastColumns(std::string_view text, std::size_t width) {
  std::vector<std::pair<std::size_t, std::size_t>> starts;  // each code point's offset and columns
  std::size_t total = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const std::size_t columns = ColumnsOf(NextUtf8CodePoint(text, pos));
    starts.emplace_back(start, columns);
    total += columns;
  }
  if (total <= width) return std::string(text);
  if (width <= 3) return std::string(width, '.');
  std::size_t kept = 0;
  std::size_t from = text.size();
  for (auto it = starts.rbegin(); it != starts.rend() && kept + it->second <= width - 3; ++it) {
    kept += it->second;
    from = it->first;
  }
  return "..." + std::string(text.substr(from));
}

}  // namespace

ProgressLine::ProgressLine() : active_(StandardErrorTakesEscapes()) {}

void ProgressLine::Show(long long examined, long long listed, std::string_view file) {
  if (!active_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && now - lastDrawn_ < kRedrawInterval) return;
  lastDrawn_ = now;
  const std::string counts =
      "examined " + std::to_string(examined) + ", listed " + std::to_string(listed) + ": ";
  const int columns = StandardErrorColumns();
  // The last column stays free: writing into it makes some terminals wrap.
  const std::size_t width = columns > 0 ? static_cast<std::size_t>(columns) - 1 : 79;
  const std::string line =
      width > counts.size()
          ? counts + LastColumns(VisibleText(SanitizeUtf8(file)), width - counts.size())
          : counts.substr(0, width);
  WriteText(stderr, kEraseLine + line);
  std::fflush(stderr);
  shown_ = true;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  WriteText(stderr, kEraseLine);
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace quill
