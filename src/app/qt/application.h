#pragma once

#include <QApplication>

namespace quill {

// The application object. An error that escapes an event handler is shown in
// the application's error box and the run goes on, instead of ending the
// program.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace quill
