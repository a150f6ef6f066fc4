// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows only: opening a web address or a "mailto:" target the way Windows opens links, with
// the handler the user chose for it (ShellExecuteW, verb "open").
#pragma once

#include <string>

namespace corvane {

// Hands `target` (UTF-8, passed on as it is) to Windows' shell. Returns false when the shell
// could not open it (no handler for the kind of link, or the system refused).
bool openWithShell(const std::string& target);

}  // namespace corvane
