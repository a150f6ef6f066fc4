// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the main window with many maps: LoadSettings, Add and Remove of thousands of maps with
// the window shown, how Load, Save, Add and Remove grow from 100 to 20,000 maps, and start-up from
// a home of 20 Wine prefixes to the window on screen, all on the offscreen platform. `window_bench
// --first-start-up` instead times one start-up in a fresh process, QApplication included, and
// exits. Files are generated into temporary folders and removed at the end; no dialog is ever shown
// (a request for one fails the benchmark).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QItemSelection>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "AvailableMaps.h"
#include "Desktop.h"
#include "FakeWineHome.h"
#include "GameFolder.h"
#include "MapListView.h"
#include "SkirmishSettings.h"
#include "WinePrefixRegistry.h"
#include "frmSkirmish.h"

namespace {

using corvane::MapListView;
using corvane::bench::fillDataFolder;

constexpr int kManyMaps = 20'000;
constexpr int kLoadedRotation = 100;
constexpr int kStartUpMaps = 2'000;
constexpr int kStartUpRotation = 99;

// A desktop that never shows anything: each request is counted and answered like a cancel.
class SilentDesktop final : public corvane::Desktop {
 public:
  int requests = 0;

  void openTarget(const std::string&) override { ++requests; }
  void showNotice(const std::string&, const std::string&) override { ++requests; }
  QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                      QMessageBox::StandardButtons,
                                      QMessageBox::StandardButton) override {
    ++requests;
    return QMessageBox::Cancel;
  }
  QString openFileName(QWidget*, const corvane::FileDialogRequest&) override {
    ++requests;
    return {};
  }
  QString saveFileName(QWidget*, const corvane::FileDialogRequest&) override {
    ++requests;
    return {};
  }
  QString existingFolder(QWidget*, const QString&, const QString&) override {
    ++requests;
    return {};
  }
};

// A game folder in the temporary folder; removed with the object.
struct GeneratedGame {
  QTemporaryDir root;
  QString data = root.filePath(QStringLiteral("Data"));
  QString settingsFile = data + QStringLiteral("/svrcfg_skirmish.ini");
  QString noRotationFile = data + QStringLiteral("/no_rotation.ini");
  bool ready = false;
};

std::map<int, std::unique_ptr<GeneratedGame>> generatedGames;

// The game folder with `practiceMaps` practice maps (and a rotation of kLoadedRotation), made on
// first use.
const GeneratedGame& gameWithMaps(int practiceMaps) {
  std::unique_ptr<GeneratedGame>& game = generatedGames[practiceMaps];
  if (!game) {
    game = std::make_unique<GeneratedGame>();
    game->ready = game->root.isValid() && fillDataFolder(game->data, practiceMaps, kLoadedRotation);
  }
  return *game;
}

// Points `window` at the Data folder `data` as start-up does once it has found the game: File1
// lists the folder here, once. Nothing is loaded.
void pointAtGame(frmSkirmish& window, const QString& data) {
  window.DataFolder = data;
  window.InstallFolder = QFileInfo(data).path();
  window.GameExePath = window.InstallFolder + QStringLiteral("/Renegade.exe");
  window.GameFound = true;
  window.File1.setPath(data);
  window.EnableEditing(true);
  window.comDLG.FileName = data + QStringLiteral("/svrcfg_skirmish.ini");
}

// Runs what the event loop has pending: the lists' delayed layouts and the repaints they post.
void processPendingEvents() {
  for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
}

// Shows `window` and waits until it is exposed and has painted. Returns false on a time-out.
bool showAndWait(frmSkirmish& window) {
  window.show();
  const bool exposed = QTest::qWaitForWindowExposed(&window);
  processPendingEvents();
  return exposed;
}

// Counts the paints of the two map lists (their viewports).
class ListPaintCounter final : public QObject {
 public:
  explicit ListPaintCounter(const frmSkirmish& window) {
    window.lstRenData->viewport()->installEventFilter(this);
    window.lstMaps->viewport()->installEventFilter(this);
  }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// `count` rows of `total`: spread evenly over the list (every second row when `count` is half
// of `total`) when `spread`, otherwise one block of adjacent rows in the middle.
QList<int> chosenRows(int total, int count, bool spread) {
  QList<int> rows;
  rows.reserve(count);
  for (int i = 0; i < count; ++i) {
    rows.append(spread ? static_cast<int>(qint64(i) * total / count) : (total - count) / 2 + i);
  }
  return rows;
}

// Makes exactly `rows` (ascending) the selection of `list`, adjacent rows as one range.
void selectRows(MapListView& list, const QList<int>& rows) {
  QItemSelection selection;
  for (qsizetype begin = 0; begin < rows.size();) {
    qsizetype end = begin + 1;
    while (end < rows.size() && rows[end] == rows[end - 1] + 1) ++end;
    selection.select(list.mapModel()->index(rows[begin]), list.mapModel()->index(rows[end - 1]));
    begin = end;
  }
  list.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

qsizetype markedCount(const QStringList& entries) {
  return std::count_if(entries.cbegin(), entries.cend(), corvane::isMarked);
}

// Loading the settings file (rotation of 100) into a window whose File1 lists `maps` practice
// maps and the mission files. With `shown`, the window is on screen and the time includes the
// events the load leaves (the lists' layout and repaint).
void BM_LoadSettings(benchmark::State& state) {
  const int maps = static_cast<int>(state.range(0));
  const bool shown = state.range(1) != 0;
  const GeneratedGame& game = gameWithMaps(maps);
  if (!game.ready) return state.SkipWithError("the game folder could not be written");
  SilentDesktop desktop;
  frmSkirmish window(desktop);
  pointAtGame(window, game.data);
  if (shown && !showAndWait(window)) return state.SkipWithError("the window was not exposed");
  ListPaintCounter counter(window);
  for (auto _ : state) {
    window.LoadSettings(game.settingsFile);
    if (shown) processPendingEvents();
  }
  const QStringList& available = window.lstRenData->mapModel()->entries();
  if (available.size() != maps || markedCount(available) != kLoadedRotation ||
      window.lstMaps->mapModel()->entries().size() != kLoadedRotation || desktop.requests != 0) {
    return state.SkipWithError("the load gave other lists");
  }
  state.counters["list_paints"] =
      benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LoadSettings)
    ->ArgNames({"maps", "shown"})
    ->Args({300, 0})
    ->Args({kManyMaps, 0})
    ->Args({300, 1})
    ->Args({kManyMaps, 1})
    ->Unit(benchmark::kMillisecond);

// Arguments of the Add and Remove benchmarks: selected entries, spread (1) or one block (0), and
// whether the time includes the events the handler leaves (the lists' layout and repaint).
void addRemoveArguments(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"selected", "spread", "repaint"});
  for (const int repaint : {0, 1}) {
    for (const int selected : {100, 1'000, 10'000}) benchmark->Args({selected, 1, repaint});
    benchmark->Args({10'000, 0, repaint});
  }
  // Each run needs a fresh load and selection (not timed), so the runs are few.
  benchmark->Iterations(20)->Unit(benchmark::kMillisecond);
}

// One of the Add and Remove benchmarks, the window shown at a game of kManyMaps maps: before
// each run (not timed) `prepare` loads the settings and selects the entries of the chosen rows;
// the run is `act` (and the events it leaves, with the "repaint" argument). `listsAsExpected`
// checks the outcome of the last run. Records the lists' paints per run.
void runListHandler(
    benchmark::State& state,
    const std::function<void(frmSkirmish&, const GeneratedGame&, const QList<int>& rows)>& prepare,
    const std::function<void(frmSkirmish&)>& act,
    const std::function<bool(const frmSkirmish&, int selected)>& listsAsExpected,
    const char* failure) {
  const int selected = static_cast<int>(state.range(0));
  const bool spread = state.range(1) != 0;
  const bool repaint = state.range(2) != 0;
  const GeneratedGame& game = gameWithMaps(kManyMaps);
  if (!game.ready) return state.SkipWithError("the game folder could not be written");
  SilentDesktop desktop;
  frmSkirmish window(desktop);
  pointAtGame(window, game.data);
  if (!showAndWait(window)) return state.SkipWithError("the window was not exposed");
  const QList<int> rows = chosenRows(kManyMaps, selected, spread);
  ListPaintCounter counter(window);
  int paintsBefore = 0;
  int paintsDuring = 0;
  for (auto _ : state) {
    state.PauseTiming();
    prepare(window, game, rows);
    processPendingEvents();
    paintsBefore = counter.paints;
    state.ResumeTiming();

    act(window);
    if (repaint) processPendingEvents();

    state.PauseTiming();
    paintsDuring += counter.paints - paintsBefore;
    state.ResumeTiming();
  }
  if (!listsAsExpected(window, selected) || desktop.requests != 0) {
    return state.SkipWithError(failure);
  }
  state.counters["list_paints"] =
      benchmark::Counter(paintsDuring, benchmark::Counter::kAvgIterations);
}

// cmdAdd_Click with `selected` of the 20,000 available maps selected, none of them in the
// rotation, the window shown.
void BM_AddSelectedMaps(benchmark::State& state) {
  runListHandler(
      state,
      [](frmSkirmish& window, const GeneratedGame& game, const QList<int>& rows) {
        window.LoadSettings(game.noRotationFile);
        selectRows(*window.lstRenData, rows);
      },
      [](frmSkirmish& window) { window.cmdAdd_Click(); },
      [](const frmSkirmish& window, int selected) {
        return window.lstMaps->mapModel()->entries().size() == selected &&
               markedCount(window.lstRenData->mapModel()->entries()) == selected;
      },
      "Add gave other lists");
}
BENCHMARK(BM_AddSelectedMaps)->Apply(addRemoveArguments);

// cmdRemove_Click with `selected` of a rotation of 20,000 maps selected (all 20,000 available
// maps added, so each removed map is unmarked), the window shown.
void BM_RemoveSelectedMaps(benchmark::State& state) {
  runListHandler(
      state,
      [](frmSkirmish& window, const GeneratedGame& game, const QList<int>& rows) {
        window.LoadSettings(game.noRotationFile);
        selectRows(*window.lstRenData, chosenRows(kManyMaps, kManyMaps, false));
        window.cmdAdd_Click();
        selectRows(*window.lstMaps, rows);
      },
      [](frmSkirmish& window) { window.cmdRemove_Click(); },
      [](const frmSkirmish& window, int selected) {
        return window.lstMaps->mapModel()->entries().size() == kManyMaps - selected &&
               markedCount(window.lstRenData->mapModel()->entries()) == kManyMaps - selected &&
               !window.cmdRemove->isEnabled();
      },
      "Remove gave other lists");
}
BENCHMARK(BM_RemoveSelectedMaps)->Apply(addRemoveArguments);

// The scale of the four things done with every map: Load, Save, Add of every available map and
// Remove of the whole rotation, each at N = 100, 1,000, 10,000 and 20,000 practice maps in the
// Data folder (and the 15 mission files), the window shown, the time including the events the
// action leaves (layout and repaint). Their BigO lines fit the times to N.
void scaleArguments(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("maps");
  for (const int maps : {100, 1'000, 10'000, 20'000}) benchmark->Arg(maps);
  benchmark->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}

// A shown window pointed at the Data folder of `maps` practice maps, or null (the run then
// skipped) when the folder cannot be made or the window not shown.
std::unique_ptr<frmSkirmish> shownWindowWithMaps(benchmark::State& state, SilentDesktop& desktop,
                                                 int maps) {
  const GeneratedGame& game = gameWithMaps(maps);
  if (!game.ready) {
    state.SkipWithError("the game folder could not be written");
    return nullptr;
  }
  auto window = std::make_unique<frmSkirmish>(desktop);
  pointAtGame(*window, game.data);
  if (!showAndWait(*window)) {
    state.SkipWithError("the window was not exposed");
    return nullptr;
  }
  return window;
}

// Loads the settings file without a rotation and adds every available map: afterwards the
// rotation holds all of them.
void addEveryMap(frmSkirmish& window, const GeneratedGame& game, int maps) {
  window.LoadSettings(game.noRotationFile);
  selectRows(*window.lstRenData, chosenRows(maps, maps, false));
  window.cmdAdd_Click();
  processPendingEvents();
}

// LoadSettings of the settings file whose rotation names 100 of the N maps (all of them at
// N = 100), File1 having listed the folder once before, as at start-up.
void BM_ScaleLoad(benchmark::State& state) {
  const int maps = static_cast<int>(state.range(0));
  SilentDesktop desktop;
  const std::unique_ptr<frmSkirmish> window = shownWindowWithMaps(state, desktop, maps);
  if (!window) return;
  const GeneratedGame& game = gameWithMaps(maps);
  for (auto _ : state) {
    window->LoadSettings(game.settingsFile);
    processPendingEvents();
  }
  const QStringList& available = window->lstRenData->mapModel()->entries();
  if (available.size() != maps || markedCount(available) != kLoadedRotation ||
      window->lstMaps->mapModel()->entries().size() != kLoadedRotation || desktop.requests != 0) {
    return state.SkipWithError("the load gave other lists");
  }
  state.SetComplexityN(maps);
}
BENCHMARK(BM_ScaleLoad)->Apply(scaleArguments);

// SaveSettings of a rotation of all N maps over a copy of the settings file without a rotation,
// which is put back before each run (not timed), so that every run writes the N map entries. On
// the disk of the temporary folder: the time includes the flushes of the file and of its folder.
void BM_ScaleSave(benchmark::State& state) {
  const int maps = static_cast<int>(state.range(0));
  SilentDesktop desktop;
  const std::unique_ptr<frmSkirmish> window = shownWindowWithMaps(state, desktop, maps);
  if (!window) return;
  const GeneratedGame& game = gameWithMaps(maps);
  addEveryMap(*window, game, maps);
  QFile original(game.noRotationFile);
  if (!original.open(QIODevice::ReadOnly)) return state.SkipWithError("no settings file");
  const QByteArray originalBytes = original.readAll();
  // Two files in turn: the window watches the file it saved last, and would take the file put
  // back under it for another program's change (and ask before saving over it).
  const QStringList targets = {game.data + QStringLiteral("/save_target_1.ini"),
                               game.data + QStringLiteral("/save_target_2.ini")};
  QString target;
  bool saved = true;
  for (auto _ : state) {
    state.PauseTiming();
    target = targets[target == targets[0] ? 1 : 0];
    const bool restored = corvane::bench::writeBytes(target, originalBytes);
    state.ResumeTiming();
    saved = restored && window->SaveSettings(target) && saved;
  }
  // The file's own numbering reads back the first 100 entries.
  const QStringList savedRotation = corvane::loadSkirmishSettings(target).rotation;
  for (const QString& file : targets) QFile::remove(file);
  if (!saved || savedRotation != window->lstMaps->mapModel()->entries().mid(0, 100) ||
      desktop.requests != 0) {
    return state.SkipWithError("the save failed or wrote another rotation");
  }
  state.SetComplexityN(maps);
}
BENCHMARK(BM_ScaleSave)->Apply(scaleArguments);

// cmdAdd_Click with every available map selected, none of them in the rotation.
void BM_ScaleAddEveryMap(benchmark::State& state) {
  const int maps = static_cast<int>(state.range(0));
  SilentDesktop desktop;
  const std::unique_ptr<frmSkirmish> window = shownWindowWithMaps(state, desktop, maps);
  if (!window) return;
  const GeneratedGame& game = gameWithMaps(maps);
  const QList<int> everyRow = chosenRows(maps, maps, false);
  for (auto _ : state) {
    state.PauseTiming();
    window->LoadSettings(game.noRotationFile);
    selectRows(*window->lstRenData, everyRow);
    processPendingEvents();
    state.ResumeTiming();

    window->cmdAdd_Click();
    processPendingEvents();
  }
  if (window->lstMaps->mapModel()->entries().size() != maps ||
      markedCount(window->lstRenData->mapModel()->entries()) != maps || desktop.requests != 0) {
    return state.SkipWithError("Add gave other lists");
  }
  state.SetComplexityN(maps);
}
BENCHMARK(BM_ScaleAddEveryMap)->Apply(scaleArguments)->Iterations(20);

// cmdRemove_Click with the whole rotation selected, the rotation holding every available map.
void BM_ScaleRemoveWholeRotation(benchmark::State& state) {
  const int maps = static_cast<int>(state.range(0));
  SilentDesktop desktop;
  const std::unique_ptr<frmSkirmish> window = shownWindowWithMaps(state, desktop, maps);
  if (!window) return;
  const GeneratedGame& game = gameWithMaps(maps);
  const QList<int> everyRow = chosenRows(maps, maps, false);
  for (auto _ : state) {
    state.PauseTiming();
    addEveryMap(*window, game, maps);
    selectRows(*window->lstMaps, everyRow);
    processPendingEvents();
    state.ResumeTiming();

    window->cmdRemove_Click();
    processPendingEvents();
  }
  if (!window->lstMaps->mapModel()->entries().isEmpty() ||
      markedCount(window->lstRenData->mapModel()->entries()) != 0 ||
      window->cmdRemove->isEnabled() || desktop.requests != 0) {
    return state.SkipWithError("Remove gave other lists");
  }
  state.SetComplexityN(maps);
}
BENCHMARK(BM_ScaleRemoveWholeRotation)->Apply(scaleArguments)->Iterations(20);

// The home of 20 Wine prefixes of the start-up benchmark, its game folder holding a Data folder
// of 2,000 practice maps and a settings file with 99 of them; made on first use.
std::optional<corvane::bench::FakeWineHome> createdFakeHome;
bool startUpHomeReady = false;

// The home, or null when it could not be written.
const corvane::bench::FakeWineHome* startUpHome() {
  if (!createdFakeHome) {
    try {
      createdFakeHome = corvane::bench::createFakeWineHome();
    } catch (const std::filesystem::filesystem_error&) {
      return nullptr;
    }
    const QString data = QString::fromStdString((createdFakeHome->gameFolder / "Data").string());
    startUpHomeReady = fillDataFolder(data, kStartUpMaps, kStartUpRotation);
  }
  return startUpHomeReady ? &*createdFakeHome : nullptr;
}

// When each step of one start-up ended, in nanoseconds of the clock it was given.
struct StartUpSteps {
  qint64 windowMade = 0;  // the window constructed
  qint64 formLoaded = 0;  // prefixes found and Form_Load done (registry read, settings loaded)
  qint64 exposed = 0;     // shown and exposed
};

// One start-up as the program does it: the window, the registry of the prefixes of `home`,
// Form_Load, show, until the window is exposed; with `clock`, the steps' ends go to `steps`.
// Returns the window, or nothing when start-up did not find the game or the window was not
// exposed.
std::unique_ptr<frmSkirmish> startUp(SilentDesktop& desktop, const std::string& home,
                                     const QElapsedTimer* clock = nullptr,
                                     StartUpSteps* steps = nullptr) {
  const auto stepEnded = [&](qint64 StartUpSteps::*step) {
    if (clock && steps) (*steps).*step = clock->nsecsElapsed();
  };
  auto window = std::make_unique<frmSkirmish>(desktop);
  stepEnded(&StartUpSteps::windowMade);
  corvane::WinePrefixRegistry registry(home, std::nullopt);
  if (!window->Form_Load(registry) || !window->GameFound) return nullptr;
  stepEnded(&StartUpSteps::formLoaded);
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
  stepEnded(&StartUpSteps::exposed);
  return window;
}

// Start-up to the window on screen, files in the page cache, after the first window of the
// process (fonts and pictures already loaded once).
void BM_StartUpToWindowShown(benchmark::State& state) {
  const corvane::bench::FakeWineHome* home = startUpHome();
  if (!home) return state.SkipWithError("the fake home could not be written");
  SilentDesktop desktop;
  for (auto _ : state) {
    std::unique_ptr<frmSkirmish> window = startUp(desktop, home->home.string());
    state.PauseTiming();
    const bool found = window &&
                       window->lstMaps->mapModel()->entries().size() == kStartUpRotation &&
                       window->lstRenData->mapModel()->entries().size() == kStartUpMaps;
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
    if (!found || desktop.requests != 0)
      return state.SkipWithError("start-up did not find the game");
  }
}
BENCHMARK(BM_StartUpToWindowShown)->Unit(benchmark::kMillisecond);

// `--first-start-up`: makes the fake home, then times QApplication, the window, Form_Load and
// show until exposed, once, as the first window of a fresh process, and prints the time.
int measureFirstStartUp(int& argc, char** argv) {
  const corvane::bench::FakeWineHome* home = startUpHome();
  int result = 1;
  if (home) {
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    const qint64 applicationMade = clock.nsecsElapsed();
    SilentDesktop desktop;
    StartUpSteps steps;
    const std::unique_ptr<frmSkirmish> window =
        startUp(desktop, home->home.string(), &clock, &steps);
    if (window && desktop.requests == 0) {
      const auto ms = [](qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; };
      std::printf(
          "first start-up, QApplication to window exposed: %.1f ms (QApplication %.1f, window "
          "%.1f, Form_Load %.1f, show to exposed %.1f)\n",
          ms(steps.exposed), ms(applicationMade), ms(steps.windowMade - applicationMade),
          ms(steps.formLoaded - steps.windowMade), ms(steps.exposed - steps.formLoaded));
      result = 0;
    } else {
      std::fprintf(stderr, "start-up did not find the game\n");
    }
  } else {
    std::fprintf(stderr, "the fake home could not be written\n");
  }
  if (createdFakeHome) corvane::bench::removeFakeWineHome(*createdFakeHome);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 2 && std::strcmp(argv[1], "--first-start-up") == 0) {
    argc = 1;
    return measureFirstStartUp(argc, argv);
  }
  int result = 0;
  {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
      result = 1;
    } else {
      benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    generatedGames.clear();
  }
  if (createdFakeHome) corvane::bench::removeFakeWineHome(*createdFakeHome);
  return result;
}
