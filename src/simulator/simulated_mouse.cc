#include "simulator/simulated_mouse.h"

#include <algorithm>

#include "resources/resources.h"

namespace vrdk {
namespace {

constexpr std::size_t kVendorSize = 164;
constexpr std::size_t kUserSize = 28;
constexpr std::size_t kFlashUserAddress = 0x2000;

// The firmware's own copy of the section rule: the last byte is the 8-bit sum
// of the others XOR 0x5A.
std::uint8_t SectionChecksum(std::span<const std::uint8_t> section) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i + 1 < section.size(); ++i)
    sum = static_cast<std::uint8_t>(sum + section[i]);
  return static_cast<std::uint8_t>(sum ^ 0x5A);
}

}  // namespace

std::vector<SimulatedCollection> StandardCollections() {
  return {
      {"mouse", HidCaps{5, 0, 0}, false, false, false},
      {"keyboard", HidCaps{9, 2, 8}, false, false, false},
      {"vendor", HidCaps{8, 0, 8}, true, true, true},
  };
}

std::vector<std::uint8_t> SimulatedMouse::FactoryMemory(MemoryType type) {
  // The first shipped default image of the type.
  const char* name = type == MemoryType::kI2C ? "VRDK2280MData_Cfg1" : "VRDK2280MData_Flash_Cfg1";
  std::vector<std::uint8_t> memory(MemorySize(type), 0xFF);
  if (const auto image = resources::Find(name)) {
    std::copy_n(image->begin(), std::min(image->size(), memory.size()), memory.begin());
  }
  return memory;
}

SimulatedMouse::SimulatedMouse(Clock& clock, SimulatedMouseConfig config)
    : clock_(clock), config_(std::move(config)), xdata_(0x10000, 0) {
  memory_ = config_.memory.empty() ? FactoryMemory(config_.memory_type) : config_.memory;
  memory_.resize(MemorySize(config_.memory_type), 0xFF);
  config_.memory.clear();
  if (!config_.device_info) {
    config_.device_info = std::array<std::uint8_t, kReportDataLength>{
        kDeviceInfoMinimum, kDeviceInfoMarker, DeviceInfoCode(config_.memory_type)};
  }
  PowerUpLocked();
}

void SimulatedMouse::SetWakeUp(std::function<void()> wake_up) {
  std::lock_guard lock(mutex_);
  wake_up_ = std::move(wake_up);
}

void SimulatedMouse::Wake() {
  std::function<void()> wake_up;
  {
    std::lock_guard lock(mutex_);
    wake_up = wake_up_;
  }
  if (wake_up) wake_up();
}

void SimulatedMouse::PowerUpLocked() {
  ++generation_;
  source_ = Source::kNone;
  write_remaining_ = 0;
  chunk_ = 0;
  input_.clear();
  std::fill(xdata_.begin(), xdata_.end(), 0);
  const std::size_t user =
      config_.memory_type == MemoryType::kI2C ? kLiveUserAddress : kFlashUserAddress;
  std::copy_n(memory_.begin(), kVendorSize, live_.begin());
  std::copy_n(memory_.begin() + static_cast<std::ptrdiff_t>(user), kUserSize,
              live_.begin() + kLiveUserAddress);
}

void SimulatedMouse::RefreshLocked() {
  if (restarting_ && clock_.Now() >= back_at_) {
    restarting_ = false;
    PowerUpLocked();
  }
}

bool SimulatedMouse::Present() {
  bool came_back = false;
  {
    std::lock_guard lock(mutex_);
    const bool was_restarting = restarting_;
    RefreshLocked();
    came_back = was_restarting && !restarting_;
    if (!(plugged_ && !restarting_)) return false;
  }
  if (came_back) Wake();
  return true;
}

std::uint64_t SimulatedMouse::Generation() {
  std::lock_guard lock(mutex_);
  RefreshLocked();
  return generation_;
}

void SimulatedMouse::Unplug() {
  {
    std::lock_guard lock(mutex_);
    UnplugLocked();
  }
  Wake();
}

void SimulatedMouse::UnplugLocked() {
  plugged_ = false;
  ++generation_;
}

void SimulatedMouse::Plug() {
  {
    std::lock_guard lock(mutex_);
    if (plugged_) return;
    plugged_ = true;
    restarting_ = false;
    PowerUpLocked();
  }
  Wake();
}

bool SimulatedMouse::Available(int collection) {
  RefreshLocked();
  return plugged_ && !restarting_ && collection >= 0 &&
         static_cast<std::size_t>(collection) < config_.collections.size();
}

// Records one feature transfer and applies the unplug fault. Returns whether
// the transfer may go ahead.
bool SimulatedMouse::Transfer(SimulatedTransfer::Kind kind, int collection,
                              std::span<std::uint8_t> bytes, bool ok) {
  const long number = transfers_++;
  if (number == faults_.unplug_at_transfer) {
    UnplugLocked();
    ok = false;
  }
  if (recording_) {
    SimulatedTransfer entry{kind, collection, {}, 0, ok};
    entry.length = static_cast<std::uint8_t>(std::min(bytes.size(), kReportLength));
    std::copy_n(bytes.begin(), entry.length, entry.bytes.begin());
    transcript_.push_back(entry);
  }
  return ok;
}

bool SimulatedMouse::NextChunkFailsLocked() { return chunk_++ == faults_.fail_chunk; }

bool SimulatedMouse::FailsFromLocked(long& from, int& count) {
  if (from < 0 || transfers_ < from) return false;
  if (--count <= 0) from = -1;
  return true;
}

bool SimulatedMouse::SetFeature(int collection, std::span<const std::uint8_t> report) {
  if (config_.transfer_latency.count() > 0) clock_.Elapse(config_.transfer_latency);
  bool unplugged = false;
  bool ok = false;
  {
    std::lock_guard lock(mutex_);
    std::array<std::uint8_t, kReportLength> copy{};
    std::copy_n(report.begin(), std::min(report.size(), kReportLength), copy.begin());
    const bool available = Available(collection);
    const auto& target = available ? config_.collections[static_cast<std::size_t>(collection)]
                                   : SimulatedCollection{};
    const bool right_size =
        report.size() == kReportLength && target.caps.feature_report_byte_length == kReportLength;
    const std::uint8_t id = report.empty() ? 0 : report[0];
    ok = available && right_size &&
         ((id == kCommandReportId && target.takes_commands) ||
          (id == kResponseReportId && target.answers));
    bool command_fails = false;
    if (ok && id == kCommandReportId) {
      command_fails = faults_.fail_every_command || faults_.fail_command_report == 0 ||
                      FailsFromLocked(faults_.fail_command_from, faults_.fail_command_count);
      if (faults_.fail_command_report >= 0) --faults_.fail_command_report;
    }
    const bool chunk_fails =
        ok && id == kResponseReportId &&
        (NextChunkFailsLocked() || FailsFromLocked(faults_.fail_data_report_from, faults_.fail_data_report_count));
    ok = ok && !command_fails && !chunk_fails;
    const bool forgotten = ok && id == kResponseReportId && write_remaining_ > 0 &&
                           FailsFromLocked(faults_.forget_data_report_from,
                                           faults_.forget_data_report_count);
    const bool was_plugged = plugged_;
    ok = Transfer(SimulatedTransfer::Kind::kSetFeature, collection, copy, ok);
    unplugged = was_plugged && !plugged_;
    if (ok && id == kCommandReportId) ExecuteLocked(report);
    if (ok && id == kResponseReportId && !forgotten) DataReportLocked(report);
    if ((chunk_fails || (ok && forgotten)) && id == kResponseReportId && write_remaining_ > 0) {
      // The chunk is lost but the device counts it.
      const int bytes = std::min<int>(write_remaining_, kReportDataLength);
      write_cursor_ += static_cast<std::size_t>(bytes);
      write_remaining_ -= bytes;
    }
  }
  if (unplugged) Wake();
  return ok;
}

bool SimulatedMouse::GetFeature(int collection, std::span<std::uint8_t> report) {
  if (config_.transfer_latency.count() > 0) clock_.Elapse(config_.transfer_latency);
  bool unplugged = false;
  bool ok = false;
  {
    std::lock_guard lock(mutex_);
    const bool available = Available(collection);
    const bool asks_response = !report.empty() && report[0] == kResponseReportId;
    ok = available && asks_response && report.size() == kReportLength &&
         config_.collections[static_cast<std::size_t>(collection)].answers;
    std::array<std::uint8_t, kReportLength> answer{kResponseReportId};
    const bool chunk_fails =
        ok && (NextChunkFailsLocked() || FailsFromLocked(faults_.drop_answer_from, faults_.drop_answer_count));
    if (ok) AnswerLocked(answer);  // a failed chunk still moves the device on
    ok = ok && !chunk_fails;
    const bool was_plugged = plugged_;
    ok = Transfer(SimulatedTransfer::Kind::kGetFeature, collection, answer, ok);
    unplugged = was_plugged && !plugged_;
    if (ok) std::copy(answer.begin(), answer.end(), report.begin());
  }
  if (unplugged) Wake();
  return ok;
}

void SimulatedMouse::ExecuteLocked(std::span<const std::uint8_t> r) {
  source_ = Source::kNone;
  remaining_ = 0;
  write_remaining_ = 0;
  chunk_ = 0;
  const std::size_t address = static_cast<std::size_t>(r[2]) << 8 | r[3];
  const std::size_t length = static_cast<std::size_t>(r[4]) << 8 | r[5];
  switch (r[1]) {
    case command::kWriteXData:
      xdata_[address] = r[4];
      break;
    case command::kReadXData:
      fixed_answer_ = {xdata_[address]};
      source_ = Source::kFixed;
      remaining_ = 1;
      break;
    case command::kWriteLive: {
      const std::size_t count = r[2] == 0 ? std::clamp<std::size_t>(r[7], 0, 3) : 4;
      if (r[2] <= 1) WriteLiveLocked(r[3], r.subspan(4, count));
      break;
    }
    case command::kReadLive:
      source_ = Source::kLive;
      cursor_ = address;
      remaining_ = r[5];
      break;
    case command::kWriteMemory:
      write_cursor_ = address;
      write_remaining_ = static_cast<int>(length);
      break;
    case command::kReadMemory:
      source_ = Source::kMemory;
      cursor_ = address;
      remaining_ = static_cast<int>(length);
      break;
    case command::kDeviceInfo:
      fixed_answer_ = *config_.device_info;
      source_ = Source::kFixed;
      remaining_ = 1;
      break;
    case command::kRestart:
      restarting_ = true;
      back_at_ = clock_.Now() + std::chrono::duration_cast<Microseconds>(config_.restart_time);
      ++generation_;
      ++restarts_;
      break;
    default:
      break;  // unknown commands are accepted and ignored
  }
}

void SimulatedMouse::AnswerLocked(std::span<std::uint8_t> report) {
  std::fill(report.begin() + 1, report.end(), 0);
  if (remaining_ <= 0) return;
  if (source_ == Source::kFixed) {
    std::copy(fixed_answer_.begin(), fixed_answer_.end(), report.begin() + 1);
    remaining_ = 0;
    return;
  }
  const int bytes = std::min<int>(remaining_, kReportDataLength);
  for (int i = 0; i < bytes; ++i) {
    const std::size_t at = cursor_ + static_cast<std::size_t>(i);
    if (source_ == Source::kLive) {
      report[1 + static_cast<std::size_t>(i)] = at < kLiveSize ? live_[at] : 0xFF;
    } else {
      report[1 + static_cast<std::size_t>(i)] = memory_[at % memory_.size()];
    }
  }
  cursor_ += static_cast<std::size_t>(bytes);
  remaining_ -= bytes;
}

void SimulatedMouse::DataReportLocked(std::span<const std::uint8_t> report) {
  if (write_remaining_ <= 0) return;
  const int bytes = std::min<int>(write_remaining_, kReportDataLength);
  for (int i = 0; i < bytes; ++i) {
    memory_[(write_cursor_ + static_cast<std::size_t>(i)) % memory_.size()] =
        report[1 + static_cast<std::size_t>(i)];
  }
  write_cursor_ += static_cast<std::size_t>(bytes);
  write_remaining_ -= bytes;
}

void SimulatedMouse::WriteLiveLocked(int address, std::span<const std::uint8_t> data) {
  bool vendor = false;
  bool user = false;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const std::size_t at = static_cast<std::size_t>(address) + i;
    if (at >= kLiveSize) continue;
    live_[at] = data[i];
    (at < kVendorSize ? vendor : user) = true;
  }
  if (vendor) SaveLiveSectionLocked(true);
  if (user) SaveLiveSectionLocked(false);
}

void SimulatedMouse::SaveLiveSectionLocked(bool vendor) {
  const std::size_t start = vendor ? 0 : kLiveUserAddress;
  const std::size_t size = vendor ? kVendorSize : kUserSize;
  auto section = std::span(live_).subspan(start, size);
  section[size - 1] = SectionChecksum(section);
  std::size_t to = start;
  if (!vendor && config_.memory_type == MemoryType::kFlash) to = kFlashUserAddress;
  std::copy(section.begin(), section.end(), memory_.begin() + static_cast<std::ptrdiff_t>(to));
}

std::optional<std::vector<std::uint8_t>> SimulatedMouse::TakeInputReport(int collection) {
  std::lock_guard lock(mutex_);
  if (!Available(collection) ||
      !config_.collections[static_cast<std::size_t>(collection)].sends_input || input_.empty()) {
    return std::nullopt;
  }
  auto report = std::move(input_.front());
  input_.pop_front();
  if (recording_) {
    SimulatedTransfer entry{SimulatedTransfer::Kind::kInput, collection, {}, 0, true};
    entry.length = static_cast<std::uint8_t>(std::min(report.size(), kReportLength));
    std::copy_n(report.begin(), entry.length, entry.bytes.begin());
    transcript_.push_back(entry);
  }
  return report;
}

void SimulatedMouse::PressButton(ButtonTest code) {
  {
    std::lock_guard lock(mutex_);
    RefreshLocked();
    if (!plugged_ || restarting_) return;
    std::size_t length = kReportLength;
    for (const auto& collection : config_.collections) {
      if (collection.sends_input)
        length = std::max<std::size_t>(collection.caps.input_report_byte_length, 4);
    }
    std::vector<std::uint8_t> report(length, 0);
    report[0] = kInputReportId;
    report[3] = static_cast<std::uint8_t>(code);
    input_.push_back(std::move(report));
  }
  Wake();
}

void SimulatedMouse::PressProfileButton() {
  {
    std::lock_guard lock(mutex_);
    RefreshLocked();
    if (!plugged_ || restarting_) return;
    std::uint8_t& current = live_[kLiveUserAddress];
    const int next = ((current & 0x0F) + 1) % 3;
    current = static_cast<std::uint8_t>((current & 0xF0) | next);
    SaveLiveSectionLocked(false);
  }
  PressButton(ButtonTest::kProfile);
  PressButton(ButtonTest::kReleased);
}

void SimulatedMouse::SetFaults(const SimulatedFaults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
}

long SimulatedMouse::TransferCount() const {
  std::lock_guard lock(mutex_);
  return transfers_;
}

std::vector<SimulatedTransfer> SimulatedMouse::Transcript() const {
  std::lock_guard lock(mutex_);
  return transcript_;
}

void SimulatedMouse::ClearTranscript() {
  std::lock_guard lock(mutex_);
  transcript_.clear();
}

void SimulatedMouse::SetRecording(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
}

std::vector<std::uint8_t> SimulatedMouse::Memory() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

void SimulatedMouse::SetMemory(std::span<const std::uint8_t> memory) {
  std::lock_guard lock(mutex_);
  std::fill(memory_.begin(), memory_.end(), 0xFF);
  std::copy_n(memory.begin(), std::min(memory.size(), memory_.size()), memory_.begin());
}

std::array<std::uint8_t, kLiveSize> SimulatedMouse::Live() {
  std::lock_guard lock(mutex_);
  RefreshLocked();
  return live_;
}

std::uint8_t SimulatedMouse::XData(std::uint16_t address) const {
  std::lock_guard lock(mutex_);
  return xdata_[address];
}

int SimulatedMouse::Restarts() const {
  std::lock_guard lock(mutex_);
  return restarts_;
}

}  // namespace vrdk
