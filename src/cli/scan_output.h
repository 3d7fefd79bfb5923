#pragma once

#include <cstdio>
#include <string>

#include "app/book_row.h"
#include "app/check_outcome.h"
#include "cli/json_writer.h"

namespace quill {

class ProgressLine;

// Writes the books that a scan lists, each the moment it is listed, in one of
// the scan's formats:
//   text  the full path, one book a line (or each ended by NUL instead)
//   tsv   the file name, a TAB, the full path (backslash, TAB, line feed and
//         carriage return inside a field written as \\, \t, \n and \r)
//   json  one array of objects {"name", "path"}, and "path_bytes", the path's
//         bytes in hexadecimal, when the path is not UTF-8 (JSON text is, so
//         "path" then holds U+FFFD where a byte did not decode)
// With `explain`, each book also carries why it is listed: a third TAB field in
// text and tsv, a "reason" object in json.
class ScanOutput {
 public:
  enum class Format { kText, kTsv, kJson };

  struct Options {
    Format format = Format::kText;
    bool explain = false;
    bool nullTerminated = false;  // text: each book ends with NUL, not a line feed
    // text: the output is a terminal, so control characters in names are
    // written out; a progress line on the same terminal is erased before each book.
    bool toTerminal = false;
  };

  ScanOutput(std::FILE* out, const Options& options, ProgressLine* progress);

  void Book(const BookRow& row, const CheckOutcome& reason);
  // Ends the output (the json array's closing bracket) and flushes it, also
  // when the scan was interrupted, so that the output is always a whole
  // document. False when anything could not be written (a full disk);
  // error() then says why.
  bool Finish();
  // The system's error number of the first failed write.
  int error() const { return error_; }

 private:
  void WriteJson(const BookRow& row, const CheckOutcome& reason);
  void Flush(const std::string& text);
  void Fail();

  std::FILE* out_;
  Options options_;
  ProgressLine* progress_;
  JsonWriter json_;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace quill
