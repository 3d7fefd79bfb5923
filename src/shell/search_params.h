#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/enum_set.h"

namespace quill {

// The kinds of criteria a file is tested against. The value of each member is
// its place in the set, so the set of stFileMask alone has the value 2.
enum TJvSearchType : unsigned { stFileMask = 1 };
using TJvSearchTypes = EnumSet<TJvSearchType>;

// The criteria a found file must meet before the search reports it.
class TJvSearchParams {
 public:
  const std::vector<std::string>& FileMasks() const { return fileMasks_; }
  void SetFileMasks(std::vector<std::string> masks);

  TJvSearchTypes SearchTypes() const { return searchTypes_; }
  void SetSearchTypes(TJvSearchTypes types) { searchTypes_ = types; }

  // Whether a file of this name (without its folder) meets the criteria. With
  // stFileMask it must match one of the masks, in any letter case; without
  // stFileMask, or with no mask at all, every file matches.
  bool Matches(std::string_view fileName) const;

 private:
  std::vector<std::string> fileMasks_;
  // The masks upper-cased once when they are set, so that matching a name
  // costs one upper-casing of the name only.
  std::vector<std::string> upperMasks_;
  TJvSearchTypes searchTypes_;
};

}  // namespace quill
