// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The available-map scan and the rotation marks.
#include "AvailableMaps.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
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

namespace {

// Control characters: C0, DEL and the C1 range (which Windows-1252 uses for its own printable
// characters, so a file name holding one of these code points holds a control).
bool isControl(QChar c) {
  return c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0);
}

const QString kRenameToUse = QStringLiteral(" Rename the file to use it.");

}  // namespace

QString unplayableReason(const QString& name) {
  if (std::any_of(name.begin(), name.end(), isControl)) {
    return QStringLiteral("The game cannot load map names that hold control characters.") +
           kRenameToUse;
  }
  if (!fitsWindows1252(name)) {
    return QStringLiteral(
               "The game cannot load map names with characters outside Windows-1252, its "
               "Western alphabet.") +
           kRenameToUse;
  }
  if (name.startsWith(RotationMark)) {
    return QStringLiteral("A name that begins with \"%1\" reads as a map of the rotation.")
               .arg(RotationMark) +
           kRenameToUse;
  }
  if (name.startsWith(u' ') || name.endsWith(u' ')) {
    return QStringLiteral(
               "The game cannot load map names that begin or end with a blank: it drops the "
               "blanks.") +
           kRenameToUse;
  }
  if (name.contains(u';')) {
    return QStringLiteral("The game reads a map name only up to a semicolon (;).") + kRenameToUse;
  }
  if (name.size() > kLongestMapName) {
    return QStringLiteral("The game cannot load map names longer than %1 characters.")
               .arg(kLongestMapName) +
           kRenameToUse;
  }
  return {};
}

namespace {

// Names compared as Windows and Wine find files: each UTF-16 unit in one letter case. The hash
// folds as it goes, so that thousands of file names are compared without a copy of each.
char16_t folded(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80) return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + (u'a' - u'A')) : u;
  return static_cast<char16_t>(QChar::toCaseFolded(u));
}

std::size_t foldedHash(QStringView name) {
  std::size_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const QChar c : name) hash = (hash ^ folded(c)) * 1099511628211ULL;
  return hash;
}

bool sameIgnoringCase(QStringView left, QStringView right) {
  return left.size() == right.size() &&
         std::equal(left.begin(), left.end(), right.begin(),
                    [](QChar a, QChar b) { return folded(a) == folded(b); });
}

}  // namespace

QStringList rotationReasons(const QStringList& rotation, const QStringList& dataFiles) {
  std::unordered_multimap<std::size_t, qsizetype> entryOfHash;
  for (qsizetype i = 0; i < rotation.size(); ++i) entryOfHash.emplace(foldedHash(rotation[i]), i);
  QList<bool> present(rotation.size(), false);
  for (const QString& file : dataFiles) {
    const auto [first, last] = entryOfHash.equal_range(foldedHash(file));
    for (auto it = first; it != last; ++it) {
      if (sameIgnoringCase(file, rotation[it->second])) present[it->second] = true;
    }
  }
  QStringList reasons;
  reasons.reserve(rotation.size());
  for (qsizetype i = 0; i < rotation.size(); ++i) {
    QString reason = unplayableReason(rotation[i]);
    if (reason.isEmpty() && !present[i]) {
      reason = QStringLiteral(
          "This map is not in the game's Data folder. Copy it there, or remove it from the "
          "rotation.");
    }
    reasons.append(std::move(reason));
  }
  return reasons;
}

QString unplayedEntryReason() {
  return QStringLiteral("The game plays only the first %1 maps of the rotation.")
      .arg(kPlayedRotationEntries);
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
  // QDir leaves hidden files out by default. The extension is tested here, not by a QDir name
  // filter: a filter is a regular expression, and one used on a thread that Qt did not start
  // (start-up's look for the game) leaves that thread a stack that Qt, cleaning up after the
  // thread, frees on another thread, where it crashes.
  QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
  names.removeIf([](const QString& name) { return !hasMixExtension(name); });
  return names;
#else
  // One pass over the folder without a QFileInfo per entry: a Data folder can hold thousands of
  // maps. Hidden names begin with '.'.
  QStringList names;
  const std::optional<std::vector<FolderEntry>> entries = listFolder(localPath(folder));
  if (!entries) return names;
  names.reserve(static_cast<qsizetype>(entries->size()));
  for (const FolderEntry& entry : *entries) {
    if (!entry.regularFile || entry.name.starts_with('.')) continue;
    QString name =
        isAscii(entry.name)
            ? QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size()))
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

namespace {
// True when row `row` of the available entries is a playable map (no reason against it).
bool playable(const QStringList& reasons, qsizetype row) {
  return row >= reasons.size() || reasons[row].isEmpty();
}
}  // namespace

QList<int> rowsToMark(const QStringList& available, const QStringList& reasons,
                      const QStringList& rotation) {
  const QSet<QString> names(rotation.cbegin(), rotation.cend());
  QList<int> rows;
  for (int row = 0; row < available.size(); ++row) {
    if (playable(reasons, row) && !isMarked(available[row]) && names.contains(available[row])) {
      rows.append(row);
    }
  }
  return rows;
}

AvailableList availableMapsAfter(const QStringList& files, const QStringList& before,
                                 const QStringList& beforeReasons, const QStringList& rotation) {
  AvailableList list{ScanAvailableMaps(files), {}};
  list.reasons.reserve(list.entries.size());
  for (const QString& name : list.entries) list.reasons.append(unplayableReason(name));
  QHash<QString, bool> markedBefore;  // each file listed before: whether it had the mark
  for (qsizetype row = 0; row < before.size(); ++row) {
    const bool marked = playable(beforeReasons, row) && isMarked(before[row]);
    markedBefore.insert(marked ? entryName(before[row]) : before[row], marked);
  }
  const QList<int> rotationRows = rowsToMark(list.entries, list.reasons, rotation);
  const QSet<int> named(rotationRows.cbegin(), rotationRows.cend());
  for (int row = 0; row < list.entries.size(); ++row) {
    const auto listed = markedBefore.constFind(list.entries[row]);
    if (listed != markedBefore.cend() ? *listed : named.contains(row)) {
      list.entries[row].prepend(RotationMark);
    }
  }
  return list;
}

QList<int> addableRows(const QStringList& available, const QStringList& reasons,
                       const QList<int>& selectedRows) {
  QList<int> rows;
  for (const int row : selectedRows) {
    if (row >= 0 && row < available.size() && playable(reasons, row) && !isMarked(available[row])) {
      rows.append(row);
    }
  }
  return rows;
}

QList<int> rowsToUnmark(const QStringList& available, const QStringList& reasons,
                        const QStringList& removedNames) {
  const QSet<QString> names(removedNames.cbegin(), removedNames.cend());
  QList<int> rows;
  for (int row = 0; row < available.size(); ++row) {
    if (playable(reasons, row) && isMarked(available[row]) &&
        names.contains(entryName(available[row]))) {
      rows.append(row);
    }
  }
  return rows;
}

QList<int> sameEntryRows(const QStringList& before, const QList<int>& selectedBefore,
                         const QStringList& after) {
  // Each selected entry as (name, which copy of that name it is); then the same copies after.
  QHash<QString, int> copiesSeen;
  QSet<std::pair<QString, int>> wanted;
  qsizetype next = 0;
  for (int row = 0; row < before.size() && next < selectedBefore.size(); ++row) {
    const int copy = copiesSeen[entryName(before[row])]++;
    if (selectedBefore[next] == row) {
      wanted.insert({entryName(before[row]), copy});
      ++next;
    }
  }
  copiesSeen.clear();
  QList<int> rows;
  for (int row = 0; row < after.size() && rows.size() < wanted.size(); ++row) {
    const QString name = entryName(after[row]);
    if (wanted.contains({name, copiesSeen[name]++})) rows.append(row);
  }
  return rows;
}

}  // namespace corvane
