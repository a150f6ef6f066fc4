// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading hostile settings files: a 100 MB file, one line of 1 MB, 100,000 sections, 100 MB of
// random bytes and 100 MB of NUL bytes. For each: the time of loadSkirmishSettings, the rise of
// the peak resident memory during one load, and whether it read the file's settings or the
// defaults. The files are generated once in a new folder under TMPDIR and removed at the end.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HostileFiles.h"
#include "SkirmishSettings.h"

namespace {

namespace fs = std::filesystem;
using corvane::SkirmishSettings;
using corvane::reliability::HostileFile;

constexpr std::size_t kMegabyte = 1024 * 1024;

struct HostileCase {
  std::string name;
  std::string path;
  std::size_t bytes = 0;
  SkirmishSettings reads;  // what the file holds
};

// Peak resident memory of this process so far, in bytes.
long peakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

// Gives the memory the allocator keeps free back to the system and lowers the recorded peak to
// the resident memory left (Linux 4.0 and later), so that the next peak belongs to what runs
// next. False where the system does not allow it.
bool resetPeakResident() {
  malloc_trim(0);
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

void BM_LoadHostileFile(benchmark::State& state, const HostileCase& file) {
  const QString path = QString::fromStdString(file.path);
  // One load measured for memory before the timed ones, which leave memory to the allocator.
  const bool reset = resetPeakResident();
  const long before = peakResidentBytes();
  SkirmishSettings read = corvane::loadSkirmishSettings(path);
  const long rise = peakResidentBytes() - before;
  for (auto _ : state) {
    read = corvane::loadSkirmishSettings(path);
    benchmark::DoNotOptimize(read);
  }

  state.counters["file_MB"] = static_cast<double>(file.bytes) / kMegabyte;
  state.counters["peak_rise_MB"] = static_cast<double>(rise) / kMegabyte;
  state.counters["peak_per_file_byte"] =
      static_cast<double>(rise) / static_cast<double>(file.bytes);
  state.counters["peak_was_reset"] = reset;
  const bool defaults = file.reads == SkirmishSettings();
  state.SetLabel(read != file.reads ? "READ SOMETHING ELSE"
                 : defaults         ? "reads the defaults"
                                    : "reads the file's settings");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  std::string folderTemplate = (fs::temp_directory_path() / "corvane-hostile-XXXXXX").string();
  if (mkdtemp(folderTemplate.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path folder = folderTemplate;
  std::vector<HostileCase> cases;
  const auto add = [&](const std::string& name, const HostileFile& hostile) {
    HostileCase file{name, (folder / (name + ".ini")).string(), 0, hostile.reads};
    std::ofstream out(file.path, std::ios::binary);
    out << hostile.before << hostile.section << hostile.after;
    file.bytes = static_cast<std::size_t>(out.tellp());
    cases.push_back(std::move(file));
  };
  using namespace corvane::reliability;
  add("large_100MB", largeSettingsFile(100 * kMegabyte));
  add("one_line_of_1MB", oneLongLine(kMegabyte));
  add("settings_value_of_1MB", longSettingsValue(kMegabyte));
  add("100000_sections", manySections(100000));
  add("random_bytes_100MB", randomBytes(100 * kMegabyte, 1));
  add("nul_bytes_100MB", nulBytes(100 * kMegabyte));

  for (const HostileCase& file : cases) {
    benchmark::RegisterBenchmark(("BM_LoadHostileFile/" + file.name).c_str(), BM_LoadHostileFile,
                                 file)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code error;
  fs::remove_all(folder, error);
  return 0;
}
