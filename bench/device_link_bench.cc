// Host-side cost of whole-memory transfers through DeviceLink against the
// simulated mouse, on a clock that does not really wait. Reports the time per
// report (command, data reports and answers), the figure to keep under 2 us.

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "hid/device_link.h"
#include "simulator/simulated_backend.h"
#include "simulator/simulated_mouse.h"

namespace vrdk {
namespace {

constexpr int kImage = 2048;
constexpr int kReportsPerTransfer = 1 + (kImage + 6) / 7;  // the command and 293 chunks

struct Rig {
  Rig() : mouse(clock), backend(&mouse), link(backend, clock) {
    clock.SetRecording(false);
    mouse.SetRecording(false);
    link.OpenDevice(0x1BCF, 0x08B8);
  }
  CountingClock clock;
  SimulatedMouse mouse;
  SimulatedBackend backend;
  DeviceLink link;
};

// The loop is timed by hand so the figure can be printed in nanoseconds.
template <typename Transfer>
void RunTransfers(benchmark::State& state, Transfer transfer) {
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) transfer();
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  const double reports = static_cast<double>(state.iterations()) * kReportsPerTransfer;
  state.counters["reports_per_transfer"] = kReportsPerTransfer;
  state.counters["ns_per_report"] = elapsed.count() / reports;
}

void BM_ReadMemoryWholeImage(benchmark::State& state) {
  Rig rig;
  std::vector<std::uint8_t> buffer(kImage);
  RunTransfers(state, [&] {
    benchmark::DoNotOptimize(rig.link.ReadMemory(0, kImage, buffer));
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_ReadMemoryWholeImage);

void BM_WriteMemoryWholeImage(benchmark::State& state) {
  Rig rig;
  const auto image = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  RunTransfers(state, [&] { benchmark::DoNotOptimize(rig.link.WriteMemory(0, kImage, image)); });
}
BENCHMARK(BM_WriteMemoryWholeImage);

}  // namespace
}  // namespace vrdk

BENCHMARK_MAIN();
