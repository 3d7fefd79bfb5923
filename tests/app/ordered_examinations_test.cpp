#include "app/ordered_examinations.h"

#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <system_error>
#include <vector>

#include "archive/book_archive.h"

namespace quill {
namespace {

// Starts the first `allowed` threads and refuses the rest, as the system does
// when processes or memory run out.
OrderedExaminations::StartThread RefusingAfter(int allowed) {
  return [allowed, started = std::make_shared<std::atomic<int>>(0)](std::function<void()> body) {
    if (++*started > allowed) {
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    return std::thread(std::move(body));
  };
}

// However many threads start, every book is examined once, with what was read
// ahead of that very book, and delivered in the order given.
TEST(OrderedExaminations, ThreadsThatCannotStartAreDoneWithout) {
  for (const int allowed : {0, 1, 3, 100}) {
    std::vector<std::string> given;
    std::vector<std::string> delivered;
    std::atomic<int> mismatched = 0;
    {
      OrderedExaminations examinations(
          {4, 3}, [](const std::string& path) { return BookArchive::Open(path); },
          [&](const std::string& path, std::shared_ptr<BookArchive> readAhead) {
            if (readAhead && readAhead->Path() != path) ++mismatched;
            return EpubCollection::Examination{};
          },
          [&](const OrderedExaminations::Result& result) { delivered.push_back(result.path); },
          RefusingAfter(allowed));
      for (int i = 0; i < 200; ++i) {
        given.push_back("missing/book" + std::to_string(i) + ".epub");
        examinations.Submit(given.back());
      }
      examinations.Flush();
    }
    EXPECT_EQ(delivered, given) << allowed;
    EXPECT_EQ(mismatched, 0) << allowed;
  }
}

}  // namespace
}  // namespace quill
