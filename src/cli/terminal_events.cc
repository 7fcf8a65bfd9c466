#include "cli/terminal_events.h"

namespace vrdk::cli {
namespace {
// Shorter transfers finish before a bar would mean anything.
constexpr int kBarMinimumChunks = 50;
constexpr int kBarWidth = 40;
}  // namespace

std::string TerminalEvents::Text(std::string_view key) const {
  if (language_ == nullptr) return std::string(key);
  const auto text = language_->Find(key);
  return text && !text->empty() ? std::string(*text) : std::string(key);
}

void TerminalEvents::ShowMessage(std::string_view language_key) {
  ClearBar();
  messages_.emplace_back(language_key);
  err_ << "vrdkctl: " << Text(language_key) << '\n';
}

void TerminalEvents::ShowText(std::string_view text) {
  ClearBar();
  messages_.emplace_back(text);
  err_ << "vrdkctl: " << text << '\n';
}

void TerminalEvents::ShowLoading(int done, int total) {
  if (!progress_bar_ || total < kBarMinimumChunks) return;
  const int percent = static_cast<int>(100LL * (done + 1) / total);
  if (percent == shown_percent_) return;
  shown_percent_ = percent;
  const int filled = kBarWidth * percent / 100;
  err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << percent << '%'
       << std::flush;
  if (done + 1 >= total) ClearBar();
}

void TerminalEvents::HideLoading() { ClearBar(); }

void TerminalEvents::ClearBar() {
  if (shown_percent_ < 0) return;
  err_ << '\r' << std::string(kBarWidth + 8, ' ') << '\r' << std::flush;
  shown_percent_ = -1;
}

}  // namespace vrdk::cli
