// The maps of the game's Data folder that can go into the practice rotation, and the mark that
// shows which of them are in it.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace corvane {

// The four characters in front of an available map that stands in the rotation.
inline const QString RotationMark = QStringLiteral("+++ ");

// The game's single-player mission and tutorial files, never offered as practice maps.
const QStringList& MissionMapNames();

// True when `name` is exactly (letter case included) one of MissionMapNames().
bool isMissionMap(const QString& name);

// True when a file name can stand in the settings file: no control characters (a line break
// would become extra lines of the file) and only characters that Windows-1252 holds (the game
// could not open any other name).
bool isUsableMapName(const QString& name);

// The names of the `*.mix` files of `folder` as a Windows file list shows them: the extension
// matched without regard to case, hidden files left out, in order of name without regard to case.
// Names that isUsableMapName() refuses, and names beginning with the RotationMark, are left out. A
// missing folder gives an empty list.
QStringList mixFilesIn(const QString& folder);

// The entries of `fileList` that are not mission files, in their order.
QStringList ScanAvailableMaps(const QStringList& fileList);

// True when `entry` begins with the RotationMark; entryName() is the entry without it.
bool isMarked(const QString& entry);
QString entryName(const QString& entry);

// Which rows of `available` get the mark for a rotation that names `rotation`: every plain
// entry equal (letter case included) to a rotation name. Rows ascending, each once.
QList<int> rowsToMark(const QStringList& available, const QStringList& rotation);

// For Add: of the `selectedRows` of `available` (ascending), the unmarked ones, in order.
QList<int> addableRows(const QStringList& available, const QList<int>& selectedRows);

// For Remove: the marked rows of `available` whose name equals one of `removedNames`.
// Every matching row, ascending, each once.
QList<int> rowsToUnmark(const QStringList& available, const QStringList& removedNames);

}  // namespace corvane

namespace corvane {

// File1: the listing of the `*.mix` files of one folder, taken once when it is pointed at it.
class MixFileList {
 public:
  // Points the list at `folder` and lists its files (see mixFilesIn).
  void setPath(const QString& folder) { setPath(folder, mixFilesIn(folder)); }
  // Points the list at `folder`, whose files mixFilesIn(folder) listed as `entries`.
  void setPath(const QString& folder, QStringList entries) {
    path_ = folder;
    entries_ = std::move(entries);
  }
  const QString& path() const { return path_; }
  const QStringList& entries() const { return entries_; }

 private:
  QString path_;
  QStringList entries_;
};

}  // namespace corvane
