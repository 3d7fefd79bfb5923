#pragma once

#include <QObject>
#include <memory>

#include "shell/termination_signals.h"

class QSocketNotifier;

namespace quill {

// Ends the application's event loop normally when the program is asked from
// outside to end (a desktop session ending, Ctrl+C): the windows are then
// destroyed as when the main window closes, and the application list is saved.
// Create it after the application object and before the windows.
class QuitOnTermination : public QObject {
 public:
  explicit QuitOnTermination(QObject* parent = nullptr);
  ~QuitOnTermination() override;

 private:
  TerminationSignals signals_;
  // Declared after the signals: it stops watching before their descriptor closes.
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quill
