#pragma once

#include <cstdio>
#include <cstdlib>

namespace quill::fuzzing {

// Ends the run as a finding when a property that every answer of a reader
// must have does not hold; libFuzzer keeps the input that broke it.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "Property does not hold: %s\n", property);
  std::abort();
}

}  // namespace quill::fuzzing
