#include "keys/editors/key_assignment.h"

#include <algorithm>

#include "keys/function_codes.h"
#include "keys/key_code.h"
#include "keys/menu_entries.h"
#include "session/write_roads.h"

namespace vrdk::keys {
namespace {

constexpr std::string_view kLeftClickKey = "Str210";

bool ValidTarget(const KeyTarget& target) {
  switch (target.kind) {
    case KeyTarget::Kind::kMainButton:
      return target.number >= 1 && target.number <= 12;
    case KeyTarget::Kind::kEngineerButton:
      return target.profile >= 1 && target.profile <= 3 && target.number >= 1 &&
             target.number <= 12;
    case KeyTarget::Kind::kCombinationSlot:
      return target.number >= 1 && target.number <= 9;
  }
  return false;
}

// The profile (0..2) a switch code goes to, short or extended form.
std::optional<int> SwitchTarget(const std::string& code) {
  const auto bytes = ParseKeyCode(code);
  if (!bytes || (*bytes)[0] != key_class::kProfileSwitch) return std::nullopt;
  const int target = (*bytes)[1] & 0x87;
  if (target < 0x80 || target > 0x82) return std::nullopt;
  return target - 0x80;
}

bool AnyButtonSwitchesTo(const image::CodeTexts& texts, int profile) {
  for (const auto& buttons : texts.profiles) {
    for (const std::string& code : buttons) {
      if (SwitchTarget(code) == profile) return true;
    }
  }
  return false;
}

}  // namespace

int KeyAssignment::ShownProfile() const { return std::clamp(session_.Pages().mode_page, 1, 3) - 1; }

std::string KeyAssignment::LeftClickName() const { return session_.Language().Text(kLeftClickKey); }

int KeyAssignment::LeftClickCount() const {
  const std::string left = LeftClickName();
  const auto& captions = session_.Pages().key_captions;
  return static_cast<int>(std::count(captions.begin(), captions.end(), left));
}

bool KeyAssignment::MayOpenCombinationDialog(const KeyTarget& target) const {
  if (!ValidTarget(target)) return false;
  if (target.kind != KeyTarget::Kind::kMainButton) return true;
  // Profile 3 has no left-click guard: the dialog always opens there.
  if (ShownProfile() == 2) return true;
  const bool shows_left =
      session_.Pages().key_captions[static_cast<std::size_t>(target.number - 1)] == LeftClickName();
  return !(shows_left && LeftClickCount() == 1);
}

void KeyAssignment::RefreshProfileKeys(int profile) {
  if (profile < 1 || profile > 3) return;
  session_.Pages().key_captions = session_.Pages().names[static_cast<std::size_t>(profile - 1)];
}

void KeyAssignment::ShowFromDataBuf() {
  PageState& pages = session_.Pages();
  RefreshProfileKeys(pages.mode_page);
  pages.engineer_captions = pages.names;
  for (std::size_t s = 0; s < pages.combination_captions.size(); ++s) {
    // A slot's profile switch shows its colour in that profile's colour list
    // only while no profile button switches there: the button's colour wins.
    const std::string& code = pages.code_texts.combinations[s];
    const auto target = SwitchTarget(code);
    const bool button_owns_colour = target && AnyButtonSwitchesTo(pages.code_texts, *target);
    pages.combination_captions[s] =
        button_owns_colour ? NameForSlotCode(code, session_.Language(), session_.Keys())
                           : session_.NameForCode(code);
  }
}

AssignResult KeyAssignment::AssignMenuEntry(const KeyTarget& target, int tag) {
  const MenuEntry* entry = FindMenuEntry(tag);
  if (entry == nullptr || !ValidTarget(target)) return Error{ErrorKind::kInvalid, {}};
  const MenuOrigin origin = target.kind == KeyTarget::Kind::kCombinationSlot
                                ? MenuOrigin::kCombinationSlot
                                : MenuOrigin::kButton;
  const std::string code = CodeForMenuTag(tag, session_.Keys(), origin);
  return AssignCode(target, code, session_.Language().Text(entry->caption_key));
}

AssignResult KeyAssignment::AssignCode(const KeyTarget& target, const std::string& code,
                                       const std::string& given_caption) {
  if (!ValidTarget(target) || !ParseKeyCode(code)) return Error{ErrorKind::kInvalid, {}};
  // An empty combination (no key, no modifier) is shown by its name, as it
  // will be after the next read, not as an empty button.
  const std::string caption = given_caption.empty() ? session_.NameForCode(code) : given_caption;
  session_.Events().CloseMenus();
  PageState& pages = session_.Pages();
  if (target.kind == KeyTarget::Kind::kMainButton) {
    const std::size_t button = static_cast<std::size_t>(target.number - 1);
    pages.key_captions[button] = caption;
    const int profile = ShownProfile();
    if (profile < 2 && LeftClickCount() == 0) {
      // The last "Left Click" of Profiles 1 and 2 stays.
      pages.key_captions[button] = LeftClickName();
      pages.engineer_captions[static_cast<std::size_t>(profile)][button] = LeftClickName();
      return Error{ErrorKind::kRefused, {}};
    }
    Store(KeyTarget::EngineerButton(profile + 1, target.number), code);
    pages.engineer_captions[static_cast<std::size_t>(profile)][button] = caption;
  } else if (target.kind == KeyTarget::Kind::kEngineerButton) {
    Store(target, code);
    pages.engineer_captions[static_cast<std::size_t>(target.profile - 1)]
                           [static_cast<std::size_t>(target.number - 1)] = caption;
  } else {
    Store(target, code);
    pages.combination_captions[static_cast<std::size_t>(target.number - 1)] = caption;
  }
  WriteRoads roads(session_);
  roads.WriteProfiles();
  if (target.kind == KeyTarget::Kind::kCombinationSlot) {
    roads.WriteKeyCode(target.number, *ParseKeyCode(code));
  }
  return {};
}

bool KeyAssignment::Store(const KeyTarget& target, const std::string& code) {
  const auto bytes = ParseKeyCode(code);
  if (!bytes) return false;
  PageState& pages = session_.Pages();
  image::DataBuf& data = session_.Data();
  const auto index = static_cast<std::size_t>(target.number - 1);
  if (target.kind == KeyTarget::Kind::kCombinationSlot) {
    std::copy(bytes->begin(), bytes->end(), image::CombinationCode(data, index).begin());
    pages.code_texts.combinations[index] = code;
    return true;
  }
  const auto profile = static_cast<std::size_t>(target.profile - 1);
  std::copy(bytes->begin(), bytes->end(), image::KeyCode(data, profile, index).begin());
  pages.code_texts.profiles[profile][index] = code;
  pages.names[profile][index] = session_.NameForCode(code);
  return true;
}

}  // namespace vrdk::keys
