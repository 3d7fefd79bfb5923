#include "cli/path_list.h"

#include <cerrno>

namespace quill {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

PathList::PathList(const std::string& name, char separator) : separator_(separator) {
  if (name == "-") {
    file_ = stdin;
    return;
  }
  file_ = std::fopen(name.c_str(), "r");
  if (!file_) {
    error_ = errno;
    ended_ = true;
    return;
  }
  ownsFile_ = true;
}

PathList::~PathList() {
  if (ownsFile_) std::fclose(file_);
}

bool PathList::Fill() {
  if (ended_) return false;
  // What was handed out goes, so the buffer holds one unfinished path at most.
  buffer_.erase(0, start_);
  start_ = 0;
  const std::size_t held = buffer_.size();
  buffer_.resize(held + kBlock);
  const std::size_t got = std::fread(buffer_.data() + held, 1, kBlock, file_);
  buffer_.resize(held + got);
  if (got > 0) return true;
  if (std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
  ended_ = true;
  return false;
}

std::optional<std::string> PathList::Next() {
  for (;;) {
    const std::size_t end = buffer_.find(separator_, start_);
    if (end != std::string::npos) {
      std::string path = buffer_.substr(start_, end - start_);
      start_ = end + 1;
      if (!path.empty()) return path;
      continue;
    }
    if (Fill()) continue;
    // The last path may lack its separator; one cut short by a failed read is no path.
    if (error_ != 0 || start_ == buffer_.size()) return std::nullopt;
    std::string path = buffer_.substr(start_);
    start_ = buffer_.size();
    return path;
  }
}

}  // namespace quill
