// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Web and mail links: hand a page or a new mail message to the desktop's default handler.
#pragma once

#include <string>

#include "Shell.h"

namespace corvane {

// The target OpenMailTo hands on: "mailto:", the address, "?Subject=", the subject, joined
// as they are (nothing is percent-encoded).
std::string MailToTarget(const std::string& address, const std::string& subject);

// Opens `address` with the desktop's web browser. The outcome is not reported.
void OpenURL(Shell& shell, const std::string& address);

// Starts a new mail message to `address` with `subject`. The outcome is not reported.
void OpenMailTo(Shell& shell, const std::string& address, const std::string& subject);

}  // namespace corvane
