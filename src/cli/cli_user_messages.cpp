#include "cli/cli_user_messages.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/progress_line.h"
#include "cli/standard_output.h"
#include "cli/visible_text.h"

namespace quill {
namespace {

constexpr std::string_view kPrefix = "quillmere-cli: ";

// The text's lines, without the empty ones.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::string CliUserMessages::Format(std::string_view subject, std::string_view text) {
  const std::vector<std::string_view> lines = Lines(text);
  std::string out;
  if (subject.empty()) {
    for (const std::string_view line : lines) out.append(kPrefix).append(VisibleText(line)) += '\n';
    return out.empty() ? std::string(kPrefix) + '\n' : out;
  }
  out.append(kPrefix).append(VisibleText(subject));
  for (const std::string_view line : lines) out.append(": ").append(VisibleText(line));
  return out + '\n';
}

void CliUserMessages::Report(std::string_view subject, std::string_view text) {
  Emit(Format(subject, text));
}

void CliUserMessages::Write(std::string_view text) { Emit(Format({}, text)); }

void CliUserMessages::Emit(const std::string& formatted) {
  if (progress_ != nullptr) progress_->Clear();
  WriteText(stderr, formatted);
  std::fflush(stderr);
}

}  // namespace quill
