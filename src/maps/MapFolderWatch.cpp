// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Data folder watch.
#include "MapFolderWatch.h"

#include "AvailableMaps.h"

namespace corvane {

namespace {
// How long the folder must be left alone before it is listed: a copy writes a file in steps.
constexpr int kSettleMilliseconds = 150;
}  // namespace

MapFolderWatch::MapFolderWatch(QObject* parent) : QObject(parent) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMilliseconds);
  connect(&settle_, &QTimer::timeout, this, &MapFolderWatch::check);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

void MapFolderWatch::watch(const QString& folder, QStringList listed) {
  listed_ = std::move(listed);
  if (folder == folder_) return;
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  folder_ = folder;
  if (!folder_.isEmpty()) watcher_.addPath(folder_);
}

void MapFolderWatch::check() {
  QStringList now = mixFilesIn(folder_);
  if (now == listed_) return;
  listed_ = std::move(now);
  emit changed();
}

}  // namespace corvane
