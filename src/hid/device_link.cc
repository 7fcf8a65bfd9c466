#include "hid/device_link.h"

#include <algorithm>
#include <vector>

namespace vrdk {
namespace {

std::uint8_t High(int value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
std::uint8_t Low(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

int ChunkCount(int length, int chunk) { return (length + chunk - 1) / chunk; }

// Bytes of the last of n chunks of `chunk` bytes covering `length` bytes.
int LastChunkBytes(int length, int chunk) { return length % chunk == 0 ? chunk : length % chunk; }

}  // namespace

DeviceLink::DeviceLink(HidBackend& backend, Clock& clock, LoadingWindow* loading)
    : backend_(backend), clock_(clock), loading_(loading) {}

DeviceLink::~DeviceLink() { InvalidateHandles(); }

int DeviceLink::CountHidInterfaces() { return backend_.CountInterfaces(); }

bool DeviceLink::OpenDevice(std::uint16_t vendor_id, std::uint16_t product_id) {
  const Transfer transfer(gate_);
  if (!transfer) return false;
  InvalidateHandles();
  refused_.reset();
  std::optional<RefusedInterface> refused;
  bool found = false;
  for (const auto& path : backend_.ListInterfaces()) {
    const HidHandle handle = backend_.Open(path, HidAccess::kNone);
    if (handle == kInvalidHandle) continue;
    const auto attributes = backend_.GetAttributes(handle);
    const auto caps = backend_.GetCaps(handle);
    if (!attributes || !caps || caps->feature_report_byte_length != kReportLength) {
      backend_.Close(handle);
      continue;
    }
    // Every interface with 8-byte feature reports becomes the input handle,
    // whatever its ids: the last one wins.
    ReplaceInputHandle(backend_.Open(path, HidAccess::kReadWrite));

    if (attributes->vendor_id == vendor_id && attributes->product_id == product_id) {
      found = true;
      vendor_id_ = attributes->vendor_id;
      product_id_ = attributes->product_id;
      feature_report_length_ = caps->feature_report_byte_length;
      input_report_length_ = caps->input_report_byte_length;
      // The collection that takes a command report is the command handle, the
      // one that answers a response read the response handle; with several
      // collections each ends on the last that does.
      Report probe{kCommandReportId, command::kDeviceInfo};
      const bool takes = backend_.SetFeature(handle, probe);
      if (takes) ReplaceHandle(command_handle_, handle);
      if (!takes && backend_.LastErrorWasAccessDenied()) {
        refused = RefusedInterface{path, backend_.LastError()};
      }
      probe = Report{kResponseReportId};
      if (backend_.GetFeature(handle, probe)) ReplaceHandle(response_handle_, handle);
    }
    if (!IsHeld(handle)) backend_.Close(handle);
  }
  if (found && !IsOpen()) refused_ = std::move(refused);
  return found;
}

void DeviceLink::InvalidateHandles() {
  ReplaceHandle(command_handle_, kInvalidHandle);
  ReplaceHandle(response_handle_, kInvalidHandle);
  ReplaceInputHandle(kInvalidHandle);
  vendor_id_ = product_id_ = 0;
  feature_report_length_ = 0;
  input_report_length_ = 0;
}

bool DeviceLink::IsHeld(HidHandle handle) const {
  return handle != kInvalidHandle && (handle == command_handle_ || handle == response_handle_ ||
                                      handle == input_handle_.load());
}

void DeviceLink::ReplaceHandle(HidHandle& slot, HidHandle handle) {
  const HidHandle old = slot;
  slot = handle;
  if (old != handle && !IsHeld(old) && old != kInvalidHandle) backend_.Close(old);
}

void DeviceLink::ReplaceInputHandle(HidHandle handle) {
  const HidHandle old = input_handle_.exchange(handle);
  if (old != handle && !IsHeld(old) && old != kInvalidHandle) backend_.Close(old);
}

bool DeviceLink::SendCommandReport(const Report& report) {
  if (command_handle_ == kInvalidHandle) return false;
  report_buffer_ = report;
  return Counted(backend_.SetFeature(command_handle_,
                                     std::span(report_buffer_.data(), feature_report_length_)));
}

bool DeviceLink::SendCommand(std::uint8_t code, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                             std::uint8_t p4) {
  const Transfer transfer(gate_);
  if (!transfer) return false;
  return SendCommandReport(Report{kCommandReportId, code, p1, p2, p3, p4, 0, 0});
}

bool DeviceLink::SendDataReport(std::span<const std::uint8_t, kReportDataLength> data) {
  const Transfer transfer(gate_);
  if (!transfer || response_handle_ == kInvalidHandle) return false;
  report_buffer_[0] = kResponseReportId;
  std::copy(data.begin(), data.end(), report_buffer_.begin() + 1);
  return Counted(backend_.SetFeature(response_handle_,
                                     std::span(report_buffer_.data(), feature_report_length_)));
}

void DeviceLink::ReadResponse() {
  response_data_.fill(0xFF);
  const Transfer transfer(gate_);
  if (!transfer || response_handle_ == kInvalidHandle) return;
  report_buffer_ = Report{kResponseReportId};
  if (!Counted(backend_.GetFeature(response_handle_,
                                   std::span(report_buffer_.data(), feature_report_length_)))) {
    return;
  }
  std::copy(report_buffer_.begin() + 1, report_buffer_.end(), response_data_.begin());
  WaitMicroseconds(kResponseWait.count());
}

void DeviceLink::ShowLoading(int done, int total) {
  if (loading_ != nullptr) loading_->ShowLoading(done, total);
  clock_.ProcessMessages();
}

void DeviceLink::HideLoading() {
  if (loading_ != nullptr) loading_->HideLoading();
  clock_.ProcessMessages();
}

bool DeviceLink::WriteLiveBytes(int address, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                                int count) {
  const Transfer transfer(gate_);
  if (!transfer || command_handle_ == kInvalidHandle || count < 1 || count > 3) return false;
  ShowLoading(0, 1);
  const bool sent = SendCommandReport(
      Report{kCommandReportId, command::kWriteLive, 0, Low(address), d0, d1, d2, Low(count)});
  clock_.Sleep(kLiveWriteSleep);
  HideLoading();
  return sent;
}

bool DeviceLink::WriteLiveQuad(int address, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                               std::uint8_t d3) {
  const Transfer transfer(gate_);
  if (!transfer || command_handle_ == kInvalidHandle) return false;
  ShowLoading(0, 1);
  const bool sent = SendCommandReport(
      Report{kCommandReportId, command::kWriteLive, 1, Low(address), d0, d1, d2, d3});
  clock_.Sleep(kLiveWriteSleep);
  HideLoading();
  return sent;
}

bool DeviceLink::WriteLiveBlock(int sub, int start, int length,
                                std::span<const std::uint8_t> data) {
  // Bytes past the end of a short last chunk are what the previous chunk left
  // in this buffer (0xFF when there was none); the device ignores them for sub
  // 0 (NN says how many are valid) and takes them for sub 1.
  std::array<std::uint8_t, kReportDataLength> chunk;
  chunk.fill(0xFF);
  const Transfer transfer(gate_);
  if (!transfer || command_handle_ == kInvalidHandle) return false;
  if ((sub != 0 && sub != 1) || length < 0 || static_cast<std::size_t>(length) > data.size()) {
    return false;
  }
  const int size = sub == 0 ? 3 : 4;
  const int chunks = ChunkCount(length, size);
  for (int j = 0; j < chunks; ++j) {
    const int bytes = j == chunks - 1 ? LastChunkBytes(length, size) : size;
    std::copy_n(data.begin() + j * size, bytes, chunk.begin());
    ShowLoading(j, chunks);
    const std::uint8_t address = Low(start + j * size);
    const std::uint8_t last = sub == 0 ? Low(bytes) : chunk[3];
    SendCommandReport(Report{kCommandReportId, command::kWriteLive, Low(sub), address, chunk[0],
                             chunk[1], chunk[2], last});
  }
  return true;
}

bool DeviceLink::ReadChunked(const Report& command, int length, std::span<std::uint8_t> buffer,
                             bool show_progress) {
  std::fill_n(buffer.begin(), length, std::uint8_t{0xFF});
  const Transfer transfer(gate_);
  if (!transfer || !SendCommandReport(command)) return false;
  const int chunks = ChunkCount(length, kReportDataLength);
  for (int j = 0; j < chunks; ++j) {
    if (show_progress) ShowLoading(j, chunks);
    ReadResponse();
    const int bytes = j == chunks - 1 ? LastChunkBytes(length, kReportDataLength)
                                      : static_cast<int>(kReportDataLength);
    std::copy_n(response_data_.begin(), bytes, buffer.begin() + j * kReportDataLength);
  }
  return true;
}

bool DeviceLink::ReadLive(int address, int length, std::span<std::uint8_t> buffer) {
  if (length < 1 || length > 255 || static_cast<std::size_t>(length) > buffer.size()) return false;
  return ReadChunked(
      Report{kCommandReportId, command::kReadLive, High(address), Low(address), 0, Low(length)},
      length, buffer, false);
}

bool DeviceLink::ReadMemory(int address, int length, std::span<std::uint8_t> buffer) {
  if (length < 0 || length > 0xFFFF || static_cast<std::size_t>(length) > buffer.size()) {
    return false;
  }
  return ReadChunked(Report{kCommandReportId, command::kReadMemory, High(address), Low(address),
                            High(length), Low(length)},
                     length, buffer, false);
}

bool DeviceLink::ReadMemoryShowingProgress(int address, int length,
                                           std::span<std::uint8_t> buffer) {
  if (length < 0 || length > 0xFFFF || static_cast<std::size_t>(length) > buffer.size()) {
    return false;
  }
  return ReadChunked(Report{kCommandReportId, command::kReadMemory, High(address), Low(address),
                            High(length), Low(length)},
                     length, buffer, true);
}

bool DeviceLink::WriteMemory(int address, int length, std::span<const std::uint8_t> data) {
  std::array<std::uint8_t, kReportDataLength> chunk;
  chunk.fill(0xFF);
  if (length < 0 || length > 0xFFFF || static_cast<std::size_t>(length) > data.size()) {
    return false;
  }
  const Transfer transfer(gate_);
  if (!transfer) return false;
  if (!SendCommandReport(Report{kCommandReportId, command::kWriteMemory, High(address),
                                Low(address), High(length), Low(length)})) {
    return false;
  }
  const int chunks = ChunkCount(length, kReportDataLength);
  for (int j = 0; j < chunks; ++j) {
    // The window is placed anew before each chunk only when the length is not
    // a whole number of chunks; it stays shown for the caller to hide.
    if (length % kReportDataLength != 0) {
      ShowLoading(j, chunks);
    } else {
      clock_.ProcessMessages();
    }
    const int bytes = j == chunks - 1 ? LastChunkBytes(length, kReportDataLength)
                                      : static_cast<int>(kReportDataLength);
    std::copy_n(data.begin() + j * kReportDataLength, bytes, chunk.begin());
    SendDataReport(chunk);
  }
  return true;
}

bool DeviceLink::ReadInputReport(std::span<std::uint8_t> buffer) {
  const HidHandle handle = input_handle_.load();
  const std::size_t length = input_report_length_.load();
  if (handle == kInvalidHandle || length == 0) return false;
  std::vector<std::uint8_t> report(length, 0);
  if (!backend_.ReadInput(handle, report)) return false;
  std::copy_n(report.begin(), std::min(report.size(), buffer.size()), buffer.begin());
  return true;
}

void DeviceLink::WaitMicroseconds(std::int64_t n) { clock_.BusyWait(Microseconds(n)); }

}  // namespace vrdk
