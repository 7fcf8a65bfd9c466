// vrdk-virtual-mouse: the simulated mouse on the real HID bus of this machine
// (see virtual_mouse.h). Runs until SIGINT or SIGTERM.

#include <fcntl.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "simulator/memory_image.h"
#include "virtual_mouse/hid_devices.h"
#include "virtual_mouse/options.h"
#include "virtual_mouse/virtual_mouse.h"

namespace vrdk {
namespace {

void Log(std::string_view line) {
  std::fprintf(stderr, "vrdk-virtual-mouse: %.*s\n", static_cast<int>(line.size()), line.data());
}

std::optional<UhidDevice> OpenUhid(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd >= 0) return UhidDevice(fd);
  Log("cannot open " + path + ": " + std::strerror(errno) +
      (errno == ENOENT ? " (load the uhid module: modprobe uhid)" : "") +
      (errno == EACCES ? " (run as root, or get access to it)" : ""));
  return std::nullopt;
}

// SIGINT/SIGTERM: stop; SIGUSR1/SIGUSR2: a press and release of the DPI /
// profile button. False once the program should end.
bool OnSignal(int signal_fd, SimulatedMouse& mouse, VirtualMouse& virtual_mouse) {
  signalfd_siginfo info{};
  if (::read(signal_fd, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) return true;
  const int number = static_cast<int>(info.ssi_signo);
  if (number == SIGINT || number == SIGTERM) return false;
  mouse.PressButton(number == SIGUSR1 ? ButtonTest::kDpi : ButtonTest::kProfile);
  mouse.PressButton(ButtonTest::kReleased);
  virtual_mouse.Sync();
  return true;
}

int Run(const VirtualMouseOptions& options) {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int number : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2}) sigaddset(&signals, number);
  if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) return 1;
  const int signal_fd = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (signal_fd < 0) {
    Log(std::string("signalfd: ") + std::strerror(errno));
    return 1;
  }

  std::optional<MemoryImage> image;
  if (!options.image.empty()) {
    auto loaded = LoadMemoryImage(options.image, options.memory_type);
    if (!loaded.ok()) {
      Log(loaded.message());
      return 1;
    }
    image = std::move(loaded).value();
  }
  SimulatedMouseConfig config;
  config.memory_type = image ? image->type : options.memory_type.value_or(MemoryType::kI2C);
  if (image) config.memory = image->bytes;
  const MouseLayout layout = options.composite ? MouseLayout::kComposite : MouseLayout::kVendorOnly;
  config.collections = VirtualMouseCollections(layout);
  SystemClock clock;
  SimulatedMouse mouse(clock, config);
  mouse.SetRecording(false);  // a long run would keep every transfer otherwise
  SimulatedFaults faults;
  faults.unplug_at_transfer = options.unplug_after;
  mouse.SetFaults(faults);

  auto mouse_device = OpenUhid(options.uhid);
  if (!mouse_device) return 1;
  std::optional<UhidDevice> keyboard;
  if (options.keyboard && !(keyboard = OpenUhid(options.uhid))) return 1;

  VirtualMouse::Saver saver;
  if (!options.image.empty()) {
    saver = [path = options.image](std::span<const std::uint8_t> memory) {
      const auto saved = SaveMemoryImage(path, memory);
      if (!saved.ok()) Log("memory not saved: " + saved.message());
      return saved.ok();
    };
  }
  std::vector<std::uint8_t> saved;
  if (image && image->from_file) saved = image->bytes;
  VirtualMouse virtual_mouse(mouse, clock, std::move(*mouse_device), std::move(keyboard),
                             std::move(saver), std::move(saved), Log, layout);
  Log(std::string("memory \"") + std::string(MemoryTypeName(config.memory_type)) + "\"" +
      (options.image.empty() ? " (factory, not saved)" : " in " + options.image));
  int status = 0;
  if (virtual_mouse.Start()) {
    for (;;) {
      bool woken = false;
      if (!virtual_mouse.Turn(Milliseconds::max(), signal_fd, &woken)) {
        status = 1;
        break;
      }
      if (woken && !OnSignal(signal_fd, mouse, virtual_mouse)) break;
    }
  } else {
    status = 1;
  }
  virtual_mouse.Stop();
  ::close(signal_fd);
  return status;
}

}  // namespace
}  // namespace vrdk

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const auto parsed = vrdk::ParseVirtualMouseOptions(args);
  if (!parsed.ok()) {
    std::fprintf(stderr, "vrdk-virtual-mouse: %s\n%s", parsed.message().c_str(),
                 std::string(vrdk::VirtualMouseUsage()).c_str());
    return 2;
  }
  const vrdk::VirtualMouseOptions* options = &parsed.value();
  if (options->help) {
    std::fputs(std::string(vrdk::VirtualMouseUsage()).c_str(), stdout);
    return 0;
  }
  if (options->version) {
    std::puts("vrdk-virtual-mouse " VRDK_VERSION);
    return 0;
  }
  return vrdk::Run(*options);
}
