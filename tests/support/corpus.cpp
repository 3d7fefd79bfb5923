#include "corpus.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace quill::testing {

std::filesystem::path CorpusDir() {
  std::filesystem::path dir = QUILLMERE_CORPUS_DIR;
  if (const char* overridden = std::getenv("QUILLMERE_CORPUS")) dir = overridden;
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

std::vector<std::filesystem::path> CorpusFiles(const std::string& sub,
                                               const std::string& extension) {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path root = CorpusDir();
  if (root.empty()) return files;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root / sub, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    if (!extension.empty() && it->path().extension() != "." + extension) continue;
    files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace quill::testing
