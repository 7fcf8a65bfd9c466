// The connection logic of the Session: noticing the mouse, identifying it,
// reading it whole, and falling back to the defaults while it is absent.

#include <algorithm>
#include <utility>

#include "image/checksum.h"
#include "image/fields.h"
#include "image/regions.h"
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
  const bool changed = count != connection_.last_interface_count;
  if ((changed || connection_.search_again) && agreeing >= kAgreeingPairsNeeded) {
    connection_.search_again = false;
    // The settle is for a mouse that has just arrived; one read again after
    // a failed read or write is there already, and so is one that was on
    // the bus before the program started.
    const bool arrived =
        changed && (connection_.ticked || link_.Backend().ArrivedWithin(kStep * kSettleSteps));
    for (int step = 0; arrived && step < kSettleSteps; ++step) {
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
  connection_.ticked = true;
  connection_.timer_busy = false;
}

bool Session::OpenSearchEntry(const DeviceIds& ids) {
  const bool found = link_.OpenDevice(ids.vendor_id, ids.product_id);
  NotifyInputHandleChanged();
  // The mouse is there but the user may not use it: as good as absent, and
  // the faces say how to get it.
  connection_.access_denied = found ? link_.Refused() : std::nullopt;
  if (connection_.access_denied) return false;
  // Found, but a probe went unanswered: look again at the next tick.
  if (found && !link_.IsOpen()) connection_.search_again = true;
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
  connection_.read_failed = false;
  // An answer that never came is asked for again; one that still does not
  // come makes a failed read.
  if (!checked_.Ask(command::kDeviceInfo)) {
    EndFailedRead();
    return;
  }
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
  if (!checked_.ReadMemory(address, fire)) {
    EndFailedRead();
    return;
  }
  const auto codes = std::span(fire).subspan(image::field::kCustomerCodes.offset, 2);
  connection_.read_customer_codes = std::array<std::uint8_t, 2>{codes[0], codes[1]};
  if (CustomerCodesAccepted(codes[0], codes[1])) {
    if (Btn_Read() == ReadResult::kComplete && restart_after_read_) {
      // The journal finished a write that the mouse takes only at a restart.
      restart_after_read_ = false;
      RestartDevice();
    }
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
  connection_.read_failed = false;
  StopDevTimer();
  events_.ShowPageCovers(true);
  events_.ShowLoading(0, 1);
  clock_.ProcessMessages();
  if (macro_observer_ != nullptr) macro_observer_->MacroListsCleared();
  SetState(ConnectionState::kReading);

  // Nothing read in part is taken: what is missing is not the mouse's.
  if (!ReadWholeMemory()) return EndFailedRead();
  RereadFailedSections();
  device_memory_ = working_image_;
  TakeLiveFromMemory();
  FinishJournal();
  TakeLiveFromMemory();
  const image::RepairedSections repaired = FillFromWorkingImage();

  DataBufToUI();
  ShowMainPage();
  for (const auto& follow : read_followers_) follow();
  events_.HideLoading();
  clock_.ProcessMessages();
  StartDevTimer();
  events_.ShowPageCovers(false);
  connection_.loading = false;
  connection_.read_failures = 0;
  SetState(ConnectionState::kConnected);
  if (!repaired.empty()) {
    std::vector<std::string> names;
    for (const image::Section section : repaired) names.emplace_back(image::SectionName(section));
    events_.ShowText(Own(OwnText::kSectionsRepaired, {JoinedList(names, current_language_)}));
  }
  return ReadResult::kComplete;
}

bool Session::ReadWholeMemory() {
  const MemoryType type = connection_.image_memory_type;
  const int pages = type == MemoryType::kI2C ? 1 : static_cast<int>(image::flash::kPages);
  bool whole = true;
  for (int page = 0; whole && page < pages; ++page) {
    loading_adapter_.SetPart(page, pages);
    const auto offset = static_cast<std::size_t>(page) * kPageSize;
    whole = checked_.ReadMemory(static_cast<int>(offset),
                                std::span(working_image_).subspan(offset, kPageSize), true);
  }
  loading_adapter_.SetPart(0, 1);
  return whole;
}

void Session::RereadFailedSections() {
  for (const image::Region& region : image::MemoryRegions(connection_.image_memory_type)) {
    if (image::RegionSound(region, working_image_)) continue;
    // A section that fails its check is read once more before it is called
    // damaged: an answer may have come back wrong.
    std::vector<std::uint8_t> again(region.size);
    if (checked_.ReadMemory(static_cast<int>(region.offset), again) &&
        image::SectionChecksumValid(again)) {
      std::copy(again.begin(), again.end(),
                working_image_.begin() + static_cast<std::ptrdiff_t>(region.offset));
    }
  }
}

void Session::TakeLiveFromMemory() {
  live_memory_.assign(kLiveSize, 0);
  for (std::size_t at = 0; at < kLiveSize; ++at) {
    live_memory_[at] = working_image_[LiveToMemory(at, connection_.image_memory_type)];
  }
}

ReadResult Session::EndFailedRead() {
  events_.HideLoading();
  connection_.loading = false;
  // Is the mouse still there? A command report that fails says it left.
  const bool present = link_.SendCommand(command::kDeviceInfo);
  DeviceLost();
  connection_.search_again = true;
  StartDevTimer();
  if (!present) {
    connection_.lost_during_read = true;
    return ReadResult::kLost;
  }
  connection_.read_failed = true;
  if (connection_.read_failures++ == 0) {
    events_.ShowText(
        Own(OwnText::kReadFailed, {std::to_string(std::max(checked_.Policy().attempts, 1))}));
  }
  return ReadResult::kFailed;
}

void Session::ShowMainPage() {
  pages_.no_device_shown = false;
  // The key page of the selected mode (rb_1, rb_2 or rb_3), or the engineer
  // page the mouse's restart took the user from.
  pages_.shown_page = std::exchange(pages_.engineer.shown_again, false) ? 7 : 1;
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
  if (pages_.shown_page == 7 && !pages_.no_device_shown) pages_.engineer.shown_again = true;
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
  device_memory_.clear();
  live_memory_.clear();
  pages_.last_polling_rate_sent.reset();
  pages_.polling_rate_changed = false;
  events_.ShowPageCovers(true);
  SetState(ConnectionState::kNoDevice);
}

void Session::RestartDevice() {
  const Operation operation(*this);
  if (!operation) return;
  StopDevTimer();
  // What the open change holds goes before the mouse restarts.
  FlushChange();
  clock_.Sleep(kBeforeRestart);
  bool restarted = link_.SendCommand(command::kRestart);
  for (int attempt = 1; !restarted && attempt < checked_.Policy().attempts; ++attempt) {
    clock_.Sleep(checked_.Policy().retry_pause);
    restarted = link_.SendCommand(command::kRestart);
  }
  if (change_ && change_->record.then == AfterWrite::kRestart) {
    // A change that the mouse takes at its restart is whole once the
    // restart went; without it the journal restarts the mouse next time.
    if (!restarted) {
      FailChange(OwnText::kRestartNotTaken);
    } else if (change_->saved && !change_->failed) {
      journal_.Remove(change_->record.vendor_id, change_->record.product_id,
                      change_->record.memory_type);
      change_->saved = false;
    }
  }
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
  // One lost answer would put 0xFF into the User bytes and from there into
  // the next profile reload: DataBuf keeps what it had unless all arrived.
  if (!checked_.ReadLive(static_cast<int>(kLiveUserAddress), user)) return false;
  std::copy(user.begin(), user.end(), image::User(buffers_.data_buf).begin());
  if (live_memory_.size() == kLiveSize) {
    std::copy(user.begin(), user.end(), live_memory_.begin() + kLiveUserAddress);
  }
  return true;
}

}  // namespace vrdk
