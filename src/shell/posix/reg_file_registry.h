#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "shell/reg_file.h"
#include "shell/user_registry.h"

namespace quill {

// The current user's registry on POSIX: one file in the text format of
// registry exports, so that it can be read by eye and imported on Windows.
// The file is read once, when first needed, and tolerantly; changes collect
// in memory and Flush writes the whole file anew, atomically, so a crash
// keeps either the old file or the new one.
class RegFileRegistry final : public UserRegistry {
 public:
  explicit RegFileRegistry(std::filesystem::path file);

  Lookup QueryValue(std::string_view keyPath, std::string_view name) override;
  bool CreateKey(std::string_view keyPath) override;
  bool SetValue(std::string_view keyPath, std::string_view name,
                const RegistryValue& value) override;
  bool Flush() override;

 private:
  enum class FileState { kNotRead, kRead, kUnreadable };

  void ReadOnce();

  std::filesystem::path file_;
  FileState state_ = FileState::kNotRead;
  RegFile content_;
  bool changed_ = false;
};

// ${XDG_CONFIG_HOME:-~/.config}/Quillmere/registry.reg. A relative
// XDG_CONFIG_HOME is ignored, as the base-directory convention says.
std::filesystem::path UserRegistryFile();

}  // namespace quill
