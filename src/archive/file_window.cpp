#include "archive/file_window.h"

#include <algorithm>

namespace quill {
namespace {

// Reads that grow on their own stop doubling here; a larger request is still
// read whole.
constexpr std::size_t kLargestGrowth = 16u << 20;

}  // namespace

std::span<const std::byte> FileWindow::ReadBytes(std::uint64_t offset, std::size_t count,
                                                 std::size_t readAhead) {
  const std::uint64_t size = FileSize();
  if (count == 0 || offset >= size) return {};
  const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset));
  if (!Holds(offset, wanted)) {
    const std::size_t growth = std::min(held_ * 2, kLargestGrowth);
    const std::size_t length = std::max({wanted, readAhead, growth});
    Fill(offset, static_cast<std::size_t>(std::min<std::uint64_t>(length, size - offset)));
  }
  const std::size_t available = std::min(wanted, held_ - static_cast<std::size_t>(offset - start_));
  return {buffer_.get() + (offset - start_), available};
}

void FileWindow::Fill(std::uint64_t offset, std::size_t length) {
  if (length > capacity_) {
    buffer_ = std::make_unique_for_overwrite<std::byte[]>(length);
    capacity_ = length;
  }
  start_ = offset;
  held_ = 0;  // stays empty if the read raises
  held_ = file_.ReadAt(offset, {buffer_.get(), length});
}

}  // namespace quill
