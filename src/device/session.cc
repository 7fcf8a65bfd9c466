#include "device/session.h"

#include <algorithm>

namespace vrdk {

const char* ConnectionStateName(ConnectionState state) {
  switch (state) {
    case ConnectionState::kNoDevice:
      return "no-device";
    case ConnectionState::kOpening:
      return "opening";
    case ConnectionState::kRejected:
      return "rejected";
    case ConnectionState::kReading:
      return "reading";
    case ConnectionState::kConnected:
      return "connected";
  }
  return "";
}

Session::Session(HidBackend& backend, Clock& clock, SessionEvents& events, DefaultImageSet defaults)
    : backend_(backend),
      clock_(clock),
      events_(events),
      defaults_(std::move(defaults)),
      loading_adapter_(*this),
      link_(backend, clock, &loading_adapter_),
      working_image_(MemorySize(defaults_.ImageMemoryType()), 0) {}

Session::~Session() {
  StopInputListener();
  link_.InvalidateHandles();
}

void Session::LoadingAdapter::ShowLoading(int done, int total) {
  session_.events_.ShowLoading(part_ * total + done, parts_ * total);
}

void Session::LoadingAdapter::HideLoading() { session_.events_.HideLoading(); }

void Session::LoadingAdapter::SetPart(int part, int parts) {
  part_ = part;
  parts_ = std::max(parts, 1);
}

// --- Start-up --------------------------------------------------------------------

void Session::StartUp() {
  link_.InvalidateHandles();
  NotifyInputHandleChanged();
  connection_ = Connection{};
  connection_.target = {defaults_.TargetVendorId(), defaults_.TargetProductId()};
  connection_.image_memory_type = defaults_.ImageMemoryType();
  working_image_ = defaults_.WorkingImage(1);
  const std::size_t fire =
      connection_.image_memory_type == MemoryType::kI2C ? image::i2c::kFire : image::flash::kFire;
  connection_.expected_customer_codes = {working_image_[fire], working_image_[fire + 1]};
  RefreshErrorAP();
  connection_.search_list = {connection_.target, DeviceIds{}};
}

void Session::SetReservedCustomerCodes(int vendor_code, int product_code) {
  connection_.reserved_customer_codes = {vendor_code, product_code};
}

MemoryType Session::ActiveMemoryType() const {
  return connection_.device_memory_type.value_or(connection_.image_memory_type);
}

image::DefaultInputs Session::DefaultsInputs() const {
  // Only images of the build's memory type are ever split.
  return {connection_.image_memory_type, pages_.led_type, pages_.package};
}

void Session::SetState(ConnectionState state) {
  if (connection_.state == state) return;
  connection_.state = state;
  events_.ConnectionChanged(state);
}

// --- Filling DataBuf -----------------------------------------------------------------

image::RepairedSections Session::FillFromWorkingImage() {
  const image::DefaultInputs inputs = DefaultsInputs();
  image::RepairedSections repaired;
  if (connection_.image_memory_type == MemoryType::kI2C) {
    repaired = image::SplitI2CImage(
        std::span<const std::uint8_t, image::i2c::kSize>(working_image_.data(), image::i2c::kSize),
        buffers_, inputs);
  } else {
    repaired = image::SplitFlashImage(std::span<const std::uint8_t, image::flash::kSize>(
                                          working_image_.data(), image::flash::kSize),
                                      buffers_, inputs);
  }
  if (macro_observer_ != nullptr) {
    macro_observer_->MacroStorageLoaded(connection_.image_memory_type, buffers_);
  }
  pages_.patch_checksum_text = image::PatchChecksumText(buffers_, connection_.image_memory_type);
  pages_.repaired = repaired;
  return repaired;
}

void Session::DataBufToUI() {
  const auto& data = buffers_.data_buf;
  pages_.code_texts = image::BuildCodeTexts(data);
  pages_.led_type = image::LedTypeFromUserByte(image::User(data)[1]);
  pages_.package = (image::Vendor(data)[5] & 0x80) != 0 ? 1 : 0;
  events_.RefreshPages();
}

}  // namespace vrdk
