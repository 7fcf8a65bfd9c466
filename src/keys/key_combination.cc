#include "keys/key_combination.h"

#include <algorithm>
#include <cstdio>

#include "keys/keyboard_keys.h"

namespace vrdk {
namespace {
constexpr const char* kModifierNames[4] = {"Ctrl", "Shift", "Alt", "Win"};
constexpr std::size_t kMaxKeys = 2;
}  // namespace

void KeyCombinationDialog::AddKey(Key key) {
  if (keys_.size() >= kMaxKeys) keys_.clear();  // a third key starts over
  keys_.push_back(std::move(key));
}

bool KeyCombinationDialog::KeyDown(int virtual_key, bool shift_held, bool alt_held,
                                   bool ctrl_held) {
  if (virtual_key == kVirtualLeftWindows || virtual_key == kVirtualRightWindows || shift_held ||
      alt_held || ctrl_held) {
    return false;
  }
  // A key without a usage would be stored as no key while its name stood in
  // the caption.
  const int usage = VirtualKeyToUsage(virtual_key);
  if (usage == 0) return false;
  AddKey({std::string(VirtualKeyName(virtual_key)), usage, false});
  return true;
}

bool KeyCombinationDialog::HasTab() const {
  return std::any_of(keys_.begin(), keys_.end(), [](const Key& key) { return key.tab; });
}

void KeyCombinationDialog::SetModifier(enum Modifier modifier, bool checked) {
  modifiers_[modifier] = checked;
}

void KeyCombinationDialog::SetTab(bool checked) {
  const auto tab = std::find_if(keys_.begin(), keys_.end(), [](const Key& key) { return key.tab; });
  if (checked && tab == keys_.end()) AddKey({"Tab", kTabUsage, true});
  if (!checked && tab != keys_.end()) keys_.erase(tab);
}

void KeyCombinationDialog::Clear() {
  std::fill(std::begin(modifiers_), std::end(modifiers_), false);
  keys_.clear();
}

std::string KeyCombinationDialog::Text() const {
  std::string text;
  auto append = [&text](const std::string& part) {
    if (!text.empty()) text += '+';
    text += part;
  };
  for (int m = 0; m < 4; ++m) {
    if (modifiers_[m]) append(kModifierNames[m]);
  }
  for (const Key& key : keys_) append(key.name);
  return text;
}

std::string KeyCombinationDialog::Code() const {
  int modifiers = 0;
  for (int m = 0; m < 4; ++m) {
    if (modifiers_[m]) modifiers |= 1 << m;
  }
  const int key1 = keys_.size() > 0 ? keys_[0].usage : 0;
  const int key2 = keys_.size() > 1 ? keys_[1].usage : 0;
  char code[16];
  std::snprintf(code, sizeof code, "02%02X%02X%02X", modifiers & 0xFF, key1 & 0xFF, key2 & 0xFF);
  return code;
}

}  // namespace vrdk
