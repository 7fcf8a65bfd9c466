#include "tables/rolling_caption.h"

namespace vrdk {
namespace {
// Past this many ticks the counter goes back to 2, so the gap comes only once.
constexpr int kCounterLimit = 20;
constexpr int kCounterRestart = 2;
constexpr std::string_view kGap = "    ";

// The length of the UTF-8 sequence that starts `text`.
std::size_t FirstCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t length = 1;
  while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}
}  // namespace

void RollingCaption::Start(std::string label, std::string caption) {
  label_ = std::move(label);
  original_ = caption;
  rolled_ = std::move(caption);
  ticks_ = 0;
  running_ = true;
}

const std::string& RollingCaption::Tick() {
  if (++ticks_ > kCounterLimit) ticks_ = kCounterRestart;
  const std::size_t first = FirstCharacterLength(rolled_);
  const std::string head = rolled_.substr(0, first);
  std::string next = rolled_.substr(first);
  if (ticks_ == 1) next += kGap;
  next += head;
  rolled_ = std::move(next);
  return rolled_;
}

}  // namespace vrdk
