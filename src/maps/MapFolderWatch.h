// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Watching the game's Data folder for map files copied in, renamed or deleted while Corvane runs.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace corvane {

class MapFolderWatch : public QObject {
  Q_OBJECT

 public:
  explicit MapFolderWatch(QObject* parent = nullptr);

  // Watches `folder`, whose map files are now `listed` (as mixFilesIn() lists them).
  void watch(const QString& folder, QStringList listed);

  // The folder's map files as last listed.
  const QStringList& listed() const { return listed_; }

 signals:
  // The folder's map files are no longer the ones listed before, and listed() now holds them;
  // sent once the folder has been left alone for a moment, so that a copy is seen whole.
  void changed();

 private:
  void check();

  QFileSystemWatcher watcher_{this};
  QTimer settle_{this};
  QString folder_;
  QStringList listed_;
};

}  // namespace corvane
