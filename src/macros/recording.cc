#include "macros/recording.h"

#include <array>
#include <utility>

namespace vrdk::macros {
namespace {

using Kind = ErrorKind;

}  // namespace

MacroRecording::MacroRecording(MacroLibrary& library, RecorderWorker::Tick tick,
                               std::function<void()> changed)
    : library_(library), worker_(recorder_, std::move(tick), std::move(changed)) {}

Result<void> MacroRecording::Start(int index, DelayMode mode, int fixed_delay) {
  if (recorder_.Recording()) return Error{Kind::kBusy, "a recording is running already"};
  static constexpr std::array<std::uint8_t, 1> kEmpty = {opcode::kEnd};
  if (auto cleared = library_.SetEvents(index, kEmpty); !cleared.ok()) return cleared;
  index_ = index;
  recorder_.Start(mode, fixed_delay);
  worker_.Start();
  return {};
}

Result<void> MacroRecording::Stop() {
  if (!index_ || !recorder_.Recording() || recorder_.Inserting()) {
    return Error{Kind::kBusy, "no recording is running"};
  }
  worker_.Stop();
  recorder_.Stop();
  const int index = *std::exchange(index_, std::nullopt);
  return library_.SetLines(index, recorder_.Text());
}

Result<void> MacroRecording::StartInsert(int index, std::size_t selected, bool back, DelayMode mode,
                                         int fixed_delay) {
  if (recorder_.Recording()) return Error{Kind::kBusy, "a recording is running already"};
  const auto lines = library_.Lines(index);
  if (!lines) return Error{Kind::kNoSuchMacro, "no such macro"};
  if (selected + 1 >= lines->lines.size()) {
    return Error{Kind::kNoSuchMacro, "no event line " + std::to_string(selected + 1)};
  }
  if (!recorder_.StartInsert(lines->lines, selected, back, mode, fixed_delay)) {
    return Error{Kind::kTooLong, "the macro has no room left for an insertion"};
  }
  index_ = index;
  worker_.Start();
  return {};
}

void MacroRecording::StopInsert() {
  worker_.Stop();
  recorder_.Stop();
}

Result<void> MacroRecording::ConfirmInsert() {
  if (!index_ || recorder_.Recording()) return Error{Kind::kBusy, "no insertion waits"};
  const int index = *std::exchange(index_, std::nullopt);
  return library_.SetLines(index, recorder_.Text());
}

std::optional<DecodedMacro> MacroRecording::CancelInsert() {
  worker_.Stop();
  recorder_.CancelInsert();
  if (!index_) return std::nullopt;
  return library_.Lines(*std::exchange(index_, std::nullopt));
}

}  // namespace vrdk::macros
