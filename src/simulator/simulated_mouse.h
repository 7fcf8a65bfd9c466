// SimulatedMouse: a model of the mouse's firmware that answers the whole
// command set over its feature reports, for "I2C" (2048 bytes) and "Flash"
// (32 x 2048 bytes) memory. The in-process SimulatedBackend and the uhid
// virtual mouse both serve it; every test of the core runs against it.
//
// Firmware behaviour chosen for the model (the host side does not depend on
// any of it beyond what the protocol states):
// - Live settings (addresses 0..191) are loaded from memory at power-up
//   ("I2C": bytes 0..191; "Flash": Vendor section at 0x0000, User section at
//   0x2000). Each live write recomputes the checksum of the section it touched
//   (Vendor byte 163, User byte 191) and saves that section to memory, so a
//   live change survives a restart. Live bytes past 191 are not stored and
//   read back as 0xFF.
// - Memory addresses wrap at the memory's size.
// - A new command report cancels the answers and data still expected from
//   the previous one. A response read with nothing pending answers zeros; a
//   data report with no write pending is accepted and dropped.
// - A failed chunk (fault injection) still moves the device on by one chunk:
//   a failed response loses its 7 bytes, a failed data report leaves its 7
//   bytes of memory as they were.
// - Restart (0x0E) takes the mouse off the bus for restart_time on the clock;
//   it comes back freshly powered up, and handles opened before are dead.
//
// Thread-safe: the input listener reads input reports while the owner's
// thread does feature transfers.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hid/clock.h"
#include "hid/hid_backend.h"
#include "hid/protocol.h"
#include "image/memory_type.h"

namespace vrdk {

// One HID collection (one Windows interface) of the mouse.
struct SimulatedCollection {
  std::string name;
  HidCaps caps;
  bool takes_commands = false;  // accepts feature report 0x40
  bool answers = false;         // answers reads of feature report 0x41 and takes data reports
  bool sends_input = false;     // input reports 0x42 arrive here
};

// A boot-mouse collection (no feature reports), a keyboard collection with
// 8-byte feature reports that ignores the vendor reports, and the vendor
// collection that carries the protocol and the 0x42 input reports. Each rule
// of "the last one wins" sees more than one candidate.
std::vector<SimulatedCollection> StandardCollections();

struct SimulatedMouseConfig {
  MemoryType memory_type = MemoryType::kI2C;
  // The persistent memory; empty means factory memory for the type. Resized
  // to the memory type's size (missing bytes 0xFF).
  std::vector<std::uint8_t> memory;
  std::uint16_t vendor_id = 0x1BCF;
  std::uint16_t product_id = 0x08B8;
  // The device information answer; by default 40 3A and the memory type code.
  std::optional<std::array<std::uint8_t, kReportDataLength>> device_info;
  std::vector<SimulatedCollection> collections = StandardCollections();
  Milliseconds restart_time{2000};
  // Time each transfer takes on the clock (for benchmarks).
  Microseconds transfer_latency{0};
};

struct SimulatedFaults {
  int fail_command_report = -1;  // the Nth command report from now fails (0 = the next)
  bool fail_every_command = false;
  int fail_chunk = -1;           // after every command, this chunk (0 = first) fails
  long unplug_at_transfer = -1;  // the transfer with this number (see TransferCount) fails
                                 // and the mouse leaves the bus
  // Counted in transfer numbers: the first command reports, data reports, or
  // response reads from transfer N on fail, as many as the count says (once
  // by default). A failed data report or response still moves the device on
  // by one chunk (a lost answer).
  long fail_command_from = -1;
  long fail_data_report_from = -1;
  long drop_answer_from = -1;
  int fail_command_count = 1;
  int fail_data_report_count = 1;
  int drop_answer_count = 1;
  // Data reports from transfer N on that the mouse takes (the host sees them
  // go) but does not store: memory that did not keep what was written.
  long forget_data_report_from = -1;
  int forget_data_report_count = 1;
};

struct SimulatedTransfer {
  enum class Kind { kSetFeature, kGetFeature, kInput };
  Kind kind;
  int collection;
  std::array<std::uint8_t, kReportLength> bytes;  // the report as it crossed the bus
  std::uint8_t length;
  bool ok;
};

class SimulatedMouse {
 public:
  explicit SimulatedMouse(Clock& clock, SimulatedMouseConfig config = {});

  // The memory a new mouse of this type leaves the factory with: the first
  // shipped default image of the type.
  static std::vector<std::uint8_t> FactoryMemory(MemoryType type);

  // --- The bus side ---------------------------------------------------------
  const SimulatedMouseConfig& Config() const { return config_; }
  // On the bus now: plugged in and not restarting.
  bool Present();
  // Changes at every power-up; a handle opened in an older one is dead.
  std::uint64_t Generation();
  bool SetFeature(int collection, std::span<const std::uint8_t> report);
  bool GetFeature(int collection, std::span<std::uint8_t> report);
  // The next input report for this collection, if one is waiting.
  std::optional<std::vector<std::uint8_t>> TakeInputReport(int collection);
  // Called (outside the mouse's lock) whenever an input report is queued or
  // the mouse leaves or joins the bus, so a blocked reader can look again.
  void SetWakeUp(std::function<void()> wake_up);

  // --- The test side ---------------------------------------------------------
  void Unplug();
  void Plug();
  // Queues the input report of a button test: 42 00 00 code 00 ...
  void PressButton(ButtonTest code);
  // The profile button pressed and released: the firmware moves to the next
  // profile (User byte 0, low nibble 0 -> 1 -> 2 -> 0), saves it, and reports
  // the press and the release.
  void PressProfileButton();
  void SetFaults(const SimulatedFaults& faults);
  // Number of feature transfers so far (the next one has this number).
  long TransferCount() const;
  std::vector<SimulatedTransfer> Transcript() const;
  void ClearTranscript();
  void SetRecording(bool on);
  std::vector<std::uint8_t> Memory() const;
  void SetMemory(std::span<const std::uint8_t> memory);
  // The live settings (after a restart that is due, the reloaded ones).
  std::array<std::uint8_t, kLiveSize> Live();
  std::uint8_t XData(std::uint16_t address) const;
  int Restarts() const;

 private:
  enum class Source { kNone, kFixed, kLive, kMemory };

  bool Transfer(SimulatedTransfer::Kind kind, int collection, std::span<std::uint8_t> bytes,
                bool ok);
  bool Available(int collection);
  void RefreshLocked();
  void PowerUpLocked();
  bool NextChunkFailsLocked();
  // True for the first `count` transfers numbered `from` or later; then clears from.
  bool FailsFromLocked(long& from, int& count);
  void ExecuteLocked(std::span<const std::uint8_t> report);
  void WriteLiveLocked(int address, std::span<const std::uint8_t> data);
  void SaveLiveSectionLocked(bool vendor);
  void AnswerLocked(std::span<std::uint8_t> report);
  void DataReportLocked(std::span<const std::uint8_t> report);
  void UnplugLocked();
  void Wake();

  Clock& clock_;
  SimulatedMouseConfig config_;
  std::function<void()> wake_up_;

  mutable std::mutex mutex_;
  std::vector<std::uint8_t> memory_;
  std::array<std::uint8_t, kLiveSize> live_{};
  std::vector<std::uint8_t> xdata_;
  bool plugged_ = true;
  bool restarting_ = false;
  Microseconds back_at_{0};
  std::uint64_t generation_ = 1;
  int restarts_ = 0;

  SimulatedFaults faults_;
  long transfers_ = 0;
  int chunk_ = 0;  // chunks since the last command

  // What the last command left to answer or to receive.
  Source source_ = Source::kNone;
  std::size_t cursor_ = 0;
  int remaining_ = 0;
  std::array<std::uint8_t, kReportDataLength> fixed_answer_{};
  std::size_t write_cursor_ = 0;
  int write_remaining_ = 0;

  std::deque<std::vector<std::uint8_t>> input_;
  bool recording_ = true;
  std::vector<SimulatedTransfer> transcript_;
};

}  // namespace vrdk
