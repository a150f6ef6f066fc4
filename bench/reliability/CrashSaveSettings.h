// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The two sets of settings that the crash-safety test and its helper program save in turn, and
// the file they are saved over.
#pragma once

#include <QString>
#include <QStringList>

#include <string>

#include "SkirmishSettings.h"

namespace corvane::reliability {

// A settings file as players have them: a comment block, LF and CRLF lines, foreign keys in
// the settings section and foreign sections before and after it.
inline const std::string kForeignSettingsFile =
    "; Practice server rules, edited by hand\n"
    ";   keep the [Bots] section for the AI mod\r\n"
    "\n"
    "[Bots]\r\n"
    "Count=6\n"
    "Names=Havoc;Sakura;Gunner\r\n"
    "[Settings]\r\n"
    "TimeLimitMinutes=45\n"
    "Port = 4848\r\n"
    "MapName01=C&C_Field.mix\r\n"
    "; the next map is the AI version\n"
    "MapName02=C&C_Under.mix\n"
    "\r\n"
    "[Other]\n"
    "MapName01=keep.mix\r\n"
    "Motd=Welcome\n";

// `which` 0 and 1 differ in every value and in the length of the rotation, so that a file cut
// short or mixed from the two cannot pass for either.
inline SkirmishSettings crashTestSettings(int which) {
  SkirmishSettings settings;
  if (which == 0) {
    settings.timeLimitMinutes = QStringLiteral("45");
    settings.startingCredits = QStringLiteral("2500");
    settings.radarMode = 0;
    settings.spawnWeapons = false;
    settings.rotation = {QStringLiteral("C&C_Field.mix"), QStringLiteral("C&C_Under.mix"),
                         QStringLiteral("C&C_Islands.mix")};
  } else {
    settings.timeLimitMinutes = QStringLiteral("120");
    settings.startingCredits = QStringLiteral("99999");
    settings.radarMode = 2;
    settings.teamChangingAllowed = false;
    settings.friendlyFirePermitted = false;
    for (int map = 1; map <= 60; ++map) {
      settings.rotation.append(QStringLiteral("C&C_Practice_Map_%1.mix").arg(map));
    }
  }
  return settings;
}

}  // namespace corvane::reliability
