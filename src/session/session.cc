#include "session/session.h"

#include <algorithm>

#include "image/fields.h"
#include "keys/function_codes.h"

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
      clock_(clock, pump_depth_),
      events_(events),
      defaults_(std::move(defaults)),
      loading_adapter_(*this),
      link_(backend, clock_, &loading_adapter_),
      checked_(link_, clock_),
      working_image_(MemorySize(defaults_.ImageMemoryType()), 0),
      languages_(LanguageTables::Load()) {
  keys_.memory_type = defaults_.ImageMemoryType();
  link_.SetTransferGate(this);
}

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

// --- Transfers and the write guard ------------------------------------------------

const char* RefusalText(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNone:
      return "";
    case Refusal::kBusy:
      return "another transfer to the mouse is running";
    case Refusal::kLoading:
      return "the mouse's settings are being loaded";
    case Refusal::kNoMouse:
      return "no mouse is connected";
    case Refusal::kNotAccepted:
      return "the mouse was not accepted by this program";
  }
  return "";
}

void Session::PumpCountingClock::ProcessMessages() {
  ++depth_;
  clock_.ProcessMessages();
  --depth_;
}

bool Session::BeginTransfer() {
  // Inside a message pump of the core every transfer would nest in the one
  // that is pumping.
  if (pump_depth_ > 0) return false;
  if (transfer_depth_++ == 0) events_.BusyChanged(true);
  return true;
}

void Session::EndTransfer() {
  if (--transfer_depth_ > 0) return;
  events_.BusyChanged(false);
  // Tasks held back while the transfer ran; each may transfer in turn.
  std::vector<std::function<void()>> tasks;
  tasks.swap(when_idle_);
  for (auto& task : tasks) RunWhenIdle(std::move(task));
}

void Session::RunWhenIdle(std::function<void()> task) {
  if (transfer_depth_ > 0 || pump_depth_ > 0) {
    when_idle_.push_back(std::move(task));
    return;
  }
  task();
}

Refusal Session::CheckAccess() const {
  if (pump_depth_ > 0) return Refusal::kBusy;
  if (connection_.loading) return Refusal::kLoading;
  if (!link_.IsOpen()) return Refusal::kNoMouse;
  // Connected means identified (memory type and customer codes) and read.
  if (connection_.state != ConnectionState::kConnected) return Refusal::kNotAccepted;
  return Refusal::kNone;
}

// --- Start-up --------------------------------------------------------------------

void Session::StartUp() {
  link_.InvalidateHandles();
  NotifyInputHandleChanged();
  const auto reserved = connection_.reserved_customer_codes;  // from the brand options
  connection_ = Connection{};
  connection_.reserved_customer_codes = reserved;
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

void Session::SetBrandOptions(const BrandOptions& options) {
  brand_ = options;
  SetReservedCustomerCodes(options.reserved_customer_codes[0], options.reserved_customer_codes[1]);
}

void Session::SetCurrentLanguage(int language) {
  if (language >= 1 && language <= kLanguageCount) current_language_ = language;
}

std::string Session::NameForCode(std::string_view code) {
  return vrdk::NameForCode(code, Language(), keys_);
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
  ++pages_.filled;
  const auto& data = buffers_.data_buf;
  pages_.code_texts = image::BuildCodeTexts(data);
  // Fire presets first: naming a fire code compares with them.
  for (std::size_t n = 0; n < keys_.fire.size(); ++n) {
    const auto stored = image::FirePresetOf(data, static_cast<int>(n));
    if (stored.count_less_one > 14) continue;  // not a count: keep the preset shown before
    keys_.fire[n].count = stored.count_less_one + 1;
    keys_.fire[n].interval = stored.interval;
  }
  keys_.memory_type = ActiveMemoryType();
  for (std::size_t p = 0; p < image::kProfileCount; ++p) {
    for (std::size_t k = 0; k < image::kKeysPerProfile; ++k) {
      pages_.names[p][k] = NameForCode(pages_.code_texts.profiles[p][k]);
    }
  }
  pages_.led_type = image::LedTypeFromUserByte(
      static_cast<std::uint8_t>(image::Get(data, image::field::kLedModeByte)));
  pages_.package = image::Get(data, image::field::kPackage);
  const int colour = image::Get(data, image::field::kProfileColour);
  if (colour <= 9) pages_.profile_colour_item = colour;
  if (colour == 15) pages_.profile_colour_item = 10;
  const int flash = image::Get(data, image::field::kButtonFlash);
  if (flash <= 1) pages_.button_effect_item = flash;
  for (const auto& fill : page_fillers_) fill();
  events_.RefreshPages();
}

}  // namespace vrdk
