// The connection logic of the Session: noticing the mouse, identifying it,
// reading it whole, and falling back to the defaults while it is absent.

#include <algorithm>

#include "session/session.h"

namespace vrdk {
namespace {

constexpr std::string_view kMemoryTypeMismatch = "Str102";
constexpr std::string_view kCustomerCodesRejected = "Str107";
constexpr int kCountPairs = 5;
constexpr int kAgreeingPairsNeeded = 2;

}  // namespace

void Session::StartDevTimer() { connection_.dev_timer_enabled = true; }
void Session::StopDevTimer() { connection_.dev_timer_enabled = false; }

void Session::DevTimerTimer() {
  if (connection_.timer_busy) return;
  // A tick that comes while a transfer lets the window breathe waits for the
  // next one.
  const Operation operation(*this);
  if (!operation) return;
  connection_.timer_busy = true;

  // The count is trusted only when at least two of five pairs of counts agree;
  // it is the first count of the last pair.
  int agreeing = 0;
  int count = 0;
  for (int pair = 0; pair < kCountPairs; ++pair) {
    const int first = link_.CountHidInterfaces();
    const int second = link_.CountHidInterfaces();
    if (first == second) ++agreeing;
    count = first;
  }
  if (count != connection_.last_interface_count && agreeing >= kAgreeingPairsNeeded) {
    for (int step = 0; step < kSettleSteps; ++step) {
      clock_.Sleep(kStep);
      clock_.ProcessMessages();
    }
    for (const DeviceIds& ids : connection_.search_list) {
      if (ids.vendor_id == 0 || ids.product_id == 0) continue;
      if (OpenSearchEntry(ids)) {
        ReadDevInfo();
        break;
      }
      DeviceLost();
    }
    connection_.last_interface_count = count;
  }
  connection_.timer_busy = false;
}

bool Session::OpenSearchEntry(const DeviceIds& ids) {
  const bool found = link_.OpenDevice(ids.vendor_id, ids.product_id);
  NotifyInputHandleChanged();
  // The mouse is there but the user may not use it: as good as absent, and
  // the faces say how to get it.
  connection_.access_denied = found ? link_.Refused() : std::nullopt;
  if (connection_.access_denied) return false;
  if (found) SetState(ConnectionState::kOpening);
  return found;
}

void Session::ReFindDev() {
  const Operation operation(*this);
  if (!operation) return;
  link_.InvalidateHandles();
  NotifyInputHandleChanged();
  for (const DeviceIds& ids : connection_.search_list) {
    if (ids.vendor_id == 0 || ids.product_id == 0) {
      DeviceLost();
      continue;
    }
    if (OpenSearchEntry(ids)) {
      ReadDevInfo();
      return;
    }
  }
}

bool Session::CustomerCodesAccepted(std::uint8_t vendor_code, std::uint8_t product_code) const {
  const auto& expected = connection_.expected_customer_codes;
  const auto& reserved = connection_.reserved_customer_codes;
  return (vendor_code == expected[0] && product_code == expected[1]) ||
         (vendor_code == reserved[0] && product_code == reserved[1]);
}

void Session::ReadDevInfo() {
  const Operation operation(*this);
  if (!operation) return;
  if (!link_.SendCommand(command::kDeviceInfo)) return;
  link_.ReadResponse();
  const auto& answer = link_.ResponseData();
  if (answer[0] < kDeviceInfoMinimum || answer[1] != kDeviceInfoMarker) return;
  const auto type = MemoryTypeFromDeviceInfo(answer[2]);
  if (!type) return;
  connection_.device_memory_type = *type;
  if (*type != connection_.image_memory_type) {
    events_.ShowMessage(kMemoryTypeMismatch);
    RefreshErrorAP();
    // The no-device state knows no mouse: nothing may be written to this one
    // with the maps of the other memory type.
    connection_.device_memory_type.reset();
    SetState(ConnectionState::kNoDevice);
    return;
  }
  auto& fire = connection_.device_fire_section;
  const int address =
      static_cast<int>(*type == MemoryType::kI2C ? image::i2c::kFire : image::flash::kFire);
  link_.ReadMemory(address, static_cast<int>(fire.size()), fire);
  connection_.read_customer_codes = std::array<std::uint8_t, 2>{fire[0], fire[1]};
  if (CustomerCodesAccepted(fire[0], fire[1])) {
    Btn_Read();
    return;
  }
  // Not this build's mouse: it stays open but is not read.
  SetState(ConnectionState::kRejected);
  StopDevTimer();
  events_.ShowMessage(kCustomerCodesRejected);
  StartDevTimer();
}

ReadResult Session::Btn_Read() {
  const Operation operation(*this);
  if (!operation) return ReadResult::kRefused;
  connection_.loading = true;
  connection_.lost_during_read = false;
  StopDevTimer();
  events_.ShowPageCovers(true);
  events_.ShowLoading(0, 1);
  clock_.ProcessMessages();
  if (macro_observer_ != nullptr) macro_observer_->MacroListsCleared();
  SetState(ConnectionState::kReading);

  const MemoryType type = connection_.image_memory_type;
  const std::uint64_t failed_before = link_.FailedTransfers();
  const int pages = type == MemoryType::kI2C ? 1 : static_cast<int>(image::flash::kPages);
  bool sent = true;
  for (int page = 0; page < pages; ++page) {
    loading_adapter_.SetPart(page, pages);
    const auto offset = static_cast<std::size_t>(page) * kPageSize;
    sent = link_.ReadMemoryShowingProgress(static_cast<int>(offset), static_cast<int>(kPageSize),
                                           std::span(working_image_).subspan(offset, kPageSize)) &&
           sent;
  }
  loading_adapter_.SetPart(0, 1);
  const bool damaged = !sent || link_.FailedTransfers() != failed_before;
  // Reports lost on the way are left to the section checks, unless the mouse
  // itself is gone: then what was read is not the mouse's, and the window
  // falls back to the no-device state at once instead of at the next tick.
  if (damaged && !link_.SendCommand(command::kDeviceInfo)) {
    events_.HideLoading();
    connection_.loading = false;
    connection_.lost_during_read = true;
    DeviceLost();
    StartDevTimer();
    return ReadResult::kLost;
  }
  FillFromWorkingImage();

  DataBufToUI();
  ShowMainPage();
  for (const auto& follow : read_followers_) follow();
  events_.HideLoading();
  clock_.ProcessMessages();
  StartDevTimer();
  events_.ShowPageCovers(false);
  connection_.loading = false;
  SetState(ConnectionState::kConnected);
  return damaged ? ReadResult::kDamaged : ReadResult::kComplete;
}

void Session::ShowMainPage() {
  pages_.no_device_shown = false;
  pages_.shown_page = 1;  // the key page of the selected mode: rb_1, rb_2 or rb_3
}

void Session::InitNoDevice() {
  connection_.loading = true;
  if (macro_observer_ != nullptr) macro_observer_->MacroListsCleared();
  working_image_ = defaults_.WorkingImage(1);
  FillFromWorkingImage();
  DataBufToUI();
  connection_.loading = false;
}

void Session::RefreshErrorAP() {
  InitNoDevice();
  pages_.no_device_shown = true;
  pages_.mode_page = 1;
  pages_.shown_page = 1;
  events_.RefreshPages();
}

void Session::DeviceLost() {
  // The mouse is gone: nothing may reach its handles any more, whatever
  // asks before the next search.
  link_.InvalidateHandles();
  NotifyInputHandleChanged();
  clock_.ProcessMessages();
  RefreshErrorAP();
  if (macro_observer_ != nullptr) macro_observer_->MacroListsCleared();
  connection_.device_memory_type.reset();
  connection_.read_customer_codes.reset();
  pages_.last_polling_rate_sent.reset();
  pages_.polling_rate_changed = false;
  events_.ShowPageCovers(true);
  SetState(ConnectionState::kNoDevice);
}

void Session::RestartDevice() {
  const Operation operation(*this);
  if (!operation) return;
  StopDevTimer();
  clock_.Sleep(kBeforeRestart);
  link_.SendCommand(command::kRestart);
  DeviceLost();
  clock_.ProcessMessages();
  for (int step = 0; step < kRestartSteps; ++step) {
    clock_.Sleep(kStep);
    clock_.ProcessMessages();
  }
  ReFindDev();
  // A successful read starts the timer again; when the mouse did not come
  // back, keep looking for it.
  StartDevTimer();
}

bool Session::RefreshProfileParameter() {
  std::array<std::uint8_t, image::kUserSize> user{};
  const std::uint64_t failed_before = link_.FailedTransfers();
  // One lost answer would put 0xFF into the User bytes and from there into
  // the next profile reload: DataBuf keeps what it had unless all arrived.
  if (!link_.ReadLive(static_cast<int>(kLiveUserAddress), static_cast<int>(user.size()), user) ||
      link_.FailedTransfers() != failed_before) {
    return false;
  }
  std::copy(user.begin(), user.end(), image::User(buffers_.data_buf).begin());
  return true;
}

}  // namespace vrdk
