#include "cli/scan_output.h"

#include <cerrno>

#include "app/check_reason.h"
#include "base/iso_date_time.h"
#include "base/text.h"
#include "cli/progress_line.h"
#include "cli/standard_output.h"
#include "cli/visible_text.h"

namespace quill {
namespace {

using Verdict = CheckOutcome::Verdict;

std::string TsvField(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Two lower-case hexadecimal digits a byte.
std::string HexText(std::string_view bytes) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
  }
  return out;
}

const char* VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::kUnchanged:
      return "unchanged";
    case Verdict::kDocumentDiffers:
      return "documentDiffers";
    case Verdict::kNoSpineDocument:
      return "noSpineDocument";
    case Verdict::kSpineListsNoContentDocument:
      return "spineListsNoContentDocument";
    case Verdict::kImpossibleDate:
      return "impossibleDate";
    case Verdict::kCannotExamine:
      return "cannotExamine";
  }
  return "";
}

}  // namespace

ScanOutput::ScanOutput(std::FILE* out, const Options& options, ProgressLine* progress)
    : out_(out), options_(options), progress_(progress) {
  if (options_.format == Format::kJson) json_.BeginArray();
}

void ScanOutput::Book(const BookRow& row, const CheckOutcome& reason) {
  const std::string because =
      options_.explain ? "\t" + TsvField(CheckReasonText(reason)) : std::string();
  switch (options_.format) {
    case Format::kText: {
      const std::string line = row.path + because;
      Flush((options_.toTerminal ? VisibleText(line) : line) +
            (options_.nullTerminated ? '\0' : '\n'));
      break;
    }
    case Format::kTsv:
      Flush(TsvField(row.fileName) + "\t" + TsvField(row.path) + because + "\n");
      break;
    case Format::kJson:
      WriteJson(row, reason);
      break;
  }
}

void ScanOutput::WriteJson(const BookRow& row, const CheckOutcome& reason) {
  json_.BeginObject();
  json_.Member("name", row.fileName);
  json_.Member("path", row.path);
  // A path that is not UTF-8 reads with U+FFFD in "path", naming no file; its
  // bytes keep it findable.
  if (!IsAscii(row.path) && SanitizeUtf8(row.path) != row.path) {
    json_.Member("path_bytes", HexText(row.path));
  }
  if (options_.explain) {
    json_.Key("reason");
    json_.BeginObject();
    json_.Member("kind", VerdictName(reason.verdict));
    json_.Member("text", CheckReasonText(reason));
    if (reason.verdict == Verdict::kDocumentDiffers) {
      json_.Member("document", reason.document);
      json_.Member("modified", IsoDateTimeText(reason.documentTime));
      json_.Member("referenceDocument", reason.referenceDocument);
      json_.Member("referenceModified", IsoDateTimeText(reason.referenceTime));
      json_.Member("commonModified", IsoDateTimeText(reason.commonTime));
      json_.Key("oddDocuments");
      json_.BeginArray();
      for (const DocumentTime& odd : reason.oddDocuments) {
        json_.BeginObject();
        json_.Member("name", odd.name);
        json_.Member("modified", IsoDateTimeText(odd.time));
        json_.EndObject();
      }
      json_.EndArray();
      json_.Member("referenceIsOdd", reason.referenceIsOdd);
    } else if (reason.verdict == Verdict::kImpossibleDate) {
      json_.Member("document", reason.document);
    } else if (reason.verdict == Verdict::kCannotExamine) {
      json_.Member("problem", reason.problem);
    }
    json_.EndObject();
  }
  json_.EndObject();
  Flush(json_.Take());
}

bool ScanOutput::Finish() {
  if (options_.format == Format::kJson) {
    json_.EndArray();
    Flush(json_.Take());
  }
  if (!failed_ && (std::fflush(out_) != 0 || std::ferror(out_) != 0)) Fail();
  return !failed_;
}

void ScanOutput::Fail() {
  failed_ = true;
  error_ = errno;
}

void ScanOutput::Flush(const std::string& text) {
  if (failed_) return;  // the first failure is the one reported
  if (options_.toTerminal && progress_ != nullptr) progress_->Clear();
  if (!WriteText(out_, text)) Fail();
  // On a terminal the book shows at once, not when the buffer fills.
  if (options_.toTerminal) std::fflush(out_);
}

}  // namespace quill
