#include "session/checked_link.h"

#include <algorithm>

#include "image/memory_type.h"

namespace vrdk {

void CheckedLink::Pause(Milliseconds pause) {
  if (pause.count() > 0) clock_.Sleep(pause);
}

// Runs send until it went whole: it returned true and no report failed on
// the way. At most policy_.attempts tries, with a pause between them.
template <typename Attempt>
bool CheckedLink::Retried(Attempt send) {
  for (int attempt = 0; attempt < std::max(policy_.attempts, 1); ++attempt) {
    if (attempt > 0) Pause(policy_.retry_pause);
    const std::uint64_t failed_before = link_.FailedTransfers();
    if (send() && link_.FailedTransfers() == failed_before) return true;
  }
  return false;
}

bool CheckedLink::ReadMemory(int address, std::span<std::uint8_t> out, bool show_progress) {
  const int length = static_cast<int>(out.size());
  return Retried([&] {
    return show_progress ? link_.ReadMemoryShowingProgress(address, length, out)
                         : link_.ReadMemory(address, length, out);
  });
}

bool CheckedLink::ReadLive(int address, std::span<std::uint8_t> out) {
  return Retried([&] { return link_.ReadLive(address, static_cast<int>(out.size()), out); });
}

bool CheckedLink::Ask(std::uint8_t code, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                      std::uint8_t p4) {
  return Retried([&] {
    if (!link_.SendCommand(code, p1, p2, p3, p4)) return false;
    link_.ReadResponse();
    return true;
  });
}

bool CheckedLink::Send(std::uint8_t code, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                       std::uint8_t p4) {
  return Retried([&] { return link_.SendCommand(code, p1, p2, p3, p4); });
}

bool CheckedLink::Matches(bool live, int address, std::span<const std::uint8_t> bytes,
                          std::optional<std::vector<std::uint8_t>>& held) {
  std::vector<std::uint8_t> read(bytes.size());
  for (int look = 0; look < 2; ++look) {
    if (look > 0) Pause(policy_.settle_pause);
    const bool arrived = live ? ReadLive(address, read) : ReadMemory(address, read);
    if (!arrived) {
      held.reset();
      return false;
    }
    held = read;
    if (std::equal(read.begin(), read.end(), bytes.begin(), bytes.end())) return true;
  }
  return false;
}

template <typename Attempt>
WriteCheck CheckedLink::Checked(bool live, int address, std::span<const std::uint8_t> bytes,
                                Attempt send) {
  WriteCheck check;
  // Only the live settings below 192 can be read back.
  const bool readable = !live || static_cast<std::size_t>(address) + bytes.size() <= kLiveSize;
  for (int attempt = 0; attempt < std::max(policy_.attempts, 1); ++attempt) {
    if (attempt > 0) Pause(policy_.retry_pause);
    const std::uint64_t failed_before = link_.FailedTransfers();
    const bool sent = send() && link_.FailedTransfers() == failed_before;
    if (!sent) {
      // What the mouse holds now is no longer what the last read-back saw.
      check.held.reset();
      continue;
    }
    if (!policy_.verify || !readable) {
      check.whole = true;
      return check;
    }
    if (Matches(live, address, bytes, check.held)) {
      check.whole = true;
      return check;
    }
  }
  // A failed last try leaves the range unknown; read it once more so the
  // caller can say what the mouse holds.
  if (!check.held && readable) {
    std::vector<std::uint8_t> read(bytes.size());
    if (live ? ReadLive(address, read) : ReadMemory(address, read)) check.held = read;
  }
  return check;
}

WriteCheck CheckedLink::WriteMemory(int address, std::span<const std::uint8_t> bytes) {
  return Checked(false, address, bytes,
                 [&] { return link_.WriteMemory(address, static_cast<int>(bytes.size()), bytes); });
}

WriteCheck CheckedLink::WriteLive(int address, std::span<const std::uint8_t> bytes) {
  const std::uint8_t d0 = bytes.size() > 0 ? bytes[0] : 0;
  const std::uint8_t d1 = bytes.size() > 1 ? bytes[1] : 0;
  const std::uint8_t d2 = bytes.size() > 2 ? bytes[2] : 0;
  return Checked(true, address, bytes, [&] {
    return link_.WriteLiveBytes(address, d0, d1, d2, static_cast<int>(bytes.size()));
  });
}

WriteCheck CheckedLink::WriteLiveQuad(int address, std::span<const std::uint8_t, 4> bytes) {
  return Checked(true, address, bytes, [&] {
    return link_.WriteLiveQuad(address, bytes[0], bytes[1], bytes[2], bytes[3]);
  });
}

WriteCheck CheckedLink::WriteLiveBlock(int start, std::span<const std::uint8_t> bytes) {
  return Checked(true, start, bytes, [&] {
    return link_.WriteLiveBlock(0, start, static_cast<int>(bytes.size()), bytes);
  });
}

bool CheckedLink::WriteLiveTrigger(int address, std::uint8_t value) {
  return Retried([&] { return link_.WriteLiveBytes(address, value, 0, 0, 1); });
}

}  // namespace vrdk
