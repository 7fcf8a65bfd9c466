// Fuzz target: whatever the kernel's side of /dev/uhid may hand the virtual
// mouse. The input is a run of events, each a 2-byte little-endian length and
// that many bytes; the virtual mouse answers each, and time moves on between
// them so restarts come back.
#include <linux/uhid.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "virtual_mouse/hid_devices.h"
#include "virtual_mouse/virtual_mouse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vrdk;
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0) return 0;
  const int kernel = fds[1];
  CountingClock clock;
  SimulatedMouseConfig config;
  config.collections = VirtualMouseCollections();
  SimulatedMouse mouse(clock, config);
  mouse.SetRecording(false);
  VirtualMouse virtual_mouse(mouse, clock, UhidDevice(fds[0]), std::nullopt, nullptr, {}, nullptr);
  virtual_mouse.Start();

  std::span<const std::uint8_t> input(data, size);
  bool open = true;
  while (open && input.size() >= 2) {
    const std::size_t length = std::min<std::size_t>(
        input[0] | input[1] << 8, std::min(input.size() - 2, sizeof(uhid_event)));
    if (::send(kernel, input.data() + 2, length, 0) < 0) break;
    input = input.subspan(2 + length);
    bool woken = false;
    open = virtual_mouse.Turn(Milliseconds(0), -1, &woken);
    uhid_event event{};
    while (::recv(kernel, &event, sizeof event, 0) > 0) {
      if (event.type != UHID_GET_REPORT_REPLY && event.type != UHID_SET_REPORT_REPLY &&
          event.type != UHID_CREATE2 && event.type != UHID_DESTROY && event.type != UHID_INPUT2) {
        __builtin_trap();
      }
    }
    clock.Elapse(Milliseconds(300));
  }
  virtual_mouse.Stop();
  ::close(kernel);
  return 0;
}
