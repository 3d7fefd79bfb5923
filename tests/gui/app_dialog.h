#pragma once

// The application list dialog as the tests of every platform create it, and
// helpers that look at how it draws its rows.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <filesystem>
#include <memory>

#include "apps/application_list.h"
#include "apps/qt/application_list_dialog.h"
#include "recording_user_messages.h"
#include "scoped_environment.h"
#include "scripted_dialogs.h"
#include "shell/user_registry.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill::testing {

namespace fs = std::filesystem;

// Each test has a configuration folder of its own (the store) and a folder of
// application files; the dialog is created as at start-up and destroyed as at
// the end of the run.
class AppDialog : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(apps_); }

  std::string App(const std::string& name, bool executable = false) {
    const fs::path path = apps_ / name;
    WriteFile(path, "#!/bin/sh\n");
    if (executable) fs::permissions(path, fs::perms::owner_all);
    return path.string();
  }
  static QString Q(const std::string& text) { return QString::fromStdString(text); }

  void Create() { dialog_ = std::make_unique<Tfrmapp>(dialogs_); }
  // The end of the run: the dialog goes, the list is saved; the stored list as
  // the next run loads it.
  ApplicationList EndRunAndReload() {
    dialog_.reset();
    return LoadApplicationList(*OpenUserRegistry());
  }

  QListWidget* List() const { return dialog_->findChild<QListWidget*>("ListBox1"); }
  QPushButton* Button(const char* name) const { return dialog_->findChild<QPushButton*>(name); }
  QPoint RowCentre(int row) const { return List()->visualItemRect(List()->item(row)).center(); }

  TempDir temp_;
  ScopedEnvironment config_{"XDG_CONFIG_HOME", (temp_ / "config").string()};
  fs::path apps_ = temp_ / "Tools";
  ScriptedDialogs dialogs_;
  testing::RecordingUserMessages messages_;
  std::unique_ptr<Tfrmapp> dialog_;
};

// Renders one row as the list would, without anti-aliasing, so that every
// text pixel has the pen's colour.
inline QImage RenderRow(Tfrmapp& dialog, QListWidget* list, int row) {
  QImage image(300, 32, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QFont font = list->font();
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setBrush(Qt::white);
  painter.setPen(Qt::black);
  dialog.ListBox1DrawItem(painter, row, QRect(0, 0, 300, 32), QStyle::State_None);
  return image;
}

inline bool HasColour(const QImage& image, QRect area, QColor colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

}  // namespace quill::testing
