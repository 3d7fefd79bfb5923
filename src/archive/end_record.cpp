#include "archive/end_record.h"

#include <algorithm>

#include "archive/file_window.h"
#include "base/byte_reader.h"

namespace quill {
namespace {

constexpr std::uint32_t kSignature = 0x06054B50;
constexpr std::size_t kCommentLengthAt = 20;

}  // namespace

EndRecordSearch::EndRecordSearch(FileWindow& window)
    : fileSize_(window.FileSize()),
      tailLowest_(fileSize_ - std::min(fileSize_, kTailSearched)),
      // A record needs its fixed fields before the end of the file.
      scan_(window, fileSize_ >= kRecordSize ? fileSize_ - kRecordSize + 1 : 0, kRecordSize) {}

bool EndRecordSearch::Step(std::uint64_t lowest) {
  const auto candidate = scan_.NextSignature(kSignature, lowest);
  if (!candidate) return false;
  const std::uint64_t position = candidate->position;
  if (!inTail_ && position >= tailLowest_) inTail_ = position;
  if (!withFittingComment_) {
    ByteReader fields(candidate->bytes);
    fields.Seek(kCommentLengthAt);
    const std::uint16_t commentLength = fields.U16().value_or(0);
    if (commentLength <= fileSize_ - (position + kRecordSize)) withFittingComment_ = position;
  }
  return true;
}

std::optional<std::uint64_t> EndRecordSearch::NearestInTail() {
  while (!inTail_ && !tailDone_ && !fileDone_) {
    if (!Step(tailLowest_)) tailDone_ = true;
  }
  return inTail_;
}

std::optional<std::uint64_t> EndRecordSearch::NearestWithFittingComment() {
  while (!withFittingComment_ && !fileDone_) {
    if (!Step(0)) fileDone_ = true;
  }
  return withFittingComment_;
}

std::string EndRecordComment(FileWindow& window, std::uint64_t position) {
  const auto record = window.Bytes(position, EndRecordSearch::kRecordSize);
  ByteReader fields(record);
  fields.Seek(kCommentLengthAt);
  const std::uint16_t length = fields.U16().value_or(0);
  const auto comment = window.Bytes(position + EndRecordSearch::kRecordSize, length);
  return {reinterpret_cast<const char*>(comment.data()), comment.size()};
}

}  // namespace quill
