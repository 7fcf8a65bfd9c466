// A simulated mouse on a simulated bus with a DeviceLink over it, on a
// counting clock: the common ground of the tests that talk to the mouse.
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "hid/device_link.h"
#include "simulator/simulated_backend.h"
#include "simulator/simulated_mouse.h"

namespace vrdk::testing {

// "40 09 00 00 08 00 00 00": bytes as upper-case hex, one blank between.
inline std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (auto byte : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    if (!text.empty()) text += ' ';
    text += digits;
  }
  return text;
}

// The mouse's transcript as the host saw it: "> " a report sent, "< " a
// report received, "I " an input report; " FAIL" after a failed transfer.
inline std::vector<std::string> TranscriptLines(const SimulatedMouse& mouse) {
  std::vector<std::string> lines;
  for (const auto& transfer : mouse.Transcript()) {
    const char* mark = transfer.kind == SimulatedTransfer::Kind::kSetFeature   ? "> "
                       : transfer.kind == SimulatedTransfer::Kind::kGetFeature ? "< "
                                                                               : "I ";
    lines.push_back(mark + Hex(std::span(transfer.bytes.data(), transfer.length)) +
                    (transfer.ok ? "" : " FAIL"));
  }
  return lines;
}

class RecordingLoading : public LoadingWindow {
 public:
  void ShowLoading(int done, int total) override {
    ++shows;
    last_done = done;
    last_total = total;
  }
  void HideLoading() override { ++hides; }
  int shows = 0;
  int hides = 0;
  int last_done = -1;
  int last_total = -1;
};

struct SimulatedRig {
  explicit SimulatedRig(SimulatedMouseConfig config = {})
      : mouse(clock, std::move(config)), backend(&mouse), link(backend, clock, &loading) {}

  // Opens the mouse, then forgets the transcript, the waits and the loading
  // window calls of the open.
  bool OpenMouse() {
    const bool found = link.OpenDevice(mouse.Config().vendor_id, mouse.Config().product_id);
    Forget();
    return found;
  }

  void Forget() {
    mouse.ClearTranscript();
    clock.ClearWaits();
    loading = RecordingLoading{};
  }

  std::vector<std::string> Reports() const { return TranscriptLines(mouse); }

  CountingClock clock;
  SimulatedMouse mouse;
  SimulatedBackend backend;
  RecordingLoading loading;
  DeviceLink link;
};

}  // namespace vrdk::testing
