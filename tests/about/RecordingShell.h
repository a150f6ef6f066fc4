// A desktop shell for tests: remembers every target and notice it is handed instead of opening it.
#pragma once

#include <string>
#include <vector>

#include "Shell.h"

class RecordingShell : public corvane::Shell {
 public:
  void openTarget(const std::string& target) override { openedTargets.push_back(target); }
  void showNotice(const std::string& title, const std::string& text) override {
    notices.push_back(title + ": " + text);
  }

  std::vector<std::string> openedTargets;
  std::vector<std::string> notices;
};
