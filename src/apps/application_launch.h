#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// A three-way comparison of two texts: negative, zero (equal) or positive.
using TextCollation = std::function<int(std::string_view, std::string_view)>;

// Sorts the entries and drops duplicates: each entry, in the current order,
// goes to its sorted place unless an entry that compares equal is already
// there, so of equal entries the one that came first stays. The desktop
// program compares with the user's locale collation ignoring case.
void SortUniqueItems(std::vector<std::string>& items, const TextCollation& compare);

// The target of a shortcut file (see ResolveShortcut); empty text when it
// cannot be resolved.
std::string GetShortcutTarget(const std::string& path);

// Starts the application with the file as its one argument, when files exist
// at both paths (links count as their targets); otherwise does nothing.
// Whether the application starts is not reported.
void LaunchWithFile(const std::string& application, const std::string& file);

}  // namespace quill
