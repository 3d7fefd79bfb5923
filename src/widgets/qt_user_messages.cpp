#include "widgets/qt_user_messages.h"

#include <QApplication>
#include <QString>

#include "widgets/dialogs.h"

namespace quill {

void QtUserMessages::ShowMessage(const std::string& text) {
  dialogs_.Information(QApplication::activeWindow(), QString::fromStdString(text));
}

void QtUserMessages::ShowError(const std::string& text) {
  dialogs_.Error(QApplication::activeWindow(), QString::fromStdString(text));
}

}  // namespace quill
