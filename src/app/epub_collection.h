#pragma once

#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/book_row.h"
#include "app/check_outcome.h"

namespace quill {

class BookArchive;
class TJvSearchFiles;

// The decisions by which the add commands fill the list of found books,
// without the window: which candidate is examined, which book is listed, and
// how a folder search is set up. The main window and the command-line program
// both drive one of these, so they list exactly the same books.
//
// A book is listed when its package reads and the modification check does not
// confirm it unchanged; a book whose package does not read is never listed.
class EpubCollection {
 public:
  // Answers the time resolution (the item index, 0 "Day" to 4 "Full") at the
  // moment a book is examined, so a change made between books applies to
  // every book examined after it.
  using TimeResolutionSource = std::function<int()>;
  // Receives each listed book: its row, and why the check did not confirm it.
  using ListedBookSink = std::function<void(const BookRow& row, const CheckOutcome& reason)>;

  // What became of one candidate: skipped (no file, or no ZIP archive), its
  // package unreadable (never listed), confirmed unchanged, or listed.
  enum class Candidate { kSkipped, kPackageUnreadable, kNotListed, kListed };

  // A candidate examined but not yet handed to the sink.
  struct Examination {
    Candidate candidate = Candidate::kSkipped;
    CheckOutcome outcome;  // why a kListed book is listed
    // Why a kSkipped file could not be opened or read, as raised; none when
    // it is no regular file or holds no end record.
    std::exception_ptr failure;
  };

  EpubCollection(TimeResolutionSource timeResolution, ListedBookSink listed);

  // Examines one EPUB file and hands it to the sink if it qualifies: its
  // package is read, and when that reading ends with Ok, the book is examined
  // again from its file (ExamineBook) and listed unless confirmed unchanged.
  // The package reader may show its messages (twice when both readings get
  // that far). Raises only what the sink raises.
  bool AddIfChanged(const std::string& path);

  // A file chosen by "Add file" or found by a folder search: skipped without a
  // message unless it is a candidate (IsCandidate), otherwise AddIfChanged.
  // The file is opened once for all of it.
  Candidate AddCandidate(const std::string& path);

  // What AddCandidate decides, without handing the book to the sink. Touches
  // no state but the calling thread's, so candidates may be examined on
  // several threads at once; the messages go to the thread's sink. A book
  // that another thread opened and read ahead (ReadBookAhead) is examined
  // through that archive when it opened; otherwise the file is opened here.
  static Examination ExamineCandidate(const std::string& path,
                                      const TimeResolutionSource& timeResolution,
                                      std::shared_ptr<BookArchive> readAhead = nullptr);

  // Hands an examined book to the sink when it is listed; its answer.
  Candidate Deliver(const std::string& path, const Examination& examination);

  // Whether a file is worth examining: a regular file exists at the path (a
  // link counts as its target) and it carries a ZIP end record. Cheap: the
  // package is not read.
  static bool IsCandidate(const std::filesystem::path& path);

  // Sets the search up for a folder command: no collected files or folders,
  // the root folder alone or with every folder below it, files reported only
  // through OnFindFile (its other options stay), the one mask "*.epub" and the
  // folder as the root. The caller sets the handlers and runs the search.
  static void ConfigureFolderSearch(TJvSearchFiles& search, bool includeSubfolders,
                                    const std::string& folder);

 private:
  // AddIfChanged's decision on an archive that is open.
  static Examination ExamineOpenBook(const std::shared_ptr<BookArchive>& archive,
                                     const TimeResolutionSource& timeResolution);

  TimeResolutionSource timeResolution_;
  ListedBookSink listed_;
};

}  // namespace quill
