#include "simulator/simulated_backend.h"

#include <algorithm>

namespace vrdk {
namespace {

constexpr std::string_view kMousePrefix = "sim:mouse/";
constexpr std::string_view kDevicePrefix = "sim:device/";

std::optional<int> NumberAfter(std::string_view path, std::string_view prefix) {
  if (!path.starts_with(prefix)) return std::nullopt;
  path.remove_prefix(prefix.size());
  if (path.empty() || path.size() > 6) return std::nullopt;
  int value = 0;
  for (char c : path) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

// Locking: the backend never holds its lock while it calls into the mouse,
// because the mouse's wake-up call takes that lock.
SimulatedBackend::SimulatedBackend(SimulatedMouse* mouse) : mouse_(mouse) {
  if (mouse_ != nullptr) mouse_->SetWakeUp([this] { WakeReaders(); });
}

SimulatedBackend::~SimulatedBackend() {
  if (mouse_ != nullptr) mouse_->SetWakeUp(nullptr);
}

void SimulatedBackend::WakeReaders() {
  {
    std::lock_guard lock(mutex_);
    ++wake_ups_;
  }
  input_ready_.notify_all();
}

int SimulatedBackend::AddDevice(SimulatedHidDevice device) {
  std::lock_guard lock(mutex_);
  devices_.emplace(next_device_, std::move(device));
  return next_device_++;
}

void SimulatedBackend::RemoveDevice(int id) {
  {
    std::lock_guard lock(mutex_);
    devices_.erase(id);
  }
  WakeReaders();
}

std::vector<std::string> SimulatedBackend::ListInterfaces() {
  std::vector<std::string> paths;
  if (mouse_ != nullptr && mouse_->Present()) {
    for (std::size_t i = 0; i < mouse_->Config().collections.size(); ++i) {
      paths.push_back(std::string(kMousePrefix) + std::to_string(i));
    }
  }
  std::lock_guard lock(mutex_);
  for (const auto& [id, device] : devices_) {
    paths.push_back(std::string(kDevicePrefix) + std::to_string(id));
  }
  return paths;
}

std::optional<SimulatedBackend::Target> SimulatedBackend::Resolve(const std::string& path) {
  if (auto collection = NumberAfter(path, kMousePrefix)) {
    if (mouse_ == nullptr || !mouse_->Present() ||
        static_cast<std::size_t>(*collection) >= mouse_->Config().collections.size()) {
      return std::nullopt;
    }
    return Target{true, *collection};
  }
  if (auto id = NumberAfter(path, kDevicePrefix)) {
    std::lock_guard lock(mutex_);
    const auto it = devices_.find(*id);
    if (it == devices_.end() || !it->second.can_open) return std::nullopt;
    return Target{false, *id};
  }
  return std::nullopt;
}

HidHandle SimulatedBackend::Open(const std::string& path, HidAccess access) {
  const auto target = Resolve(path);
  if (!target) {
    Fail("open " + path + ": no such device");
    return kInvalidHandle;
  }
  const std::uint64_t generation = target->mouse ? mouse_->Generation() : 0;
  if (target->mouse && access == HidAccess::kReadWrite && mouse_access_denied_) {
    Fail("open " + path + ": Permission denied", true);
    return kInvalidHandle;
  }
  std::lock_guard lock(mutex_);
  const HidHandle handle = next_handle_++;
  handles_.emplace(handle, OpenEntry{*target, generation, access});
  return handle;
}

void SimulatedBackend::Close(HidHandle handle) {
  {
    std::lock_guard lock(mutex_);
    handles_.erase(handle);
  }
  WakeReaders();
}

std::optional<SimulatedBackend::OpenEntry> SimulatedBackend::Live(HidHandle handle) {
  OpenEntry entry;
  {
    std::lock_guard lock(mutex_);
    const auto it = handles_.find(handle);
    if (it == handles_.end()) {
      last_error_ = "invalid handle";
      last_access_denied_ = false;
      return std::nullopt;
    }
    entry = it->second;
    if (!entry.target.mouse) {
      if (devices_.contains(entry.target.index)) return entry;
      last_error_ = "device removed";
      last_access_denied_ = false;
      return std::nullopt;
    }
  }
  if (mouse_->Present() && mouse_->Generation() == entry.generation) return entry;
  Fail("device removed");
  return std::nullopt;
}

std::optional<HidAttributes> SimulatedBackend::GetAttributes(HidHandle handle) {
  const auto entry = Live(handle);
  if (!entry) return std::nullopt;
  if (entry->target.mouse) {
    return HidAttributes{mouse_->Config().vendor_id, mouse_->Config().product_id, 0x0100};
  }
  std::lock_guard lock(mutex_);
  const auto& device = devices_.at(entry->target.index);
  return HidAttributes{device.vendor_id, device.product_id, 0x0100};
}

std::optional<HidCaps> SimulatedBackend::GetCaps(HidHandle handle) {
  const auto entry = Live(handle);
  if (!entry) return std::nullopt;
  if (entry->target.mouse) {
    return mouse_->Config().collections[static_cast<std::size_t>(entry->target.index)].caps;
  }
  std::lock_guard lock(mutex_);
  return devices_.at(entry->target.index).caps;
}

bool SimulatedBackend::Denied(const OpenEntry& entry) const {
  if (!entry.target.mouse || !mouse_access_denied_) return false;
  Fail("open sim:mouse/" + std::to_string(entry.target.index) + ": Permission denied", true);
  return true;
}

bool SimulatedBackend::SetFeature(HidHandle handle, std::span<const std::uint8_t> report) {
  const auto entry = Live(handle);
  if (!entry || Denied(*entry)) return false;
  if (entry->target.mouse && mouse_->SetFeature(entry->target.index, report)) return true;
  Fail("set feature: broken pipe");
  return false;
}

bool SimulatedBackend::GetFeature(HidHandle handle, std::span<std::uint8_t> report) {
  const auto entry = Live(handle);
  if (!entry || Denied(*entry)) return false;
  if (entry->target.mouse && mouse_->GetFeature(entry->target.index, report)) return true;
  Fail("get feature: broken pipe");
  return false;
}

bool SimulatedBackend::ReadInput(HidHandle handle, std::span<std::uint8_t> report) {
  for (;;) {
    std::uint64_t seen = 0;
    {
      std::lock_guard lock(mutex_);
      if (interrupted_) return false;
      seen = wake_ups_;
    }
    const auto entry = Live(handle);
    if (!entry || entry->access != HidAccess::kReadWrite) return false;
    if (entry->target.mouse) {
      if (auto input = mouse_->TakeInputReport(entry->target.index)) {
        std::fill(report.begin(), report.end(), 0);
        std::copy_n(input->begin(), std::min(input->size(), report.size()), report.begin());
        return true;
      }
    }
    std::unique_lock lock(mutex_);
    input_ready_.wait(lock, [&] { return interrupted_ || wake_ups_ != seen; });
  }
}

void SimulatedBackend::InterruptReads() {
  {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  WakeReaders();
}

std::string SimulatedBackend::LastError() const {
  std::lock_guard lock(mutex_);
  return last_error_;
}

void SimulatedBackend::Fail(std::string message, bool access_denied) const {
  std::lock_guard lock(mutex_);
  last_error_ = std::move(message);
  last_access_denied_ = access_denied;
}

bool SimulatedBackend::LastErrorWasAccessDenied() const {
  std::lock_guard lock(mutex_);
  return last_access_denied_;
}

void SimulatedBackend::SetMouseAccessDenied(bool denied) { mouse_access_denied_ = denied; }

int SimulatedBackend::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

}  // namespace vrdk
