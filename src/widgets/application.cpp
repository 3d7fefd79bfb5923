#include "widgets/application.h"

#include <exception>

#include "base/user_messages.h"

namespace quill {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowUnhandledError(error);
  }
  return false;
}

void Application::ShowUnhandledError(const std::exception& error) { ShowErrorBox(error.what()); }

}  // namespace quill
