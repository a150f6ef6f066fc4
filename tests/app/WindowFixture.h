// Helpers for tests of the main window: a game folder on disk and a window pointed at it.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "MapListView.h"
#include "frmSkirmish.h"

// A game folder with a Data folder of empty map files.
struct GameFolder {
  QTemporaryDir root;
  QString data = root.filePath(QStringLiteral("Data"));

  explicit GameFolder(const QStringList& maps) {
    QDir().mkpath(data);
    for (const QString& map : maps) QFile(data + u'/' + map).open(QIODevice::WriteOnly);
  }
  QString settingsPath(const QString& name = QStringLiteral("svrcfg_skirmish.ini")) const {
    return data + u'/' + name;
  }
  QString writeSettings(const QByteArray& bytes,
                        const QString& name = QStringLiteral("svrcfg_skirmish.ini")) const {
    QFile file(settingsPath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
  }
  QByteArray readSettings(const QString& name = QStringLiteral("svrcfg_skirmish.ini")) const {
    QFile file(settingsPath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

// Points `window` at `game` the way start-up does once the game is found, and loads the game's
// settings file.
inline void findGame(frmSkirmish& window, const GameFolder& game) {
  window.InstallFolder = game.root.path();
  window.DataFolder = game.data;
  window.GameExePath = game.root.filePath(QStringLiteral("Renegade.exe"));
  window.GameFound = true;
  window.File1.setPath(game.data);
  window.EnableEditing(true);
  window.comDLG.FileName = game.settingsPath();
  window.LoadSettings(window.comDLG.FileName);
}

inline QStringList availableEntries(const frmSkirmish& window) {
  return window.lstRenData->mapModel()->entries();
}
inline QStringList rotationEntries(const frmSkirmish& window) {
  return window.lstMaps->mapModel()->entries();
}
