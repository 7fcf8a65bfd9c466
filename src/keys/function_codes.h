// The button menus' entries turned into key function codes, and stored codes
// turned back into the names the buttons show.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "keys/key_code.h"
#include "keys/key_context.h"
#include "tables/language_table.h"

namespace vrdk {

// The tag each button-menu entry carries (the entry's name in the comment).
namespace menu_tag {
inline constexpr int kNone = 0;
inline constexpr int kLeft = 900;             // Key_Left
inline constexpr int kRight = 901;            // Key_Right
inline constexpr int kMiddle = 902;           // Key_Middle
inline constexpr int kForward = 903;          // Key_B4
inline constexpr int kBackward = 904;         // Key_B5
inline constexpr int kAim = 1000;             // Key_AIM
inline constexpr int kLedMode = 1001;         // Key_LEDMode
inline constexpr int kLedSwitch = 1002;       // Key_LEDSwitch
inline constexpr int kButtonEffect = 1003;    // Key_BtnEFT
inline constexpr int kReportRate = 1004;      // Key_ReportRate
inline constexpr int kFixedMacro = 1005;      // no menu entry: the memory type's fixed macro
inline constexpr int kFixedFireMacro = 1006;  // no menu entry
inline constexpr int kKeyOff = 1007;          // Key_KeyOff
inline constexpr int kPlayPause = 1100;       // Key_PlayPause .. Key_Mute: 1100..1106
inline constexpr int kMute = 1106;
inline constexpr int kWwwHome = 1200;  // Key_WWWHome .. Key_WWWFavorites: 1200..1206
inline constexpr int kWwwFavorites = 1206;
inline constexpr int kComputer = 1300;  // Key_Computer, Key_Calculator, Key_EMail
inline constexpr int kDesktop = 1303;   // Key_Desktop
inline constexpr int kDpiLoop = 2000;   // Key_CPI
inline constexpr int kDpiUp = 2001;     // Key_CPII
inline constexpr int kDpiDown = 2002;   // Key_CPID
inline constexpr int kFire1 = 2100;     // Key_Fire1 .. Key_Fire3: 2100..2102
inline constexpr int kFire3 = 2102;
inline constexpr int kPowerDown = 2200;  // Key_PowerDown, Key_Sleep, Key_WakeUp
inline constexpr int kWakeUp = 2202;
inline constexpr int kProfile1 = 2300;  // Key_Profile1 .. Key_Profile3: 2300..2302
inline constexpr int kProfile3 = 2302;
inline constexpr int kProfileLoop = 2303;   // Key_Profile
inline constexpr int kMacOsBack = 2400;     // Key_MACOSBack
inline constexpr int kMacOsForward = 2401;  // Key_MACOSForward
}  // namespace menu_tag

// Where a menu was opened: profile-switch entries give the extended code on
// the engineer page's combination-key slots and the short one elsewhere.
enum class MenuOrigin { kButton, kCombinationSlot };

// CodeForMenuTag: the code of a menu entry from its tag and the working state:
// combination bits, fire presets, AIM step, memory type and, on combination
// slots, the profile-switch parameters and colours. Tag 0 gives "00000000";
// a tag that no entry carries gives empty text. Values out of range are
// brought into it first (fire count 1..15, interval 0..0xFFFF, AIM step 1..12,
// offset 0..0xFFF), so the result is always eight upper-case digits.
std::string CodeForMenuTag(int tag, const KeyCodeContext& context,
                           MenuOrigin origin = MenuOrigin::kButton);

// NameForCode: the name a button with this code shows, in `language`; empty
// when no rule names the code, the language lacks the text, or the text is
// not a code. Naming a fire code sets the keep-firing flag of the matching
// preset from bit 7 of b1 (unless program_sets_fire_flags); naming a switch
// to Profile 1..3 sets that profile's colour item from the high nibble of b2
// (0..9 items 0..9, 15 the user colour, other nibbles leave it).
//
// Class 0x0B codes are named by their built-in fire pattern ("Fire Pattern
// N" when the language lacks the pattern's text), or, with the
// fire-macro naming switch set, "Fire Macro" + the highest script entry
// number whose first six digits equal the code's (the built-in pattern's
// name when none does, empty when the code is no pattern either).
// Class 0x10 codes are named by the device macro whose present address-table
// entry holds b1 b2 (the last such entry of the memory type's table).
std::string NameForCode(std::string_view code, const LanguageTable& language,
                        KeyCodeContext& context);

// The name of a combination slot's code: as NameForCode, but it changes no
// working state. A slot that switches profiles is no profile button, so its
// colour nibble must not become that profile's colour.
std::string NameForSlotCode(std::string_view code, const LanguageTable& language,
                            const KeyCodeContext& context);

// The function whose combination bit a code carries, decided by its class and
// b1 (mouse buttons Middle, Back, Forward; DPI loop, up, down), never by its
// name: "Backward" and "Forward" also name the browser keys 03 02 24 00 and
// 03 02 25 00, which carry no combination bit.
std::optional<ComboFunction> ComboFunctionOfCode(const KeyCodeBytes& code);

// The profile-switch parameters a stored extended profile-switch code
// carries: b1's return-to-zero, adjust-XY and change-colour flags and the
// 12-bit offset of b2 and b3. Nothing for any other code, and for the short
// form (b2 and b3 zero, no flags), which carries none.
struct ProfileSwitchParameters {
  int return_to_zero = 0;
  int adjust_xy = 0;
  int change_colour = 0;
  int offset = 0;
};
std::optional<ProfileSwitchParameters> ExtendedProfileSwitchParameters(const KeyCodeBytes& code);

}  // namespace vrdk
