#pragma once

#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "base/enum_set.h"
#include "shell/folder_listing.h"
#include "shell/search_params.h"

namespace quill {

// Whether the search goes below the root folder.
enum TJvDirOption : unsigned { doExcludeSubDirs = 0, doIncludeSubDirs = 1 };

// Options of a search. The value of each member is its place in the set, so
// the set of soSearchFiles alone has the value 32.
enum TJvSearchOption : unsigned {
  soOwnerData = 3,    // found files are only reported, not collected in Files
  soSearchFiles = 5,  // files are matched and reported
};
using TJvSearchOptions = EnumSet<TJvSearchOption>;

// Finds the files in a folder, or in a folder and every folder below it, that
// meet FileParams, and reports each through OnFindFile the moment it is found.
//
// The walk is depth first in the platform's listing order: a folder's own
// entries are all reported before any of its subfolders is entered. OnProgress
// fires for every listed entry (the "." and ".." entries included) before the
// entry is examined, which is where the owner keeps its window responsive and
// may call Abort(). Links to folders are entered like folders, so a folder
// reached twice reports its files twice; but a folder that is already being
// searched further up the current descent (a link cycle) is passed over as
// empty, so a search always ends.
//
// Nothing is raised for a folder that cannot be listed or whose listing breaks
// off: it is told through OnFolderError and the walk goes on with what follows
// it (the subfolders found before a break included), so one bad folder never
// costs its siblings. An error raised by a handler leaves Search() and reaches
// its caller, with the search no longer running.
class TJvSearchFiles {
 public:
  using FindFileHandler = std::function<void(TJvSearchFiles& sender, const std::string& name)>;
  using ProgressHandler = std::function<void(TJvSearchFiles& sender)>;
  using FolderErrorHandler = std::function<void(TJvSearchFiles& sender, const std::string& folder,
                                                const std::error_code& error)>;

  std::string RootDirectory;  // where the search starts; an empty text names no folder
  TJvDirOption DirOption = doIncludeSubDirs;
  TJvSearchOptions Options{soSearchFiles};
  TJvSearchParams FileParams;
  // The full paths of the files found, collected unless Options holds
  // soOwnerData; emptied when a search starts.
  std::vector<std::string> Files;
  // Receives the full path of each matching file: its folder's path ending in
  // a separator, followed by the name that the listing gives.
  FindFileHandler OnFindFile;
  ProgressHandler OnProgress;
  // Told of each folder that could not be listed, or whose listing broke
  // off, with the system's error; the search goes on as it would without
  // the handler.
  FolderErrorHandler OnFolderError;

  // Runs the whole search. True when it ran to the end and every folder
  // listed whole, or could only not be read for want of permission (taken as
  // empty); false when it was aborted or another folder failed, and false at
  // once, with nothing changed, when a search is already running (a handler
  // that pumps window messages can lead here).
  bool Search();

  // While a search runs, makes it stop when the current OnProgress call
  // returns: that call's entry is not examined and Search() answers false.
  // Does nothing when no search runs.
  void Abort();

  bool searching() const { return searching_; }
  // Set by Abort() during a search; stays set until the next search starts.
  bool aborting() const { return aborting_; }

 private:
  bool ScanFolder(const std::string& path);
  bool ListFolder(FolderListing& listing, const std::string& folder,
                  std::vector<std::string>& subfolders);
  void ExamineFile(const std::string& folder, const std::string& name);
  bool IsOnDescentPath(const FolderIdentity& folder) const;
  void FolderError(const std::string& folder, const FolderListing& listing);

  bool searching_ = false;
  bool aborting_ = false;
  bool complete_ = true;  // no folder failed for a reason other than permission
  // The folders from the root down to the one being listed.
  std::vector<FolderIdentity> descentPath_;
};

}  // namespace quill
