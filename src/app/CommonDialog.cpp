// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's file dialog holder.
#include "CommonDialog.h"

#include <QDir>

#include "Paths.h"

namespace corvane {

namespace {

// The game's own settings file in its Data folder, in the letter case the game writes.
const QString kGameSettingsName = QStringLiteral("svrcfg_skirmish.ini");

}  // namespace

QString CommonDialog::proposedFile(const QString& dataFolder) {
  return QDir::toNativeSeparators(QString::fromStdString(
      childPathIgnoringCase(dataFolder.toStdString(), kGameSettingsName.toStdString())));
}

QString CommonDialog::qtFilter() {
  const qsizetype bar = Filter.indexOf(QLatin1Char('|'));
  const QString description = Filter.left(bar);
  const QString pattern = Filter.mid(bar + 1);
  return description.contains(pattern) ? description
                                       : QStringLiteral("%1 (%2)").arg(description, pattern);
}

FileDialogRequest CommonDialog::request(const QString& proposedName) const {
  return {DialogTitle, QDir::toNativeSeparators(InitDir), QDir::toNativeSeparators(proposedName),
          qtFilter(), DefaultExt.mid(1)};
}

QString CommonDialog::ShowOpen(Desktop& desktop, QWidget* parent,
                               const QString& proposedName) const {
  return QDir::toNativeSeparators(desktop.openFileName(parent, request(proposedName)));
}

QString CommonDialog::ShowSave(Desktop& desktop, QWidget* parent,
                               const QString& proposedName) const {
  return QDir::toNativeSeparators(desktop.saveFileName(parent, request(proposedName)));
}

}  // namespace corvane
