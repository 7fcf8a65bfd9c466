// What an editor's outcome tells the user: nothing when it succeeded or the
// core showed its own message, "Str022" when there is no mouse to act on,
// and otherwise the outcome's own words.
#pragma once

#include <QString>

#include "session/image_writes.h"
#include "shell/page.h"

namespace vrdk::shell {

inline void ShowOutcome(ShellServices& services, const Result<void>& outcome) {
  if (outcome.ok() || outcome.error().shown) return;
  if (outcome.Is(ErrorKind::kNoMouse)) {
    services.ShowMessageKey("Str022");
    return;
  }
  if (outcome.Is(ErrorKind::kRefused) || outcome.message().empty()) return;
  services.ShowMessageText(QString::fromStdString(outcome.message()));
}

// A patch programmed from `file`: its success is told as well.
inline void ShowPatchOutcome(ShellServices& services, const Result<void>& outcome,
                             const std::string& file) {
  if (!outcome.ok()) return ShowOutcome(services, outcome);
  services.ShowMessageText(
      QString::fromStdString(services.GetSession().Own(OwnText::kPatchProgrammed, {file})));
}

}  // namespace vrdk::shell
