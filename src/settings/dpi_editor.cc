#include "settings/dpi_editor.h"

#include <algorithm>

#include "session/write_roads.h"

namespace vrdk::settings {
namespace {

constexpr int kLevelCount = image::LiveAddress(image::field::kLevelCount);
constexpr int kCurrentLevel = image::LiveAddress(image::field::kCurrentLevel);

}  // namespace

std::array<bool, DpiState::kValues> LitSegments(StepStyle style, int index) {
  std::array<bool, DpiState::kValues> lit{};
  if (index < 0 || index >= DpiState::kValues) return lit;
  for (int i = 0; i < DpiState::kValues; ++i) {
    lit[static_cast<std::size_t>(i)] = style == StepStyle::kLever ? i == index : i <= index;
  }
  return lit;
}

int SliderStep(int x) {
  for (int i = 0; i <= 10; ++i) {
    if (x <= -5 + 20 * (i + 1)) return i;
  }
  return 11;
}

void DpiEditor::ShowFromDataBuf() {
  PageState& pages = session_.Pages();
  pages.last_polling_rate_sent = image::PollingRateHz(session_.Data());
  pages.polling_rate_changed = false;
  ShowLevels(session_.Data());
}

bool DpiEditor::TakeLiveLevels() {
  std::array<std::uint8_t, kLiveSize> live{};
  // Only a whole read is taken: a lost answer would show as 0xFF.
  if (!session_.Checked().ReadLive(0, live)) return false;
  ShowLevels(live);
  return true;
}

void DpiEditor::ShowLevels(std::span<const std::uint8_t> settings) {
  DpiState& dpi = Dpi();
  const int count_index = image::Get(settings, image::field::kLevelCount);
  if (count_index <= 7) dpi.count = count_index + 1;  // otherwise keep the count shown before
  dpi.selected = dpi.count - 1;
  dpi.current = dpi.count - 1;
  for (int level = 0; level < DpiState::kLevels; ++level) {
    const int index = image::LevelValueIndex(settings, level);
    // 15 marks a level not shown; 12..14 are no value, and the working array
    // keeps what it held so that no later pair write sends one back.
    if (index >= DpiState::kValues) continue;
    dpi.values[static_cast<std::size_t>(level)] = index;
    dpi.combo_items[static_cast<std::size_t>(level)] = index;
  }
  // A level cb_CurrentCPI has no item for keeps the last level selected.
  const int current = image::Get(settings, image::field::kCurrentLevel);
  if (current < dpi.count) dpi.current = current;
}

void DpiEditor::SetLevelCount(int count) {
  const int item = count - 1;
  if (item < 0 || item >= DpiState::kLevels) return;
  Dpi().count = item + 1;
  Dpi().selected = item;
  Dpi().current = item;
  if (!Loading()) WriteRoads(session_).WriteLiveField(kLevelCount, static_cast<std::uint8_t>(item));
}

bool DpiEditor::AddOrRemoveLevel(int level) {
  DpiState& dpi = Dpi();
  const int n = level - 1;
  if (n < 0 || n >= DpiState::kLevels) return false;
  const bool enabled = n < dpi.count;
  if (enabled && dpi.count == 1) return false;  // the last level stays
  if (!enabled && n == dpi.count) {
    dpi.count += 1;
  } else if (enabled && n == dpi.count - 1) {
    dpi.count -= 1;
  } else {
    return false;  // levels are added and removed only at the end
  }
  // The count display checks the new last level's radio, and cb_CurrentCPI
  // follows the checked radio.
  SetLevelCount(dpi.count);
  if (!Loading()) {
    WriteRoads(session_).WriteLiveField(kLevelCount, static_cast<std::uint8_t>(dpi.count - 1));
  }
  return true;
}

void DpiEditor::SetCurrentLevel(int item) {
  if (Loading() || item < 0 || item >= Dpi().count) return;
  Dpi().current = item;
  Dpi().selected = item;
  WriteRoads(session_).WriteLiveField(kCurrentLevel, static_cast<std::uint8_t>(item));
}

void DpiEditor::SetValueFromCombo(int level, int index) { SetValue(level, index, false); }

void DpiEditor::SetLevelValue(int level, int index) { SetValue(level, index, true); }

void DpiEditor::SetValue(int level, int index, bool from_page) {
  const int n = level - 1;
  if (Loading() || n < 0 || n >= DpiState::kLevels || index < 0 || index >= DpiState::kValues) {
    return;
  }
  DpiState& dpi = Dpi();
  const auto at = static_cast<std::size_t>(n);
  const std::size_t first = at - at % 2;  // the odd level of the pair (0-based even)
  int low;
  int high;
  if (from_page) {
    dpi.values[at] = index;
    dpi.combo_items[at] = index;
    low = dpi.values[first];
    high = dpi.values[first + 1];
  } else {
    // The engineer combos compose from both combos of the pair and leave the
    // working array as it was.
    dpi.combo_items[at] = index;
    low = dpi.combo_items[first];
    high = dpi.combo_items[first + 1];
  }
  const Session::Change change(session_, WriteSubject::kSettings);
  WriteRoads roads(session_);
  roads.WriteLiveField(image::LiveAddress(image::field::kLevelValues, n / 2),
                       image::LevelValuePair(low, high));
  // The mouse takes a new value when its current level is chosen again.
  const int current = dpi.current;
  roads.WriteLiveField(kCurrentLevel,
                       static_cast<std::uint8_t>(current > 0 ? current - 1 : current + 1));
  roads.WriteLiveField(kCurrentLevel, static_cast<std::uint8_t>(current));
}

void DpiEditor::SetColourComponent(int level, int component, int value) {
  const int n = level - 1;
  if (n < 0 || n >= DpiState::kLevels || component < 0 || component > 2) return;
  const auto byte = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  const int address = image::LiveAddress(image::field::kLevelColours, 3 * n + component);
  session_.Data()[static_cast<std::size_t>(address)] = byte;
  if (!Loading()) WriteRoads(session_).WriteLiveField(address, byte);
}

void DpiEditor::SetColour(int level, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const int n = level - 1;
  if (Loading() || n < 0 || n >= DpiState::kLevels) return;
  const Session::Change change(session_, WriteSubject::kSettings);
  SetColourComponent(level, 0, red);
  SetColourComponent(level, 1, green);
  SetColourComponent(level, 2, blue);
  WriteRoads(session_).WriteLiveField(image::LiveAddress(image::field::kLevelColours, n, 3), red,
                                      green, blue);
}

void DpiEditor::SetPollingRate(int hz) {
  const auto found = std::find(image::kPollingRates.begin(), image::kPollingRates.end(), hz);
  const auto index = static_cast<int>(found - image::kPollingRates.begin());
  if (Loading() || found == image::kPollingRates.end()) return;
  image::Set(session_.Data(), image::field::kPollingRate, index);
  WriteRoads(session_).WriteLiveField(image::LiveAddress(image::field::kPollingRate),
                                      session_.Data()[image::Place(image::field::kPollingRate)]);
  PageState& pages = session_.Pages();
  if (pages.last_polling_rate_sent == hz) return;
  pages.last_polling_rate_sent = hz;
  pages.polling_rate_changed = true;
  session_.RestartDevice();
}

}  // namespace vrdk::settings
