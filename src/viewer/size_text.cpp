#include "viewer/size_text.h"

namespace quill {
namespace {

struct Unit {
  std::uint64_t size;
  const char* text;
};

// From the largest unit down; a count above a unit's size is written in it.
constexpr Unit kUnits[] = {{1073741824, " GB"}, {1048576, " MB"}, {1024, " KB"}};

// The count divided by `unit` in hundredths, rounded half away from zero. The
// quotient of a 32-bit count by a power of two is an exact binary fraction, so
// integer arithmetic rounds its decimal expansion exactly where a double's
// printed digits might not.
std::uint64_t Hundredths(std::uint64_t count, std::uint64_t unit) {
  return (count * 100 + unit / 2) / unit;
}

// "#.##": the whole part without a leading zero, then the separator and the
// fraction digits that are not trailing zeros.
std::string PatternHashDotHashHash(std::uint64_t hundredths, std::string_view decimalSeparator) {
  std::string text;
  if (const std::uint64_t whole = hundredths / 100; whole != 0) text = std::to_string(whole);
  std::uint64_t fraction = hundredths % 100;
  if (fraction == 0) return text;
  text += decimalSeparator;
  text += static_cast<char>('0' + fraction / 10);
  fraction %= 10;
  if (fraction != 0) text += static_cast<char>('0' + fraction);
  return text;
}

}  // namespace

std::string SizeText(std::uint32_t count, std::string_view decimalSeparator) {
  for (const Unit& unit : kUnits) {
    if (count > unit.size) {
      return PatternHashDotHashHash(Hundredths(count, unit.size), decimalSeparator) + unit.text;
    }
  }
  return PatternHashDotHashHash(std::uint64_t{count} * 100, decimalSeparator) + " bytes";
}

}  // namespace quill
