#include "virtual_mouse/virtual_mouse.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "virtual_mouse/hid_devices.h"

namespace vrdk {
namespace {

// The firmware's protocol lives in the vendor collection, the mouse's last;
// every feature report of the device goes there.
int VendorCollection(const SimulatedMouse& mouse) {
  return std::max(static_cast<int>(mouse.Config().collections.size()) - 1, 0);
}
// Events answered in one go before the other files get their turn.
constexpr int kEventsPerTurn = 64;

std::string IdText(std::uint16_t vendor_id, std::uint16_t product_id) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X:%04X", vendor_id, product_id);
  return text;
}

}  // namespace

class VirtualMouse::MouseHandler : public UhidReportHandler {
 public:
  MouseHandler(SimulatedMouse& mouse, std::function<void()> wrote)
      : mouse_(mouse), wrote_(std::move(wrote)) {}

  std::optional<std::size_t> GetReport(UhidReportType type, std::uint8_t number,
                                       std::span<std::uint8_t, kUhidDataMax> report) override {
    const auto& collections = mouse_.Config().collections;
    if (type != UhidReportType::kFeature || collections.empty()) return std::nullopt;
    const int vendor = VendorCollection(mouse_);
    const std::size_t length = std::min<std::size_t>(
        collections[static_cast<std::size_t>(vendor)].caps.feature_report_byte_length,
        kUhidDataMax);
    if (length == 0) return std::nullopt;
    std::fill_n(report.begin(), length, 0);
    report[0] = number;
    if (!mouse_.GetFeature(vendor, report.first(length))) return std::nullopt;
    return length;
  }

  bool SetReport(UhidReportType type, std::uint8_t /*number*/,
                 std::span<const std::uint8_t> data) override {
    if (type != UhidReportType::kFeature) return false;
    const bool ok = mouse_.SetFeature(VendorCollection(mouse_), data);
    if (ok) wrote_();
    return ok;
  }

 private:
  SimulatedMouse& mouse_;
  std::function<void()> wrote_;
};

// An unrelated device: it has no feature report to give or take.
class VirtualMouse::KeyboardHandler : public UhidReportHandler {
 public:
  std::optional<std::size_t> GetReport(UhidReportType, std::uint8_t,
                                       std::span<std::uint8_t, kUhidDataMax>) override {
    return std::nullopt;
  }
  bool SetReport(UhidReportType, std::uint8_t, std::span<const std::uint8_t>) override {
    return false;
  }
};

VirtualMouse::VirtualMouse(SimulatedMouse& mouse, Clock& clock, UhidDevice mouse_device,
                           std::optional<UhidDevice> keyboard, Saver saver,
                           std::vector<std::uint8_t> saved, Logger log, MouseLayout layout)
    : mouse_(mouse),
      clock_(clock),
      mouse_device_(std::move(mouse_device)),
      keyboard_(std::move(keyboard)),
      saver_(std::move(saver)),
      saved_(std::move(saved)),
      log_(std::move(log)),
      layout_(layout),
      mouse_handler_(std::make_unique<MouseHandler>(mouse,
                                                    [this] {
                                                      save_due_ = true;
                                                      last_write_ = clock_.Now();
                                                    })),
      keyboard_handler_(std::make_unique<KeyboardHandler>()) {
  if (!log_) log_ = [](std::string_view) {};
}

VirtualMouse::~VirtualMouse() = default;

bool VirtualMouse::Start() {
  if (keyboard_ && !keyboard_->Created()) {
    if (!keyboard_->Create({"VRDK virtual keyboard", kKeyboardVendorId, kKeyboardProductId, 0x0100,
                            KeyboardReportDescriptor()})) {
      log_("cannot put the keyboard on the bus: " + keyboard_->LastError());
      return false;
    }
    log_("keyboard " + IdText(kKeyboardVendorId, kKeyboardProductId) + " on the bus");
  }
  Sync();
  return !broken_;
}

void VirtualMouse::Sync() {
  if (const int restarts = mouse_.Restarts(); restarts != restarts_seen_) {
    restarts_seen_ = restarts;
    leave_at_ = clock_.Now() + std::chrono::duration_cast<Microseconds>(kRestartLeaveDelay);
  }
  const bool leave_due = leave_at_ && clock_.Now() >= *leave_at_;
  if (leave_due) leave_at_.reset();
  const bool present = mouse_.Present();
  if (mouse_device_.Created() && (leave_due || (!present && !leave_at_))) {
    mouse_device_.Destroy();
    log_("mouse off the bus");
    SaveIfChanged();
  }
  if (present && !mouse_device_.Created() && !stopped_ && !broken_) {
    const auto& config = mouse_.Config();
    if (mouse_device_.Create({"VRDK virtual mouse", config.vendor_id, config.product_id, 0x0100,
                              MouseReportDescriptor(layout_)})) {
      log_("mouse " + IdText(config.vendor_id, config.product_id) + " on the bus");
    } else {
      broken_ = true;
      log_("cannot put the mouse on the bus: " + mouse_device_.LastError());
    }
  }
  if (mouse_device_.Created()) {
    while (auto report = mouse_.TakeInputReport(VendorCollection(mouse_))) {
      if (!mouse_device_.SendInput(*report)) log_(mouse_device_.LastError());
    }
  }
  if (save_due_ && clock_.Now() - last_write_ >= kSaveQuiet) SaveIfChanged();
}

void VirtualMouse::SaveIfChanged() {
  save_due_ = false;
  if (!saver_) return;
  auto memory = mouse_.Memory();
  if (memory == saved_) return;
  if (saver_(memory)) saved_ = std::move(memory);
}

int VirtualMouse::WaitLimitMs(Milliseconds longest_wait) const {
  auto wait = longest_wait;
  if (!mouse_device_.Created() && !stopped_ && !broken_)
    wait = std::min(wait, Milliseconds(kAwayPoll));
  if (leave_at_) {
    const auto left = std::chrono::ceil<Milliseconds>(*leave_at_ - clock_.Now());
    wait = std::min(wait, std::max(left, Milliseconds(0)));
  }
  if (save_due_) {
    const auto left = std::chrono::ceil<Milliseconds>(kSaveQuiet - (clock_.Now() - last_write_));
    wait = std::min(wait, std::max(left, Milliseconds(0)));
  }
  if (wait.count() >= INT_MAX) return -1;
  return static_cast<int>(std::max<Milliseconds::rep>(wait.count(), 0));
}

bool VirtualMouse::HandleWaiting(UhidDevice& device, UhidReportHandler& handler) {
  for (int i = 0; i < kEventsPerTurn; ++i) {
    const auto event = device.HandleEvent(handler);
    if (event == UhidDevice::Event::kNone) return true;
    if (event == UhidDevice::Event::kClosed) {
      log_(device.LastError());
      return false;
    }
    if (event == UhidDevice::Event::kOpened && &device == &mouse_device_) {
      log_("mouse opened by a reader");
    }
    Sync();  // a restart or an unplug takes effect before the next request
  }
  return true;
}

bool VirtualMouse::Turn(Milliseconds longest_wait, int wake_fd, bool* woken) {
  *woken = false;
  if (broken_) return false;
  pollfd fds[3];
  nfds_t count = 0;
  fds[count++] = {mouse_device_.Fd(), POLLIN, 0};
  if (keyboard_) fds[count++] = {keyboard_->Fd(), POLLIN, 0};
  if (wake_fd >= 0) fds[count++] = {wake_fd, POLLIN, 0};
  const int ready = ::poll(fds, count, WaitLimitMs(longest_wait));
  if (ready < 0 && errno != EINTR) {
    log_(std::string("poll: ") + std::strerror(errno));
    return false;
  }
  bool ok = true;
  if (ready > 0) {
    if (fds[0].revents != 0) ok = HandleWaiting(mouse_device_, *mouse_handler_) && ok;
    if (keyboard_ && fds[1].revents != 0) ok = HandleWaiting(*keyboard_, *keyboard_handler_) && ok;
    *woken = wake_fd >= 0 && fds[count - 1].revents != 0;
  }
  Sync();
  return ok && !broken_;
}

void VirtualMouse::Stop() {
  stopped_ = true;
  if (mouse_device_.Created()) {
    mouse_device_.Destroy();
    log_("mouse off the bus");
  }
  if (keyboard_ && keyboard_->Created()) keyboard_->Destroy();
  SaveIfChanged();
}

}  // namespace vrdk
