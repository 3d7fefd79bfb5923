#include <cstdlib>

#include "scoped_environment.h"

namespace quill::testing {

// The C runtime's copy of the environment, which getenv reads; an empty
// value removes the variable.
void SetEnvironment(const std::string& name, const std::string& value) {
  ::_putenv_s(name.c_str(), value.c_str());
}

void UnsetEnvironment(const std::string& name) { ::_putenv_s(name.c_str(), ""); }

}  // namespace quill::testing
