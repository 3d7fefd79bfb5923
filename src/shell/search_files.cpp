#include "shell/search_files.h"

#include <algorithm>
#include <filesystem>

namespace quill {

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

std::string WithTrailingSeparator(const std::string& path) {
  if (!path.empty() && path.back() == kSeparator) return path;
  return path + kSeparator;
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// Sets a flag for as long as it lives, and clears it however the scope is left.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// Keeps a folder on the descent path while its entries and subfolders are searched.
class DescentStep {
 public:
  DescentStep(std::vector<FolderIdentity>& path, const FolderIdentity& folder) : path_(path) {
    path_.push_back(folder);
  }
  ~DescentStep() { path_.pop_back(); }
  DescentStep(const DescentStep&) = delete;
  DescentStep& operator=(const DescentStep&) = delete;

 private:
  std::vector<FolderIdentity>& path_;
};

}  // namespace

bool TJvSearchFiles::Search() {
  if (searching_) return false;
  aborting_ = false;
  Files.clear();
  descentPath_.clear();
  FlagScope running(searching_);
  // An empty text names no folder; the platform would take it as the root of
  // the whole file system, which is never what a caller meant.
  if (RootDirectory.empty()) return false;
  complete_ = true;
  return ScanFolder(RootDirectory) && complete_;
}

void TJvSearchFiles::Abort() {
  if (searching_) aborting_ = true;
}

// Lists one folder completely, then searches its remembered subfolders in
// listing order. A folder that fails is told and the walk goes on: a subfolder
// that vanished or became a file meanwhile, a path grown too long, a lack of
// handles or a failing disk costs that folder only. False only once the
// search is aborted, which ends every scan above it too.
bool TJvSearchFiles::ScanFolder(const std::string& path) {
  const std::string folder = WithTrailingSeparator(path);
  FolderListing listing(folder);
  switch (listing.start()) {
    case ListingStart::kOpened:
      break;
    case ListingStart::kFileNotFound:
      return true;  // an empty folder
    case ListingStart::kAccessDenied:
      FolderError(path, listing);
      return !aborting_;  // searched as an empty folder
    case ListingStart::kPathNotFound:
    case ListingStart::kFailed:
      complete_ = false;
      FolderError(path, listing);
      return !aborting_;
  }
  // A link back to a folder that is being searched would lead round the same
  // folders without end; that folder is passed over as if it were empty.
  if (IsOnDescentPath(listing.identity())) return true;
  DescentStep step(descentPath_, listing.identity());
  std::vector<std::string> subfolders;
  if (!ListFolder(listing, folder, subfolders)) {
    if (aborting_) return false;
    // The subfolders listed before the break are still searched.
    complete_ = false;
    FolderError(path, listing);
    if (aborting_) return false;
  }
  for (const std::string& name : subfolders) {
    if (!ScanFolder(folder + name)) return false;
  }
  return true;
}

// Reports the folder's entries and closes the listing, so that only one folder
// is held open at a time however deep the search goes.
bool TJvSearchFiles::ListFolder(FolderListing& listing, const std::string& folder,
                                std::vector<std::string>& subfolders) {
  FolderEntry entry;
  while (listing.Next(entry)) {
    if (OnProgress) OnProgress(*this);
    if (aborting_) return false;
    if (entry.hidden && entry.system) continue;
    if (!entry.isFolder) {
      ExamineFile(folder, entry.name);
    } else if (!IsDotEntry(entry.name) && DirOption == doIncludeSubDirs) {
      subfolders.push_back(entry.name);
    }
  }
  return listing.Close();
}

void TJvSearchFiles::ExamineFile(const std::string& folder, const std::string& name) {
  if (!Options.contains(soSearchFiles) || !FileParams.Matches(name)) return;
  const std::string path = folder + name;
  if (!Options.contains(soOwnerData)) Files.push_back(path);
  if (OnFindFile) OnFindFile(*this, path);
}

void TJvSearchFiles::FolderError(const std::string& folder, const FolderListing& listing) {
  if (OnFolderError) OnFolderError(*this, folder, listing.error());
}

bool TJvSearchFiles::IsOnDescentPath(const FolderIdentity& folder) const {
  return std::find(descentPath_.begin(), descentPath_.end(), folder) != descentPath_.end();
}

}  // namespace quill
