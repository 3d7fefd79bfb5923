// quillmere-sample-library: writes a library of realistic EPUB 2 books into a
// folder tree, a chosen share of them with one chapter edited after the book
// was produced. The same seed always gives the same library, byte for byte.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/path_text.h"
#include "epub_builder.h"
#include "shell/command_line.h"

namespace {

using quill::testing::DosDateTime;
using quill::testing::EpubBuilder;
using quill::testing::EpubChapter;

struct Options {
  int books = 100;
  int editedPercent = 20;
  int chapters = 40;
  std::uint64_t seed = 1;
  int level = 6;
  bool printEdited = false;
  std::filesystem::path folder;
};

// A small deterministic generator (splitmix64), independent of the standard
// library's distributions, which differ between implementations.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Between(int low, int high) { return low + static_cast<int>(Next() % (high - low + 1)); }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kWords[] = {
    "the",    "river",  "ran",    "silver",  "under", "a",       "quiet",      "moon",    "and",
    "she",    "walked", "along",  "old",     "stone", "road",    "towards",    "harbour", "where",
    "ships",  "waited", "for",    "morning", "wind",  "letters", "lay",        "on",      "table",
    "of",     "oak",    "candle", "burned",  "low",   "he",      "remembered", "summer",  "garden",
    "behind", "house",  "with",   "its",     "apple", "trees"};

std::string Paragraphs(Random& random, int bytes) {
  std::string body;
  while (static_cast<int>(body.size()) < bytes) {
    body += "<p>";
    const int words = random.Between(30, 120);
    for (int w = 0; w < words; ++w) {
      if (w > 0) body += ' ';
      body += kWords[random.Next() % std::size(kWords)];
    }
    body += ".</p>\n";
  }
  return body;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// Books are spread over shelves and authors, a few of them directly in the root.
std::filesystem::path BookPath(const Options& options, Random& random, int index) {
  using quill::PathFromUtf8;
  const auto name = PathFromUtf8("book-" + std::to_string(100000 + index).substr(1) + ".epub");
  if (index % 10 == 0) return options.folder / name;
  return options.folder / PathFromUtf8("shelf-" + TwoDigits(random.Between(1, 12))) /
         PathFromUtf8("author-" + TwoDigits(random.Between(1, 30))) / name;
}

EpubBuilder MakeBook(const Options& options, Random& random, int index, bool edited) {
  const int year = random.Between(2012, 2024), month = random.Between(1, 12);
  const int day = random.Between(1, 28), hour = random.Between(0, 23);
  const int minute = random.Between(0, 59), second = 2 * random.Between(0, 29);
  EpubBuilder book;
  book.Title("Sample Book " + std::to_string(index))
      .Creator("Author " + std::to_string(random.Between(1, 30)))
      .Identifier("urn:uuid:00000000-0000-4000-8000-" + std::to_string(100000000000 + index))
      .Modified(DosDateTime(year, month, day, hour, minute, second));
  for (int c = 1; c <= options.chapters; ++c) {
    book.AddChapter({"chapter" + TwoDigits(c) + ".xhtml", "Chapter " + std::to_string(c),
                     Paragraphs(random, random.Between(5 * 1024, 40 * 1024)), std::nullopt});
  }
  if (edited) {
    // The edit happens days away from production, so every time resolution sees it.
    const int chapter = random.Between(0, options.chapters - 1);
    const int shift = random.Between(1, 13);
    const int editedDay = day <= 14 ? day + shift : day - shift;
    book.EditChapter(chapter, DosDateTime(year, month, editedDay, random.Between(0, 23),
                                          random.Between(0, 59), 2 * random.Between(0, 29)));
  }
  return book;
}

[[noreturn]] void Usage(int status) {
  std::fprintf(
      status == 0 ? stdout : stderr,
      "usage: quillmere-sample-library [--books N] [--edited PERCENT] [--chapters N]\n"
      "                                [--seed S] [--level 0-9] [--print-edited] FOLDER\n");
  std::exit(status);
}

Options Parse(const std::vector<std::string>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view arg = arguments[i];
    const auto value = [&]() -> long long {
      if (i + 1 >= arguments.size()) Usage(2);
      return std::atoll(arguments[++i].c_str());
    };
    if (arg == "--books")
      options.books = static_cast<int>(value());
    else if (arg == "--edited")
      options.editedPercent = static_cast<int>(value());
    else if (arg == "--chapters")
      options.chapters = static_cast<int>(value());
    else if (arg == "--seed")
      options.seed = static_cast<std::uint64_t>(value());
    else if (arg == "--level")
      options.level = static_cast<int>(value());
    else if (arg == "--print-edited")
      options.printEdited = true;
    else if (arg == "--help")
      Usage(0);
    else if (!arg.empty() && arg[0] == '-')
      Usage(2);
    else
      options.folder = quill::PathFromUtf8(arg);
  }
  if (options.folder.empty() || options.books < 0 || options.chapters < 1 ||
      options.editedPercent < 0 || options.editedPercent > 100 || options.level < 0 ||
      options.level > 9) {
    Usage(2);
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(quill::ProgramArguments(argc, argv));
  Random random(options.seed);
  int edited = 0;
  try {
    for (int i = 1; i <= options.books; ++i) {
      const bool isEdited = static_cast<int>(random.Next() % 100) < options.editedPercent;
      const std::filesystem::path path = BookPath(options, random, i);
      std::filesystem::create_directories(path.parent_path());
      auto zip = MakeBook(options, random, i, isEdited).ToZip();
      zip.layout().deflateLevel = options.level;
      zip.WriteTo(path);
      if (isEdited) {
        ++edited;
        if (options.printEdited) std::printf("%s\n", quill::Utf8Of(path).c_str());
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quillmere-sample-library: %s\n", e.what());
    return 1;
  }
  if (!options.printEdited) {
    std::printf("%d books, %d of them edited, in %s\n", options.books, edited,
                quill::Utf8Of(options.folder).c_str());
  }
  return 0;
}
