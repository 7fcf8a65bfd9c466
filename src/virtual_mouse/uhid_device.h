// UhidDevice: one HID device made from user space through the kernel's uhid
// interface (/dev/uhid; one open file is one device). The kernel hands over
// every GET_REPORT and SET_REPORT a driver or a hidraw reader asks of the
// device; a UhidReportHandler answers them. Events arrive one per read(), each
// a struct uhid_event that the kernel may shorten (the rest reads as zeros).
//
// The file descriptor may be anything that behaves so, such as a SOCK_SEQPACKET
// socket in the tests. Nothing the other side sends can make it read or write
// past a buffer: sizes are bounded by what arrived and by UHID_DATA_MAX.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vrdk {

enum class UhidReportType : std::uint8_t { kFeature = 0, kOutput = 1, kInput = 2 };

inline constexpr std::size_t kUhidDataMax = 4096;
// What the device answers to a request it refuses; the kernel turns any
// error into EIO for the caller.
inline constexpr std::uint16_t kUhidRefused = 5;  // EIO

class UhidReportHandler {
 public:
  virtual ~UhidReportHandler() = default;
  // GET_REPORT of report `number`: the report (byte 0 its id) written to
  // `report`, and its length; nothing refuses the request.
  virtual std::optional<std::size_t> GetReport(UhidReportType type, std::uint8_t number,
                                               std::span<std::uint8_t, kUhidDataMax> report) = 0;
  // SET_REPORT: data is the report as the host sent it (byte 0 its id).
  virtual bool SetReport(UhidReportType type, std::uint8_t number,
                         std::span<const std::uint8_t> data) = 0;
};

struct UhidIdentity {
  std::string name;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::uint16_t version = 0x0100;
  std::span<const std::uint8_t> descriptor;
};

class UhidDevice {
 public:
  // Takes ownership of fd, which should be non-blocking.
  explicit UhidDevice(int fd);
  ~UhidDevice();
  UhidDevice(UhidDevice&& other) noexcept;
  UhidDevice& operator=(UhidDevice&& other) noexcept;
  UhidDevice(const UhidDevice&) = delete;
  UhidDevice& operator=(const UhidDevice&) = delete;

  int Fd() const { return fd_; }
  // The device is on the bus (created and not destroyed since).
  bool Created() const { return created_; }

  // UHID_CREATE2: puts the device on the bus. A descriptor longer than the
  // kernel takes is refused here.
  bool Create(const UhidIdentity& identity);
  // UHID_DESTROY: takes it off again; requests still waiting in the kernel fail.
  bool Destroy();
  // UHID_INPUT2: one input report (byte 0 its id when the device uses ids).
  bool SendInput(std::span<const std::uint8_t> report);

  enum class Event { kNone, kAnswered, kOpened, kOther, kClosed };
  // Reads one event, if one is waiting, and answers it with handler.
  // kNone: nothing waiting; kAnswered: a GET_REPORT or SET_REPORT was
  // answered; kOpened: the first reader opened the device (the kernel powers
  // a real device up then); kOther: an event that needs no answer (start,
  // stop, close, output, or one of an unknown type); kClosed: the file
  // reached its end or failed, and no more events will come.
  Event HandleEvent(UhidReportHandler& handler);

  std::string LastError() const { return last_error_; }

 private:
  bool Write(const void* event, std::size_t size, const char* what);

  int fd_;
  bool created_ = false;
  std::string last_error_;
};

}  // namespace vrdk
