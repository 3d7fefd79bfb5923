#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <initializer_list>
#include <vector>

namespace quill {

// Repaints widgets whose contents change faster than anyone can read them
// (the status and progress labels of an add command, rewritten for every
// book) at most once per interval, and once more when the scope ends. Their
// contents stay exact at every moment; only the painting waits. Meanwhile the
// widgets do not repaint themselves, so pumping window messages after every
// book stays cheap.
class RepaintThrottle {
 public:
  RepaintThrottle(std::initializer_list<QWidget*> widgets, std::chrono::milliseconds interval);
  ~RepaintThrottle();

  RepaintThrottle(const RepaintThrottle&) = delete;
  RepaintThrottle& operator=(const RepaintThrottle&) = delete;

  // Call after the widgets changed: repaints them now when the interval has
  // passed since they were last painted.
  void Changed();

 private:
  void SetRepainting(bool enabled);

  // The widgets may be destroyed while window messages are pumped.
  std::vector<QPointer<QWidget>> widgets_;
  std::chrono::milliseconds interval_;
  QElapsedTimer sincePainted_;
};

}  // namespace quill
