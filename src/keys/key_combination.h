// The key-combination dialog as a state machine: modifiers from four check
// boxes, up to two keys typed into the edit box (or Tab from its own check
// box), and on confirm the class-0x02 code "02" + modifier byte + key-1 usage
// + key-2 usage with the edit text as the button's caption.
#pragma once

#include <string>
#include <vector>

namespace vrdk {

class KeyCombinationDialog {
 public:
  enum Modifier { kCtrl = 0, kShift = 1, kAlt = 2, kWin = 3 };  // bit numbers of the code

  static constexpr int kVirtualLeftWindows = 0x5B;
  static constexpr int kVirtualRightWindows = 0x5C;
  static constexpr int kTabUsage = 0x2B;

  // Edt_AssemblyKeyDown: a key press in the edit box. A Windows key, any
  // press while Shift, Alt or Ctrl is held, and a key that has no keyboard
  // usage (the launch keys, OEM_8, keys the tables do not know) are
  // discarded and change nothing; the first accepted key becomes key 1, the
  // second key 2, a third starts over as key 1. True when the key was taken.
  bool KeyDown(int virtual_key, bool shift_held, bool alt_held, bool ctrl_held);
  // CB_Ctrl, CB_Shift, CB_Alt, CB_Win.
  void SetModifier(Modifier modifier, bool checked);
  // CB_Tab: adds Tab as the next key, or takes it off again.
  void SetTab(bool checked);
  // IB_CancelClick: no text, no keys, no check boxes.
  void Clear();

  // The edit text: the checked modifiers in the order Ctrl, Shift, Alt, Win,
  // then the keys, joined by "+".
  std::string Text() const;
  // IB_ConfirmClick: eight upper-case hex digits; any state is accepted.
  std::string Code() const;
  bool Modifier(Modifier modifier) const { return modifiers_[modifier]; }
  // Whether Tab is one of the keys (a third key may have pushed it out).
  bool HasTab() const;

 private:
  struct Key {
    std::string name;
    int usage;
    bool tab;
  };
  void AddKey(Key key);

  bool modifiers_[4] = {false, false, false, false};
  std::vector<Key> keys_;
};

}  // namespace vrdk
