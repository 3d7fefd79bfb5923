#include "cli/cli_user_messages.h"

#include <algorithm>
#include <cstdio>

#include "cli/progress_line.h"

namespace quill {
namespace {

constexpr std::string_view kPrefix = "quillmere-cli: ";

}  // namespace

std::string CliUserMessages::Format(std::string_view text) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    if (end > start) {
      out += kPrefix;
      out += text.substr(start, end - start);
      out += '\n';
    }
    start = end + 1;
  }
  if (out.empty()) out = std::string(kPrefix) + '\n';
  return out;
}

void CliUserMessages::Write(std::string_view text) {
  if (progress_ != nullptr) progress_->Clear();
  const std::string formatted = Format(text);
  std::fwrite(formatted.data(), 1, formatted.size(), stderr);
  std::fflush(stderr);
}

}  // namespace quill
