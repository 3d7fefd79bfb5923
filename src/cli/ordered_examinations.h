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

// Examines candidates on several threads and hands back their results in the
// order the candidates were given, on the thread that gives them, with the
// messages that each examination showed, so that what the user sees is what
// one thread examining them in turn would show. At most a few candidates per
// thread are under way or waiting at once, so memory does not grow with the
// number of books.
class OrderedExaminations {
 public:
  struct Result {
    std::string path;
    EpubCollection::Examination examination;
    UserMessageLog messages;  // what the examination showed
  };
  using Examine = std::function<EpubCollection::Examination(const std::string& path)>;
  using Deliver = std::function<void(const Result& result)>;

  // `threads` examine at once: the giving thread, while it waits for
  // results, and threads - 1 others. `deliver` runs on the giving thread.
  OrderedExaminations(int threads, Examine examine, Deliver deliver);
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

 private:
  struct Slot {
    Result result;
    std::exception_ptr error;  // what the examination raised
    bool started = false;
    bool done = false;
  };

  void Work();
  // The oldest candidate that no thread has begun; null when there is none.
  std::shared_ptr<Slot> NextToStart() const;
  // Examines the slot with the lock released; the lock is held again after.
  void ExamineSlot(std::unique_lock<std::mutex>& lock, Slot& slot);
  // Delivers the oldest results while they are done; with `wait`, first waits
  // until the oldest is.
  void DeliverReady(bool wait);
  // Until the oldest result is done, examines what no thread has begun, and
  // sleeps only when there is nothing left to begin.
  void WaitForOldest(std::unique_lock<std::mutex>& lock);

  Examine examine_;
  Deliver deliver_;
  std::size_t limit_;
  bool giverWaiting_ = false;  // the giving thread sleeps until the oldest result is done
  std::mutex mutex_;
  std::condition_variable work_;             // a slot to start, or the end
  std::condition_variable done_;             // a slot finished
  std::deque<std::shared_ptr<Slot>> slots_;  // in submission order, undelivered
  bool stopping_ = false;
  bool cancelling_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace quill
