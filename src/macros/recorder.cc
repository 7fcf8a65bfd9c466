#include "macros/recorder.h"

#include <algorithm>
#include <chrono>
#include <utility>

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
  std::lock_guard lock(mutex_);
  text_.clear();
  mode_ = mode;
  fixed_delay_ = std::clamp(fixed_delay, 1, kMaxDelay);
  used_ = 0;
  inserting_ = false;
  recording_ = true;
  full_ = refused_ = exhausted_ = false;
  previous_.reset();
  last_key_ = -1;
  held_ = 0;
  notes_ = {};
  changes_.clear();
  running_at_insert_.reset();
}

bool MacroRecorder::StartInsert(MacroText text, std::size_t selected, bool back, DelayMode mode,
                                int fixed_delay) {
  if (selected + 1 >= text.size()) return false;
  const auto encoded = EncodeLines(text);
  if (!encoded.ok()) return false;
  // The budget continues from the events already there (without their end
  // byte), so it ends where the record's 256 bytes do.
  const int used = static_cast<int>(encoded.value().size()) - 1;
  if (used >= kCapacity) return false;
  Start(mode, fixed_delay);
  std::lock_guard lock(mutex_);
  text_ = std::move(text);
  used_ = used;
  inserting_ = true;
  insert_at_ = selected + (back ? 2 : 1);
  running_at_insert_ = running_;
  return true;
}

void MacroRecorder::Stop() {
  std::lock_guard lock(mutex_);
  recording_ = false;
  inserting_ = false;
  full_ = false;
  previous_.reset();
  notes_ = {};
}

void MacroRecorder::CancelInsert() {
  std::lock_guard lock(mutex_);
  if (running_at_insert_) running_ = *std::exchange(running_at_insert_, std::nullopt);
  recording_ = false;
  inserting_ = false;
  full_ = false;
  previous_.reset();
  notes_ = {};
}

bool MacroRecorder::Recording() const {
  std::lock_guard lock(mutex_);
  return recording_;
}

bool MacroRecorder::Inserting() const {
  std::lock_guard lock(mutex_);
  return inserting_;
}

bool MacroRecorder::StopRequested() const {
  std::lock_guard lock(mutex_);
  return recording_ && (full_ || exhausted_);
}

MacroText MacroRecorder::Text() const {
  std::lock_guard lock(mutex_);
  return text_;
}

int MacroRecorder::Used() const {
  std::lock_guard lock(mutex_);
  return used_;
}

int MacroRecorder::Running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

bool MacroRecorder::Full() const {
  std::lock_guard lock(mutex_);
  return full_;
}

bool MacroRecorder::Refused() const {
  std::lock_guard lock(mutex_);
  return refused_;
}

std::vector<RecorderChange> MacroRecorder::TakeChanges() {
  std::lock_guard lock(mutex_);
  return std::exchange(changes_, {});
}

void MacroRecorder::EnsureHeader() {
  if (text_.empty()) text_.push_back(HeaderLine(mode_, fixed_delay_));
}

void MacroRecorder::Append(std::string line) {
  std::size_t at = text_.size();
  if (inserting_) {
    at = std::min(insert_at_, text_.size());
    ++insert_at_;
  }
  text_.insert(text_.begin() + static_cast<std::ptrdiff_t>(at), line);
  changes_.push_back({RecorderChange::Kind::kLineAdded, at, std::move(line)});
}

void MacroRecorder::MarkFull() {
  const bool was_full = full_ || exhausted_;
  full_ = true;
  if (!was_full) changes_.push_back({RecorderChange::Kind::kFull, 0, std::string(kFullText)});
}

bool MacroRecorder::Emit(std::string line, int bytes, bool release, std::uint32_t now) {
  int delay_bytes = DelayDue() ? kDelayBytes : 0;
  if (used_ + delay_bytes + bytes > kMaxEventBytes) {
    // A release may drop its delay so that its key does not stay pressed.
    if (!release || used_ + bytes > kMaxEventBytes) return false;
    delay_bytes = 0;
  }
  if (delay_bytes != 0) {
    const std::uint32_t measured = std::min<std::uint32_t>(now - *previous_, kMaxDelay);
    Append(DelayLine(mode_ == DelayMode::kFixed ? fixed_delay_ : static_cast<int>(measured)));
    used_ += kDelayBytes;
    running_ += kDelayBytes;
  }
  if (mode_ != DelayMode::kNone) previous_ = now;
  Append(std::move(line));
  used_ += bytes;
  running_ += bytes;
  return true;
}

void MacroRecorder::KeyEvent(int virtual_key, KeyEventType type, std::uint32_t now) {
  std::lock_guard lock(mutex_);
  if (!recording_ || virtual_key == 0xFF) return;
  EnsureHeader();
  if (type == KeyEventType::kUp) {
    KeyUp(virtual_key, now);
  } else {
    KeyDown(virtual_key, type, now);
  }
}

void MacroRecorder::KeyDown(int virtual_key, KeyEventType type, std::uint32_t now) {
  const bool repeat =
      virtual_key == last_key_ && (type == KeyEventType::kFurtherDown || held_ != 0);
  if (repeat) return;
  const bool room = !exhausted_ && used_ < kCapacity - Reserve();
  if (!room || !Emit(KeyEventLine(virtual_key, true), kKeyBytes, false, now)) {
    refused_ = true;
    MarkFull();
  }
  last_key_ = virtual_key;
  ++held_;
}

void MacroRecorder::KeyUp(int virtual_key, std::uint32_t now) {
  if (refused_ && (virtual_key == last_key_ || running_ < used_)) return;
  const bool room = !exhausted_ && used_ < kCapacity;
  if (!room || !Emit(KeyEventLine(virtual_key, false), kKeyBytes, true, now)) MarkFull();
  last_key_ = virtual_key;
  held_ = std::max(0, held_ - 1);
}

void MacroRecorder::Note(MouseNote note, bool over_record_button) {
  {
    std::lock_guard lock(mutex_);
    if (!recording_) return;
    const bool left = note == MouseNote::kLeftDown || note == MouseNote::kLeftUp;
    if (left && over_record_button) return;
    notes_[static_cast<std::size_t>(note)] = true;
  }
  notes_waiting_.notify_all();
}

int MacroRecorder::HandleNotes(std::uint32_t now) {
  std::lock_guard lock(mutex_);
  if (!recording_) return 0;
  EnsureHeader();
  const std::size_t before = changes_.size();
  for (std::size_t i = 0; i < notes_.size(); ++i) {
    if (!notes_[i]) continue;
    notes_[i] = false;
    const bool down = i % 2 == 0;
    const bool room = !exhausted_ && (down ? used_ <= kCapacity - Reserve() : used_ <= kCapacity);
    if (room && Emit(MouseButtonLine(down, kNoteButtons[i / 2]), kButtonBytes, !down, now)) {
      continue;
    }
    // A press without room ends what this recording takes.
    if (down) exhausted_ = true;
    MarkFull();
  }
  return static_cast<int>(std::count_if(changes_.begin() + static_cast<std::ptrdiff_t>(before),
                                        changes_.end(), [](const RecorderChange& change) {
                                          return change.kind == RecorderChange::Kind::kLineAdded;
                                        }));
}

bool MacroRecorder::WaitForNotes() {
  std::unique_lock lock(mutex_);
  notes_waiting_.wait(lock, [this] {
    return waiting_stopped_ ||
           std::any_of(notes_.begin(), notes_.end(), [](bool note) { return note; });
  });
  return !waiting_stopped_;
}

void MacroRecorder::StopWaiting() {
  {
    std::lock_guard lock(mutex_);
    waiting_stopped_ = true;
  }
  notes_waiting_.notify_all();
}

void MacroRecorder::AllowWaiting() {
  std::lock_guard lock(mutex_);
  waiting_stopped_ = false;
}

RecorderWorker::RecorderWorker(MacroRecorder& recorder, Tick tick, std::function<void()> changed)
    : recorder_(recorder), tick_(std::move(tick)), changed_(std::move(changed)) {}

void RecorderWorker::Start() {
  if (thread_.joinable()) return;
  recorder_.AllowWaiting();
  thread_ = std::thread([this] {
    while (recorder_.WaitForNotes()) {
      if (recorder_.HandleNotes(tick_()) > 0 && changed_) changed_();
    }
  });
}

void RecorderWorker::Stop() {
  if (!thread_.joinable()) return;
  recorder_.StopWaiting();
  thread_.join();
}

std::uint32_t SystemTick() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace vrdk::macros
