// The available-map scan and the rotation marks.
#include "AvailableMaps.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "SkirmishSettings.h"
#include "Windows1252.h"

#ifndef Q_OS_WIN
#include "FolderListing.h"
#endif

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

namespace {

#ifndef Q_OS_WIN
// True when `bytes` are all ASCII, which reads the same in every encoding a file name may have
// here: most map files are named in ASCII, and reading those needs no decoding.
bool isAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
#endif

bool hasMixExtension(const QString& name) {
  return name.endsWith(QLatin1String(".mix"), Qt::CaseInsensitive);
}

// The names of the files (regular files, and symbolic links to them) of `folder` that end in
// ".mix" in any letter case and are not hidden, in no particular order; none when the folder
// cannot be listed.
QStringList visibleMixFiles(const QString& folder) {
#ifdef Q_OS_WIN
  // QDir matches name filters without regard to case and leaves hidden files out by default.
  return QDir(folder).entryList({QStringLiteral("*.mix")}, QDir::Files, QDir::Unsorted);
#else
  // One pass over the folder without a QFileInfo per entry: a Data folder can hold thousands of
  // maps. Hidden names begin with '.'.
  QStringList names;
  const std::optional<std::vector<FolderEntry> > entries = listFolder(localPath(folder));
  if (!entries) return names;
  names.reserve(static_cast<qsizetype>(entries->size()));
  for (const FolderEntry& entry : *entries) {
    if (!entry.regularFile || entry.name.starts_with('.')) continue;
    QString name = isAscii(entry.name)
                       ? QString::fromLatin1(entry.name.data(),
                                             static_cast<qsizetype>(entry.name.size()))
                       : QFile::decodeName(QByteArray::fromStdString(entry.name));
    if (hasMixExtension(name)) names.append(std::move(name));
  }
  return names;
#endif
}

// `name` in lower case: for a name in ASCII, letter by letter without the general case mapping.
QString lowerCase(const QString& name) {
  const auto isAsciiChar = [](QChar c) { return c.unicode() < 0x80; };
  if (!std::all_of(name.begin(), name.end(), isAsciiChar)) return name.toLower();
  QString lower = name;
  for (QChar& c : lower) {
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
  }
  return lower;
}

// Sorts `names` as a file list sorts them: by the names in lower case, compared character by
// character (names equal in lower case in their own order).
void sortIgnoringCase(QStringList& names) {
  struct NameWithKey {
    QString key;
    QString name;
  };
  std::vector<NameWithKey> keyed;
  keyed.reserve(static_cast<std::size_t>(names.size()));
  for (QString& name : names) keyed.push_back({lowerCase(name), std::move(name)});
  std::sort(keyed.begin(), keyed.end(), [](const NameWithKey& left, const NameWithKey& right) {
    const int order = left.key.compare(right.key);
    return order != 0 ? order < 0 : left.name < right.name;
  });
  names.clear();
  for (NameWithKey& entry : keyed) names.append(std::move(entry.name));
}

}  // namespace

QStringList mixFilesIn(const QString& folder) {
  if (folder.isEmpty()) return {};
  QStringList names = visibleMixFiles(folder);
  // A name that begins with the mark itself would read as a marked entry: leave it out too.
  names.removeIf(
      [](const QString& name) { return !isUsableMapName(name) || name.startsWith(RotationMark); });
  sortIgnoringCase(names);
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
