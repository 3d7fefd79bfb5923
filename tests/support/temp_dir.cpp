#include "temp_dir.h"

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quill::testing {

TempDir::TempDir() {
  namespace fs = std::filesystem;
  const fs::path base = fs::temp_directory_path();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "quill-test-%08x", static_cast<unsigned>(random()));
    std::error_code ec;
    // A folder that exists already belongs to someone else: another name is tried.
    if (fs::create_directory(base / name, ec)) {
      path_ = base / name;
      fs::permissions(path_, fs::perms::owner_all, fs::perm_options::replace, ec);
      return;
    }
    if (ec) break;
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(
           path_, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_symlink(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

}  // namespace quill::testing
