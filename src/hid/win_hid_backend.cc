#include "hid/win_hid_backend.h"

// clang-format off
#include <windows.h>
#include <setupapi.h>
// The DDK headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
// clang-format on

#include <vector>

namespace vrdk {

// An open interface: its handle and the event of its overlapped reads. A
// read holds the Device, so Close can cancel it and wait for it to end.
struct WinHidBackend::Device {
  HANDLE file = INVALID_HANDLE_VALUE;
  HANDLE read_done = nullptr;  // manual reset, for the overlapped ReadFile
  HANDLE closing = nullptr;    // manual reset, set by Close
  std::mutex read_mutex;       // one read at a time
  ~Device() {
    if (read_done != nullptr) CloseHandle(read_done);
    if (closing != nullptr) CloseHandle(closing);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};

std::string WindowsErrorText(const std::string& call, unsigned long error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length != 0 && text != nullptr ? std::string(text, length) : "error";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\r' || message.back() == '\n' || message.back() == ' ')) {
    message.pop_back();
  }
  return call + ": " + message + " (" + std::to_string(error) + ")";
}

WinHidBackend::WinHidBackend() { interrupt_ = CreateEventA(nullptr, TRUE, FALSE, nullptr); }

WinHidBackend::~WinHidBackend() {
  InterruptReads();
  std::map<HidHandle, std::shared_ptr<Device>> devices;
  {
    std::lock_guard lock(mutex_);
    devices.swap(devices_);
  }
  for (auto& [handle, device] : devices) {
    SetEvent(device->closing);
    CancelIoEx(device->file, nullptr);
  }
  devices.clear();
  if (interrupt_ != nullptr) CloseHandle(static_cast<HANDLE>(interrupt_));
}

void WinHidBackend::Fail(const std::string& call) { Fail(call, GetLastError()); }

void WinHidBackend::Fail(const std::string& call, unsigned long error) {
  std::lock_guard lock(mutex_);
  last_error_ = WindowsErrorText(call, error);
  last_access_denied_ = error == ERROR_ACCESS_DENIED;
}

std::string WinHidBackend::LastError() const {
  std::lock_guard lock(mutex_);
  return last_error_;
}

bool WinHidBackend::LastErrorWasAccessDenied() const {
  std::lock_guard lock(mutex_);
  return last_access_denied_;
}

std::vector<std::string> WinHidBackend::ListInterfaces() {
  GUID hid_class;
  HidD_GetHidGuid(&hid_class);
  HDEVINFO set =
      SetupDiGetClassDevsA(&hid_class, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  std::vector<std::string> paths;
  if (set == INVALID_HANDLE_VALUE) {
    Fail("SetupDiGetClassDevs");
    return paths;
  }
  SP_DEVICE_INTERFACE_DATA entry{};
  entry.cbSize = sizeof(entry);
  for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hid_class, index, &entry);
       ++index) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &entry, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
    std::vector<std::uint8_t> buffer(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (SetupDiGetDeviceInterfaceDetailA(set, &entry, detail, size, nullptr, nullptr)) {
      paths.emplace_back(detail->DevicePath);
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  return paths;
}

HidHandle WinHidBackend::Open(const std::string& path, HidAccess access) {
  const DWORD rights = access == HidAccess::kNone ? 0 : GENERIC_READ | GENERIC_WRITE;
  HANDLE file = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Fail("CreateFile " + path);
    return kInvalidHandle;
  }
  auto device = std::make_shared<Device>();
  device->file = file;
  device->read_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  device->closing = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::lock_guard lock(mutex_);
  const HidHandle handle = next_handle_++;
  devices_[handle] = std::move(device);
  return handle;
}

void WinHidBackend::Close(HidHandle handle) {
  std::shared_ptr<Device> device;
  {
    std::lock_guard lock(mutex_);
    auto found = devices_.find(handle);
    if (found == devices_.end()) return;
    device = std::move(found->second);
    devices_.erase(found);
  }
  // A read that waits ends now; the handle closes when the last user lets go.
  SetEvent(device->closing);
  CancelIoEx(device->file, nullptr);
}

std::shared_ptr<WinHidBackend::Device> WinHidBackend::Find(HidHandle handle) {
  std::lock_guard lock(mutex_);
  auto found = devices_.find(handle);
  if (found == devices_.end()) {
    last_error_ = "no such HID handle";
    last_access_denied_ = false;
    return nullptr;
  }
  return found->second;
}

std::optional<HidAttributes> WinHidBackend::GetAttributes(HidHandle handle) {
  auto device = Find(handle);
  if (!device) return std::nullopt;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof(attributes);
  if (!HidD_GetAttributes(device->file, &attributes)) {
    Fail("HidD_GetAttributes");
    return std::nullopt;
  }
  return HidAttributes{attributes.VendorID, attributes.ProductID, attributes.VersionNumber};
}

std::optional<HidCaps> WinHidBackend::GetCaps(HidHandle handle) {
  auto device = Find(handle);
  if (!device) return std::nullopt;
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!HidD_GetPreparsedData(device->file, &preparsed)) {
    Fail("HidD_GetPreparsedData");
    return std::nullopt;
  }
  HIDP_CAPS caps{};
  const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
  HidD_FreePreparsedData(preparsed);
  if (status != HIDP_STATUS_SUCCESS) {
    Fail("HidP_GetCaps", static_cast<unsigned long>(status));
    return std::nullopt;
  }
  return HidCaps{caps.InputReportByteLength, caps.OutputReportByteLength,
                 caps.FeatureReportByteLength};
}

bool WinHidBackend::SetFeature(HidHandle handle, std::span<const std::uint8_t> report) {
  auto device = Find(handle);
  if (!device) return false;
  // HidD_SetFeature takes a writable buffer.
  std::vector<std::uint8_t> buffer(report.begin(), report.end());
  if (!HidD_SetFeature(device->file, buffer.data(), static_cast<ULONG>(buffer.size()))) {
    Fail("HidD_SetFeature");
    return false;
  }
  return true;
}

bool WinHidBackend::GetFeature(HidHandle handle, std::span<std::uint8_t> report) {
  auto device = Find(handle);
  if (!device) return false;
  if (!HidD_GetFeature(device->file, report.data(), static_cast<ULONG>(report.size()))) {
    Fail("HidD_GetFeature");
    return false;
  }
  return true;
}

bool WinHidBackend::ReadInput(HidHandle handle, std::span<std::uint8_t> report) {
  if (interrupted_) return false;
  auto device = Find(handle);
  if (!device) return false;
  std::lock_guard read_lock(device->read_mutex);
  OVERLAPPED overlapped{};
  overlapped.hEvent = device->read_done;
  ResetEvent(device->read_done);
  DWORD count = 0;
  if (!ReadFile(device->file, report.data(), static_cast<DWORD>(report.size()), &count,
                &overlapped)) {
    if (GetLastError() != ERROR_IO_PENDING) {
      Fail("ReadFile");
      return false;
    }
    const HANDLE waits[] = {device->read_done, device->closing, static_cast<HANDLE>(interrupt_)};
    const DWORD woke = WaitForMultipleObjects(3, waits, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0) CancelIoEx(device->file, &overlapped);
    // The read's buffer stays in use until the driver has let it go.
    if (!GetOverlappedResult(device->file, &overlapped, &count, TRUE) || woke != WAIT_OBJECT_0) {
      if (woke == WAIT_OBJECT_0) Fail("ReadFile");
      return false;
    }
  }
  return count > 0;
}

void WinHidBackend::InterruptReads() {
  interrupted_ = true;
  if (interrupt_ != nullptr) SetEvent(static_cast<HANDLE>(interrupt_));
}

}  // namespace vrdk
