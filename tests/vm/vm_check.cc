// vrdk-vm-check: the test driver of the VM test. It runs in the guest, where
// the virtual mouse is on the real HID bus, and talks to it through DeviceLink
// over the real HidrawBackend. Each command checks one thing and prints
//   ok - WHAT           or    not ok - WHAT: DETAIL
// plus "# " lines of information; it exits 1 when a check failed.
//
// With --simulate=FILE it runs against the in-process simulated mouse (the
// virtual mouse's one collection and the keyboard beside it, the memory from
// FILE, written back when it changed), so the host can run the same command
// and compare the output with the guest's.
//
//   list [--keyboard] [--composite]
//                           the mouse (feature 8, input 8), and the keyboard
//                           with another feature length, are listed; with
//                           --composite the mouse's other two collections too
//   idle                    thirty counts of the bus, as three idle ticks make
//   info --memory-type=T    OpenDevice, and the device information names T
//   read --image=FILE       full 2048-byte reads equal FILE; prints their time
//   write --image=FILE      a block written reads back; the rest is untouched
//   saved --image=FILE --saved=SAVED
//                           SAVED (the mouse's image after it ended) is FILE
//                           with what write wrote
//   input --signal=PID      SIGUSR1 to the mouse's PID: its DPI button's press
//                           and release come in as input reports
//   restart                 the restart command: the mouse leaves, comes back
//                           after its restart time and is found again
//   unplug-read --image=FILE --unplug-at=N
//                           the mouse unplugs at transfer N during a full read:
//                           the read ends, good chunks before, 0xFF after
//   dump [--trace]          the device information and the first 2048 bytes
//                           (and every transfer after the open), to compare

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hid/device_link.h"
#include "hid/hidraw_backend.h"
#include "hid/tracing_backend.h"
#include "simulator/memory_image.h"
#include "simulator/simulated_backend.h"
#include "support/simulated_rig.h"
#include "virtual_mouse/hid_devices.h"

namespace vrdk {
namespace {

using Bytes = std::vector<std::uint8_t>;
using SteadyClock = std::chrono::steady_clock;

constexpr std::uint16_t kVendorId = 0x1BCF;
constexpr std::uint16_t kProductId = 0x08B8;
constexpr int kFullRead = 2048;
constexpr int kFullReadChunks = (kFullRead + 6) / 7;
// OpenDevice probes the mouse with one command and one response read.
constexpr long kOpenTransfers = 2;
// The block `write` writes: not a whole number of chunks, ending a chunk short.
constexpr int kWriteAddress = 1900;
constexpr int kWriteLength = 100;

int failures = 0;

void Check(bool ok, const std::string& what, const std::string& detail = "") {
  if (ok) {
    std::printf("ok - %s\n", what.c_str());
  } else {
    std::printf("not ok - %s%s%s\n", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
    ++failures;
  }
  std::fflush(stdout);
}

void Note(const std::string& text) {
  std::printf("# %s\n", text.c_str());
  std::fflush(stdout);
}

double MillisecondsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

std::string Hex(const Bytes& bytes) { return testing::Hex(bytes); }

Bytes WritePattern() {
  Bytes pattern(kWriteLength);
  for (int i = 0; i < kWriteLength; ++i)
    pattern[i] = static_cast<std::uint8_t>(0x5A ^ (i * 37 + 11));
  return pattern;
}

// The memory after `write`: the image with the pattern at kWriteAddress.
Bytes AfterWrite(Bytes image) {
  const Bytes pattern = WritePattern();
  std::copy(pattern.begin(), pattern.end(), image.begin() + kWriteAddress);
  return image;
}

// The bus the commands talk to: the real one, or the simulated mouse.
struct Bus {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<SimulatedMouse> mouse;
  std::unique_ptr<HidBackend> backend;
  bool traced = false;  // print every feature transfer, as vrdkctl's --trace writes it
  std::unique_ptr<TracingBackend> tracing;
  std::unique_ptr<DeviceLink> link;
  std::string image;  // simulated: the image file to write back
  Bytes loaded;
};

std::unique_ptr<Bus> MakeBus(const std::string& simulate) {
  auto bus = std::make_unique<Bus>();
  if (simulate.empty()) {
    bus->clock = std::make_unique<SystemClock>();
    bus->backend = std::make_unique<HidrawBackend>();
  } else {
    const auto loaded = LoadMemoryImage(simulate, std::nullopt);
    if (!loaded.ok()) {
      std::fprintf(stderr, "vrdk-vm-check: %s\n", loaded.message().c_str());
      return nullptr;
    }
    const MemoryImage* image = &loaded.value();
    bus->clock = std::make_unique<CountingClock>();
    SimulatedMouseConfig config;
    config.memory_type = image->type;
    config.memory = image->bytes;
    config.collections = VirtualMouseCollections();
    bus->mouse = std::make_unique<SimulatedMouse>(*bus->clock, config);
    bus->mouse->SetRecording(false);
    auto backend = std::make_unique<SimulatedBackend>(bus->mouse.get());
    backend->AddDevice(KeyboardAsSimulatedDevice());
    bus->backend = std::move(backend);
    bus->image = simulate;
    bus->loaded = image->bytes;
  }
  Bus* traced_bus = bus.get();
  bus->tracing =
      std::make_unique<TracingBackend>(*bus->backend, [traced_bus](std::string_view line) {
        if (traced_bus->traced) std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
      });
  bus->link = std::make_unique<DeviceLink>(*bus->tracing, *bus->clock);
  return bus;
}

void SaveSimulated(Bus& bus) {
  if (!bus.mouse || bus.mouse->Memory() == bus.loaded) return;
  if (const auto saved = SaveMemoryImage(bus.image, bus.mouse->Memory()); !saved.ok()) {
    std::fprintf(stderr, "vrdk-vm-check: %s\n", saved.message().c_str());
    ++failures;
  }
}

std::optional<Bytes> ReadImage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  Bytes bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() < static_cast<std::size_t>(kFullRead)) return std::nullopt;
  return bytes;
}

bool Open(Bus& bus) {
  const bool found = bus.link->OpenDevice(kVendorId, kProductId) && bus.link->IsOpen();
  Check(found, "OpenDevice finds the mouse", bus.backend->LastError());
  return found;
}

// The device information answer, or nothing when the command failed.
std::optional<DeviceLink::ResponseBytes> DeviceInfo(Bus& bus) {
  if (!bus.link->SendCommand(command::kDeviceInfo)) return std::nullopt;
  bus.link->ReadResponse();
  return bus.link->ResponseData();
}

bool MouseListed(HidBackend& backend) {
  for (const auto& path : backend.ListInterfaces()) {
    const HidHandle handle = backend.Open(path, HidAccess::kNone);
    if (handle == kInvalidHandle) continue;
    const auto attributes = backend.GetAttributes(handle);
    backend.Close(handle);
    if (attributes && attributes->vendor_id == kVendorId && attributes->product_id == kProductId) {
      return true;
    }
  }
  return false;
}

// Waits until the mouse is listed (or not); the milliseconds it took.
std::optional<double> WaitListed(HidBackend& backend, bool listed, std::chrono::seconds limit) {
  const auto start = SteadyClock::now();
  while (SteadyClock::now() - start < limit) {
    if (MouseListed(backend) == listed) return MillisecondsSince(start);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return std::nullopt;
}

// Runs work on a thread and waits at most `limit` for it. A hang is fatal:
// the program reports it and ends, since the thread cannot be taken back.
void Bounded(const std::string& what, std::chrono::seconds limit, std::function<void()> work) {
  std::mutex mutex;
  std::condition_variable done_signal;
  bool done = false;
  std::thread thread([&] {
    work();
    std::lock_guard lock(mutex);
    done = true;
    done_signal.notify_all();
  });
  std::unique_lock lock(mutex);
  if (!done_signal.wait_for(lock, limit, [&] { return done; })) {
    Check(false, what, "no answer after " + std::to_string(limit.count()) + " s");
    std::fflush(stdout);
    std::_Exit(1);
  }
  lock.unlock();
  thread.join();
}

// composite: the mouse is one node with a mouse, a consumer-control and the
// vendor collection; only the vendor collection has 8-byte feature reports.
void List(Bus& bus, bool keyboard, bool composite) {
  int mice = 0;
  int others = 0;
  int listed = 0;
  for (const auto& path : bus.backend->ListInterfaces()) {
    const HidHandle handle = bus.backend->Open(path, HidAccess::kNone);
    if (handle == kInvalidHandle) continue;
    ++listed;
    const auto attributes = bus.backend->GetAttributes(handle);
    const auto caps = bus.backend->GetCaps(handle);
    bus.backend->Close(handle);
    if (!attributes || !caps) {
      Note(path + ": no ids or no usable report descriptor");
      continue;
    }
    char line[160];
    std::snprintf(line, sizeof line, "%s %04X:%04X feature %u input %u output %u", path.c_str(),
                  attributes->vendor_id, attributes->product_id, caps->feature_report_byte_length,
                  caps->input_report_byte_length, caps->output_report_byte_length);
    Note(line);
    const bool mouse = attributes->vendor_id == kVendorId && attributes->product_id == kProductId;
    if (mouse && caps->feature_report_byte_length != kReportLength) {
      Check(composite, "only the vendor collection of a composite mouse lacks 8-byte features",
            line);
    } else if (mouse) {
      ++mice;
      Check(caps->feature_report_byte_length == kReportLength &&
                caps->input_report_byte_length == kReportLength,
            "the mouse has 8-byte feature and input reports", line);
    } else {
      ++others;
      Check(caps->feature_report_byte_length != kReportLength,
            "the other device has another feature report length", line);
    }
  }
  Check(mice == 1, "the mouse's vendor collection is listed once", std::to_string(mice) + " times");
  if (composite) {
    Check(listed == 3 + (keyboard ? 1 : 0), "each collection of the composite mouse is listed",
          std::to_string(listed) + " interfaces");
  }
  Check(others == (keyboard ? 1 : 0), "the unrelated devices are listed",
        std::to_string(others) + " found");
  Check(bus.link->CountHidInterfaces() == listed, "CountHidInterfaces counts every interface");
}

void Info(Bus& bus, const std::string& memory_type) {
  if (!Open(bus)) return;
  Check(bus.link->FeatureReportLength() == kReportLength && bus.link->InputReportLength() == 8,
        "the report lengths come from the report descriptor");
  const auto answer = DeviceInfo(bus);
  Check(answer.has_value(), "the device information command is accepted");
  if (!answer) return;
  Note("device information: " + Hex(Bytes(answer->begin(), answer->end())));
  const auto type = MemoryTypeFromDeviceInfo((*answer)[2]);
  Check((*answer)[0] >= kDeviceInfoMinimum && (*answer)[1] == kDeviceInfoMarker,
        "the device information answer is valid");
  Check(type && MemoryTypeName(*type) == memory_type,
        "the device information names memory type " + memory_type);
}

void Read(Bus& bus, const Bytes& image) {
  if (!Open(bus)) return;
  constexpr int kReads = 3;
  for (int i = 0; i < kReads; ++i) {
    Bytes memory(kFullRead, 0);
    const auto start = SteadyClock::now();
    const bool ok = bus.link->ReadMemory(0, kFullRead, memory);
    const double ms = MillisecondsSince(start);
    // DeviceLink waits kResponseWait after every response; the rest is the
    // kernel's path through hidraw and uhid to the virtual mouse and back.
    const double waited = kFullReadChunks * DeviceLink::kResponseWait.count() / 1000.0;
    char line[160];
    std::snprintf(line, sizeof line,
                  "full read of %d bytes: %d responses in %.1f ms (%.1f ms of it the wait after "
                  "each response)",
                  kFullRead, kFullReadChunks, ms, waited);
    Note(line);
    Check(ok && std::equal(memory.begin(), memory.end(), image.begin()),
          "full read " + std::to_string(i + 1) + " equals the image file");
  }
}

void Write(Bus& bus, const Bytes& image) {
  if (!Open(bus)) return;
  const Bytes pattern = WritePattern();
  Check(bus.link->WriteMemory(kWriteAddress, kWriteLength, pattern), "WriteMemory is accepted");
  Bytes memory(kFullRead, 0);
  Check(bus.link->ReadMemory(0, kFullRead, memory), "ReadMemory after the write is accepted");
  const Bytes expected = AfterWrite(image);
  const auto block = memory.begin() + kWriteAddress;
  Check(std::equal(pattern.begin(), pattern.end(), block), "the written block reads back");
  Check(std::equal(memory.begin(), memory.end(), expected.begin()),
        "the bytes around the block are untouched");
}

void Saved(const std::string& path, const Bytes& image) {
  const auto saved = ReadImage(path);
  Check(saved && saved->size() == static_cast<std::size_t>(kFullRead),
        "the mouse left an \"I2C\" image in " + path);
  Check(saved && *saved == AfterWrite(image), "the saved image holds what was written");
}

void Input(Bus& bus, pid_t mouse) {
  if (!Open(bus)) return;
  std::vector<Bytes> reports;
  std::mutex mutex;
  std::thread reader([&] {
    for (int i = 0; i < 2; ++i) {
      Bytes report(8, 0);
      if (!bus.link->ReadInputReport(report)) return;
      std::lock_guard lock(mutex);
      reports.push_back(report);
    }
  });
  Check(::kill(mouse, SIGUSR1) == 0, "SIGUSR1 reaches the virtual mouse");
  const auto start = SteadyClock::now();
  for (;;) {
    {
      std::lock_guard lock(mutex);
      if (reports.size() == 2) break;
    }
    if (SteadyClock::now() - start > std::chrono::seconds(5)) {
      bus.backend->InterruptReads();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  reader.join();
  Check(reports.size() == 2, "two input reports arrive", std::to_string(reports.size()));
  if (reports.size() != 2) return;
  Note("input reports: " + Hex(reports[0]) + " / " + Hex(reports[1]));
  Check(reports[0][0] == kInputReportId && reports[0][3] == static_cast<int>(ButtonTest::kDpi),
        "the first says the DPI button");
  Check(reports[1][0] == kInputReportId && reports[1][3] == static_cast<int>(ButtonTest::kReleased),
        "the second says released");
}

void Restart(Bus& bus) {
  if (!Open(bus)) return;
  const auto start = SteadyClock::now();
  Check(bus.link->SendCommand(command::kRestart), "the restart command is accepted",
        bus.backend->LastError());
  const auto left = WaitListed(*bus.backend, false, std::chrono::seconds(3));
  Check(left.has_value(), "the mouse leaves the bus");
  const auto back = WaitListed(*bus.backend, true, std::chrono::seconds(10));
  const double away = MillisecondsSince(start);
  char line[120];
  std::snprintf(line, sizeof line, "left after %.1f ms, back after %.1f ms", left.value_or(-1),
                away);
  Note(line);
  const double restart_ms = static_cast<double>(SimulatedMouseConfig{}.restart_time.count());
  Check(back.has_value() && away >= restart_ms * 0.95, "it comes back after its restart time",
        line);
  Check(bus.link->OpenDevice(kVendorId, kProductId), "OpenDevice finds it again");
  const auto answer = DeviceInfo(bus);
  Check(answer && (*answer)[1] == kDeviceInfoMarker, "it answers the device information again");
}

void UnplugRead(Bus& bus, const Bytes& image, long unplug_at) {
  if (!Open(bus)) return;
  // The command is the transfer after the open's probes; response j follows it.
  const long failing_chunk = unplug_at - kOpenTransfers - 1;
  Bytes memory(kFullRead, 0);
  bool ok = false;
  const auto start = SteadyClock::now();
  Bounded("the read during the unplug ends", std::chrono::seconds(30),
          [&] { ok = bus.link->ReadMemory(0, kFullRead, memory); });
  char line[80];
  std::snprintf(line, sizeof line, "the read ended after %.1f ms", MillisecondsSince(start));
  Note(line);
  Check(ok, "ReadMemory still returns true (its command went through)");
  const auto cut = memory.begin() + std::clamp<long>(failing_chunk * 7, 0, kFullRead);
  Check(std::equal(memory.begin(), cut, image.begin()),
        "the chunks before the unplug hold the memory");
  Check(std::all_of(cut, memory.end(), [](std::uint8_t b) { return b == 0xFF; }),
        "every chunk from the unplug on is 0xFF", "chunk " + std::to_string(failing_chunk) + " on");
  // The kernel fails requests as soon as the device starts to go; its node
  // leaves the list a moment later.
  const auto gone = WaitListed(*bus.backend, false, std::chrono::seconds(3));
  Check(gone.has_value(), "the mouse leaves the interface list", "still there after 3 s");
  Check(!bus.link->OpenDevice(kVendorId, kProductId), "OpenDevice no longer finds the mouse");
}

void Dump(Bus& bus, bool trace) {
  if (!bus.link->OpenDevice(kVendorId, kProductId)) {
    std::printf("mouse not found\n");
    ++failures;
    return;
  }
  bus.traced = trace;
  const auto answer = DeviceInfo(bus);
  std::printf("device information: %s\n",
              answer ? Hex(Bytes(answer->begin(), answer->end())).c_str() : "failed");
  Bytes memory(kFullRead, 0);
  const bool ok = bus.link->ReadMemory(0, kFullRead, memory);
  bus.traced = false;
  std::printf("read: %s\n", ok ? "done" : "failed");
  for (int at = 0; at < kFullRead; at += 16) {
    std::printf("%04X: %s\n", at,
                Hex(Bytes(memory.begin() + at, memory.begin() + at + 16)).c_str());
  }
}

// What every idle DevTimer tick does, ten counts of the bus a tick: they all
// agree (whether they opened a node, the virtual mouse's log tells).
void Idle(Bus& bus, int ticks) {
  // A mouse just started may still be bringing up its second interface: the
  // bus is counted once it has stayed the same for 100 ms (3 s at most).
  int first = bus.link->CountHidInterfaces();
  for (int tries = 0; tries < 30; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int again = bus.link->CountHidInterfaces();
    if (again == first && first > 0) break;
    first = again;
  }
  bool same = first > 0;
  for (int count = 0; count < 10 * ticks; ++count)
    same = same && bus.link->CountHidInterfaces() == first;
  Check(same, "every count of the bus gives the same number", std::to_string(first));
}

int Usage(const char* why) {
  std::fprintf(stderr, "vrdk-vm-check: %s (see the comment at the top of vm_check.cc)\n", why);
  return 2;
}

}  // namespace
}  // namespace vrdk

int main(int argc, char** argv) {
  using namespace vrdk;
  std::map<std::string, std::string> options;
  std::string command;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!arg.starts_with("--")) {
      if (!command.empty()) return Usage("more than one command");
      command = arg;
      continue;
    }
    const auto equals = arg.find('=');
    options[arg.substr(2, equals - 2)] = equals == std::string::npos ? "" : arg.substr(equals + 1);
  }
  auto bus = MakeBus(options["simulate"]);
  if (!bus) return 2;
  std::optional<Bytes> image;
  if (options.contains("image")) {
    image = ReadImage(options["image"]);
    if (!image) return Usage("--image names no readable image");
  }
  const bool needs_image =
      command == "read" || command == "write" || command == "saved" || command == "unplug-read";
  if (needs_image && !image) return Usage("this command needs --image");

  if (command == "list") {
    List(*bus, options.contains("keyboard"), options.contains("composite"));
  } else if (command == "idle") {
    Idle(*bus, 3);
  } else if (command == "info") {
    Info(*bus, options["memory-type"]);
  } else if (command == "read") {
    Read(*bus, *image);
  } else if (command == "write") {
    Write(*bus, *image);
  } else if (command == "saved") {
    if (options["saved"].empty()) return Usage("saved needs --saved=FILE");
    Saved(options["saved"], *image);
  } else if (command == "input") {
    const long pid = std::strtol(options["signal"].c_str(), nullptr, 10);
    if (pid <= 0) return Usage("input needs --signal=PID");
    Input(*bus, static_cast<pid_t>(pid));
  } else if (command == "restart") {
    Restart(*bus);
  } else if (command == "unplug-read") {
    const long at = std::strtol(options["unplug-at"].c_str(), nullptr, 10);
    if (at <= kOpenTransfers) return Usage("unplug-read needs --unplug-at past the open");
    UnplugRead(*bus, *image, at);
  } else if (command == "dump") {
    Dump(*bus, options.contains("trace"));
  } else {
    return Usage(command.empty() ? "no command" : "unknown command");
  }
  bus->link.reset();
  SaveSimulated(*bus);
  return failures == 0 ? 0 : 1;
}
