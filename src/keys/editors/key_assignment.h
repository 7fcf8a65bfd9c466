// The key assignment editor: giving a main-page button of the shown profile,
// an engineer-page button (profile P, button N) or a combination slot a
// function. Every assignment stores the code in the code list and DataBuf,
// updates the button's name and caption, and writes the profiles to the
// mouse (and a combination slot also alone at its live address).
//
// Left-click guard: on the main page with Profile 1 or 2 shown, the last
// button that shows "Left Click" cannot be given another function; the
// assignment is refused and its caption put back.
#pragma once

#include <string>

#include "base/result.h"
#include "session/session.h"

namespace vrdk::keys {

struct KeyTarget {
  enum class Kind { kMainButton, kEngineerButton, kCombinationSlot };
  Kind kind = Kind::kMainButton;
  int profile = 1;  // 1..3 (engineer buttons)
  int number = 1;   // button 1..12, or slot 1..9

  static KeyTarget MainButton(int button) { return {Kind::kMainButton, 1, button}; }
  static KeyTarget EngineerButton(int profile, int button) {
    return {Kind::kEngineerButton, profile, button};
  }
  static KeyTarget CombinationSlot(int slot) { return {Kind::kCombinationSlot, 1, slot}; }
};

// An assignment either takes, or fails with kRefused (the left-click guard
// kept the last "Left Click") or kInvalid (no such target, tag or code).
using AssignResult = Result<void>;

class KeyAssignment {
 public:
  explicit KeyAssignment(Session& session) : session_(session) {}

  // KeyStatusOnClick: the menu entry with this tag (CodeForMenuTag); its
  // caption is the entry's text in the current language.
  AssignResult AssignMenuEntry(const KeyTarget& target, int tag);
  // A code made elsewhere (the key-combination dialog, a macro), shown with
  // this caption (an empty one: the code's name).
  AssignResult AssignCode(const KeyTarget& target, const std::string& code,
                          const std::string& caption);

  // RefreshProfile1Keys .. RefreshProfile3Keys: the main-page captions from
  // one profile's names.
  void RefreshProfileKeys(int profile);
  // Rebuilds every caption from the names (after DataBuf is shown).
  void ShowFromDataBuf();

  // The language's left-click name (Str210) and how many main-page buttons
  // show it.
  std::string LeftClickName() const;
  int LeftClickCount() const;
  // Key_AssemblyClick: whether the key-combination dialog may open for this
  // target (Profiles 1 and 2: not for the last "Left Click"; Profile 3, which
  // has no guard: always).
  bool MayOpenCombinationDialog(const KeyTarget& target) const;

  // The profile (0-based) the main page shows.
  int ShownProfile() const;

 private:
  bool Store(const KeyTarget& target, const std::string& code);

  Session& session_;
};

}  // namespace vrdk::keys
