// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the platform services need of the desktop: a way to open a link with the desktop's
// default handler and a plain notice box. The program's window layer implements it with Qt;
// tests implement it to record what would have been shown.
#pragma once

#include <string>

namespace corvane {

class Shell {
 public:
  virtual ~Shell() = default;

  // Hands `target` (a web address or a "mailto:" target, UTF-8) to the desktop's default
  // handler. Nothing is reported back.
  virtual void openTarget(const std::string& target) = 0;

  // Shows a modal notice with an OK button and no icon. `title` and `text` are UTF-8.
  virtual void showNotice(const std::string& title, const std::string& text) = 0;
};

}  // namespace corvane
