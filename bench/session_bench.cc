// Reading the mouse: splitting both maps, an idle DevTimer tick (ten
// interface counts) on the simulated bus and on this machine's real hidraw
// sysfs, and a full "I2C" Btn_Read against a mouse that takes 1 ms per
// transfer, measured in clock time against its floor of 294 transfers and
// 293 mandated 500-microsecond waits (440.5 ms).

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "hid/hidraw_backend.h"
#include "image/image_split.h"
#include "session/session.h"
#include "session/write_roads.h"
#include "simulator/simulated_backend.h"

namespace vrdk {
namespace {

void BM_SplitI2CImage(benchmark::State& state) {
  const auto image = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  image::ConfigBuffers buffers;
  for (auto _ : state) {
    auto repaired = image::SplitI2CImage(
        std::span<const std::uint8_t, image::i2c::kSize>(image.data(), image.size()), buffers, {});
    benchmark::DoNotOptimize(repaired);
  }
}
BENCHMARK(BM_SplitI2CImage);

void BM_SplitFlashImage(benchmark::State& state) {
  const auto image = SimulatedMouse::FactoryMemory(MemoryType::kFlash);
  image::ConfigBuffers buffers;
  const image::DefaultInputs in{MemoryType::kFlash, image::LedType::kUnknown, 0};
  for (auto _ : state) {
    auto repaired = image::SplitFlashImage(
        std::span<const std::uint8_t, image::flash::kSize>(image.data(), image.size()), buffers,
        in);
    benchmark::DoNotOptimize(repaired);
  }
}
BENCHMARK(BM_SplitFlashImage);

void IdleTicks(benchmark::State& state, HidBackend& backend) {
  CountingClock clock;
  SilentEvents events;
  Session session(backend, clock, events, *DefaultImageSet::FromResources());
  session.StartUp();
  session.DevTimerTimer();  // the first tick searches; the ones after are idle
  for (auto _ : state) session.DevTimerTimer();
  state.counters["interfaces"] = session.Conn().last_interface_count;
}

void BM_IdleTickSimulated(benchmark::State& state) {
  CountingClock clock;
  SimulatedMouse mouse(clock);
  SimulatedBackend backend(&mouse);
  IdleTicks(state, backend);
}
BENCHMARK(BM_IdleTickSimulated);

void BM_IdleTickHidraw(benchmark::State& state) {
  HidrawBackend backend;
  IdleTicks(state, backend);
}
BENCHMARK(BM_IdleTickHidraw);

void BM_BtnReadAtOneMillisecondPerTransfer(benchmark::State& state) {
  CountingClock clock;
  SimulatedMouseConfig config;
  config.transfer_latency = Microseconds(1000);
  SimulatedMouse mouse(clock, config);
  mouse.SetRecording(false);
  clock.SetRecording(false);
  SimulatedBackend backend(&mouse);
  SilentEvents events;
  Session session(backend, clock, events, *DefaultImageSet::FromResources());
  session.StartUp();
  session.DevTimerTimer();
  double clock_ms = 0;
  for (auto _ : state) {
    const auto start = clock.Now();
    session.Btn_Read();
    clock_ms = std::chrono::duration<double, std::milli>(clock.Now() - start).count();
  }
  constexpr double kFloorMs = 294 * 1.0 + 293 * 0.5;
  state.counters["clock_ms"] = clock_ms;
  state.counters["over_floor_percent"] = 100.0 * (clock_ms - kFloorMs) / kFloorMs;
}
BENCHMARK(BM_BtnReadAtOneMillisecondPerTransfer);

// A mouse that takes 1 ms per transfer, read once, for the write roads.
struct SlowMouse {
  explicit SlowMouse(MemoryType type) : mouse(clock, Config(type)), backend(&mouse) {
    mouse.SetRecording(false);
    clock.SetRecording(false);
    session.StartUp();
    session.DevTimerTimer();
  }
  static SimulatedMouseConfig Config(MemoryType type) {
    SimulatedMouseConfig config;
    config.memory_type = type;
    config.transfer_latency = Microseconds(1000);
    return config;
  }
  static DefaultImageSet Defaults(MemoryType type) {
    const auto factory = SimulatedMouse::FactoryMemory(type);
    return DefaultImageSet({factory, factory, factory});
  }
  // Clock milliseconds of one call of `write`.
  template <typename Write>
  double ClockMs(Write write) {
    const auto start = clock.Now();
    write();
    return std::chrono::duration<double, std::milli>(clock.Now() - start).count();
  }

  CountingClock clock;
  SimulatedMouse mouse;
  SimulatedBackend backend;
  SilentEvents events;
  Session session{backend, clock, events, Defaults(mouse.Config().memory_type)};
};

// A profile write (the profile block, the User section read back and the
// profile reload) with its read-back against the same write alone, in clock
// time at 1 ms per transfer: the read-back may cost at most 1.2 times the
// write.
void BM_ProfileWriteWithReadBackAtOneMillisecondPerTransfer(benchmark::State& state) {
  SlowMouse slow(MemoryType::kI2C);
  TransferPolicy alone = slow.session.Checked().Policy();
  alone.verify = false;
  const TransferPolicy checked = slow.session.Checked().Policy();
  double write_ms = 0;
  double verified_ms = 0;
  for (auto _ : state) {
    slow.session.Checked().SetPolicy(alone);
    write_ms = slow.ClockMs([&] { WriteRoads(slow.session).WriteProfiles(); });
    slow.session.Checked().SetPolicy(checked);
    verified_ms = slow.ClockMs([&] { WriteRoads(slow.session).WriteProfiles(); });
  }
  state.counters["write_alone_ms"] = write_ms;
  state.counters["with_read_back_ms"] = verified_ms;
  state.counters["times_the_write"] = verified_ms / write_ms;
}
BENCHMARK(BM_ProfileWriteWithReadBackAtOneMillisecondPerTransfer);

// A whole "Flash" image written and verified page by page, in clock time at
// 1 ms per transfer and in host time per report.
void BM_WholeFlashWriteVerifiedAtOneMillisecondPerTransfer(benchmark::State& state) {
  SlowMouse slow(MemoryType::kFlash);
  double clock_ms = 0;
  long transfers = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const long before = slow.mouse.TransferCount();
    clock_ms = slow.ClockMs([&] { WriteRoads(slow.session).WriteWholeImage(false); });
    transfers = slow.mouse.TransferCount() - before;
  }
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  state.counters["clock_ms"] = clock_ms;
  state.counters["transfers"] = static_cast<double>(transfers);
  state.counters["host_ns_per_transfer"] =
      elapsed.count() / (static_cast<double>(transfers) * static_cast<double>(state.iterations()));
}
BENCHMARK(BM_WholeFlashWriteVerifiedAtOneMillisecondPerTransfer)->Iterations(3);

// A whole-image write through the write roads, its read-back included: host
// time per transfer.
void WholeImageWrite(benchmark::State& state, MemoryType type) {
  CountingClock clock;
  SimulatedMouseConfig config;
  config.memory_type = type;
  SimulatedMouse mouse(clock, config);
  mouse.SetRecording(false);
  clock.SetRecording(false);
  SimulatedBackend backend(&mouse);
  SilentEvents events;
  Session session(backend, clock, events, SlowMouse::Defaults(type));
  session.StartUp();
  session.DevTimerTimer();
  long transfers = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const long before = mouse.TransferCount();
    WriteRoads(session).WriteWholeImage(false);
    transfers = mouse.TransferCount() - before;
  }
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  state.counters["transfers_per_write"] = static_cast<double>(transfers);
  state.counters["ns_per_transfer"] =
      elapsed.count() / (static_cast<double>(transfers) * static_cast<double>(state.iterations()));
}

void BM_WholeImageWriteI2C(benchmark::State& state) { WholeImageWrite(state, MemoryType::kI2C); }
BENCHMARK(BM_WholeImageWriteI2C);

void BM_WholeImageWriteFlash(benchmark::State& state) {
  WholeImageWrite(state, MemoryType::kFlash);
}
BENCHMARK(BM_WholeImageWriteFlash);

}  // namespace
}  // namespace vrdk

BENCHMARK_MAIN();
