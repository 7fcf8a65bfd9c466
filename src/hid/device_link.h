// DeviceLink: the one owner of the mouse's handles and report buffers, and the
// operations every other part of the program uses to talk to the mouse.
//
// Contract of every operation: it returns false (or leaves its output as
// 0xFF) instead of throwing, never calls the platform with an invalid handle,
// and bounds every length before use. A failed chunk inside a block transfer
// is ignored; callers find damaged data by the section checksums.
//
// Threads: everything runs on the thread that owns the Session, except
// ReadInputReport, which the input listener calls with its own buffer; it uses
// InputHandle alone.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "hid/clock.h"
#include "hid/hid_backend.h"
#include "hid/protocol.h"

namespace vrdk {

// How the transport reaches the loading window of the face: shown (placed at
// the main window's left + 6, top + 6) before a transfer or chunk, hidden after
// a single live write. done / total tell how far a block transfer is.
class LoadingWindow {
 public:
  virtual ~LoadingWindow() = default;
  virtual void ShowLoading(int done, int total) = 0;
  virtual void HideLoading() = 0;
};

// Decides whether a transfer may start. Transfers let the face handle its
// window messages between chunks, so a click handled meanwhile could start a
// second transfer inside the first; the owner of the link refuses those here.
// Every transfer operation of DeviceLink calls BeginTransfer first and, when
// it returned true, EndTransfer when it is done; operations nest.
class TransferGate {
 public:
  virtual ~TransferGate() = default;
  virtual bool BeginTransfer() = 0;
  virtual void EndTransfer() = 0;
};

// An interface with the searched ids and 8-byte feature reports that took
// neither probe of OpenDevice because the user may not use it.
struct RefusedInterface {
  std::string path;
  std::string reason;  // the backend's, naming the call ("open /dev/hidraw3: Permission denied")
};

class DeviceLink {
 public:
  using ResponseBytes = std::array<std::uint8_t, kReportDataLength>;

  static constexpr auto kLiveWriteSleep = Milliseconds(100);
  static constexpr auto kResponseWait = Microseconds(500);

  DeviceLink(HidBackend& backend, Clock& clock, LoadingWindow* loading = nullptr);
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // Without a gate every transfer may start. The gate must outlive the link.
  void SetTransferGate(TransferGate* gate) { gate_ = gate; }

  // The number of HID interfaces present that can be opened.
  int CountHidInterfaces();
  // Scans every HID interface and sets the handles; true if one with these ids
  // and a feature report length of 8 was found. Handles of an earlier open
  // are closed first.
  bool OpenDevice(std::uint16_t vendor_id, std::uint16_t product_id);
  // After an OpenDevice that found the mouse but opened neither report
  // handle: the interface the user may not use. Empty otherwise.
  const std::optional<RefusedInterface>& Refused() const { return refused_; }
  // Closes the three handles and marks them invalid (before a fresh search,
  // and when the program ends).
  void InvalidateHandles();

  // 40 code p1 p2 p3 p4 00 00 on CommandHandle.
  bool SendCommand(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
                   std::uint8_t p4 = 0);
  // 41 d0..d6 on ResponseHandle.
  bool SendDataReport(std::span<const std::uint8_t, kReportDataLength> data);
  // Reads one response into ResponseData (0xFF x 7 when the read fails).
  void ReadResponse();

  // Command 0x05 sub 0: count (1..3) bytes at a one-byte live address.
  bool WriteLiveBytes(int address, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2, int count);
  // Command 0x05 sub 1: four bytes at a one-byte live address.
  bool WriteLiveQuad(int address, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                     std::uint8_t d3);
  // A block of the live settings as a run of command-0x05 reports, 3 bytes a
  // report for sub 0 and 4 for sub 1. REQUIRES: data.size() >= length.
  bool WriteLiveBlock(int sub, int start, int length, std::span<const std::uint8_t> data);

  // Command 0x06: length (1..255) live bytes into buffer[0..length).
  bool ReadLive(int address, int length, std::span<std::uint8_t> buffer);
  // Command 0x07 and ceil(length / 7) data reports.
  bool WriteMemory(int address, int length, std::span<const std::uint8_t> data);
  // Command 0x09 and ceil(length / 7) responses into buffer[0..length).
  bool ReadMemory(int address, int length, std::span<std::uint8_t> buffer);
  // ReadMemory that shows the loading window before each chunk.
  bool ReadMemoryShowingProgress(int address, int length, std::span<std::uint8_t> buffer);

  // One blocking input-report read from InputHandle into buffer (as much of
  // the report as fits). Safe to call from the input listener thread.
  bool ReadInputReport(std::span<std::uint8_t> buffer);

  // Spins for n microseconds on the clock.
  void WaitMicroseconds(std::int64_t n);

  std::uint16_t VendorId() const { return vendor_id_; }
  std::uint16_t ProductId() const { return product_id_; }
  std::uint16_t FeatureReportLength() const { return feature_report_length_; }
  std::uint16_t InputReportLength() const { return input_report_length_.load(); }
  HidHandle CommandHandle() const { return command_handle_; }
  HidHandle ResponseHandle() const { return response_handle_; }
  HidHandle InputHandle() const { return input_handle_.load(); }
  // Both report handles valid: the mouse is open for commands and answers.
  bool IsOpen() const {
    return command_handle_ != kInvalidHandle && response_handle_ != kInvalidHandle;
  }
  const ResponseBytes& ResponseData() const { return response_data_; }
  // Reports that failed since the link was made (commands, data reports and
  // responses alike); block transfers ignore such failures, callers that care
  // compare this count before and after.
  std::uint64_t FailedTransfers() const { return failed_transfers_; }

  HidBackend& Backend() { return backend_; }
  Clock& GetClock() { return clock_; }

 private:
  using Report = std::array<std::uint8_t, kReportLength>;

  // Holds the gate open for one operation; false when the gate refused.
  class Transfer {
   public:
    explicit Transfer(TransferGate* gate) : gate_(gate), open_(!gate || gate->BeginTransfer()) {}
    ~Transfer() {
      if (gate_ && open_) gate_->EndTransfer();
    }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;
    explicit operator bool() const { return open_; }

   private:
    TransferGate* gate_;
    bool open_;
  };

  bool SendCommandReport(const Report& report);
  bool Counted(bool ok) {
    if (!ok) ++failed_transfers_;
    return ok;
  }
  bool ReadChunked(const Report& command, int length, std::span<std::uint8_t> buffer,
                   bool show_progress);
  void ShowLoading(int done, int total);
  void HideLoading();
  // Replaces one handle slot, closing the old handle unless another slot
  // still holds it.
  void ReplaceHandle(HidHandle& slot, HidHandle handle);
  void ReplaceInputHandle(HidHandle handle);
  bool IsHeld(HidHandle handle) const;

  HidBackend& backend_;
  Clock& clock_;
  LoadingWindow* loading_;
  TransferGate* gate_ = nullptr;

  std::uint16_t vendor_id_ = 0;
  std::uint16_t product_id_ = 0;
  std::uint16_t feature_report_length_ = 0;
  std::atomic<std::uint16_t> input_report_length_ = 0;
  HidHandle command_handle_ = kInvalidHandle;
  HidHandle response_handle_ = kInvalidHandle;
  std::atomic<HidHandle> input_handle_ = kInvalidHandle;
  Report report_buffer_{};
  ResponseBytes response_data_{};
  std::uint64_t failed_transfers_ = 0;
  std::optional<RefusedInterface> refused_;
};

}  // namespace vrdk
