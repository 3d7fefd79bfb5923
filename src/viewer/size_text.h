#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

// The size text of a byte count as the zip view shows it: the count in bytes
// up to 1024, in KB up to 1048576, in MB up to 1073741824 and in GB above
// (units of 1024), written with at most two fraction digits, rounded half
// away from zero, without trailing zeros, without a leading "0" and without
// digit grouping, followed by a blank and the unit. A zero count writes no
// digit at all (" bytes"). `decimalSeparator` is the user's locale's (UTF-8).
//
// 1152 gives "1.13 KB", 1536 "1.5 KB", 1048576 "1024 KB", 1048577 "1 MB".
std::string SizeText(std::uint32_t count, std::string_view decimalSeparator);

}  // namespace quill
