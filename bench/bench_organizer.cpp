// Loading and saving Ondivo.db at 10,000 and 100,000 rows (30,000 in between for the fit);
// the cost must grow linearly with the number of rows.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "stations/OrganizerDatabase.h"

namespace {

using namespace ondivo;

const LocaleFormat kLocale{'.', ':', "hh:mm:ss"};

// Folders of 40 stations, every tenth folder holding nine sub-folders: a realistic mix of
// depths, names with blanks and both bands.
OrganizerTree MakeTree(int64_t rows) {
  OrganizerTree tree;
  int64_t made = 0;
  OrganizerNode* group = nullptr;
  OrganizerNode* folder = nullptr;
  while (made < rows) {
    if (made % 410 == 0) {
      group = tree.AddFolder(tree.Root(), "Group " + std::to_string(made));
      folder = group;
    } else if (made % 41 == 0) {
      folder = tree.AddFolder(*group, "Folder " + std::to_string(made));
    } else if (made % 7 == 0) {
      tree.AddStation(*folder, "AM station " + std::to_string(made), 0.531 + (made % 121) * 0.009,
                      bAM);
    } else {
      tree.AddStation(*folder, "FM station number " + std::to_string(made),
                      87.5 + (made % 200) * 0.1, bFM);
    }
    ++made;
  }
  tree.Sort();
  return tree;
}

struct BenchDir {
  BenchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ondivo-bench-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~BenchDir() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

void BM_LoadOrganizerDatabase(benchmark::State& state) {
  BenchDir dir;
  const auto file = dir.path / "Ondivo.db";
  SaveOrganizerDatabase(file, MakeTree(state.range(0)), kLocale);
  for (auto _ : state) {
    OrganizerTree tree = LoadOrganizerDatabase(file, kLocale);
    benchmark::DoNotOptimize(tree.NodeCount());
  }
  state.SetComplexityN(state.range(0));
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

// Each save parses the previous file (to keep its other sections), erases the archive and
// writes every row, then replaces the file through a temporary file.
void BM_SaveOrganizerDatabase(benchmark::State& state) {
  BenchDir dir;
  const auto file = dir.path / "Ondivo.db";
  const OrganizerTree tree = MakeTree(state.range(0));
  SaveOrganizerDatabase(file, tree, kLocale);
  for (auto _ : state) {
    benchmark::DoNotOptimize(SaveOrganizerDatabase(file, tree, kLocale));
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_LoadOrganizerDatabase)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SaveOrganizerDatabase)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
