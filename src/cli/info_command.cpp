#include <cstdio>
#include <string>

#include "app/book_file_check.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/standard_output.h"
#include "cli/visible_text.h"
#include "epub/package_reader.h"

namespace quill {
namespace {

constexpr char kInfoHelp[] =
    "usage: quillmere-cli info [--format text|json] BOOK\n"
    "\n"
    "Reads the book's package as the desktop program does (container, OPF\n"
    "package document, spine, manifest and NCX) and shows every field of the\n"
    "package reader under its own name: Ok, EpubPath, the metadata, OpfPath,\n"
    "OpfFolder, SpineIdrefs, SpineHrefs, Toc, LastIndex and CurrentIndex.\n"
    "\n"
    "In text, a package that does not read prints nothing; why is told on\n"
    "standard error. In json the fields are printed all the same, with Ok false.\n"
    "\n"
    "Exit status: 0 when the package reads (Ok), 1 when it does not, 2 on a\n"
    "usage error.\n";

// The reader's text fields in the order in which they are shown.
struct TextField {
  const char* name;
  std::string TEpuB::*field;
};
constexpr TextField kMetadataFields[] = {
    {"Title", &TEpuB::Title},
    {"Creator", &TEpuB::Creator},
    {"Publisher", &TEpuB::Publisher},
    {"Language", &TEpuB::Language},
    {"Subject", &TEpuB::Subject},
    {"Date", &TEpuB::Date},
    {"Source", &TEpuB::Source},
    {"Description", &TEpuB::Description},
    {"Identifier", &TEpuB::Identifier},
    {"Series", &TEpuB::Series},
    {"SeriesIndex", &TEpuB::SeriesIndex},
    {"Isbn", &TEpuB::Isbn},
};
constexpr TextField kLocationFields[] = {
    {"CoverPath", &TEpuB::CoverPath},
    {"GuideCover", &TEpuB::GuideCover},
    {"OpfPath", &TEpuB::OpfPath},
    {"OpfFolder", &TEpuB::OpfFolder},
};

std::string InfoJson(const TEpuB& book) {
  JsonWriter json;
  json.BeginObject();
  json.Member("Ok", book.Ok);
  json.Member("EpubPath", Utf8Of(book.EpubPath));
  for (const TextField& field : kMetadataFields) json.Member(field.name, book.*field.field);
  json.Member("Subjects", book.Subjects);
  json.Member("Version", book.Version);
  for (const TextField& field : kLocationFields) json.Member(field.name, book.*field.field);
  json.Member("SpineIdrefs", book.SpineIdrefs);
  json.Member("SpineHrefs", book.SpineHrefs);
  json.Key("Toc");
  json.BeginArray();
  for (const TEpuB::TocItem& item : book.Toc) {
    json.BeginObject();
    json.Member("NavLabel", item.entry->NavLabel);
    json.Member("ContentSrc", item.entry->ContentSrc);
    json.EndObject();
  }
  json.EndArray();
  json.Member("LastIndex", book.LastIndex);
  json.Member("CurrentIndex", book.CurrentIndex);
  json.EndObject();
  return json.Take();
}

// "Name: value" lines; a list as its name and one indented line per item.
// Values are written visibly: what a book holds cannot add a line of its own
// or act on the terminal.
class InfoText {
 public:
  void Field(std::string_view name, std::string_view value) {
    text_.append(name).append(": ").append(VisibleText(value)).append("\n");
  }
  void List(std::string_view name, const std::vector<std::string>& values) {
    text_.append(name).append(":\n");
    for (const std::string& value : values) {
      text_.append("  ").append(VisibleText(value)).append("\n");
    }
  }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

std::string InfoPlainText(const TEpuB& book) {
  InfoText out;
  out.Field("Ok", book.Ok ? "true" : "false");
  out.Field("EpubPath", Utf8Of(book.EpubPath));
  for (const TextField& field : kMetadataFields) out.Field(field.name, book.*field.field);
  out.List("Subjects", book.Subjects);
  out.Field("Version", book.Version);
  for (const TextField& field : kLocationFields) out.Field(field.name, book.*field.field);
  out.List("SpineIdrefs", book.SpineIdrefs);
  out.List("SpineHrefs", book.SpineHrefs);
  std::vector<std::string> toc;
  for (const TEpuB::TocItem& item : book.Toc) {
    toc.push_back(item.entry->NavLabel + " -> " + item.entry->ContentSrc);
  }
  out.List("Toc", toc);
  out.Field("LastIndex", std::to_string(book.LastIndex));
  out.Field("CurrentIndex", std::to_string(book.CurrentIndex));
  return std::move(out.text());
}

}  // namespace

int RunInfo(const std::vector<std::string>& arguments) {
  const CommandArguments args(arguments, {"--help"}, {"--format"});
  if (args.Has("--help")) {
    return WriteHelpText(kInfoHelp);
  }
  const bool json = args.Choice("--format", "text", {"text", "json"}) == "json";
  if (args.Operands().size() != 1) throw UsageError("give exactly one BOOK");

  const std::string& path = args.Operands().front();
  CliUserMessages messages;
  messages.SetSubject(path);
  const ScopedUserMessages scope(messages);
  const BookFileCheck check = BookFileCheck::Of(PathFromUtf8(path));
  if (check.result != BookFileCheck::Result::kReadable) {
    ShowErrorBox(check.problem);
    if (!json) return kExitFailure;
  }
  TEpuB book;
  if (check.result == BookFileCheck::Result::kReadable) book.Open(PathFromUtf8(FullPath(path)));
  if (!book.Ok) {
    if (check.result == BookFileCheck::Result::kReadable)
      ShowErrorBox("the package cannot be read");
    if (!json) return kExitFailure;
  }
  if (!WriteStandardOutput(json ? InfoJson(book) : InfoPlainText(book), messages))
    return kExitUsage;
  return book.Ok ? kExitSuccess : kExitFailure;
}

}  // namespace quill
