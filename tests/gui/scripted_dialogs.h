#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "widgets/dialogs.h"

namespace quill::testing {

// Answers the windows' dialogs from queued answers (an empty answer is a
// cancel) and records what each dialog was asked to show.
class ScriptedDialogs final : public Dialogs {
 public:
  struct FileRequest {
    QString filter;
    bool multiple;
  };

  QStringList OpenFiles(QWidget*, const QString& filter, bool multiple) override {
    fileRequests.push_back({filter, multiple});
    return Next(fileAnswers);
  }
  // A one-file dialog with a title: the title is recorded, the file types go
  // to fileRequests as one filter (";;" between them), the answer comes from
  // fileAnswers.
  QString OpenFile(QWidget* parent, const QString& title, const QStringList& filters) override {
    fileTitles.push_back(title);
    return Dialogs::OpenFile(parent, title, filters);
  }
  QString SelectFolder(QWidget*, const QString& title) override {
    folderTitles.push_back(title);
    return Next(folderAnswers);
  }
  void Information(QWidget*, const QString& text) override { messages.push_back(text); }
  void Error(QWidget*, const QString& text) override { errors.push_back(text); }

  std::deque<QStringList> fileAnswers;
  std::deque<QString> folderAnswers;

  std::vector<FileRequest> fileRequests;
  std::vector<QString> fileTitles;
  std::vector<QString> folderTitles;
  std::vector<QString> messages;
  std::vector<QString> errors;

 private:
  template <typename Answer>
  static Answer Next(std::deque<Answer>& answers) {
    if (answers.empty()) return {};
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace quill::testing
