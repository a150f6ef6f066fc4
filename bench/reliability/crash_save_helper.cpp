// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Helper of the crash-safety test: saves the two sets of test settings into one file in turn,
// until it is killed. Writes "R" to standard output before its first save and "." after each
// completed one; exits with 1 (and the reason on standard error) when a save fails.
//   crash_save_helper FILE
#include <unistd.h>

#include <cstdio>

#include "CrashSaveSettings.h"
#include "SkirmishSettings.h"

namespace {

void tell(char what) {
  if (::write(STDOUT_FILENO, &what, 1) != 1) {
    // The test stopped listening: it is about to kill us anyway.
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: crash_save_helper FILE\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  const corvane::SkirmishSettings settings[2] = {corvane::reliability::crashTestSettings(0),
                                                 corvane::reliability::crashTestSettings(1)};
  tell('R');
  // The file starts with settings 0, so the first save writes settings 1.
  for (unsigned long save = 1;; ++save) {
    const corvane::FileStatus status = corvane::saveSkirmishSettings(path, settings[save % 2]);
    if (!status.ok) {
      std::fprintf(stderr, "crash_save_helper: save %lu failed: %s\n", save, status.error.c_str());
      return 1;
    }
    tell('.');
  }
}
