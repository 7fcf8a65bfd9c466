#include "settings/mode_pages.h"

#include "image/fields.h"
#include "keys/editors/fire_aim.h"
#include "keys/editors/key_assignment.h"
#include "session/write_roads.h"

namespace vrdk::settings {
namespace {
constexpr int kButtonEffectAddress = image::LiveAddress(image::field::kButtonFlash);
constexpr int kProfileParameterAddress = image::LiveAddress(image::field::kProfileParameters);
constexpr std::uint8_t kUserColourNibble = 0xF0;
constexpr int kUserColourItem = 10;
constexpr int kOneEntryHeight = 26;
constexpr int kFullProfileHeight = 98;
}  // namespace

KeyMenuSizes MenuSizesFor(int mode, bool button_effect, bool switch_button) {
  KeyMenuSizes sizes;
  sizes.special_height = button_effect ? 266 : 242;
  switch (mode) {
    case 1:
      if (switch_button) {
        sizes.profile_height = kOneEntryHeight;
        sizes.profile2_shown = true;
        sizes.profile2_top = 1;
      }
      break;
    case 2:
      sizes.profile_height = kOneEntryHeight;
      sizes.profile1_shown = true;
      break;
    default:
      sizes.profile_height = kFullProfileHeight;
      sizes.profile1_shown = true;
      sizes.profile2_shown = true;
      break;
  }
  return sizes;
}

bool ModePages::SelectModePage(int mode) {
  if (!session_.Link().IsOpen()) {
    session_.Events().ShowMessage(kNoMouseMessage);
    return false;
  }
  PageState& pages = session_.Pages();
  if (pages.no_device_shown || session_.Conn().loading || mode < 1 || mode > 3) return false;
  session_.Events().CloseMenus();
  pages.mode_page = mode;
  pages.shown_page = 1;
  pages.led.profile_item = mode - 1;  // cb_Profile

  const int profile = mode - 1;
  const bool switch_page = mode == 2;
  const int effect = session_.Brand().button_effect ? pages.button_effect_item : 0;
  const std::uint8_t colour = pages.profile_colour_item == kUserColourItem
                                  ? kUserColourNibble
                                  : static_cast<std::uint8_t>(pages.profile_colour_item << 4);
  const Session::Change change(session_, WriteSubject::kSettings);
  WriteRoads roads(session_);
  roads.WriteLiveField(kButtonEffectAddress, static_cast<std::uint8_t>(effect));
  roads.WriteLiveField(kProfileParameterAddress, switch_page ? 15 : 0);
  roads.WriteLiveField(kProfileParameterAddress + 1, 0);
  roads.WriteLiveField(kProfileParameterAddress + 2, switch_page ? 32 : 0);
  roads.WriteLiveField(image::LiveAddress(image::field::kProfileByte),
                       static_cast<std::uint8_t>(colour | profile));
  image::Set(session_.Data(), image::field::kProfileByte,
             mode == 1     ? 0x00
             : switch_page ? 0xF1
                           : 0x02);
  keys::KeyAssignment(session_).RefreshProfileKeys(mode);
  keys::AimKey(session_).RefreshAIMKey();
  session_.Events().RefreshPages();
  return true;
}

}  // namespace vrdk::settings
