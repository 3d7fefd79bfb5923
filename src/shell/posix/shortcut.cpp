#include "shell/shortcut.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <vector>

#include "base/error.h"
#include "base/read_only_file.h"
#include "base/text.h"
#include "shell/desktop_entry.h"

namespace quill {
namespace {

// Launchers are a few kilobytes; a larger file is not one.
constexpr std::uint64_t kMaxLauncherSize = 1u << 20;
constexpr const char* kDefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

std::string FileNameExtension(const std::filesystem::path& path) {
  return std::string(ExtensionOf(path.filename().string()));
}

bool IsExecutableFile(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// The program's full path: as it stands when it names a folder, else the
// first match in PATH. Relative entries of PATH are passed over, so that the
// current folder never decides which program is meant.
std::string FindProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) {
    return std::filesystem::path(program).is_absolute() && IsExecutableFile(program)
               ? program
               : std::string();
  }
  const char* searchPath = std::getenv("PATH");
  std::string_view folders = searchPath && *searchPath ? searchPath : kDefaultSearchPath;
  while (!program.empty()) {
    const std::size_t colon = folders.find(':');
    const std::filesystem::path folder(folders.substr(0, colon));
    if (folder.is_absolute() && IsExecutableFile(folder / program))
      return (folder / program).string();
    if (colon == std::string_view::npos) break;
    folders.remove_prefix(colon + 1);
  }
  return {};
}

std::string ReadLauncher(const std::filesystem::path& path) {
  try {
    const ReadOnlyFile file = ReadOnlyFile::Open(path, ReadOnlyFile::Sharing::kAll);
    if (file.Size() > kMaxLauncherSize) return {};
    std::vector<std::byte> bytes(static_cast<std::size_t>(file.Size()));
    bytes.resize(file.ReadAt(0, bytes));
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  } catch (const Error&) {
    return {};
  }
}

std::string LauncherProgram(const std::filesystem::path& path) {
  const auto entry = ParseDesktopEntry(ReadLauncher(path));
  return entry ? FindProgram(DesktopEntryProgram(entry->exec)) : std::string();
}

std::string LinkTarget(const std::filesystem::path& path) {
  std::error_code error;
  const auto target = std::filesystem::canonical(path, error);
  return error ? std::string() : target.string();
}

}  // namespace

bool IsShortcutName(const std::filesystem::path& path) {
  const std::string extension = FileNameExtension(path);
  return extension == ".lnk" || extension == ".desktop";
}

std::string ResolveShortcut(const std::filesystem::path& path) {
  if (LowerAscii(FileNameExtension(path)) == ".desktop") return LauncherProgram(path);
  std::error_code error;
  if (std::filesystem::is_symlink(path, error)) return LinkTarget(path);
  return {};
}

}  // namespace quill
