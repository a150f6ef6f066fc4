// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A game folder on disk and the main window started on it as the program starts it: Form_Load
// with the game's install path in a table registry, then shown.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "MapListView.h"
#include "ScriptedDesktop.h"
#include "TableRegistry.h"
#include "frmSkirmish.h"

namespace corvane::testing {

// `path` with the system's separators, as the window shows and keeps paths ('\' on Windows).
inline QString native(const QString& path) {
  return QDir::toNativeSeparators(path);
}

// A game folder: Renegade.exe and a Data folder of empty map files.
struct GameFolder {
  QTemporaryDir root;
  QString data = root.filePath(QStringLiteral("Data"));
  QString exe = root.filePath(QStringLiteral("Renegade.exe"));

  explicit GameFolder(const QStringList& maps) {
    QDir().mkpath(data);
    QFile(exe).open(QIODevice::WriteOnly);
    for (const QString& map : maps) QFile(data + u'/' + map).open(QIODevice::WriteOnly);
  }
  QString path(const QString& name = QStringLiteral("svrcfg_skirmish.ini")) const {
    return data + u'/' + name;
  }
  QString write(const QByteArray& bytes,
                const QString& name = QStringLiteral("svrcfg_skirmish.ini")) const {
    QFile file(path(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
  }
  QByteArray read(const QString& name = QStringLiteral("svrcfg_skirmish.ini")) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

struct GameWindow {
  ScriptedDesktop desktop;
  GameFolder game;
  frmSkirmish window{desktop};

  // `settings` is the game's settings file, named `settingsName` in the Data folder.
  GameWindow(const QStringList& maps, const QByteArray& settings,
             const QString& settingsName = QStringLiteral("svrcfg_skirmish.ini"))
      : game(maps) {
    game.write(settings, settingsName);
    // The registry names the program with the system's separators, as an installer leaves it.
    TableRegistry registry =
        TableRegistry::withInstallPath(QDir::toNativeSeparators(game.exe).toStdString());
    window.Form_Load(registry);
    window.show();
    if (!window.GameFound || !QTest::qWaitForWindowExposed(&window))
      QTest::qFail("no start", "", 0);
  }
  QStringList available() const { return window.lstRenData->mapModel()->entries(); }
  QStringList rotation() const { return window.lstMaps->mapModel()->entries(); }

  // Clicks Save and answers its question.
  void save(QMessageBox::StandardButton answer = QMessageBox::Yes) {
    desktop.messageAnswers.enqueue(answer);
    QTest::mouseClick(window.cmdSave, Qt::LeftButton);
  }
  // Clicks entry `row` of `list` with `modifiers` (Ctrl toggles, Shift extends); `twice`: then
  // double-clicks it, as a player's double-click arrives.
  static void click(MapListView* list, int row, Qt::KeyboardModifiers modifiers = {},
                    bool twice = false) {
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, modifiers, at);
  }
};

}  // namespace corvane::testing
