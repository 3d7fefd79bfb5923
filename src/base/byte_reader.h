#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quill {

// A bounds-checked little-endian cursor over bytes held in memory. Reads past
// the end yield nothing (std::nullopt) instead of touching memory beyond the
// view, so a decoder can turn every short read into the error its format names.
class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const std::byte> bytes) : bytes_(bytes) {}
  explicit ByteReader(std::string_view bytes)
      : bytes_(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()) {}

  std::size_t position() const { return position_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t remaining() const { return bytes_.size() - position_; }

  // Moves to an absolute position; false (and no move) when it lies past the end.
  bool Seek(std::size_t position) {
    if (position > bytes_.size()) return false;
    position_ = position;
    return true;
  }
  bool Skip(std::size_t count) { return count <= remaining() && Seek(position_ + count); }

  std::optional<std::uint16_t> U16() { return Read<std::uint16_t, 2>(); }
  std::optional<std::uint32_t> U32() { return Read<std::uint32_t, 4>(); }
  std::optional<std::uint64_t> U64() { return Read<std::uint64_t, 8>(); }

  // The next count bytes as a string, or nothing when fewer remain.
  std::optional<std::string> Bytes(std::size_t count) {
    if (count > remaining()) return std::nullopt;
    std::string out(reinterpret_cast<const char*>(bytes_.data() + position_), count);
    position_ += count;
    return out;
  }

  // Up to count bytes: fewer when the view ends first.
  std::string BytesUpTo(std::size_t count) {
    const std::size_t n = count < remaining() ? count : remaining();
    return *Bytes(n);
  }

 private:
  template <typename T, std::size_t N>
  std::optional<T> Read() {
    if (remaining() < N) return std::nullopt;
    T value = 0;
    for (std::size_t i = 0; i < N; ++i) {
      value |= static_cast<T>(std::to_integer<std::uint8_t>(bytes_[position_ + i])) << (8 * i);
    }
    position_ += N;
    return value;
  }

  std::span<const std::byte> bytes_;
  std::size_t position_ = 0;
};

}  // namespace quill
