#include "hid/tracing_backend.h"

namespace vrdk {

std::string TracingBackend::HexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) text.push_back(' ');
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

void TracingBackend::Trace(char mark, std::span<const std::uint8_t> bytes, bool ok) {
  std::string line;
  line.reserve(4 + bytes.size() * 3 + 5);
  line.push_back(mark);
  line.push_back(' ');
  line += HexBytes(bytes);
  if (!ok) line += " FAIL";
  std::lock_guard lock(mutex_);
  sink_(line);
}

bool TracingBackend::SetFeature(HidHandle handle, std::span<const std::uint8_t> report) {
  const bool ok = inner_.SetFeature(handle, report);
  Trace('>', report, ok);
  return ok;
}

bool TracingBackend::GetFeature(HidHandle handle, std::span<std::uint8_t> report) {
  const bool ok = inner_.GetFeature(handle, report);
  Trace('<', report, ok);
  return ok;
}

bool TracingBackend::ReadInput(HidHandle handle, std::span<std::uint8_t> report) {
  const bool ok = inner_.ReadInput(handle, report);
  if (ok) Trace('I', report, ok);
  return ok;
}

}  // namespace vrdk
