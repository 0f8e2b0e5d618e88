// Reading a full .ovp file of 100 presets: the duplicate check must cost one formatted key per
// line, not one per pair of records.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "stations/PresetsFile.h"

namespace {

using namespace ondivo;

const LocaleFormat kLocale{'.', ':', "hh:mm:ss"};

void BM_LoadFullPresetsFile(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "ondivo-bench-XXXXXX").string();
  const std::filesystem::path folder = ::mkdtemp(pattern.data());
  const auto path = folder / "full.ovp";
  PresetsBank bank;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    bank.Store(n, "Station " + std::to_string(n), 87.5 + n * 0.2, bFM);
  }
  if (!WritePresetsFile(path, bank, kLocale)) state.SkipWithError("cannot write the file");
  for (auto _ : state) {
    PresetsBank loaded;
    benchmark::DoNotOptimize(LoadPresetsFile(path, kLocale, loaded));
  }
  std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_LoadFullPresetsFile)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
