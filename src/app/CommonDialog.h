// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// comDLG: the window's file dialog and the holder of the current settings file, the file that
// Save writes to. Its filter and default extension are fixed.
#pragma once

#include <QString>

#include "Desktop.h"

namespace corvane {

class CommonDialog {
 public:
  // The current settings file (full path), empty until start-up or a dialog sets it.
  QString FileName;
  // The folder the next dialog opens in, and its title.
  QString InitDir;
  QString DialogTitle;

  static inline const QString Filter = QStringLiteral("Configuration Settings (*.ini)|*.ini");
  static inline const QString DefaultExt = QStringLiteral(".ini");

  // Show an open or save dialog titled DialogTitle, in InitDir, proposing `proposedName`.
  // Returns the chosen file's full path with the platform's separators, or an empty text when
  // the user cancels. FileName is
  // left to the caller: a cancelled dialog must not change the current settings file.
  QString ShowOpen(Desktop& desktop, QWidget* parent, const QString& proposedName) const;
  QString ShowSave(Desktop& desktop, QWidget* parent, const QString& proposedName) const;

  // The file the Load and Save As dialogs propose in `dataFolder`, where they open: the game's
  // settings file there, whatever file was loaded last. It is named as the folder spells it,
  // found without regard to letter case, so that a save onto the proposal replaces that file
  // instead of writing a second one beside it; when the folder holds no such file, as the game
  // names it. The path has the platform's separators.
  static QString proposedFile(const QString& dataFolder);

  // Filter in Qt's form ("Configuration Settings (*.ini)").
  static QString qtFilter();

 private:
  FileDialogRequest request(const QString& proposedName) const;
};

}  // namespace corvane
