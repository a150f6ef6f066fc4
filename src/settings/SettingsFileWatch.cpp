// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file watch.
#include "SettingsFileWatch.h"

#include <QFileInfo>

namespace corvane {

namespace {
// How long the file must be left alone before it is read: a program writes it in a few steps.
constexpr int kSettleMilliseconds = 150;
}  // namespace

SettingsFileWatch::SettingsFileWatch(QObject* parent) : QObject(parent) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMilliseconds);
  connect(&settle_, &QTimer::timeout, this, &SettingsFileWatch::check);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SettingsFileWatch::noticed);
  // The folder tells of a file replaced by renaming another over it, or made again after it was
  // deleted: the file's own watch ends with the file it watched.
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &SettingsFileWatch::noticed);
}

void SettingsFileWatch::watch(const QString& path, SkirmishSettings known, FileStamp stamp) {
  known_ = std::move(known);
  stamp_ = stamp;
  if (path != path_) {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    path_ = path;
    if (!path_.isEmpty()) watcher_.addPath(QFileInfo(path_).absolutePath());
  }
  if (!path_.isEmpty()) arm();
}

bool SettingsFileWatch::isWatched(const QString& path) const {
  return !path_.isEmpty() && QFileInfo(path) == QFileInfo(path_);
}

bool SettingsFileWatch::differs(const IniDocument& onDisk) const {
  return onDisk.origin() == IniDocument::Origin::Read &&
         !(stamp_.known && onDisk.stamp() == stamp_) && readSkirmishSettings(onDisk) != known_;
}

bool SettingsFileWatch::changedOnDisk() {
  if (path_.isEmpty()) return false;
  const std::string file = localPath(path_);
  if (stamp_.known && currentStamp(file) == stamp_) return false;
  const IniDocument onDisk = IniDocument::load(file);
  if (differs(onDisk)) return true;
  if (onDisk.origin() == IniDocument::Origin::Read) stamp_ = onDisk.stamp();
  return false;
}

void SettingsFileWatch::arm() {
  // Watch the file that now has the name (a new one after a rename over it).
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void SettingsFileWatch::noticed() {
  if (path_.isEmpty()) return;
  arm();
  settle_.start();
}

void SettingsFileWatch::check() {
  if (changedOnDisk()) emit changed();
}

}  // namespace corvane
