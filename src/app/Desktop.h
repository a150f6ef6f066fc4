// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one interface through which the program talks to the desktop: message boxes, file and
// folder dialogs, and opening links. The program uses QtDesktop (real Qt dialogs); tests use a
// scripted implementation that records what was asked and answers as told.
#pragma once

#include <QMessageBox>
#include <QString>

#include "Shell.h"

class QWidget;

namespace corvane {

// What a file dialog shows and starts with.
struct FileDialogRequest {
  QString title;
  QString folder;         // the folder it opens in
  QString fileName;       // the name (or full path) it proposes
  QString filter;         // Qt form: "Configuration Settings (*.ini)"
  QString defaultSuffix;  // added to a typed name without extension, without the dot: "ini"
};

class Desktop : public Shell {
 public:
  // A modal message box; returns the button pressed (Cancel, or the Escape button, when the box
  // is closed without a choice).
  virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                              const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton) = 0;

  // A modal open or save dialog; the chosen file's full path, or an empty text on cancel.
  virtual QString openFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual QString saveFileName(QWidget* parent, const FileDialogRequest& request) = 0;

  // A modal folder picker opening at `startFolder`; the chosen folder, or empty on cancel.
  virtual QString existingFolder(QWidget* parent, const QString& title,
                                 const QString& startFolder) = 0;
};

// The real desktop: Qt's dialogs and QDesktopServices.
class QtDesktop final : public Desktop {
 public:
  void openTarget(const std::string& target) override;
  void showNotice(const std::string& title, const std::string& text) override;
  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override;
  QString openFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString saveFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString existingFolder(QWidget* parent, const QString& title,
                         const QString& startFolder) override;
};

}  // namespace corvane
