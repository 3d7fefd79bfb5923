#pragma once

#include <cstdint>
#include <initializer_list>

namespace quill {

// A set of the members of an enumeration whose values are small ordinals
// (0 to 31). The set's value has bit n set for the member of ordinal n, so a
// set of the one member of ordinal 5 has the value 32.
template <typename Enum>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<Enum> members) {
    for (Enum member : members) *this += member;
  }

  constexpr bool contains(Enum member) const { return (bits_ & BitOf(member)) != 0; }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr std::uint32_t bits() const { return bits_; }

  constexpr EnumSet& operator+=(Enum member) {
    bits_ |= BitOf(member);
    return *this;
  }
  constexpr EnumSet& operator-=(Enum member) {
    bits_ &= ~BitOf(member);
    return *this;
  }

  friend constexpr bool operator==(EnumSet, EnumSet) = default;

 private:
  static constexpr std::uint32_t BitOf(Enum member) {
    return std::uint32_t{1} << static_cast<unsigned>(member);
  }

  std::uint32_t bits_ = 0;
};

}  // namespace quill
