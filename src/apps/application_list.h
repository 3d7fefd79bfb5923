#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quill {

class UserRegistry;

// The application list: the user's external applications, each an entry of
// text meant as a program's full path, in display order. Empty entries and
// paths of missing files can occur and are kept.
using ApplicationList = std::vector<std::string>;

// The key below HKEY_CURRENT_USER that holds the list: "Count" and one value
// "Path<index>" per entry.
inline constexpr char kApplicationListKey[] = "Software\\Quillmere\\apppath";

// The most entries loaded: a damaged or hostile "Count" must not make the
// start-up add millions of empty entries.
inline constexpr int kMaxApplicationCount = 10000;

// Loads the list as stored, neither sorted nor checked: "Count" entries (at
// most kMaxApplicationCount), a missing or unreadable "Path" value giving an
// empty entry, up to the last "Path" value present: a count beyond the values
// stored counts only those. A key that cannot be opened is reported in a
// message box, and the entries read until then are kept.
ApplicationList LoadApplicationList(UserRegistry& registry);

// Saves the list: every "Path" value in order, then "Count". Values of a
// longer earlier list stay behind, unread. A failure is reported in a message
// box; the stored list then stays as it was.
void SaveApplicationList(UserRegistry& registry, const ApplicationList& list);

// The entry that a file chosen in the file dialog gives: the target of a
// shortcut, else the path itself, whatever its type. Nothing when the
// shortcut cannot be resolved.
std::optional<std::string> EntryForChosenFile(const std::string& path);

// The entry that a file dropped from the file manager gives: nothing for a
// folder, a missing file or a file that is not an application; else as
// EntryForChosenFile.
std::optional<std::string> EntryForDroppedFile(const std::string& path);

// Moves the entry at `from` so that it ends at `to`; a `to` of -1 (a drop
// below the last entry) moves it to the end. A `from` that names no entry
// leaves the list unchanged.
void MoveEntry(ApplicationList& list, int from, int to);

// Removes every entry at whose path no file exists (folders and empty
// entries count as missing).
void DeleteMissingEntries(ApplicationList& list);

}  // namespace quill
