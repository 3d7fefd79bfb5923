#include "shell/search_params.h"

#include <algorithm>

#include "base/text.h"
#include "shell/file_mask.h"

namespace quill {

void TJvSearchParams::SetFileMasks(std::vector<std::string> masks) {
  fileMasks_ = std::move(masks);
  upperMasks_.clear();
  upperMasks_.reserve(fileMasks_.size());
  for (const std::string& mask : fileMasks_) upperMasks_.push_back(UpperUnicode(mask));
}

bool TJvSearchParams::Matches(std::string_view fileName) const {
  if (!searchTypes_.contains(stFileMask) || upperMasks_.empty()) return true;
  const std::string upperName = UpperUnicode(fileName);
  return std::any_of(upperMasks_.begin(), upperMasks_.end(),
                     [&](const std::string& mask) { return MaskMatches(mask, upperName); });
}

}  // namespace quill
