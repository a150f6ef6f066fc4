// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up probe: Corvane's own start-up exactly as main.cpp runs it (corvane::Program: the
// system registry and the look for the game, QApplication, the real desktop, the main window,
// Form_Load, show), ended as soon as the window is on screen, so that whole processes can be
// timed, measured and traced from outside. Corvane itself has no command line; these options are
// the probe's:
//
//   startup_probe                 start-up, then exit
//   startup_probe --report        start-up, then print what the window holds
//   startup_probe --save          start-up, then one Save of the current settings file as the
//                                 Save button does it, its question answered Yes (after
//                                 switching Friendly Fire, so that the file changes), and half a
//                                 second of the event loop for the watches to take in the
//                                 save's rename; "saving" goes to standard error right before
//                                 the Save, "saved" right after it, before the wait
//   startup_probe --make-home HOME PRACTICE_MAPS ROTATION
//                                 writes a home folder to run the others in (with HOME=HOME):
//                                 ~/.wine, a 32-bit prefix whose system.reg holds the game's
//                                 InstallPath "C:\Westwood\Renegade\Renegade.exe", its drive C:
//                                 linked through dosdevices/c:, and in the game's Data folder
//                                 PRACTICE_MAPS empty practice maps, the 15 mission files and a
//                                 settings file whose rotation names ROTATION of the maps.
//
// Exit status: 0 when the game was found and the window shown (and the save, if asked for,
// succeeded), 1 for wrong options or a home that cannot be written, 2 when the user ended
// start-up, 3 when the game was not found or the window never exposed, 4 when the save failed.
// A missing game makes the real desktop ask its question, which waits for an answer: run the
// probe under a time limit.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "Application.h"
#include "FakeWineHome.h"
#include "GameFolder.h"
#include "MapListView.h"
#include "QuitWhenExposed.h"
#include "frmSkirmish.h"

namespace {

enum class ProbeMode { StartUp, Report, Save };

// About the size of the system.reg of a new 32-bit Wine prefix.
constexpr std::size_t kWin32RegistryBytes = 1'700'000;

// A system.reg of a 32-bit prefix of about kWin32RegistryBytes, made of the key blocks of the
// benchmarks' generator, holding the game's key where a 32-bit prefix keeps it
// (Software\Westwood\Renegade, no Wow6432Node) about three fifths into the file.
std::string win32SystemRegistryText() {
  std::string blocks = corvane::bench::systemRegistryText(false);
  const std::string arch64 = "#arch=win64";
  blocks.replace(blocks.find(arch64), arch64.size(), "#arch=win32");
  blocks.resize(blocks.rfind("\n\n", kWin32RegistryBytes) + 2);
  const std::size_t keyAt = blocks.rfind("\n\n", kWin32RegistryBytes * 3 / 5) + 2;
  blocks.insert(keyAt,
                "[Software\\\\Westwood\\\\Renegade] 1796584329\n#time=1dd85b5b0c07266\n"
                "\"InstallPath\"=\"C:\\\\Westwood\\\\Renegade\\\\Renegade.exe\"\n"
                "\"Language\"=dword:00000000\n\n");
  return blocks;
}

// Writes the home described at the top of this file. Returns false when it cannot be written.
bool makeHome(const std::filesystem::path& home, int practiceMaps, int rotation) {
  namespace fs = std::filesystem;
  const fs::path prefix = home / ".wine";
  const fs::path game = prefix / "drive_c/Westwood/Renegade";
  try {
    fs::create_directories(prefix / "dosdevices");
    fs::create_directories(game);
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
    fs::create_directory_symlink("/", prefix / "dosdevices/z:");
    corvane::bench::writeFile(prefix / "system.reg", win32SystemRegistryText());
    corvane::bench::writeFile(game / "Renegade.exe", "MZ");
  } catch (const fs::filesystem_error& error) {
    std::fprintf(stderr, "startup_probe: %s\n", error.what());
    return false;
  }
  return corvane::bench::fillDataFolder(QString::fromStdString((game / "Data").string()),
                                        practiceMaps, rotation);
}

// A whole number of at least `smallest` from `text`, or -1.
int countArgument(const char* text, int smallest) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (end != text && *end == '\0' && value >= smallest && value <= 1'000'000)
             ? static_cast<int>(value)
             : -1;
}

int usage() {
  std::fputs(
      "usage: startup_probe [--report | --save]\n"
      "       startup_probe --make-home HOME PRACTICE_MAPS ROTATION\n",
      stderr);
  return 1;
}

// main.cpp's start-up, ended once the window is exposed; then what `mode` asks for.
int probeStartUp(ProbeMode mode, char* programName) {
  int argc = 1;
  char* argv[] = {programName, nullptr};
  corvane::Program program(argc, argv);
  if (!program.started()) return 2;  // the user chose Cancel
  frmSkirmish& window = program.window();
  const corvane::bench::QuitWhenExposed quitter(window);
  if (QApplication::exec() != 0 || !quitter.exposed() || !window.GameFound) return 3;

  if (mode == ProbeMode::Report) {
    std::printf("settings file: %s\navailable maps: %lld\nrotation: %lld\n",
                qPrintable(window.comDLG.FileName),
                static_cast<long long>(window.lstRenData->mapModel()->entries().size()),
                static_cast<long long>(window.lstMaps->mapModel()->entries().size()));
  } else if (mode == ProbeMode::Save) {
    window.chkFriendly->setChecked(!window.chkFriendly->isChecked());
    // The real desktop asks "Save settings to ...?": Yes, as soon as the box is up.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        box->button(QMessageBox::Yes)->click();
      }
    });
    answer.start(10);
    std::fputs("saving\n", stderr);
    window.cmdSave_Click();
    answer.stop();
    std::fputs("saved\n", stderr);
    if (window.hasUnsavedEdits()) return 4;
    QTimer::singleShot(500, qApp, &QApplication::quit);
    QApplication::exec();
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 5 && std::strcmp(argv[1], "--make-home") == 0) {
    const int practiceMaps = countArgument(argv[3], 1);
    const int rotation = countArgument(argv[4], 0);
    if (practiceMaps < 0 || rotation < 0) return usage();
    return makeHome(argv[2], practiceMaps, rotation) ? 0 : 1;
  }
  if (argc == 1) return probeStartUp(ProbeMode::StartUp, argv[0]);
  if (argc == 2 && std::strcmp(argv[1], "--report") == 0) {
    return probeStartUp(ProbeMode::Report, argv[0]);
  }
  if (argc == 2 && std::strcmp(argv[1], "--save") == 0) {
    return probeStartUp(ProbeMode::Save, argv[0]);
  }
  return usage();
}
