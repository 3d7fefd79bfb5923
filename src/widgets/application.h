#pragma once

#include <QApplication>
#include <exception>

namespace quill {

// The application object. An error that escapes an event handler is shown in
// the application's error box and the run goes on, instead of ending the
// program.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The application's error box for an error that escaped a handler. A
  // handler run by a signal catches its errors and shows them here itself:
  // an error may not unwind through Qt's delivery of a signal.
  static void ShowUnhandledError(const std::exception& error);
};

}  // namespace quill
