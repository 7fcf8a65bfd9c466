// Reading INI tables: a table of many sections, as a damaged or hostile
// resource could hold, must read in time linear in its size.

#include <benchmark/benchmark.h>

#include <string>

#include "tables/ini_table.h"

namespace {

std::string ManySections(int sections) {
  std::string text;
  for (int i = 0; i < sections; ++i) {
    text += "[Section" + std::to_string(i) + "]\nKey=" + std::to_string(i) + "\n";
  }
  return text;
}

void BM_ParseManySections(benchmark::State& state) {
  const std::string text = ManySections(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const auto table = vrdk::IniTable::Parse(text);
    benchmark::DoNotOptimize(table.HasSection("section1"));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseManySections)
    ->Arg(10000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
