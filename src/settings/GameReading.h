// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game reads a settings file otherwise than the window shows it.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include "IniDocument.h"
#include "SkirmishSettings.h"

namespace corvane {

// Each note is one sentence for a tooltip: what the file holds, what the game makes of it, and
// that saving writes what the window shows.
struct GameReadingNotes {
  // By practice key ("TimeLimitMinutes", "RadarMode", ...), for the keys that have a note only.
  QHash<QString, QString> rules;
  // One text per rotation entry shown, in order: a note, or empty where the game reads the same.
  QStringList rotation;

  // True when there is a note at all.
  bool any() const;
};

// What the game reads from `file` (as readSectionAsTheGame() does) against `shown`, the settings
// the window shows for it (the fields as repaired, the radar option as left), which are what a
// save writes and the game then reads. A practice key gets a note when the game's reading of the
// file differs from its reading of what a save writes: a number it reads otherwise (quotes and
// anything but leading digits count as C's atoi counts them) or ignores as outside its range
// (0 to 999 minutes, 0 to 999999 credits); a radar mode it plays otherwise (values other than 0,
// 1 and 2 act as 1); an on/off value it reads otherwise or neither way; a key the window reads
// and the game does not (names in another letter case, an empty value). A key that neither
// reads gets none: the game keeps its own setting, which no file tells. A rotation entry among
// the first 99 gets a note when the game plays another name at its place (quotes are part of a
// name to the game) or none (it reads MapName01, MapName02 ... in exact letter case, up to the
// first one missing). MapName00 and the entries after the 99th are never compared: the game
// puts its own map at place 0 and reads no more. A file the game itself wrote gets no note.
GameReadingNotes gameReadingNotes(const IniDocument& file, const SkirmishSettings& shown);

}  // namespace corvane
