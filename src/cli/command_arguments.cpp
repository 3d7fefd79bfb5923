#include "cli/command_arguments.h"

#include <algorithm>

namespace quill {
namespace {

bool Contains(std::initializer_list<std::string_view> names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsOption(std::string_view argument) { return argument.size() > 1 && argument.front() == '-'; }

}  // namespace

CommandArguments::CommandArguments(const std::vector<std::string>& arguments,
                                   std::initializer_list<std::string_view> flags,
                                   std::initializer_list<std::string_view> valued) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || !IsOption(argument)) {
      operands_.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (Contains(flags, name)) {
      if (equals != std::string::npos) throw UsageError("option '" + name + "' takes no value");
      flags_.insert(name);
    } else if (Contains(valued, name)) {
      if (equals != std::string::npos) {
        values_[name] = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        values_[name] = arguments[++i];
      } else {
        throw UsageError("option '" + name + "' needs a value");
      }
    } else {
      throw UsageError("unknown option '" + name + "'");
    }
  }
}

std::string CommandArguments::Value(std::string_view option, std::string_view fallback) const {
  const auto found = values_.find(std::string(option));
  return found == values_.end() ? std::string(fallback) : found->second;
}

std::string CommandArguments::Choice(std::string_view option, std::string_view fallback,
                                     std::initializer_list<std::string_view> choices) const {
  const std::string value = Value(option, fallback);
  if (Contains(choices, value)) return value;
  std::string accepted;
  for (const std::string_view choice : choices) {
    if (!accepted.empty()) accepted += ", ";
    accepted += choice;
  }
  throw UsageError("invalid value '" + value + "' for '" + std::string(option) +
                   "' (one of: " + accepted + ")");
}

}  // namespace quill
