// Changes: writes that reach the mouse whole, or are journalled so that the
// next connection can finish them, and the user's word on what the mouse
// holds when one was not taken.

#include <algorithm>

#include "hid/tracing_backend.h"
#include "image/regions.h"
#include "session/session.h"

namespace vrdk {
namespace {

OwnText SubjectText(WriteSubject subject) {
  switch (subject) {
    case WriteSubject::kSettings:
      return OwnText::kSubjectSettings;
    case WriteSubject::kProfiles:
      return OwnText::kSubjectProfiles;
    case WriteSubject::kProfilesAndFire:
      return OwnText::kSubjectProfilesAndFire;
    case WriteSubject::kCustomerCodes:
      return OwnText::kSubjectCustomerCodes;
    case WriteSubject::kMacros:
      return OwnText::kSubjectMacros;
    case WriteSubject::kWholeMemory:
      return OwnText::kSubjectWholeMemory;
    case WriteSubject::kPatchCode:
      return OwnText::kSubjectPatchCode;
    case WriteSubject::kLedStrip:
      return OwnText::kSubjectLedStrip;
  }
  return OwnText::kSubjectSettings;
}

static_assert(static_cast<int>(OwnText::kRegionFlashInfo) -
                      static_cast<int>(OwnText::kRegionVendor) ==
                  static_cast<int>(image::RegionName::kFlashInfo),
              "the parts' texts follow the order of RegionName");

OwnText RegionOwnText(image::RegionName name) {
  return static_cast<OwnText>(static_cast<int>(OwnText::kRegionVendor) + static_cast<int>(name));
}

// Appends a sentence to a message, one blank between.
void Add(std::string& text, const std::string& sentence) {
  if (!text.empty()) text += ' ';
  text += sentence;
}

// What became of one byte of a change that failed.
enum class ByteState { kNew, kOld, kOther, kUnknown };

}  // namespace

std::string Session::WhatText(WriteSubject subject) const { return Own(SubjectText(subject)); }

Session::Change::Change(Session& session, WriteSubject subject) : session_(session) {
  if (!session_.change_) {
    session_.change_.emplace();
    JournalRecord& record = session_.change_->record;
    record.vendor_id = session_.link_.VendorId();
    record.product_id = session_.link_.ProductId();
    record.memory_type = session_.ActiveMemoryType();
    record.subject = subject;
  }
  ++session_.change_->depth;
}

Session::Change::~Change() {
  if (session_.change_->depth == 1) session_.FlushChange();
  if (--session_.change_->depth == 0) session_.EndChange();
}

bool Session::Change::ok() const { return !session_.change_->failed; }

void Session::EndChange() {
  if (change_->saved && !change_->failed) {
    journal_.Remove(change_->record.vendor_id, change_->record.product_id,
                    change_->record.memory_type);
  }
  change_.reset();
}

void Session::SetAfterWrite(AfterWrite then, std::uint8_t profile_byte) {
  if (!change_) return;
  JournalRecord& record = change_->record;
  const bool moved = record.then != then || record.profile_byte != profile_byte;
  record.then = then;
  record.profile_byte = profile_byte;
  if (moved && change_->saved) journal_.Save(record);
}

bool Session::JournalNeeded() const {
  const auto& ranges = change_->record.ranges;
  // One live write of up to four bytes is one report: whole or not at all.
  return journal_.Enabled() &&
         (ranges.size() > 1 || (ranges.size() == 1 && (!ranges[0].live || ranges[0].size() > 4)));
}

std::optional<std::vector<std::uint8_t>> Session::OldBytes(const WriteTarget& target) {
  const auto address = static_cast<std::size_t>(target.address);
  const std::size_t size = target.bytes.size();
  const std::vector<std::uint8_t>& known = target.live ? live_memory_ : device_memory_;
  if (address + size <= known.size()) {
    return std::vector<std::uint8_t>(known.begin() + static_cast<std::ptrdiff_t>(address),
                                     known.begin() + static_cast<std::ptrdiff_t>(address + size));
  }
  std::vector<std::uint8_t> read(size);
  const bool arrived = target.live ? checked_.ReadLive(target.address, read)
                                   : checked_.ReadMemory(target.address, read);
  if (!arrived) return std::nullopt;
  return read;
}

std::optional<std::vector<std::uint8_t>> Session::OldBytesInChange(const WriteTarget& target) {
  auto old_bytes = OldBytes(target);
  if (!old_bytes) return old_bytes;
  // An earlier write of the same change comes first: its new bytes are what
  // this one finds.
  const auto address = static_cast<std::size_t>(target.address);
  for (const JournalRange& earlier : change_->record.ranges) {
    if (earlier.live != target.live) continue;
    for (std::size_t i = 0; i < earlier.size(); ++i) {
      const std::size_t at = earlier.address + i;
      if (at >= address && at < address + old_bytes->size()) {
        (*old_bytes)[at - address] = earlier.new_bytes[i];
      }
    }
  }
  return old_bytes;
}

WriteCheck Session::WriteTarget1(const WriteTarget& target) {
  WriteCheck check;
  const std::size_t size = target.bytes.size();
  if (!target.live) {
    check = checked_.WriteMemory(target.address, target.bytes);
  } else if (size <= 3) {
    check = checked_.WriteLive(target.address, target.bytes);
  } else if (size == 4) {
    check = checked_.WriteLiveQuad(target.address, target.bytes.first<4>());
  } else {
    check = checked_.WriteLiveBlock(target.address, target.bytes);
  }
  // What is known of the mouse follows what was verified.
  std::vector<std::uint8_t>& known = target.live ? live_memory_ : device_memory_;
  const auto address = static_cast<std::size_t>(target.address);
  if (address + size <= known.size()) {
    if (check.whole) {
      std::copy(target.bytes.begin(), target.bytes.end(),
                known.begin() + static_cast<std::ptrdiff_t>(address));
    } else if (check.held) {
      std::copy(check.held->begin(), check.held->end(),
                known.begin() + static_cast<std::ptrdiff_t>(address));
    } else {
      known.clear();
    }
  }
  return check;
}

bool Session::WriteTargets(std::span<const WriteTarget> targets, WriteSubject subject) {
  if (!change_) {
    const Change change(*this, subject);
    return WriteNow(targets);
  }
  if (change_->failed) return false;
  for (const WriteTarget& target : targets) {
    change_->queued.push_back(
        {target.live, target.address, {target.bytes.begin(), target.bytes.end()}});
  }
  return true;
}

bool Session::FlushChange() {
  if (!change_) return true;
  if (change_->failed) {
    change_->queued.clear();
    return false;
  }
  if (change_->queued.empty()) return true;
  const std::vector<OpenChange::Queued> queued = std::move(change_->queued);
  change_->queued.clear();
  std::vector<WriteTarget> targets;
  for (const auto& write : queued) targets.push_back({write.live, write.address, write.bytes});
  return WriteNow(targets);
}

bool Session::WriteNow(std::span<const WriteTarget> targets) {
  // One operation: the faces see the transfers end once the outcome, told
  // or not, is known.
  const Operation operation(*this);
  if (change_->record.ranges.empty() && !FinishPendingRecord()) return false;
  JournalRecord& record = change_->record;
  const std::size_t first = record.ranges.size();
  for (const WriteTarget& target : targets) {
    auto old_bytes = OldBytesInChange(target);
    if (!old_bytes) {
      std::string message = Own(OwnText::kWriteFailed, {WhatText(record.subject)});
      Add(message, Own(OwnText::kHoldsUnchanged));
      FailOpenChange(message, false);
      return false;
    }
    record.ranges.push_back({target.live, static_cast<std::uint32_t>(target.address),
                             std::move(*old_bytes),
                             std::vector<std::uint8_t>(target.bytes.begin(), target.bytes.end())});
  }
  if (JournalNeeded()) {
    if (const auto saved = journal_.Save(record); !saved.ok()) {
      record.ranges.resize(first);
      FailOpenChange(Own(OwnText::kJournalUnavailable, {saved.message()}), false);
      return false;
    }
    change_->saved = true;
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const WriteCheck check = WriteTarget1(targets[i]);
    if (check.whole) continue;
    record.ranges.resize(first + i + 1);
    const auto& failed = record.ranges.back();
    const bool changed =
        first + i > 0 || !check.held ||
        !std::equal(check.held->begin(), check.held->end(), failed.old_bytes.begin());
    const bool live_field = targets.size() == 1 && first == 0 && failed.live && failed.size() <= 4;
    if (live_field) {
      const std::string address = std::to_string(failed.address);
      FailOpenChange(
          check.held ? Own(OwnText::kLiveNotTaken, {address, TracingBackend::HexBytes(*check.held)})
                     : Own(OwnText::kLiveNotTakenUnknown, {address}),
          changed);
    } else {
      FailOpenChange(HoldsMessage(first + i, check.held), changed);
    }
    return false;
  }
  return true;
}

void Session::FailChange(OwnText what) {
  if (!change_ || change_->failed) return;
  std::string message = Own(what);
  if (change_->saved) {
    Add(message, Own(OwnText::kJournalWillFinish,
                     {journal_.PathFor(change_->record.vendor_id, change_->record.product_id,
                                       change_->record.memory_type)}));
  }
  change_->failed = true;
  ReportTrouble(message);
}

void Session::FailOpenChange(const std::string& message, bool something_changed) {
  change_->failed = true;
  std::string text = message;
  const JournalRecord& record = change_->record;
  if (change_->saved && something_changed) {
    Add(text, Own(OwnText::kJournalWillFinish,
                  {journal_.PathFor(record.vendor_id, record.product_id, record.memory_type)}));
  } else if (change_->saved) {
    // Nothing reached the mouse: there is nothing to finish.
    journal_.Remove(record.vendor_id, record.product_id, record.memory_type);
    change_->saved = false;
  }
  ReportTrouble(text);
}

std::string Session::HoldsMessage(std::size_t failed,
                                  const std::optional<std::vector<std::uint8_t>>& held) const {
  const JournalRecord& record = change_->record;
  const MemoryType type = record.memory_type;
  const auto regions = image::MemoryRegions(type);
  // Each part's bytes that the change meant to alter, and what became of them.
  std::vector<std::vector<ByteState>> states(regions.size());
  for (std::size_t r = 0; r < record.ranges.size(); ++r) {
    const JournalRange& range = record.ranges[r];
    for (std::size_t i = 0; i < range.size(); ++i) {
      if (range.old_bytes[i] == range.new_bytes[i]) continue;
      const std::size_t at = range.address + i;
      const std::size_t address = range.live ? LiveToMemory(at, type) : at;
      ByteState state = ByteState::kNew;
      if (r == failed) {
        if (!held) {
          state = ByteState::kUnknown;
        } else if ((*held)[i] == range.new_bytes[i]) {
          state = ByteState::kNew;
        } else {
          state = (*held)[i] == range.old_bytes[i] ? ByteState::kOld : ByteState::kOther;
        }
      }
      for (std::size_t g = 0; g < regions.size(); ++g) {
        if (address >= regions[g].offset && address < regions[g].offset + regions[g].size) {
          states[g].push_back(state);
        }
      }
    }
  }
  std::vector<std::string> fresh, kept, damaged;
  bool unknown = false;
  for (std::size_t g = 0; g < regions.size(); ++g) {
    const auto& part = states[g];
    if (part.empty()) continue;
    const auto all = [&](ByteState state) {
      return std::all_of(part.begin(), part.end(), [state](ByteState s) { return s == state; });
    };
    const std::string name = Own(RegionOwnText(regions[g].name));
    if (std::find(part.begin(), part.end(), ByteState::kUnknown) != part.end()) {
      unknown = true;
    } else if (all(ByteState::kNew)) {
      fresh.push_back(name);
    } else if (all(ByteState::kOld)) {
      kept.push_back(name);
    } else {
      damaged.push_back(name);
    }
  }
  std::string text = Own(OwnText::kWriteFailed, {WhatText(record.subject)});
  if (fresh.empty() && damaged.empty() && !unknown) {
    Add(text, Own(OwnText::kHoldsUnchanged));
    return text;
  }
  if (!fresh.empty()) Add(text, Own(OwnText::kHoldsNew, {JoinedList(fresh, current_language_)}));
  if (!kept.empty()) Add(text, Own(OwnText::kHoldsOld, {JoinedList(kept, current_language_)}));
  if (!damaged.empty()) {
    Add(text, Own(OwnText::kHoldsDamaged, {JoinedList(damaged, current_language_)}));
  }
  if (unknown) Add(text, Own(OwnText::kHoldsUnknown));
  return text;
}

void Session::ReportTrouble(const std::string& message) {
  troubles_.push_back(message);
  // What the pages show may no longer be what the mouse holds.
  connection_.search_again = true;
  events_.ShowText(message);
}

// --- The journal at a connection and before a change ------------------------------

bool Session::ApplyJournalRecord(const JournalRecord& record) {
  const MemoryType type = connection_.image_memory_type;
  for (const JournalRange& range : record.ranges) {
    // Memory that holds the new bytes already is not written again.
    if (!range.live && range.address + range.size() <= device_memory_.size() &&
        std::equal(range.new_bytes.begin(), range.new_bytes.end(),
                   device_memory_.begin() + static_cast<std::ptrdiff_t>(range.address))) {
      continue;
    }
    const WriteCheck check =
        WriteTarget1({range.live, static_cast<int>(range.address), range.new_bytes});
    if (!check.whole) return false;
    if (!range.live && range.address + range.size() <= working_image_.size()) {
      std::copy(range.new_bytes.begin(), range.new_bytes.end(),
                working_image_.begin() + static_cast<std::ptrdiff_t>(range.address));
    }
  }
  const bool live_written =
      std::any_of(record.ranges.begin(), record.ranges.end(), [](const auto& r) { return r.live; });
  if (record.then == AfterWrite::kReloadProfile) {
    const std::array<std::uint8_t, 1> profile{record.profile_byte};
    const bool trigger = checked_.WriteLiveTrigger(static_cast<int>(kLiveUserAddress), 0x0F);
    if (!WriteTarget1({true, static_cast<int>(kLiveUserAddress), profile}).whole || !trigger) {
      return false;
    }
  }
  if (live_written || record.then == AfterWrite::kReloadProfile) {
    // The mouse keeps the live settings in its memory its own way: read the
    // parts that hold them again.
    for (const image::Region& region : image::MemoryRegions(type)) {
      if (!region.live_backed) continue;
      auto part = std::span(working_image_).subspan(region.offset, region.size);
      if (!checked_.ReadMemory(static_cast<int>(region.offset), part)) return false;
    }
  }
  if (record.then == AfterWrite::kRestart) restart_after_read_ = true;
  return true;
}

void Session::FinishJournal() {
  if (!journal_.Enabled() || change_) return;
  const std::uint16_t vendor = link_.VendorId();
  const std::uint16_t product = link_.ProductId();
  const MemoryType type = connection_.image_memory_type;
  const WriteJournal::Loaded loaded = journal_.Load(vendor, product, type);
  if (!loaded.present) return;
  if (!loaded.record.ok()) {
    const std::string kept = journal_.KeepAside(vendor, product, type);
    events_.ShowText(Own(OwnText::kJournalKept, {WhatText(WriteSubject::kWholeMemory),
                                                 kept + " (" + loaded.record.message() + ")"}));
    return;
  }
  const JournalRecord& record = loaded.record.value();
  if (JudgeJournalRecord(record, working_image_) == JournalVerdict::kForeign) {
    const std::string kept = journal_.KeepAside(vendor, product, type);
    events_.ShowText(Own(OwnText::kJournalKept, {WhatText(record.subject), kept}));
    return;
  }
  if (!ApplyJournalRecord(record)) {
    restart_after_read_ = false;
    device_memory_ = working_image_;
    events_.ShowText(Own(OwnText::kJournalNotFinished, {WhatText(record.subject)}));
    return;
  }
  device_memory_ = working_image_;
  journal_.Remove(vendor, product, type);
  events_.ShowText(Own(OwnText::kJournalFinished, {WhatText(record.subject)}));
}

bool Session::FinishPendingRecord() {
  if (!journal_.Enabled()) return true;
  const JournalRecord& open = change_->record;
  const WriteJournal::Loaded loaded =
      journal_.Load(open.vendor_id, open.product_id, open.memory_type);
  if (!loaded.present) return true;
  // A write of this mouse is not finished yet: finish it before another.
  const JournalRecord pending = loaded.record.ok() ? loaded.record.value() : JournalRecord{};
  const bool finished =
      loaded.record.ok() && ApplyJournalRecord(pending) && pending.then != AfterWrite::kRestart;
  if (finished) {
    journal_.Remove(open.vendor_id, open.product_id, open.memory_type);
    return true;
  }
  restart_after_read_ = false;
  change_->failed = true;
  ReportTrouble(Own(OwnText::kJournalPending, {WhatText(pending.subject)}));
  return false;
}

}  // namespace vrdk
