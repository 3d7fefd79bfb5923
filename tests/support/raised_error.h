#pragma once

#include <string>

#include "base/error.h"

namespace quill::testing {

// What a call raised, as "<kind>: <message>", or "nothing raised", so a test
// pins the kind and the exact text in one comparison.
template <typename Call>
std::string RaisedBy(Call&& call) {
  try {
    call();
  } catch (const Error& error) {
    return error.kind() + ": " + error.message();
  }
  return "nothing raised";
}

}  // namespace quill::testing
