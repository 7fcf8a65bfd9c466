// A Session with no mouse on its bus and a face that shows nothing, for
// targets that need the program's state but never talk to a mouse.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hid/clock.h"
#include "hid/hid_backend.h"
#include "session/default_images.h"
#include "session/session.h"
#include "session/session_events.h"

namespace vrdk::fuzz {

class EmptyBus : public HidBackend {
 public:
  std::vector<std::string> ListInterfaces() override { return {}; }
  HidHandle Open(const std::string&, HidAccess) override { return kInvalidHandle; }
  void Close(HidHandle) override {}
  std::optional<HidAttributes> GetAttributes(HidHandle) override { return std::nullopt; }
  std::optional<HidCaps> GetCaps(HidHandle) override { return std::nullopt; }
  bool SetFeature(HidHandle, std::span<const std::uint8_t>) override { return false; }
  bool GetFeature(HidHandle, std::span<std::uint8_t>) override { return false; }
  bool ReadInput(HidHandle, std::span<std::uint8_t>) override { return false; }
  void InterruptReads() override {}
  std::string LastError() const override { return "no mouse"; }
};

// The build's default images of `type`, in the no-device state.
struct SessionWithoutMouse {
  explicit SessionWithoutMouse(MemoryType type)
      : session(bus, clock, face, *DefaultImageSet::FromResources(type)) {
    session.StartUp();
  }

  EmptyBus bus;
  CountingClock clock;
  SilentEvents face;
  Session session;
};

}  // namespace vrdk::fuzz
