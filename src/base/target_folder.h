#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

#include "base/file_identity.h"
#include "base/timestamp.h"
#include "base/writable_file.h"

namespace quill {

// A folder held open, beneath which folders and files are opened and created
// one name at a time, relative to the folder already open and never through a
// link: a folder swapped for a link between two steps cannot lead a write
// anywhere else. Move-only; the folder is released when the object ends.
class TargetFolder {
 public:
  // Why something could not be opened or created beneath the folder.
  struct Failure {
    enum class Kind : std::uint8_t {
      kLink,       // a link (or another redirection) stands at the name
      kProtected,  // the file there is the one that must not be replaced
      kSystem,     // the system refused; `code` says why
    };
    Kind kind = Kind::kSystem;
    // For kSystem, a code numbered as CreateDirectories numbers them.
    int code = 0;
  };

  // Opens the folder at the path; a link at the path itself is followed (the
  // caller chose the folder). Nothing when no folder can be opened there.
  static std::optional<TargetFolder> Open(const std::filesystem::path& folder) noexcept;

  TargetFolder(TargetFolder&& other) noexcept;
  TargetFolder& operator=(TargetFolder&& other) noexcept;
  TargetFolder(const TargetFolder&) = delete;
  TargetFolder& operator=(const TargetFolder&) = delete;
  ~TargetFolder();

  // The path this folder was reached by, for messages.
  const std::filesystem::path& Path() const { return path_; }

  // Opens the folder named `name` (one segment) directly beneath this one,
  // creating it first when it is missing and `create` holds.
  std::variant<TargetFolder, Failure> Subfolder(std::string_view name, bool create) const noexcept;

  // Creates a new file named `name` directly beneath this one, opened for
  // writing while others may only read it. A file already there is replaced,
  // read-only or not, unless it is the file `keep` (then kProtected); a link
  // there is neither followed nor replaced (kLink).
  std::variant<WritableFile, Failure> NewFile(
      std::string_view name, const std::optional<FileIdentity>& keep) const noexcept;

  // Removes the file named `name` directly beneath this one (a link itself,
  // never its target); false when nothing was removed.
  bool RemoveFile(std::string_view name) const noexcept;

  // The identity of the file or folder that stands at `name` directly beneath
  // this one, a link not followed; nothing when there is none.
  std::optional<FileIdentity> IdentityOf(std::string_view name) const noexcept;

  // Sets the folder's last-write time from a time taken as local time; false
  // when that cannot be done.
  bool SetLastWriteTime(Timestamp localTime) const noexcept;

 private:
  TargetFolder(std::intptr_t handle, std::filesystem::path path)
      : handle_(handle), path_(std::move(path)) {}

  std::intptr_t handle_ = -1;  // the platform's handle of the open folder
  std::filesystem::path path_;
};

}  // namespace quill
