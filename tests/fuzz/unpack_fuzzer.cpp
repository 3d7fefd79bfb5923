// Unpacking any bytes into a fresh folder. Whatever the archive names, every
// file and folder lands inside the target: afterwards the folders around the
// target hold nothing but the way to it, and no path that an entry's name
// spells outside the target has come into being.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "archive/unpack_to_folder.h"
#include "archive/unzipper.h"
#include "base/error.h"
#include "fuzz_require.h"
#include "fuzz_scratch.h"
#include "silent_user_messages.h"

namespace quill::fuzzing {
namespace {

namespace fs = std::filesystem;

// How many folders stand between the scratch folder and the target, each a
// fence that a name climbing out with ".." would leave something in.
constexpr int kFences = 4;

// Whether the path is the folder or lies below it, by its spelling.
bool IsWithin(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

// Where a name would land if it were joined to the folder naively, reading
// "/" and "\" as separators: the places an escape would show up. The folders
// on the way to the target are left to the fence check.
std::vector<fs::path> NaiveLandings(const fs::path& folder, std::string name) {
  name.resize(std::min(name.size(), name.find('\0')));  // all that a system call would see
  std::vector<fs::path> landings;
  for (const bool backslashSeparates : {false, true}) {
    std::string spelled = name;
    if (backslashSeparates) {
      for (char& c : spelled) c = c == '\\' ? '/' : c;
    }
    fs::path joined = (folder / fs::path(spelled)).lexically_normal();
    if (!joined.has_filename()) joined = joined.parent_path();
    if (!IsWithin(joined, folder) && !IsWithin(folder, joined)) landings.push_back(joined);
  }
  return landings;
}

// The landings outside the folder of every entry, with whether each existed
// before the unpack; `entries` becomes the archive's entry count.
std::vector<std::pair<fs::path, bool>> OutsideLandings(const fs::path& archive,
                                                       const fs::path& folder,
                                                       std::size_t& entries) {
  std::vector<std::pair<fs::path, bool>> landings;
  try {
    TAbUnZipper unzipper;
    unzipper.SetFileName(archive);
    entries = unzipper.Count();
    for (std::size_t i = 0; i < unzipper.Count(); ++i) {
      for (const fs::path& landing :
           NaiveLandings(folder, std::string(unzipper.Items(i).fileName))) {
        std::error_code ec;
        landings.emplace_back(landing, fs::exists(fs::symlink_status(landing, ec)));
      }
    }
  } catch (const Error&) {
    // Not an archive: the unpack opens nothing either.
  }
  return landings;
}

// Whether the folder holds these children and nothing else.
bool HoldsExactly(const fs::path& folder, std::vector<fs::path> children) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const auto known = std::find(children.begin(), children.end(), it->path());
    if (known == children.end()) return false;
    children.erase(known);
  }
  return !ec && children.empty();
}

}  // namespace
}  // namespace quill::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  using namespace quill::fuzzing;
  static FuzzScratch scratch;
  static SilentUserMessages silence;
  const fs::path input = scratch.WriteInput(data, size);

  // scratch/cage/f1/.../fN/book: the target, fenced in.
  const fs::path cage = scratch.folder() / "cage";
  fs::path target = cage;
  for (int i = 1; i <= kFences; ++i) target /= "f" + std::to_string(i);
  target /= "book";
  std::size_t entries = 0;
  const auto landings = OutsideLandings(input, target, entries);

  UnpackReport report;
  bool unpacked = false;
  try {
    unpacked = UnpackToFolder(input, target, &report);
  } catch (const Error&) {
    Require(false, "a fresh folder under a plain folder can always be created");
  }
  if (unpacked) {
    const auto leftOut = std::count_if(
        report.problems.begin(), report.problems.end(), [](const UnpackReport::Problem& problem) {
          return problem.extraction.result == EntryExtraction::Result::kLeftOut;
        });
    Require(report.written + static_cast<std::size_t>(leftOut) == entries,
            "every entry is in place or told as left out");
    Require(report.strayCount == 0, "a fresh folder holds nothing that the book does not");
  }

  for (fs::path inner = target; inner != cage; inner = inner.parent_path()) {
    Require(HoldsExactly(inner.parent_path(), {inner}),
            "the folders around the target hold only the way to it");
  }
  Require(HoldsExactly(scratch.folder(), {input, cage}), "the scratch folder holds nothing new");
  for (const auto& [landing, existed] : landings) {
    std::error_code ec;
    Require(existed || !fs::exists(fs::symlink_status(landing, ec)),
            "nothing appears where a name points outside the target");
  }
  std::error_code ec;
  fs::remove_all(cage, ec);
  return 0;
}
