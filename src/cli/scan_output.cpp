#include "cli/scan_output.h"

#include "app/check_reason.h"
#include "base/iso_date_time.h"

namespace quill {
namespace {

using Verdict = CheckOutcome::Verdict;

std::string TsvField(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

const char* VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::kUnchanged: return "unchanged";
    case Verdict::kDocumentDiffers: return "documentDiffers";
    case Verdict::kNoSpineDocument: return "noSpineDocument";
    case Verdict::kCannotExamine: return "cannotExamine";
  }
  return "";
}

}  // namespace

ScanOutput::ScanOutput(std::FILE* out, Format format, bool explain)
    : out_(out), format_(format), explain_(explain) {
  if (format_ == Format::kJson) json_.BeginArray();
}

void ScanOutput::Book(const BookRow& row, const CheckOutcome& reason) {
  const std::string because = explain_ ? "\t" + TsvField(CheckReasonText(reason)) : std::string();
  switch (format_) {
    case Format::kText:
      Flush(row.path + because + "\n");
      break;
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
  if (explain_) {
    json_.Key("reason");
    json_.BeginObject();
    json_.Member("kind", VerdictName(reason.verdict));
    json_.Member("text", CheckReasonText(reason));
    if (reason.verdict == Verdict::kDocumentDiffers) {
      json_.Member("document", reason.document);
      json_.Member("modified", IsoDateTimeText(reason.documentTime));
      json_.Member("referenceDocument", reason.referenceDocument);
      json_.Member("referenceModified", IsoDateTimeText(reason.referenceTime));
    } else if (reason.verdict == Verdict::kCannotExamine) {
      json_.Member("problem", reason.problem);
    }
    json_.EndObject();
  }
  json_.EndObject();
  Flush(json_.Take());
}

void ScanOutput::Finish() {
  if (format_ == Format::kJson) {
    json_.EndArray();
    Flush(json_.Take());
  }
  std::fflush(out_);
}

void ScanOutput::Flush(const std::string& text) { std::fwrite(text.data(), 1, text.size(), out_); }

}  // namespace quill
