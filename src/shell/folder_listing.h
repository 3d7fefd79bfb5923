#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <system_error>

namespace quill {

// One entry of a folder listing, as the platform's listing returns it.
struct FolderEntry {
  std::string name;       // the entry's own (long) name, without a folder part
  bool isFolder = false;  // a link that leads to a folder counts as a folder
  bool hidden = false;
  bool system = false;
};

// How the start of a folder listing went. The platform's distinctions are kept
// because the directory search treats them differently: a folder it may not
// read, or whose listing finds nothing, is taken as empty, while a path that
// does not lead to a folder is a failure.
enum class ListingStart {
  kOpened,
  kAccessDenied,
  kFileNotFound,  // the folder exists but the listing found no entry at all
  kPathNotFound,  // nothing at the path, or not a folder
  kFailed,        // any other reason
};

// The identity of a folder, the same for every path (link) that reaches it.
struct FolderIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

// The entries of one folder, in the order in which the platform returns them,
// "." and ".." included; nothing is sorted. Never raises: every failure shows
// in start() or in the result of Close(). The listing holds the folder open
// until Close() or the end of the object.
class FolderListing {
 public:
  // Starts listing the folder at the path (a trailing separator is allowed).
  explicit FolderListing(const std::string& folder);
  ~FolderListing();
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  ListingStart start() const { return start_; }

  // The identity of the listed folder; meaningful only when start() is kOpened.
  const FolderIdentity& identity() const { return identity_; }

  // Reads the next entry into `entry` (reusing its storage). False at the end
  // of the listing, on an error, and when the listing did not start.
  bool Next(FolderEntry& entry);

  // Ends the listing. False when it ended with an error rather than after the
  // last entry, or when the folder could not be closed; true when the listing
  // never started.
  bool Close();

  // The system's error that kept the listing from starting or ended it early;
  // none while all is well.
  const std::error_code& error() const { return error_; }

 private:
  struct Handle;  // the platform's open listing

  std::unique_ptr<Handle> handle_;
  ListingStart start_ = ListingStart::kFailed;
  FolderIdentity identity_;
  bool readFailed_ = false;
  std::error_code error_;
};

}  // namespace quill
