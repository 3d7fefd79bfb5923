#include "base/file_system.h"

#include "base/posix/file_system_internals.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <system_error>

namespace quill {
namespace {

// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;

// Error codes in the numbering that the system's I/O messages are keyed by.
constexpr int kPathNotFound = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kDeviceError = 1117;

}  // namespace

int SystemErrorCode(int error) noexcept {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case EEXIST:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kAccessDenied;
    case EMFILE:
    case ENFILE:
      return kTooManyOpenFiles;
    default:
      // The codes up to 5 carry the named meanings above; an errno that small
      // (EIO, say) would be misread as one of them.
      return error > kAccessDenied ? error : kDeviceError;
  }
}

bool FileExists(const std::filesystem::path& path) noexcept {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::filesystem::path& path) noexcept {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsLink(const std::filesystem::path& path) noexcept {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::optional<std::uint64_t> FileSize(const std::filesystem::path& path) noexcept {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

int CreateDirectories(const std::filesystem::path& path) noexcept {
  if (path.empty()) return kPathNotFound;
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return error ? SystemErrorCode(error.value()) : 0;
}

namespace {

// The file time of a date and time taken as local time.
std::optional<timespec> LocalFileTime(Timestamp localTime) {
  // Split the timestamp into calendar fields (gmtime on the naive seconds does
  // that without any zone), then let mktime read those fields as local time,
  // choosing daylight saving time as the zone rules say for that moment.
  const double whole = std::floor(localTime);
  const auto milliseconds =
      static_cast<std::int64_t>(std::llround((localTime - whole) * kMillisecondsPerDay));
  const auto naiveSeconds = static_cast<std::time_t>((whole - kUnixEpochDays) * 86400.0) +
                            static_cast<std::time_t>(milliseconds / 1000);
  std::tm fields{};
  if (::gmtime_r(&naiveSeconds, &fields) == nullptr) return std::nullopt;
  fields.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&fields);
  if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
  return timespec{seconds, static_cast<long>(milliseconds % 1000) * 1000000L};
}

}  // namespace

bool SetLocalFileTime(int descriptor, Timestamp localTime) noexcept {
  const auto time = LocalFileTime(localTime);
  if (!time) return false;
  const timespec times[2] = {{0, UTIME_OMIT}, *time};
  return ::futimens(descriptor, times) == 0;
}

bool RemoveFile(const std::filesystem::path& path) noexcept { return ::unlink(path.c_str()) == 0; }

}  // namespace quill
