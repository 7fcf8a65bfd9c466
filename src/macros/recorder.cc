#include "macros/recorder.h"

#include <algorithm>

#include "keys/keyboard_keys.h"

namespace vrdk::macros {
namespace {

constexpr int kKeyBytes = 2;
constexpr int kButtonBytes = 1;
constexpr int kDelayBytes = 3;

// The modifier bit of the virtual keys recorded as modifier events.
std::optional<std::uint8_t> ModifierBit(int virtual_key) {
  switch (virtual_key) {
    case 0x11:
      return 0x01;  // Ctrl
    case 0x10:
      return 0x02;  // Shift
    case 0x12:
      return 0x04;  // Alt
    case 0x5B:
      return 0x08;  // Left Windows
    case 0x5C:
      return 0x80;  // Right Windows
    default:
      return std::nullopt;
  }
}

std::string KeyEventLine(int virtual_key, bool down) {
  const std::string_view name = VirtualKeyName(virtual_key);
  if (const auto bit = ModifierBit(virtual_key)) return ModifierLine(down, name, *bit);
  return KeyboardKeyLine(down, name, VirtualKeyToUsage(virtual_key));
}

constexpr std::array<std::uint8_t, 5> kNoteButtons = {0x01, 0x02, 0x04, 0x08, 0x10};

}  // namespace

void MacroRecorder::Start(DelayMode mode, int fixed_delay) {
  text_.clear();
  mode_ = mode;
  fixed_delay_ = std::clamp(fixed_delay, 1, kMaxDelay);
  capacity_ = kCapacity;
  used_ = 0;
  inserting_ = false;
  recording_ = true;
  full_ = refused_ = false;
  previous_.reset();
  last_key_ = -1;
  held_ = 0;
  notes_ = {};
}

bool MacroRecorder::StartInsert(MacroText text, std::size_t selected, bool back, DelayMode mode,
                                int fixed_delay) {
  if (selected + 1 >= text.size()) return false;
  const EncodeResult encoded = EncodeLines(text);
  if (!encoded.ok()) return false;
  Start(mode, fixed_delay);
  text_ = std::move(text);
  // The budget continues from the events already there (end byte not
  // counted, less one), so capacity 254 ends where the record's 256 bytes do.
  used_ = std::max(0, static_cast<int>(encoded.bytes.size()) - 2);
  if (used_ >= kCapacity) {
    recording_ = false;
    return false;
  }
  inserting_ = true;
  insert_at_ = selected + (back ? 2 : 1);
  return true;
}

void MacroRecorder::Stop() {
  recording_ = false;
  inserting_ = false;
  full_ = false;
  previous_.reset();
}

void MacroRecorder::EnsureHeader() {
  if (text_.empty()) text_.push_back(HeaderLine(mode_, fixed_delay_));
}

void MacroRecorder::Append(std::string line) {
  if (inserting_) {
    text_.insert(text_.begin() + static_cast<std::ptrdiff_t>(std::min(insert_at_, text_.size())),
                 std::move(line));
    ++insert_at_;
  } else {
    text_.push_back(std::move(line));
  }
}

void MacroRecorder::Emit(std::string line, int bytes, std::uint32_t now) {
  if (mode_ != DelayMode::kNone) {
    if (previous_) {
      const std::uint32_t measured = std::min<std::uint32_t>(now - *previous_, kMaxDelay);
      Append(DelayLine(mode_ == DelayMode::kFixed ? fixed_delay_ : static_cast<int>(measured)));
      used_ += kDelayBytes;
      running_ += kDelayBytes;
    }
    previous_ = now;
  }
  Append(std::move(line));
  used_ += bytes;
  running_ += bytes;
}

void MacroRecorder::KeyEvent(int virtual_key, KeyEventType type, std::uint32_t now) {
  if (!recording_ || virtual_key == 0xFF) return;
  EnsureHeader();
  const bool room_down = used_ < capacity_ - Reserve();
  switch (type) {
    case KeyEventType::kFirstDown:
    case KeyEventType::kFurtherDown: {
      const bool repeat =
          virtual_key == last_key_ && (type == KeyEventType::kFurtherDown || held_ != 0);
      if (repeat) return;
      if (room_down) {
        Emit(KeyEventLine(virtual_key, true), kKeyBytes, now);
      } else {
        refused_ = full_ = true;
      }
      last_key_ = virtual_key;
      ++held_;
      break;
    }
    case KeyEventType::kUp:
      if (refused_ && (virtual_key == last_key_ || running_ < used_)) return;
      if (used_ < capacity_) {
        Emit(KeyEventLine(virtual_key, false), kKeyBytes, now);
      } else {
        full_ = true;
      }
      last_key_ = virtual_key;
      held_ = std::max(0, held_ - 1);
      break;
  }
}

void MacroRecorder::Note(MouseNote note, bool over_record_button) {
  if (!recording_) return;
  const bool left = note == MouseNote::kLeftDown || note == MouseNote::kLeftUp;
  if (left && over_record_button) return;
  notes_[static_cast<std::size_t>(note)] = true;
}

void MacroRecorder::HandleNotes(std::uint32_t now) {
  if (!recording_) return;
  EnsureHeader();
  for (std::size_t i = 0; i < notes_.size(); ++i) {
    if (!notes_[i]) continue;
    notes_[i] = false;
    const bool down = i % 2 == 0;
    if (down ? used_ > capacity_ - Reserve() : used_ > capacity_) {
      // No room: nothing more is recorded in this recording.
      if (down) used_ = capacity_ + 1;
      continue;
    }
    Emit(MouseButtonLine(down, kNoteButtons[i / 2]), kButtonBytes, now);
  }
}

}  // namespace vrdk::macros
