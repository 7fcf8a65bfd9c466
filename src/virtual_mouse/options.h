// The command line of vrdk-virtual-mouse.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "image/memory_type.h"

namespace vrdk {

struct VirtualMouseOptions {
  std::string image;                      // empty: factory memory, nothing saved
  std::optional<MemoryType> memory_type;  // for a missing image; checked against a present one
  bool keyboard = false;                  // also put an unrelated keyboard on the bus
  bool composite = false;                 // mouse, consumer and vendor collections in one interface
  long unplug_after = -1;  // the transfer with this number fails and the mouse leaves
  std::string uhid = "/dev/uhid";
  bool help = false;
  bool version = false;
};

// Options as "--name=value" or "--name value". kInvalid, saying why, for an
// unknown option, a missing or bad value, or a stray argument.
Result<VirtualMouseOptions> ParseVirtualMouseOptions(std::span<const std::string_view> args);

std::string_view VirtualMouseUsage();

}  // namespace vrdk
