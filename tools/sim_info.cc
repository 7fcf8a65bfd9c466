// vrdk-sim-info: opens the built-in simulated mouse through the same transport
// the program uses and prints what its device information answer says.

#include <cstdio>

#include "device/device_link.h"
#include "device/simulated_backend.h"
#include "device/simulated_mouse.h"

int main() {
  using namespace vrdk;
  for (const MemoryType type : {MemoryType::kI2C, MemoryType::kFlash}) {
    CountingClock clock;
    SimulatedMouseConfig config;
    config.memory_type = type;
    SimulatedMouse mouse(clock, config);
    SimulatedBackend backend(&mouse);
    DeviceLink link(backend, clock);

    std::printf("HID interfaces: %d\n", link.CountHidInterfaces());
    if (!link.OpenDevice(0x1BCF, 0x08B8) || !link.IsOpen()) {
      std::fprintf(stderr, "simulated mouse not found: %s\n", backend.LastError().c_str());
      return 2;
    }
    if (!link.SendCommand(command::kDeviceInfo)) {
      std::fprintf(stderr, "device information command failed\n");
      return 3;
    }
    link.ReadResponse();
    const auto& answer = link.ResponseData();
    const auto memory = MemoryTypeFromDeviceInfo(answer[2]);
    const bool valid = answer[0] >= kDeviceInfoMinimum && answer[1] == kDeviceInfoMarker;
    std::printf("mouse %04X:%04X, feature report %u bytes, input report %u bytes\n",
                link.VendorId(), link.ProductId(), link.FeatureReportLength(),
                link.InputReportLength());
    std::printf("device information: %02X %02X %02X %02X %02X %02X %02X -> %s, memory type %s\n",
                answer[0], answer[1], answer[2], answer[3], answer[4], answer[5], answer[6],
                valid ? "valid" : "not valid",
                memory ? std::string(MemoryTypeName(*memory)).c_str() : "unknown");
  }
  return 0;
}
