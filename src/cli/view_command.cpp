#include <cstdio>
#include <string>

#include "app/book_file_check.h"
#include "archive/book_archive.h"
#include "base/iso_date_time.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/standard_output.h"
#include "cli/visible_text.h"
#include "viewer/size_text.h"
#include "viewer/zip_view_listing.h"

namespace quill {
namespace {

constexpr char kViewHelp[] =
    "usage: quillmere-cli view [--format text|json] BOOK\n"
    "\n"
    "Lists the book's content documents (.xhtml, .html and .htm entries) in\n"
    "archive order, as the desktop program's zip view does: the name as\n"
    "stored, the stored modification time, the compressed and uncompressed\n"
    "size, the CRC-32 and the compression method, and the archive's comment.\n"
    "Only the archive's central directory is read.\n"
    "\n"
    "In json: {\"path\", \"comment\", \"entries\": [{\"name\", \"modified\",\n"
    "\"compressedSize\", \"uncompressedSize\", \"crc32\", \"compressionMethod\"}],\n"
    "\"error\"}. When the listing fails part-way, the entries before the failure\n"
    "stay, the failing entry has its name only, and \"error\" is {\"kind\",\n"
    "\"message\"} (otherwise null). In text, a book that cannot be listed\n"
    "whole prints nothing; why is told on standard error.\n"
    "\n"
    "Exit status: 0 when the book is listed, 1 when it cannot be listed, 2 on a\n"
    "usage error.\n";

constexpr char kDecimalSeparator[] = ".";

std::string ViewJson(const std::string& path, const ZipViewListing& listing) {
  JsonWriter json;
  json.BeginObject();
  json.Member("path", path);
  json.Member("comment", listing.comment);
  json.Key("entries");
  json.BeginArray();
  for (const ZipViewRow& row : listing.rows) {
    json.BeginObject();
    json.Member("name", row.name);
    if (row.fields) {
      const ZipViewFields& fields = *row.fields;
      json.Member("modified", IsoDateTimeText(fields.modified));
      json.Member("compressedSize", std::int64_t{fields.compressedSize});
      json.Member("uncompressedSize", std::int64_t{fields.uncompressedSize});
      json.Member("crc32", std::int64_t{fields.crc32});
      json.Member("compressionMethod", std::int64_t{fields.compressionMethod});
    }
    json.EndObject();
  }
  json.EndArray();
  json.Key("error");
  if (listing.failure) {
    json.BeginObject();
    json.Member("kind", listing.failure->kind);
    json.Member("message", listing.failure->message);
    json.EndObject();
  } else {
    json.Null();
  }
  json.EndObject();
  return json.Take();
}

// One line per document, its columns separated by TABs as in the window:
// name, time, compressed size, uncompressed size, CRC-32, method; then the
// comment. Names and the comment are written visibly, so that they cannot
// add a line or a column, or act on the terminal.
std::string ViewText(const ZipViewListing& listing) {
  std::string text;
  for (const ZipViewRow& row : listing.rows) {
    text += VisibleText(row.name);
    if (row.fields) {
      const ZipViewFields& fields = *row.fields;
      text += "\t" + IsoDateTimeText(fields.modified) + "\t" +
              SizeText(fields.compressedSize, kDecimalSeparator) + "\t" +
              SizeText(fields.uncompressedSize, kDecimalSeparator) + "\t" +
              std::to_string(fields.crc32) + "\t" + std::to_string(fields.compressionMethod);
    }
    text += "\n";
  }
  text += "Comment: " + VisibleText(listing.comment) + "\n";
  return text;
}

}  // namespace

int RunView(const std::vector<std::string>& arguments) {
  const CommandArguments args(arguments, {"--help"}, {"--format"});
  if (args.Has("--help")) {
    return WriteHelpText(kViewHelp);
  }
  const bool json = args.Choice("--format", "text", {"text", "json"}) == "json";
  if (args.Operands().size() != 1) throw UsageError("give exactly one BOOK");
  const std::string book = FullPath(args.Operands().front());

  CliUserMessages messages;
  messages.SetSubject(args.Operands().front());
  const ScopedUserMessages scope(messages);
  const BookFileCheck check = BookFileCheck::Of(PathFromUtf8(book));
  if (check.result != BookFileCheck::Result::kReadable) {
    ShowErrorBox(check.problem);
    if (!json) return kExitFailure;
  }
  const auto archive = BookArchive::Open(PathFromUtf8(book));
  const bool listable = CanListBook(*archive);
  const ZipViewListing listing = ListContentDocuments(archive);
  if (listing.failure) {
    if (check.result == BookFileCheck::Result::kReadable) {
      ShowErrorBox(listing.failure->kind + ": " + listing.failure->message);
    }
  } else if (!listable) {
    ShowErrorBox("not a ZIP archive");
  }
  const bool whole = listable && !listing.failure;
  // A listing cut short would read as the whole book in text; json says where it ends.
  if (!json && !whole) return kExitFailure;
  if (!WriteStandardOutput(json ? ViewJson(book, listing) : ViewText(listing), messages)) {
    return kExitUsage;
  }
  return whole ? kExitSuccess : kExitFailure;
}

}  // namespace quill
