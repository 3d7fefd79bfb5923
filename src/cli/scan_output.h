#pragma once

#include <cstdio>
#include <string>

#include "app/book_row.h"
#include "app/check_outcome.h"
#include "cli/json_writer.h"

namespace quill {

// Writes the books that a scan lists, each the moment it is listed, in one of
// the scan's formats:
//   text  the full path, one book a line
//   tsv   the file name, a TAB, the full path (TAB, line feed and carriage
//         return inside a field written as \t, \n and \r)
//   json  one array of objects {"name", "path"}
// With `explain`, each book also carries why it is listed: a third TAB field in
// text and tsv, a "reason" object in json.
class ScanOutput {
 public:
  enum class Format { kText, kTsv, kJson };

  ScanOutput(std::FILE* out, Format format, bool explain);

  void Book(const BookRow& row, const CheckOutcome& reason);
  // Ends the output (the json array's closing bracket) and flushes it.
  void Finish();

 private:
  void WriteJson(const BookRow& row, const CheckOutcome& reason);
  void Flush(const std::string& text);

  std::FILE* out_;
  Format format_;
  bool explain_;
  JsonWriter json_;
};

}  // namespace quill
