// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: finds the game's installation (registry, else a folder the user picks), locks or
// unlocks the editing controls, and loads the game's own settings file.
#include <QDir>
#include <QLineEdit>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "GameLookAhead.h"
#include "Paths.h"
#include "Registry.h"
#include "frmSkirmish.h"

namespace {

const char* const kGameKey = "HKEY_LOCAL_MACHINE\\Software\\Westwood\\Renegade";
const char* const kInstallPathValue = "InstallPath";

std::string utf8(const QString& text) {
  return text.toStdString();
}
QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

// The real path of `name` in `folder`, matched without regard to letter case: a Linux install
// may hold `data` or `DATA`, and the game itself names its files in lower case.
QString childIgnoringCase(const QString& folder, const char* name) {
  return fromUtf8(corvane::childPathIgnoringCase(utf8(folder), name));
}

// Reads the registry on the look's thread. The game's key path is well formed, so nothing is
// ever shown through it.
class NoShell final : public corvane::Shell {
 public:
  void openTarget(const std::string&) override {}
  void showNotice(const std::string&, const std::string&) override {}
};

}  // namespace

namespace corvane {

GameFolders gameFoldersOf(const QString& gameExePath) {
  const GameInstall install = gameInstallAt(utf8(gameExePath));
  return {fromUtf8(install.installFolder), fromUtf8(install.dataFolder), install.found};
}

GameLookAhead::GameLookAhead(RegistryStore& registry)
    : thread_([this, &registry] {
        NoShell noShell;
        look_.installPath =
            fromUtf8(ReadRegistryValue(registry, noShell, kGameKey, kInstallPathValue));
        look_.folders = gameFoldersOf(look_.installPath);
        if (look_.folders.found) look_.mixFiles = mixFilesIn(look_.folders.dataFolder);
#ifdef __GLIBC__
        // The registry file and the folder's listing, megabytes with thousands of maps, were
        // freed into this thread's own heap, which keeps them unless told to give them back.
        malloc_trim(0);
#endif
      }) {}

GameLookAhead::~GameLookAhead() {
  if (thread_.joinable()) thread_.join();
}

const GameLook& GameLookAhead::result() {
  if (thread_.joinable()) thread_.join();
  return look_;
}

QString BrowseForFolder(Desktop& desktop, QWidget* parent, const QString& startFolder,
                        const QString& title) {
  const QString shownTitle = title.isEmpty() ? QStringLiteral("Please, Select a folder.") : title;
  QString start = startFolder;
  // A Windows drive root means "where the user's files are" here.
  if (start.size() >= 2 && start.size() <= 3 && start[1] == QLatin1Char(':') &&
      (start.size() == 2 || start[2] == QLatin1Char('\\'))) {
    start = QDir::homePath();
  } else if (start.size() > 1 && (start.endsWith(u'/') || start.endsWith(u'\\'))) {
    start.chop(1);
  }
  // Paths are kept and shown with the platform's own separators (a dialog answers with '/').
  return QDir::toNativeSeparators(desktop.existingFolder(parent, shownTitle, start));
}

}  // namespace corvane

bool frmSkirmish::Form_Load(corvane::RegistryStore& registry) {
  corvane::GameLookAhead look(registry);
  return Form_Load(look);
}

bool frmSkirmish::Form_Load(corvane::GameLookAhead& lookAhead) {
  const corvane::GameLook& look = lookAhead.result();
  txtInstallPath->setText(look.installPath);
  EnableEditing(false);

  if (corvane::FileExists(utf8(look.installPath))) {
    GameExePath = look.installPath;
    InstallFolder = look.folders.installFolder;
    DataFolder = look.folders.dataFolder;
    GameFound = look.folders.found;
  }

  if (!GameFound) {
    const auto answer = desktop_.message(
        nullptr, QMessageBox::Question, QStringLiteral("Renegade"),
        QStringLiteral("Renegade was not found on your computer.\n"
                       "Would you like to choose the folder yourself?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer != QMessageBox::Yes && answer != QMessageBox::No) return false;  // Cancel, Esc
    if (answer == QMessageBox::Yes) {
      const QString folder = corvane::BrowseForFolder(desktop_, nullptr, QStringLiteral("C:\\"),
                                                      QStringLiteral("Renegade Location"));
      if (!folder.isEmpty()) {
        GameExePath = fromUtf8(corvane::childPathIgnoringCase(utf8(folder), "Renegade.exe"));
        InstallFolder = folder;
        DataFolder = childIgnoringCase(folder, "Data");
        GameFound = corvane::DirectoryExists(utf8(DataFolder));
      }
    }
  }

  if (GameFound) {
    if (look.folders.found && DataFolder == look.folders.dataFolder) {
      File1.setPath(DataFolder, look.mixFiles);  // listed by the look
    } else {
      File1.setPath(DataFolder);
    }
    folderWatch_.watch(DataFolder, File1.entries());
    EnableEditing(true);
    comDLG.FileName = childIgnoringCase(DataFolder, "svrcfg_skirmish.ini");
    LoadSettings(comDLG.FileName);
  }
  return true;
}
