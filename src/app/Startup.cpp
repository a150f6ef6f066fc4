// Start-up: finds the game's installation (registry, else a folder the user picks), locks or
// unlocks the editing controls, and loads the game's own settings file.
#include <QDir>
#include <QLineEdit>

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

}  // namespace

namespace corvane {

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
  return desktop.existingFolder(parent, shownTitle, start);
}

}  // namespace corvane

bool frmSkirmish::Form_Load(corvane::RegistryStore& registry) {
  txtInstallPath->setText(
      fromUtf8(corvane::ReadRegistryValue(registry, desktop_, kGameKey, kInstallPathValue)));
  EnableEditing(false);

  if (corvane::FileExists(utf8(txtInstallPath->text()))) {
    GameExePath = txtInstallPath->text();
    InstallFolder = fromUtf8(corvane::GetDirectory(utf8(GameExePath)));
    // A path with no folder part (a bare name that happens to exist) is not an installation.
    if (!InstallFolder.isEmpty()) {
      DataFolder = childIgnoringCase(InstallFolder, "Data");
      GameFound = corvane::DirectoryExists(utf8(DataFolder));
    }
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
    File1.setPath(DataFolder);
    EnableEditing(true);
    comDLG.FileName = childIgnoringCase(DataFolder, "svrcfg_skirmish.ini");
    LoadSettings(comDLG.FileName);
  }
  return true;
}
