// The face of vrdkctl: messages go to stderr in the chosen language, and long
// transfers draw a progress bar on stderr when it is a terminal.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "session/session_events.h"
#include "tables/language_table.h"

namespace vrdk::cli {

class TerminalEvents : public SessionEvents {
 public:
  TerminalEvents(std::ostream& err, bool progress_bar) : err_(err), progress_bar_(progress_bar) {}

  // The table messages are shown from; until set, keys are shown as they are.
  void SetLanguage(const LanguageTable* language) { language_ = language; }

  void ShowMessage(std::string_view language_key) override;
  void ShowText(std::string_view text) override;
  void ShowLoading(int done, int total) override;
  void HideLoading() override;
  void ShowPageCovers(bool) override {}
  void RefreshPages() override {}
  void ConnectionChanged(ConnectionState) override {}
  void ButtonTestsChanged(const ButtonTests&) override {}
  // vrdkctl runs no input listener; a task is run at once.
  void PostToOwnerThread(std::function<void()> task) override { task(); }

  // The language keys of the messages shown, in order.
  const std::vector<std::string>& Messages() const { return messages_; }
  // The text of a language key; the key itself when the table lacks it.
  std::string Text(std::string_view key) const;

 private:
  void ClearBar();

  std::ostream& err_;
  const LanguageTable* language_ = nullptr;
  bool progress_bar_;
  int shown_percent_ = -1;
  std::vector<std::string> messages_;
};

}  // namespace vrdk::cli
