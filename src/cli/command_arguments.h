#pragma once

#include <initializer_list>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// A command line that the program cannot make sense of; the message says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The options and operands of one command. Options may stand anywhere among
// the operands; "--" ends them, so that an operand may begin with "-". A
// valued option takes its value from the next argument or after "=", and the
// last one given counts.
class CommandArguments {
 public:
  // Raises UsageError for an option not among `flags` and `valued`, a flag
  // given a value, or a valued option without one.
  CommandArguments(const std::vector<std::string>& arguments,
                   std::initializer_list<std::string_view> flags,
                   std::initializer_list<std::string_view> valued);

  bool Has(std::string_view flag) const { return flags_.contains(std::string(flag)); }

  // The option's value, or `fallback` when it was not given.
  std::string Value(std::string_view option, std::string_view fallback) const;
  bool HasValue(std::string_view option) const { return values_.contains(std::string(option)); }

  // One of `choices`, or UsageError naming the option and what it accepts.
  std::string Choice(std::string_view option, std::string_view fallback,
                     std::initializer_list<std::string_view> choices) const;

  const std::vector<std::string>& Operands() const { return operands_; }

 private:
  std::set<std::string> flags_;
  std::map<std::string, std::string> values_;
  std::vector<std::string> operands_;
};

}  // namespace quill
