#include "virtual_mouse/uhid_device.h"

#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>

namespace vrdk {
namespace {

static_assert(kUhidDataMax == UHID_DATA_MAX);
static_assert(static_cast<int>(UhidReportType::kFeature) == UHID_FEATURE_REPORT);
static_assert(static_cast<int>(UhidReportType::kOutput) == UHID_OUTPUT_REPORT);
static_assert(static_cast<int>(UhidReportType::kInput) == UHID_INPUT_REPORT);

constexpr std::uint16_t kBusUsb = 0x03;

std::optional<UhidReportType> ReportType(std::uint8_t rtype) {
  if (rtype > UHID_INPUT_REPORT) return std::nullopt;
  return static_cast<UhidReportType>(rtype);
}

void CopyText(std::span<std::uint8_t> to, const std::string& text) {
  // Always leaves a terminating zero.
  std::copy_n(text.begin(), std::min(text.size(), to.size() - 1), to.begin());
}

}  // namespace

UhidDevice::UhidDevice(int fd) : fd_(fd) {}

UhidDevice::UhidDevice(UhidDevice&& other) noexcept
    : fd_(other.fd_), created_(other.created_), last_error_(std::move(other.last_error_)) {
  other.fd_ = -1;
  other.created_ = false;
}

UhidDevice& UhidDevice::operator=(UhidDevice&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    created_ = std::exchange(other.created_, false);
    last_error_ = std::move(other.last_error_);
  }
  return *this;
}

UhidDevice::~UhidDevice() {
  if (fd_ >= 0) ::close(fd_);  // closing also takes a created device off the bus
}

bool UhidDevice::Write(const void* event, std::size_t size, const char* what) {
  for (;;) {
    const ssize_t put = ::write(fd_, event, size);
    if (put == static_cast<ssize_t>(size)) return true;
    if (put < 0 && errno == EINTR) continue;
    last_error_ =
        std::string("write (") + what + "): " + (put < 0 ? std::strerror(errno) : "short write");
    return false;
  }
}

bool UhidDevice::Create(const UhidIdentity& identity) {
  if (identity.descriptor.empty() || identity.descriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
    last_error_ =
        "create: report descriptor of " + std::to_string(identity.descriptor.size()) + " bytes";
    return false;
  }
  uhid_event event{};
  event.type = UHID_CREATE2;
  auto& create = event.u.create2;
  CopyText(create.name, identity.name);
  CopyText(create.phys, "vrdk-virtual-mouse");
  create.rd_size = static_cast<std::uint16_t>(identity.descriptor.size());
  create.bus = kBusUsb;
  create.vendor = identity.vendor_id;
  create.product = identity.product_id;
  create.version = identity.version;
  std::copy(identity.descriptor.begin(), identity.descriptor.end(), create.rd_data);
  if (!Write(&event, sizeof event, "CREATE2")) return false;
  created_ = true;
  return true;
}

bool UhidDevice::Destroy() {
  uhid_event event{};
  event.type = UHID_DESTROY;
  created_ = false;  // after a failed write the device is as good as gone
  return Write(&event, sizeof event, "DESTROY");
}

bool UhidDevice::SendInput(std::span<const std::uint8_t> report) {
  if (report.empty() || report.size() > kUhidDataMax) return false;
  uhid_event event{};
  event.type = UHID_INPUT2;
  event.u.input2.size = static_cast<std::uint16_t>(report.size());
  std::copy(report.begin(), report.end(), event.u.input2.data);
  return Write(&event, sizeof event, "INPUT2");
}

UhidDevice::Event UhidDevice::HandleEvent(UhidReportHandler& handler) {
  uhid_event event{};  // a short event reads as zeros past its end
  ssize_t got;
  do {
    got = ::read(fd_, &event, sizeof event);
  } while (got < 0 && errno == EINTR);
  if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Event::kNone;
  if (got <= 0) {
    last_error_ = std::string("read: ") + (got < 0 ? std::strerror(errno) : "end of file");
    return Event::kClosed;
  }
  if (static_cast<std::size_t>(got) < sizeof event.type) return Event::kOther;

  if (event.type == UHID_GET_REPORT) {
    const auto request = event.u.get_report;
    uhid_event reply{};
    reply.type = UHID_GET_REPORT_REPLY;
    reply.u.get_report_reply.id = request.id;
    reply.u.get_report_reply.err = kUhidRefused;
    std::array<std::uint8_t, kUhidDataMax> report{};
    const auto type = ReportType(request.rtype);
    const auto length = type ? handler.GetReport(*type, request.rnum, report) : std::nullopt;
    if (length) {
      const std::size_t size = std::min(*length, kUhidDataMax);
      reply.u.get_report_reply.err = 0;
      reply.u.get_report_reply.size = static_cast<std::uint16_t>(size);
      std::copy_n(report.begin(), size, reply.u.get_report_reply.data);
    }
    Write(&reply, sizeof reply, "GET_REPORT_REPLY");
    return Event::kAnswered;
  }
  if (event.type == UHID_SET_REPORT) {
    const auto& request = event.u.set_report;
    const std::size_t size = std::min<std::size_t>(request.size, kUhidDataMax);
    const auto type = ReportType(request.rtype);
    const bool ok = type && handler.SetReport(*type, request.rnum, std::span(request.data, size));
    uhid_event reply{};
    reply.type = UHID_SET_REPORT_REPLY;
    reply.u.set_report_reply.id = request.id;
    reply.u.set_report_reply.err = ok ? 0 : kUhidRefused;
    Write(&reply, sizeof reply, "SET_REPORT_REPLY");
    return Event::kAnswered;
  }
  // The kernel says so when the first reader opens the device.
  if (event.type == UHID_OPEN) return Event::kOpened;
  return Event::kOther;
}

}  // namespace vrdk
