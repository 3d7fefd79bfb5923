#include "app/ordered_examinations.h"

#include <algorithm>

#include "base/scoped_user_messages.h"

namespace quill {
namespace {

// Candidates under way or waiting per examining thread: enough to keep every
// thread busy while the giving thread delivers, few enough to keep memory flat.
constexpr std::size_t kSlotsPerThread = 8;
// Candidates under way or waiting at least, whatever the number of examining
// threads: the distance the reading threads may run ahead of them.
constexpr std::size_t kBooksAhead = 32;
// Books waiting to be read ahead before a reading thread is woken for them.
constexpr std::size_t kReadBatch = 4;

}  // namespace

std::thread OrderedExaminations::StartStdThread(std::function<void()> body) {
  return std::thread(std::move(body));
}

OrderedExaminations::OrderedExaminations(Threads threads, ReadAhead readAhead, Examine examine,
                                         Deliver deliver, const StartThread& start)
    : readAhead_(std::move(readAhead)),
      examine_(std::move(examine)),
      deliver_(std::move(deliver)),
      limit_(std::max(kSlotsPerThread * static_cast<std::size_t>(std::max(threads.examining, 1)),
                      kBooksAhead)) {
  threads_.reserve(
      static_cast<std::size_t>(std::max(threads.examining - 1, 0) + std::max(threads.reading, 0)));
  // The giving thread examines too, while it waits for results, so one
  // thread fewer is started: as many threads examine as were asked for, and
  // none of them has to share a processor with it.
  StartThreads(threads.examining - 1, start, &OrderedExaminations::Work);
  readers_ = StartThreads(threads.reading, start, &OrderedExaminations::Read);
}

int OrderedExaminations::StartThreads(int count, const StartThread& start,
                                      void (OrderedExaminations::*body)()) {
  for (int i = 0; i < count; ++i) {
    try {
      threads_.push_back(start([this, body] { (this->*body)(); }));
    } catch (const std::exception&) {
      // Refused (too many processes, too little memory): the threads that
      // run, and the giving thread, do the work of the missing ones.
      return i;
    }
  }
  return std::max(count, 0);
}

OrderedExaminations::~OrderedExaminations() {
  Cancel();
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  read_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

std::shared_ptr<OrderedExaminations::Slot> OrderedExaminations::NextToStart(bool any) const {
  // A book whose data is in memory first: an examining thread that read a
  // book itself would wait a round trip per read on a share.
  for (const auto& slot : slots_) {
    if (!slot->started && slot->reading != Reading::kNotBegun &&
        slot->reading != Reading::kUnderWay) {
      return slot;
    }
  }
  if (!any) return nullptr;
  for (const auto& slot : slots_) {
    if (!slot->started) return slot;
  }
  return nullptr;
}

std::shared_ptr<OrderedExaminations::Slot> OrderedExaminations::NextToRead() const {
  for (const auto& slot : slots_) {
    if (slot->reading == Reading::kNotBegun) return slot;
  }
  return nullptr;
}

void OrderedExaminations::ExamineSlot(std::unique_lock<std::mutex>& lock, Slot& slot) {
  slot.started = true;
  // A read under way is waited for rather than done twice; one not begun is
  // left to the examination.
  if (slot.reading == Reading::kNotBegun) slot.reading = Reading::kNotWanted;
  readDone_.wait(lock, [&] { return slot.reading != Reading::kUnderWay; });
  std::shared_ptr<BookArchive> readAhead = std::move(slot.readAhead);
  lock.unlock();
  {
    const ScopedUserMessages scope(slot.result.messages);
    try {
      slot.result.examination = examine_(slot.result.path, readAhead);
    } catch (...) {
      slot.error = std::current_exception();  // raised where the result is delivered
    }
  }
  lock.lock();
  // Closing a file is a round trip on a share: a reading thread closes it
  // (it holds the last reference now) when it wakes for its next book, while
  // this one examines the next book. Waking one only for that would cost a
  // warm scan more than the close.
  if (readAhead && readers_ > 0) toClose_.push_back(std::move(readAhead));
  slot.done = true;
}

void OrderedExaminations::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    std::shared_ptr<Slot> slot;
    work_.wait(lock, [&] {
      // With reading threads, the examining ones take only books read ahead.
      slot = NextToStart(readers_ == 0);
      return slot || stopping_;
    });
    if (!slot) return;
    ExamineSlot(lock, *slot);
    // The giving thread sleeps only when it has nothing to examine and waits
    // for the oldest result; it is woken for that one alone.
    if (cancelling_ || (giverWaiting_ && slots_.front()->done)) done_.notify_all();
  }
}

void OrderedExaminations::Read() {
  std::unique_lock lock(mutex_);
  for (;;) {
    std::shared_ptr<Slot> slot;
    read_.wait(lock, [&] {
      slot = NextToRead();
      return slot || !toClose_.empty() || stopping_;
    });
    if (stopping_) return;
    if (!toClose_.empty()) {
      std::vector<std::shared_ptr<BookArchive>> closing;
      closing.swap(toClose_);
      lock.unlock();
      closing.clear();
      lock.lock();
      continue;
    }
    slot->reading = Reading::kUnderWay;
    lock.unlock();
    std::shared_ptr<BookArchive> readAhead;
    try {
      readAhead = readAhead_(slot->result.path);
    } catch (...) {
      // Nothing read ahead: the examination reads for itself.
    }
    lock.lock();
    slot->readAhead = std::move(readAhead);
    slot->reading = Reading::kDone;
    readDone_.notify_all();
    work_.notify_one();
  }
}

void OrderedExaminations::Submit(std::string path) {
  DeliverReady(false);
  while (true) {
    {
      std::lock_guard lock(mutex_);
      if (slots_.size() < limit_) break;
    }
    DeliverReady(true);
  }
  auto slot = std::make_shared<Slot>();
  slot->result.path = std::move(path);
  bool wakeReader = false;
  {
    std::lock_guard lock(mutex_);
    slots_.push_back(std::move(slot));
    // A reading thread is woken for a few books at once: it reads until none
    // is left, and a warm scan, whose examining threads keep up with the
    // books given, then wakes it seldom.
    wakeReader = std::count_if(slots_.begin(), slots_.end(), [](const auto& waiting) {
                   return waiting->reading == Reading::kNotBegun;
                 }) >= static_cast<std::ptrdiff_t>(kReadBatch);
  }
  if (readers_ == 0) work_.notify_one();
  if (wakeReader) read_.notify_one();
}

void OrderedExaminations::WaitForOldest(std::unique_lock<std::mutex>& lock) {
  while (!slots_.front()->done) {
    // A book that no thread has begun is examined here rather than waited for.
    if (const std::shared_ptr<Slot> slot = NextToStart(true)) {
      ExamineSlot(lock, *slot);
      continue;
    }
    giverWaiting_ = true;
    done_.wait(lock, [&] { return slots_.front()->done; });
    giverWaiting_ = false;
  }
}

void OrderedExaminations::DeliverReady(bool wait) {
  for (;;) {
    std::shared_ptr<Slot> oldest;
    {
      std::unique_lock lock(mutex_);
      if (slots_.empty()) return;
      if (wait) WaitForOldest(lock);
      if (!slots_.front()->done) return;
      oldest = std::move(slots_.front());
      slots_.pop_front();
    }
    wait = false;
    // Delivered outside the lock: the threads go on meanwhile.
    if (oldest->error) std::rethrow_exception(oldest->error);
    deliver_(oldest->result);
  }
}

void OrderedExaminations::Flush() {
  while (true) {
    {
      std::lock_guard lock(mutex_);
      if (slots_.empty()) return;
    }
    DeliverReady(true);
  }
}

void OrderedExaminations::Cancel() {
  std::unique_lock lock(mutex_);
  cancelling_ = true;
  std::erase_if(slots_, [](const auto& slot) { return !slot->started; });
  // What a thread is on finishes; its result is no longer wanted.
  done_.wait(lock, [&] {
    return std::all_of(slots_.begin(), slots_.end(), [](const auto& slot) { return slot->done; });
  });
  slots_.clear();
}

}  // namespace quill
