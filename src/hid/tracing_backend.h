// TracingBackend: a HidBackend that passes every call through to another one
// and writes one line per report transfer, in order:
//   "> " and the bytes of a feature report sent (command or data report)
//   "< " and the bytes of a feature report received
//   "I " and the bytes of an input report
// each byte as two upper-case hex digits, one blank between bytes; a failed
// transfer adds " FAIL". This is what a user attaches to a bug report.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "hid/hid_backend.h"

namespace vrdk {

class TracingBackend : public HidBackend {
 public:
  using Sink = std::function<void(std::string_view line)>;

  TracingBackend(HidBackend& inner, Sink sink) : inner_(inner), sink_(std::move(sink)) {}

  std::vector<std::string> ListInterfaces() override { return inner_.ListInterfaces(); }
  int CountInterfaces() override { return inner_.CountInterfaces(); }
  bool ArrivedWithin(std::chrono::milliseconds span) override { return inner_.ArrivedWithin(span); }
  HidHandle Open(const std::string& path, HidAccess access) override {
    return inner_.Open(path, access);
  }
  void Close(HidHandle handle) override { inner_.Close(handle); }
  std::optional<HidAttributes> GetAttributes(HidHandle handle) override {
    return inner_.GetAttributes(handle);
  }
  std::optional<HidCaps> GetCaps(HidHandle handle) override { return inner_.GetCaps(handle); }
  bool SetFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
  bool GetFeature(HidHandle handle, std::span<std::uint8_t> report) override;
  // Only reports that arrived are traced: a read ended by InterruptReads or a
  // closed handle moved nothing across the bus.
  bool ReadInput(HidHandle handle, std::span<std::uint8_t> report) override;
  void InterruptReads() override { inner_.InterruptReads(); }
  std::string LastError() const override { return inner_.LastError(); }
  // The diagnosis is the inner backend's: tracing changes none.
  bool LastErrorWasAccessDenied() const override { return inner_.LastErrorWasAccessDenied(); }

  // "42 00 00 08": bytes as the trace writes them.
  static std::string HexBytes(std::span<const std::uint8_t> bytes);

 private:
  void Trace(char mark, std::span<const std::uint8_t> bytes, bool ok);

  HidBackend& inner_;
  Sink sink_;
  std::mutex mutex_;
};

}  // namespace vrdk
