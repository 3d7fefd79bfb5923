#include "archive/backward_scan.h"

#include <algorithm>
#include <cstring>

#include "archive/file_window.h"

namespace quill {
namespace {

// The first block is small: a normal archive's end record and a book's whole
// directory lie in it. Later blocks are large, so a file that is no archive
// is walked at disk speed.
constexpr std::size_t kFirstBlock = 16u << 10;
constexpr std::size_t kLaterBlock = 1u << 20;

// The offset of the last byte equal to `value` in [data, data + length).
const std::byte* LastByte(const std::byte* data, std::size_t length, std::byte value) {
#ifdef __GLIBC__
  return static_cast<const std::byte*>(memrchr(data, std::to_integer<int>(value), length));
#else
  for (std::size_t i = length; i-- > 0;) {
    if (data[i] == value) return data + i;
  }
  return nullptr;
#endif
}

std::uint32_t LittleEndian32(const std::byte* bytes) {
  return std::to_integer<std::uint32_t>(bytes[0]) | std::to_integer<std::uint32_t>(bytes[1]) << 8 |
         std::to_integer<std::uint32_t>(bytes[2]) << 16 |
         std::to_integer<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

BackwardScan::BackwardScan(FileWindow& window, std::uint64_t top, std::size_t width)
    : window_(window), width_(width), next_(std::min(top, window.FileSize())) {}

bool BackwardScan::LoadBlockEndingAt(std::uint64_t position, std::uint64_t lowest) {
  const std::uint64_t end = position + 1;
  const std::size_t block = loaded_ ? kLaterBlock : kFirstBlock;
  const std::uint64_t start = std::max(lowest, end > block ? end - block : 0);
  const auto length = static_cast<std::size_t>(end - start);
  // What the block above holds just past this block's end.
  const std::size_t carried = loaded_ ? std::min(width_ - 1, buffer_.size()) : 0;
  std::vector<std::byte> next;
  if (!loaded_) {
    // The first block reaches to the end of the file through the window.
    const std::uint64_t tailEnd = std::min(window_.FileSize(), end + width_ - 1);
    const auto bytes = window_.Bytes(start, static_cast<std::size_t>(tailEnd - start));
    if (bytes.size() < tailEnd - start) return false;
    next.assign(bytes.begin(), bytes.end());
  } else {
    next.resize(length + carried);
    std::copy_n(buffer_.begin(), carried, next.begin() + static_cast<std::ptrdiff_t>(length));
    if (window_.File().ReadAt(start, {next.data(), length}) < length) return false;
  }
  buffer_ = std::move(next);
  start_ = start;
  loaded_ = true;
  return true;
}

std::optional<BackwardScan::Candidate> BackwardScan::NextSignature(std::uint32_t signature,
                                                                   std::uint64_t lowest) {
  const auto first = static_cast<std::byte>(signature & 0xFF);
  while (!failed_ && next_ > lowest) {
    const std::uint64_t top = next_ - 1;
    if (!loaded_ || top < start_) {
      if (!LoadBlockEndingAt(top, lowest)) {
        failed_ = true;
        break;
      }
    }
    const std::uint64_t bottom = std::max(lowest, start_);
    const std::byte* base = buffer_.data();
    const std::byte* hit =
        LastByte(base + (bottom - start_), static_cast<std::size_t>(top - bottom + 1), first);
    if (hit == nullptr) {
      next_ = bottom;
      continue;
    }
    const auto at = static_cast<std::size_t>(hit - base);
    next_ = start_ + at;
    const std::size_t available = std::min(width_, buffer_.size() - at);
    if (available >= 4 && LittleEndian32(hit) == signature) {
      return Candidate{start_ + at, {hit, available}};
    }
  }
  return std::nullopt;
}

}  // namespace quill
