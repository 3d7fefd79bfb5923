#pragma once

#include <stdexcept>
#include <string>

namespace quill {

// The base of every error the system raises. It carries the kind name that
// the user sees (the zip view shows "EZipException: ...") beside the message.
class Error : public std::runtime_error {
 public:
  Error(std::string kind, const std::string& message)
      : std::runtime_error(message), kind_(std::move(kind)) {}

  // The error's kind name, e.g. "EZipException".
  const std::string& kind() const noexcept { return kind_; }
  std::string message() const { return what(); }

 private:
  std::string kind_;
};

}  // namespace quill
