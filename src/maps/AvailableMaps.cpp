// The available-map scan and the rotation marks.
#include "AvailableMaps.h"

#include <QDir>
#include <QSet>

#include <algorithm>

#include "Windows1252.h"

namespace corvane {

const QStringList& MissionMapNames() {
  static const QStringList names = {
      QStringLiteral("Skirmish00.mix"), QStringLiteral("M00_Tutorial.mix"),
      QStringLiteral("M01.mix"),        QStringLiteral("M02.mix"),
      QStringLiteral("M03.mix"),        QStringLiteral("M04.mix"),
      QStringLiteral("M05.mix"),        QStringLiteral("M06.mix"),
      QStringLiteral("M07.mix"),        QStringLiteral("M08.mix"),
      QStringLiteral("M09.mix"),        QStringLiteral("M10.mix"),
      QStringLiteral("M11.mix"),        QStringLiteral("M12.mix"),
      QStringLiteral("M13.mix")};
  return names;
}

bool isMissionMap(const QString& name) {
  return MissionMapNames().contains(name);
}

bool isUsableMapName(const QString& name) {
  for (const QChar c : name) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) {
      // Control characters: C0, DEL and the C1 range (which Windows-1252 uses for its own
      // printable characters, so a file name holding one of these code points is a control).
      return false;
    }
  }
  return fitsWindows1252(name);
}

QStringList mixFilesIn(const QString& folder) {
  if (folder.isEmpty()) return {};
  const QDir dir(folder);
  // QDir matches name filters without regard to case and leaves hidden files out by default.
  QStringList names =
      dir.entryList({QStringLiteral("*.mix")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  // A name that begins with the mark itself would read as a marked entry: leave it out too.
  names.removeIf(
      [](const QString& name) { return !isUsableMapName(name) || name.startsWith(RotationMark); });
  return names;
}

QStringList ScanAvailableMaps(const QStringList& fileList) {
  QStringList available;
  available.reserve(fileList.size());
  for (const QString& name : fileList) {
    if (!isMissionMap(name)) available.append(name);
  }
  return available;
}

bool isMarked(const QString& entry) {
  return entry.startsWith(RotationMark);
}

QString entryName(const QString& entry) {
  return isMarked(entry) ? entry.mid(RotationMark.size()) : entry;
}

QList<int> rowsToMark(const QStringList& available, const QStringList& rotation) {
  const QSet<QString> names(rotation.cbegin(), rotation.cend());
  QList<int> rows;
  for (int row = 0; row < available.size(); ++row) {
    if (!isMarked(available[row]) && names.contains(available[row])) rows.append(row);
  }
  return rows;
}

QList<int> addableRows(const QStringList& available, const QList<int>& selectedRows) {
  QList<int> rows;
  for (const int row : selectedRows) {
    if (row >= 0 && row < available.size() && !isMarked(available[row])) rows.append(row);
  }
  return rows;
}

QList<int> rowsToUnmark(const QStringList& available, const QStringList& removedNames) {
  const QSet<QString> names(removedNames.cbegin(), removedNames.cend());
  QList<int> rows;
  for (int row = 0; row < available.size(); ++row) {
    if (isMarked(available[row]) && names.contains(entryName(available[row]))) rows.append(row);
  }
  return rows;
}

}  // namespace corvane
