// The DPI levels and the polling rate, as the DPI page and the engineer page
// edit them. Every edit goes to the mouse at once as a live write; nothing
// waits for an apply button. Level count, values and the current level reach
// only the mouse and the working state (DpiState); colours and the polling
// rate also change DataBuf.
//
// Nothing is sent while Loading is set; the count and colour edits still
// change the working state then.
#pragma once

#include <array>
#include <cstdint>

#include "image/fields.h"
#include "session/session.h"
#include "tables/brand_options.h"

namespace vrdk::settings {

// Which of a bar's twelve segments are lit for the chosen value index
// (0..11): only its own in lever style, it and all before it in
// progress-bar style. Any other index lights nothing.
std::array<bool, DpiState::kValues> LitSegments(StepStyle style, int index);

// The step a slider snaps to when released at x pixels: the smallest i in
// 0..10 with x <= -5 + 20 (i + 1), and 11 beyond that.
int SliderStep(int x);

class DpiEditor {
 public:
  explicit DpiEditor(Session& session) : session_(session) {}

  // Shows DataBuf: polling rate (remembered, changed flag cleared), level
  // count, values, the current level; writes nothing.
  void ShowFromDataBuf();
  // Takes count, values and current level from the mouse's live settings
  // (addresses 0..191), for a mouse that keeps them only in its RAM. False
  // when they could not be read.
  bool TakeLiveLevels();

  // The number of levels (1..8); the new last level becomes selected and
  // current; writes 43.
  void SetLevelCount(int count);
  // Level n (1..8) added when it is the next one, or removed when it is the
  // last (never the only one); the new last level becomes selected and
  // current, and 43 is written (twice, as the page does). True when the
  // count changed.
  bool AddOrRemoveLevel(int level);
  // The current level, item 0..7 (level 1..8), written to 166.
  void SetCurrentLevel(int item);
  // The value index (0..11) of level n (1..8): from the engineer combo, which
  // does not update the working array, or from the DPI page (a bar segment or
  // a slider), which does. Writes the level pair byte, then re-selects the
  // current level so the mouse takes it.
  void SetValueFromCombo(int level, int index);
  void SetLevelValue(int level, int index);
  // One colour component (0 R, 1 G, 2 B) of level n from its edit; a value
  // above 255 counts as 255.
  void SetColourComponent(int level, int component, int value);
  // The colour dialog: the three edits, then the three bytes at once.
  void SetColour(int level, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // The polling rate in Hz (125, 250, 500 or 1000; any other changes
  // nothing). The mouse restarts only when the rate really changed.
  void SetPollingRate(int hz);

 private:
  bool Loading() const { return session_.Conn().loading; }
  // From settings bytes: DataBuf or the live settings.
  void ShowLevels(std::span<const std::uint8_t> settings);
  DpiState& Dpi() { return session_.Pages().dpi; }
  void SetValue(int level, int index, bool from_page);

  Session& session_;
};

}  // namespace vrdk::settings
