// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop shell that records the links it is handed and the notices it is asked to show.
#pragma once

#include <string>
#include <vector>

#include "Shell.h"

namespace corvane::testing {

class RecordingShell : public Shell {
 public:
  void openTarget(const std::string& target) override { openedTargets.push_back(target); }
  void showNotice(const std::string& title, const std::string& text) override {
    notices.push_back(title + ": " + text);
  }
  std::vector<std::string> openedTargets;
  std::vector<std::string> notices;
};

}  // namespace corvane::testing
