// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Watching the settings file the window shows for changes that another program makes: the game
// loads and rewrites the file whenever a practice match is set up.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include "SkirmishSettings.h"

namespace corvane {

class SettingsFileWatch : public QObject {
  Q_OBJECT

 public:
  explicit SettingsFileWatch(QObject* parent = nullptr);

  // Watches the file at `path`, whose settings are now `known` and whose version is `stamp` (as
  // just loaded from it, or as just saved). A save replaces the file with a new one; the watch
  // follows the name.
  void watch(const QString& path, SkirmishSettings known, FileStamp stamp);

  const QString& path() const { return path_; }

  // True when `path` names the watched file.
  bool isWatched(const QString& path) const;

  // True when `onDisk`, the watched file as read, was read and holds other settings than the
  // known ones; the settings are compared only when it is another version than the known one.
  // A missing or unreadable file holds nothing that a save could overwrite.
  bool differs(const IniDocument& onDisk) const;
  // The same for the file as it is now on disk, which is read only when its stamp is not the
  // known one. A version read and found to hold the known settings becomes the known one.
  bool changedOnDisk();

 signals:
  // The watched file holds other settings than the known ones; sent once the file has been
  // left alone for a moment, so that a program's write is seen whole.
  void changed();

 private:
  void arm();
  void noticed();
  void check();

  QFileSystemWatcher watcher_{this};
  QTimer settle_{this};
  QString path_;
  SkirmishSettings known_;
  FileStamp stamp_;
};

}  // namespace corvane
