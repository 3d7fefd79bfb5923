#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/epub_collection.h"
#include "base/user_message_log.h"

namespace quill {

class BookArchive;

// Examines candidates on several threads and hands back their results in the
// order the candidates were given, on the thread that gives them, with the
// messages that each examination showed, so that what the user sees is what
// one thread examining them in turn would show. Meanwhile reading threads
// open the next books and fetch their data (a bounded number of books ahead
// of the examining threads), so that a slow disk or a network share has many
// reads in flight however few threads examine. At most a bounded number of
// candidates are under way or waiting at once, so memory does not grow with
// the number of books.
//
// A thread that the system refuses to start is done without: the others,
// and the giving thread, examine everything, with the same results.
class OrderedExaminations {
 public:
  struct Result {
    std::string path;
    EpubCollection::Examination examination;
    UserMessageLog messages;  // what the examination showed
  };
  // Opens a book and fetches its data ahead; never raises.
  using ReadAhead = std::function<std::shared_ptr<BookArchive>(const std::string& path)>;
  // Examines a book, through what was read ahead of it when there is any.
  using Examine = std::function<EpubCollection::Examination(
      const std::string& path, std::shared_ptr<BookArchive> readAhead)>;
  using Deliver = std::function<void(const Result& result)>;
  // Starts a thread running the body; raises when the system refuses.
  using StartThread = std::function<std::thread(std::function<void()> body)>;

  // Reading threads for a scan: on a cold disk and on a network share the
  // speed grows up to about this many reads in flight and little further.
  static constexpr int kReadingThreads = 8;

  struct Threads {
    int examining;  // the giving thread, while it waits for results, and examining - 1 others
    int reading;    // threads that read ahead; 0 reads nothing ahead
  };

  // `deliver` runs on the giving thread.
  OrderedExaminations(Threads threads, ReadAhead readAhead, Examine examine, Deliver deliver,
                      const StartThread& start = StartStdThread);
  // Cancels what is not examined yet and waits for the threads.
  ~OrderedExaminations();
  OrderedExaminations(const OrderedExaminations&) = delete;
  OrderedExaminations& operator=(const OrderedExaminations&) = delete;

  // Queues a candidate, first delivering the results that are ready in turn,
  // and waiting for the oldest while too many are under way. What an
  // examination raised is raised here, in its turn.
  void Submit(std::string path);

  // Delivers every result of what was submitted, waiting for them.
  void Flush();

  // Drops what no thread has begun and delivers nothing more; the threads
  // finish the book they are on.
  void Cancel();

  static std::thread StartStdThread(std::function<void()> body);

 private:
  enum class Reading { kNotBegun, kUnderWay, kDone, kNotWanted };
  struct Slot {
    Result result;
    std::shared_ptr<BookArchive> readAhead;
    Reading reading = Reading::kNotBegun;
    std::exception_ptr error;  // what the examination raised
    bool started = false;
    bool done = false;
  };

  // Starts `count` threads running `body`, as many as the system allows;
  // how many started.
  int StartThreads(int count, const StartThread& start, void (OrderedExaminations::*body)());
  void Work();
  void Read();
  // The oldest candidate that no thread has begun and whose data was read
  // ahead (or is read by the examination); with `any`, failing that, the
  // oldest that no thread has begun. Null when there is none.
  std::shared_ptr<Slot> NextToStart(bool any) const;
  // The oldest candidate that no thread examines or reads ahead; null when there is none.
  std::shared_ptr<Slot> NextToRead() const;
  // Examines the slot with the lock released; the lock is held again after.
  void ExamineSlot(std::unique_lock<std::mutex>& lock, Slot& slot);
  // Delivers the oldest results while they are done; with `wait`, first waits
  // until the oldest is.
  void DeliverReady(bool wait);
  // Until the oldest result is done, examines what no thread has begun, and
  // sleeps only when there is nothing left to begin.
  void WaitForOldest(std::unique_lock<std::mutex>& lock);

  ReadAhead readAhead_;
  Examine examine_;
  Deliver deliver_;
  std::size_t limit_;
  bool giverWaiting_ = false;  // the giving thread sleeps until the oldest result is done
  std::mutex mutex_;
  std::condition_variable work_;             // a slot to start, or the end
  std::condition_variable read_;             // a slot to read ahead, or the end
  std::condition_variable readDone_;         // a slot's read-ahead finished
  std::condition_variable done_;             // a slot finished
  std::deque<std::shared_ptr<Slot>> slots_;  // in submission order, undelivered
  bool stopping_ = false;
  bool cancelling_ = false;
  std::vector<std::shared_ptr<BookArchive>> toClose_;  // examined, for a reading thread to close
  int readers_ = 0;                                    // reading threads that started
  std::vector<std::thread> threads_;
};

}  // namespace quill
