// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252, the code page of the game's files, converted to and from QString.
//
// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the
// control characters of the same number, as Windows itself does, so every byte string survives a
// decode and an encode unchanged. The table is our own rather than QStringConverter's, which only
// knows this code page where Qt was built with ICU.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The text of `bytes` read as Windows-1252. Every byte maps to one character.
QString fromWindows1252(std::string_view bytes);

// `text` as Windows-1252 bytes; nullopt when it holds a character the code page does not have.
std::optional<std::string> toWindows1252(QStringView text);

// True when every character of `text` has a Windows-1252 byte.
bool fitsWindows1252(QStringView text);

}  // namespace corvane
