#pragma once

#include "widgets/dialogs.h"

namespace quill {

// The dialogs as Qt shows them: QFileDialog and QMessageBox. Paths come back
// with the platform's separators.
class QtDialogs final : public Dialogs {
 public:
  QStringList OpenFiles(QWidget* parent, const QString& filter, bool multiple) override;
  QString OpenFile(QWidget* parent, const QString& title, const QStringList& filters) override;
  QString SelectFolder(QWidget* parent, const QString& title) override;
  void Information(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
};

}  // namespace quill
