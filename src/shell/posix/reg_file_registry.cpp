#include "shell/posix/reg_file_registry.h"

#include <pwd.h>
#include <unistd.h>
#include <cstdlib>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/read_only_file.h"
#include "shell/atomic_file.h"

namespace quill {
namespace {

// Far beyond any real list (ten thousand paths fill about a megabyte); a file
// larger than this is not read, and so never rewritten.
constexpr std::uint64_t kMaxFileSize = 64u << 20;

std::string FullKeyName(std::string_view keyPath) {
  return "HKEY_CURRENT_USER\\" + std::string(keyPath);
}

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

// A link at the file's place is kept: the new content replaces the file the
// link leads to (through a chain of links, up to a sane depth).
std::filesystem::path WriteTarget(std::filesystem::path file) {
  std::error_code error;
  for (int hop = 0; hop < 40 && std::filesystem::is_symlink(file, error); ++hop) {
    const std::filesystem::path target = std::filesystem::read_symlink(file, error);
    if (error) break;
    file = target.is_absolute() ? target : file.parent_path() / target;
  }
  return file;
}

}  // namespace

RegFileRegistry::RegFileRegistry(std::filesystem::path file) : file_(std::move(file)) {}

void RegFileRegistry::ReadOnce() {
  if (state_ != FileState::kNotRead) return;
  std::error_code error;
  const auto status = std::filesystem::status(file_, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    state_ = FileState::kRead;  // no file yet: no keys
    return;
  }
  state_ = FileState::kUnreadable;
  try {
    const ReadOnlyFile file = ReadOnlyFile::Open(file_, ReadOnlyFile::Sharing::kAll);
    if (file.Size() > kMaxFileSize) return;
    std::vector<std::byte> bytes(static_cast<std::size_t>(file.Size()));
    bytes.resize(file.ReadAt(0, bytes));
    content_ =
        RegFile::Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    state_ = FileState::kRead;
  } catch (const Error&) {
    // Left unreadable: the key cannot be opened, and the file is not rewritten.
  }
}

UserRegistry::Lookup RegFileRegistry::QueryValue(std::string_view keyPath, std::string_view name) {
  ReadOnce();
  if (state_ == FileState::kUnreadable) return {KeyState::kUnreadable, std::nullopt};
  const std::string key = FullKeyName(keyPath);
  if (!content_.HasKey(key)) return {KeyState::kMissing, std::nullopt};
  const RegistryValue* value = content_.Find(key, name);
  return {KeyState::kOpened, value ? std::optional(*value) : std::nullopt};
}

bool RegFileRegistry::CreateKey(std::string_view keyPath) {
  ReadOnce();
  // A file that could not be read is never replaced: its keys would be lost.
  if (state_ == FileState::kUnreadable) return false;
  const std::string key = FullKeyName(keyPath);
  if (content_.HasKey(key)) return true;
  if (CreateDirectories(file_.parent_path()) != 0) return false;
  content_.AddKey(key);
  changed_ = true;
  return true;
}

bool RegFileRegistry::SetValue(std::string_view keyPath, std::string_view name,
                               const RegistryValue& value) {
  ReadOnce();
  const std::string key = FullKeyName(keyPath);
  if (state_ == FileState::kUnreadable || !content_.HasKey(key)) return false;
  content_.Set(key, name, value);
  changed_ = true;
  return true;
}

bool RegFileRegistry::Flush() {
  if (!changed_) return true;
  if (!ReplaceFileAtomically(WriteTarget(file_), content_.Format())) return false;
  changed_ = false;
  return true;
}

std::filesystem::path UserRegistryFile() {
  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) base = config;
  if (!base.is_absolute()) base = HomeFolder() / ".config";
  return base / "Quillmere" / "registry.reg";
}

std::unique_ptr<UserRegistry> OpenUserRegistry() {
  return std::make_unique<RegFileRegistry>(UserRegistryFile());
}

}  // namespace quill
