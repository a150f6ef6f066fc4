// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// The longest map name the game loads: it cuts a longer one to this many characters.
inline constexpr int kLongestMapName = 27;

// How many rotation entries the game reads: MapName01 to MapName99.
inline constexpr int kPlayedRotationEntries = 99;

// Why the game cannot play a map file named `name`, in the words a player reads (what is wrong
// and what to do), or an empty text when nothing is wrong: a name longer than kLongestMapName,
// control characters (a line break would also become lines of the file), characters that
// Windows-1252 lacks, blanks at either end (trimmed when the file is read), a ';' (the game cuts
// the value there), or the RotationMark at its start (it would read as a marked entry).
QString unplayableReason(const QString& name);

// For each entry of `rotation`, why the game will not play it: its unplayableReason(), else when
// no file of `dataFiles` (the Data folder's maps) has its name, letter case aside as Windows and
// Wine find files. Empty texts for the entries that are fine.
QStringList rotationReasons(const QStringList& rotation, const QStringList& dataFiles);

// Why the rotation entries after the kPlayedRotationEntries-th are never played.
QString unplayedEntryReason();

// The names of the `*.mix` files of `folder` as a Windows file list shows them: the extension
// matched without regard to case, hidden files left out, in order of name without regard to case.
// A missing folder gives an empty list.
QStringList mixFilesIn(const QString& folder);

// The entries of `fileList` that are not mission files, in their order.
QStringList ScanAvailableMaps(const QStringList& fileList);

// True when `entry` begins with the RotationMark; entryName() is the entry without it.
bool isMarked(const QString& entry);
QString entryName(const QString& entry);

// The three functions below take the available entries with their `reasons` (unplayableReason()
// of each file, or fewer texts, the missing ones empty) and never pick an unplayable row: its
// text is the file's own name, even when that begins with the mark.

// Which rows of `available` get the mark for a rotation that names `rotation`: every plain
// entry equal (letter case included) to a rotation name. Rows ascending, each once.
QList<int> rowsToMark(const QStringList& available, const QStringList& reasons,
                      const QStringList& rotation);

// For Add: of the `selectedRows` of `available` (ascending), the unmarked ones, in order.
QList<int> addableRows(const QStringList& available, const QStringList& reasons,
                       const QList<int>& selectedRows);

// For Remove: the marked rows of `available` whose name equals one of `removedNames`.
// Every matching row, ascending, each once.
QList<int> rowsToUnmark(const QStringList& available, const QStringList& reasons,
                        const QStringList& removedNames);

// The entries of Available Maps and their reasons (unplayableReason() of each file).
struct AvailableList {
  QStringList entries;
  QStringList reasons;
};

// Available Maps for the map files `files` of the Data folder (ScanAvailableMaps()), where the
// list shown before was `before` (entries with their marks) with `beforeReasons`, and the
// rotation is `rotation`: a file listed before keeps its mark or its lack of one; a file new to
// the list is marked when it is a playable map that `rotation` names (rowsToMark()'s rule).
// With nothing before, that is the list a load shows.
AvailableList availableMapsAfter(const QStringList& files, const QStringList& before,
                                 const QStringList& beforeReasons, const QStringList& rotation);

// After a list's entries went from `before` to `after`: the rows of `after` that hold the entries
// of `selectedBefore` (rows of `before`), matched by name without the mark, the n-th copy of a
// name to the n-th. Rows ascending; entries no longer listed are left out.
QList<int> sameEntryRows(const QStringList& before, const QList<int>& selectedBefore,
                         const QStringList& after);

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
