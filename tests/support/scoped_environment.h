#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace quill::testing {

// Sets or removes a variable of the process's environment (per platform).
void SetEnvironment(const std::string& name, const std::string& value);
void UnsetEnvironment(const std::string& name);

// Sets an environment variable for its lifetime and restores the old value.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    SetEnvironment(name_, value);
  }
  ~ScopedEnvironment() {
    if (old_) {
      SetEnvironment(name_, *old_);
    } else {
      UnsetEnvironment(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace quill::testing
