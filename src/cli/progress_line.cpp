#include "cli/progress_line.h"

#include <cstdio>
#include <string>

#include "base/text.h"
#include "cli/standard_output.h"
#include "cli/visible_text.h"
#include "shell/terminal.h"

namespace quill {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr char kEraseLine[] = "\r\033[K";

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) NextUtf8CodePoint(text, pos);
  return count;
}

// The end of the text in at most `width` code points, marked with "..." when
// it had to be cut; the end of a path names the file.
std::string LastColumns(std::string_view text, std::size_t width) {
  const std::size_t count = CodePointCount(text);
  if (count <= width) return std::string(text);
  if (width <= 3) return std::string(width, '.');
  std::size_t skip = count - (width - 3);
  std::size_t pos = 0;
  while (skip-- > 0) NextUtf8CodePoint(text, pos);
  return "..." + std::string(text.substr(pos));
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
