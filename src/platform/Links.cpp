// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Web and mail links.
#include "Links.h"

namespace corvane {

std::string MailToTarget(const std::string& address, const std::string& subject) {
  return "mailto:" + address + "?Subject=" + subject;
}

void OpenURL(Shell& shell, const std::string& address) {
  shell.openTarget(address);
}

void OpenMailTo(Shell& shell, const std::string& address, const std::string& subject) {
  shell.openTarget(MailToTarget(address, subject));
}

}  // namespace corvane
