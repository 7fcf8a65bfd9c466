#include "hid/hid_backend.h"

namespace vrdk {

bool HidBackend::ArrivedWithin(std::chrono::milliseconds /*span*/) { return false; }

int HidBackend::CountInterfaces() {
  int count = 0;
  for (const auto& path : ListInterfaces()) {
    const HidHandle handle = Open(path, HidAccess::kNone);
    if (handle == kInvalidHandle) continue;
    ++count;
    Close(handle);
  }
  return count;
}

}  // namespace vrdk
