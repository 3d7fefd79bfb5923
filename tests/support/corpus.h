#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quill::testing {

// The shared folder of real-world files beside the checkout (environment
// variable QUILLMERE_CORPUS overrides it); empty when it is not there.
std::filesystem::path CorpusDir();

// Every regular file under CorpusDir()/sub, sorted by path; the extension, if
// given, filters ("epub" or "zip"). Empty when the corpus is absent.
std::vector<std::filesystem::path> CorpusFiles(const std::string& sub,
                                               const std::string& extension = {});

// The text to skip a corpus test with when the corpus is absent.
inline constexpr const char* kNoCorpus = "the shared corpus folder is not present";

}  // namespace quill::testing
