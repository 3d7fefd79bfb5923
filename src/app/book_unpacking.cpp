#include "app/book_unpacking.h"

#include "archive/unpack_to_folder.h"
#include "base/error_kinds.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "epub/package_reader.h"
#include "shell/temporary_folder.h"
#include "shell/unpack_folder_name.h"

namespace quill {
namespace {

// "The folder also holds ... ." with its line end, or empty when the folder
// holds nothing but the book's files.
std::string StraysSentence(const UnpackReport& report) {
  std::string sentence = report.StraysText();
  if (sentence.empty()) return sentence;
  sentence.front() = static_cast<char>(sentence.front() - 'a' + 'A');
  return sentence + ".\n";
}

}  // namespace

BookUnpacking BookUnpacking::Run(const std::filesystem::path& book,
                                 const std::optional<std::filesystem::path>& target) {
  BookUnpacking result;
  if (!FileExists(book)) return result;
  TEpuB reader;
  reader.Open(book);
  if (!reader.Ok || reader.EpubPath.empty()) {
    result.status = Status::kPackageUnreadable;
    return result;
  }
  if (target) {
    result.folder = *target;
  } else {
    // An empty temporary folder would make the target a bare relative name,
    // somewhere the user never chose; such an unpack is refused.
    const std::string temporary = TemporaryFolderPath();
    if (temporary.empty()) {
      result.folder = PathFromUtf8(TemporaryFolderPlace());
      result.status = Status::kNoTemporaryFolder;
      return result;
    }
    result.folder = PathFromUtf8(temporary + UnpackFolderName(Utf8Of(reader.EpubPath)));
    // A link in the private folder could send every file anywhere; the user
    // never chose it, so it is not written through.
    if (IsLink(result.folder)) {
      throw Exception("Nem tudom a könyvtárat létrehozni : " + Utf8Of(result.folder));
    }
  }
  result.status = UnpackToFolder(reader.EpubPath, result.folder, &result.report) ? Status::kUnpacked
                                                                                 : Status::kFailed;
  return result;
}

std::string UnpackProblemsText(const UnpackReport& report, std::size_t shown) {
  const std::size_t count = report.problems.size();
  if (count == 0) return StraysSentence(report);
  std::string text =
      count == 1 ? "One entry of the book was not unpacked as stored:\n"
                 : std::to_string(count) + " entries of the book were not unpacked as stored:\n";
  for (std::size_t i = 0; i < count && i < shown; ++i) {
    text += report.problems[i].Text() + "\n";
  }
  if (count > shown) text += "... and " + std::to_string(count - shown) + " more\n";
  return text + StraysSentence(report);
}

}  // namespace quill
