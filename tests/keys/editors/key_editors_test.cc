// Assigning button functions, the key-combination dialog, fire presets, the
// AIM step and the mode-switch gestures, on the simulated mouse's transcript
// and memory.

#include "keys/editors/key_assignment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/install.h"
#include "keys/editors/fire_aim.h"
#include "keys/editors/gestures.h"
#include "keys/key_combination.h"
#include "settings/mode_pages.h"
#include "support/session_rig.h"

namespace vrdk::keys {
namespace {

using ::testing::ElementsAre;
using testing::Hex;
using testing::SessionRig;

class KeyEditorTest : public ::testing::Test {
 protected:
  KeyEditorTest() {
    InstallEditors(rig.session);
    rig.Connect();
  }
  // Shows a mode page, then forgets what that sent.
  void Show(int profile) {
    ASSERT_TRUE(settings::ModePages(rig.session).SelectModePage(profile));
    rig.mouse.ClearTranscript();
  }
  std::string MemoryHex(std::size_t at, std::size_t length) {
    const auto memory = rig.mouse.Memory();
    return Hex(std::span(memory).subspan(at, length));
  }
  int Count(const std::string& prefix) { return rig.CountSent(prefix); }

  SessionRig rig{MemoryType::kI2C};
  KeyAssignment keys{rig.session};
};

TEST_F(KeyEditorTest, PlayPauseOnButtonThreeOfProfileTwoTravelsAsTheProfileWrite) {
  Show(2);
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(3), 1100).ok());
  EXPECT_EQ(rig.session.Pages().code_texts.profiles[1][2], "0300CD00");
  EXPECT_EQ(rig.session.Pages().key_captions[2], "Play / Pause");
  const auto lines = rig.Reports();
  ASSERT_EQ(lines.size(), 1u + 21 + 1 + 4 + 2);
  EXPECT_EQ(lines[0], "> 40 07 00 C0 00 93 00 00");
  EXPECT_EQ(lines[22], "> 40 06 00 A4 00 1C 00 00");
  EXPECT_EQ(lines[27], "> 40 05 00 A4 0F 00 00 01");
  EXPECT_EQ(MemoryHex(241 + 8, 4), "03 00 CD 00");
}

TEST_F(KeyEditorTest, TheOnlyLeftClickOfProfileOneStays) {
  Show(1);
  EXPECT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(1), 901).Is(ErrorKind::kRefused));
  EXPECT_EQ(rig.session.Pages().code_texts.profiles[0][0], "01010000");
  EXPECT_EQ(rig.session.Pages().key_captions[0], "Left Click");
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(KeyEditorTest, WithTwoLeftClicksEitherMayGoButNotTheLast) {
  Show(2);
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(10), 900).ok());
  EXPECT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(1), 901).ok());
  EXPECT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(10), 902).Is(ErrorKind::kRefused));
  EXPECT_EQ(keys.LeftClickCount(), 1);
}

TEST_F(KeyEditorTest, ProfileThreeHasNoGuard) {
  Show(3);
  EXPECT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(1), 901).ok());
  EXPECT_EQ(MemoryHex(290, 4), "01 02 00 00");
  EXPECT_TRUE(keys.MayOpenCombinationDialog(KeyTarget::MainButton(1)));
}

TEST_F(KeyEditorTest, ACombinationSlotGetsTheExtendedProfileSwitchAndItsOwnLiveWrite) {
  rig.session.Keys().return_to_zero = 1;
  rig.session.Keys().offset = 0x123;
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::CombinationSlot(3), 2301).ok());
  const std::string code = rig.session.Pages().code_texts.combinations[2];
  EXPECT_EQ(code.substr(0, 4), "07C1");  // profile 2 with return to zero
  EXPECT_EQ(code.substr(5), "123");
  EXPECT_EQ(rig.Reports().back(), "> 40 05 01 87 " + code.substr(0, 2) + " " + code.substr(2, 2) +
                                      " " + code.substr(4, 2) + " " + code.substr(6, 2));
}

TEST_F(KeyEditorTest, EngineerButtonsSkipTheGuard) {
  EXPECT_TRUE(keys.AssignMenuEntry(KeyTarget::EngineerButton(1, 1), 901).ok());
  EXPECT_EQ(MemoryHex(192, 4), "01 02 00 00");
  EXPECT_EQ(rig.session.Pages().engineer_captions[0][0], "Right Click");
}

TEST_F(KeyEditorTest, FirePresetOneRewritesEveryFireButtonOneAndTheFireSection) {
  // Button 3 of Profiles 1 and 3 holds 06 92 00 3C: Fire Button 1, held.
  FireKeys(rig.session).SetPreset(1, 5, 30);
  EXPECT_EQ(MemoryHex(192 + 8, 4), "06 94 00 1E");
  EXPECT_EQ(MemoryHex(290 + 8, 4), "06 94 00 1E");
  EXPECT_EQ(MemoryHex(484 + 2, 3), "04 00 1E");
  EXPECT_EQ(Count("> 40 07 01 E4 00 0C"), 1);
  FireKeys(rig.session).SetKeepFiring(1, false);
  EXPECT_EQ(MemoryHex(192 + 8, 4), "06 14 00 1E");
}

TEST(FireInput, MainPageBoxesCorrectWhatIsTyped) {
  EXPECT_EQ(MainPageFireCount(std::nullopt), 2);
  EXPECT_EQ(MainPageFireCount(0), 2);
  EXPECT_EQ(MainPageFireCount(1), 2);
  EXPECT_EQ(MainPageFireCount(9), 9);
  EXPECT_EQ(MainPageFireCount(99), 15);
  EXPECT_EQ(FireInterval(std::nullopt), 1);
  EXPECT_EQ(FireInterval(-5), 1);
  EXPECT_EQ(FireInterval(5000), 4094);
}

TEST_F(KeyEditorTest, AnAimStepWithoutAnAimButtonFallsBackToOneWithAMessage) {
  EXPECT_FALSE(AimKey(rig.session).SetAimStep(12));
  EXPECT_EQ(rig.session.Keys().aim_step, 1);
  EXPECT_THAT(rig.events.messages, ElementsAre("Str105"));
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(KeyEditorTest, AimStepTwelveGivesCode050B) {
  Show(3);
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(11), 1000).ok());
  EXPECT_TRUE(AimKey(rig.session).SetAimStep(12));
  EXPECT_EQ(MemoryHex(290 + 40, 4), "05 0B 00 00");
  // Read again, the AIM key shows its step.
  rig.session.Btn_Read();
  EXPECT_EQ(rig.session.Keys().aim_step, 12);
}

TEST_F(KeyEditorTest, GameGestureHoldDpiUpMarksDpiUpButtonsAndSlotFour) {
  // The factory image holds the lighting gesture (slot 2, Back bit 0x02) and
  // the offset 0x018 in slots 3 and 4.
  Gestures(rig.session).SetGameGesture(GameGesture::kHoldDpiUp);
  EXPECT_EQ(rig.session.Pages().code_texts.combinations[3], "07D1F018");
  EXPECT_EQ(MemoryHex(192 + 20, 4), "09 01 00 08");  // DPI + (profile 1 button 6)
  EXPECT_EQ(MemoryHex(192 + 28, 4), "09 00 00 00");  // DPI Loop
  EXPECT_EQ(MemoryHex(192 + 16, 4), "01 08 00 02");  // Backward keeps the lighting gesture's bit
  EXPECT_EQ(rig.session.Pages().code_texts.combinations[1], "0E000000");
  EXPECT_EQ(Count("> 40 05 00 "), 55 + 2);  // the Vendor section, then the profiles
  EXPECT_EQ(rig.mouse.Live()[139], 0x07);
  EXPECT_EQ(rig.session.Pages().game_gesture_item, 3);
}

TEST_F(KeyEditorTest, LightingGestureTakesSlotTwoAndTheBackBitAndEndsRightBackGameMode) {
  Gestures(rig.session).SetGameGesture(GameGesture::kRightBack);
  Gestures(rig.session).SetLightingGesture(true);
  EXPECT_EQ(rig.session.Pages().code_texts.combinations[1], "0E000000");
  EXPECT_EQ(MemoryHex(192 + 16, 4), "01 08 00 02");
  EXPECT_EQ(rig.session.Pages().game_gesture_item, 0);
  rig.session.Btn_Read();
  EXPECT_EQ(rig.session.Pages().led_gesture_item, 1);
}

TEST_F(KeyEditorTest, AToggleWithoutTheButtonItNeedsDoesNothing) {
  Show(1);
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(7), 1007).ok());  // no Middle
  rig.mouse.ClearTranscript();
  EXPECT_FALSE(Gestures(rig.session).ToggleGameGesture(GameGesture::kHoldMiddle));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_TRUE(Gestures(rig.session).ToggleGameGesture(GameGesture::kHoldDpiUp));  // hold DPI +
  EXPECT_EQ(rig.session.Pages().game_gesture_item, 3);
  EXPECT_TRUE(Gestures(rig.session).ToggleGameGesture(GameGesture::kHoldDpiUp));  // again: off
  EXPECT_EQ(rig.session.Pages().game_gesture_item, 0);
}

TEST_F(KeyEditorTest, GesturesFindMouseButtonsByCodeNotByTheBrowserKeysSharingTheirNames) {
  // Profile 1: button 5 becomes the browser's "Backward", button 2 its
  // "Forward"; profile 3 keeps its mouse Back and Forward buttons.
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::EngineerButton(1, 5), 1202).ok());
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::EngineerButton(1, 2), 1203).ok());
  Gestures(rig.session).SetLightingGesture(true);
  Gestures(rig.session).SetGameGesture(GameGesture::kRightForward);
  EXPECT_EQ(MemoryHex(192 + 16, 4), "03 02 24 00");
  EXPECT_EQ(MemoryHex(192 + 4, 4), "03 02 25 00");
  EXPECT_EQ(MemoryHex(290 + 16, 4), "01 10 00 02");  // profile 3 button 5: Forward
  rig.session.Btn_Read();
  EXPECT_EQ(rig.session.Pages().game_gesture_item, 6);
  // Profile 1 has no mouse Back: the toggles that need one do nothing.
  Show(1);
  EXPECT_FALSE(Gestures(rig.session).ToggleLightingGesture());
  EXPECT_FALSE(Gestures(rig.session).ToggleGameGesture(GameGesture::kRightBack));
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(KeyEditorTest, TheLightingGestureEndsRightForwardWithItsBit) {
  Gestures(rig.session).SetGameGesture(GameGesture::kRightForward);
  EXPECT_EQ(MemoryHex(192 + 4, 4), "01 10 00 02");
  Gestures(rig.session).SetLightingGesture(true);
  EXPECT_EQ(MemoryHex(192 + 4, 4), "01 10 00 00");  // every Forward button
  EXPECT_EQ(MemoryHex(290 + 16, 4), "01 10 00 00");
  EXPECT_EQ(MemoryHex(192 + 16, 4), "01 08 00 02");
  EXPECT_EQ(rig.session.Keys().combination_items[static_cast<int>(ComboFunction::kForward)], 0);
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::EngineerButton(1, 10), 903).ok());
  EXPECT_EQ(MemoryHex(192 + 36, 4), "01 10 00 00");
}

TEST_F(KeyEditorTest, HoldGesturesAndLightingOffLeaveTheOtherGesture) {
  Gestures(rig.session).SetLightingGesture(true);
  Gestures(rig.session).SetGameGesture(GameGesture::kHoldMiddle);  // hold Middle
  EXPECT_EQ(rig.session.Pages().code_texts.combinations[1], "0E000000");
  EXPECT_EQ(MemoryHex(192 + 16, 4), "01 08 00 02");
  EXPECT_EQ(MemoryHex(192 + 24, 4), "01 04 00 08");
  Gestures(rig.session).SetGameGesture(GameGesture::kRightBack);  // Right + Back takes slot 2
  Gestures(rig.session).SetLightingGesture(false);
  EXPECT_EQ(rig.session.Pages().code_texts.combinations[1], "07D1F018");
  EXPECT_EQ(MemoryHex(192 + 16, 4), "01 08 00 02");
  EXPECT_EQ(rig.session.Pages().game_gesture_item, 5);
}

TEST_F(KeyEditorTest, ASlotSwitchingProfilesDoesNotTakeAProfileButtonsColour) {
  // A Profile 2 button with colour 5 (nibble 4); slot 3 holds nibble 15.
  ASSERT_TRUE(keys.AssignCode(KeyTarget::EngineerButton(1, 10), "07814018", "Profile 2").ok());
  rig.session.Btn_Read();
  EXPECT_EQ(rig.session.Keys().profile_colour_items[1], 4);
  // Without a Profile 2 button, the slot shows its colour.
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::EngineerButton(1, 10), 1007).ok());
  rig.session.Btn_Read();
  EXPECT_EQ(rig.session.Keys().profile_colour_items[1], kUserColourItem);
}

TEST_F(KeyEditorTest, AnAssignedSlotKeepsTheOffsetItHeld) {
  EXPECT_EQ(rig.session.Keys().offset, 0x018);
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::CombinationSlot(3), 2301).ok());
  EXPECT_EQ(rig.session.Pages().code_texts.combinations[2], "0781F018");
}

// --- The key-combination dialog ------------------------------------------------

constexpr int kVirtualA = 0x41;
constexpr int kVirtualB = 0x42;
constexpr int kVirtualC = 0x43;

TEST(KeyCombination, CtrlWithAAndBGivesCode02010405) {
  KeyCombinationDialog dialog;
  dialog.SetModifier(KeyCombinationDialog::kCtrl, true);
  dialog.KeyDown(kVirtualA, false, false, false);
  dialog.KeyDown(kVirtualB, false, false, false);
  EXPECT_EQ(dialog.Code(), "02010405");
  EXPECT_EQ(dialog.Text(), "Ctrl+A+B");
}

TEST(KeyCombination, AThirdKeyStartsOverAsKeyOne) {
  KeyCombinationDialog dialog;
  dialog.SetModifier(KeyCombinationDialog::kShift, true);
  dialog.KeyDown(kVirtualA, false, false, false);
  dialog.KeyDown(kVirtualB, false, false, false);
  dialog.KeyDown(kVirtualC, false, false, false);
  EXPECT_EQ(dialog.Code(), "02020600");
  EXPECT_EQ(dialog.Text(), "Shift+C");
}

TEST(GameGestureWords, EachWordNamesItsGestureAndBack) {
  const std::vector<std::pair<std::string_view, GameGesture>> words = {
      {"none", GameGesture::kNone},
      {"middle", GameGesture::kHoldMiddle},
      {"dpi", GameGesture::kHoldDpiLoop},
      {"dpi+", GameGesture::kHoldDpiUp},
      {"dpi-", GameGesture::kHoldDpiDown},
      {"right+back", GameGesture::kRightBack},
      {"right+forward", GameGesture::kRightForward}};
  ASSERT_EQ(kGameGestureWords.size(), words.size());
  for (const auto& [word, gesture] : words) {
    EXPECT_EQ(GameGestureFromWord(word), gesture) << word;
    EXPECT_EQ(GameGestureWord(gesture), word);
  }
  EXPECT_EQ(GameGestureFromWord("Middle"), std::nullopt);
  EXPECT_EQ(GameGestureFromWord(""), std::nullopt);
  EXPECT_EQ(GameGestureFromNumber(6), GameGesture::kRightForward);
  EXPECT_EQ(GameGestureFromNumber(7), std::nullopt);
  EXPECT_EQ(GameGestureFromNumber(-1), std::nullopt);
}

TEST(GameGestureWords, EachGestureNeedsTheButtonItIsMadeWith) {
  EXPECT_EQ(ButtonFunctionNeeded(GameGesture::kNone), std::nullopt);
  EXPECT_EQ(ButtonFunctionNeeded(GameGesture::kHoldMiddle), ComboFunction::kMiddle);
  EXPECT_EQ(ButtonFunctionNeeded(GameGesture::kHoldDpiLoop), ComboFunction::kDpiLoop);
  EXPECT_EQ(ButtonFunctionNeeded(GameGesture::kHoldDpiUp), ComboFunction::kDpiUp);
  EXPECT_EQ(ButtonFunctionNeeded(GameGesture::kHoldDpiDown), ComboFunction::kDpiDown);
  EXPECT_EQ(ButtonFunctionNeeded(GameGesture::kRightBack), ComboFunction::kBack);
  EXPECT_EQ(ButtonFunctionNeeded(GameGesture::kRightForward), ComboFunction::kForward);
  EXPECT_EQ(ComboFunctionName(ComboFunction::kDpiLoop), "DPI Loop");
  EXPECT_EQ(ComboFunctionName(kLightingGestureButton), "Back");
}

TEST_F(KeyEditorTest, TogglingNoGestureOrAListItemOutOfRangeChangesNothing) {
  Show(1);
  const PageState before = rig.session.Pages();
  EXPECT_FALSE(Gestures(rig.session).ToggleGameGesture(GameGesture::kNone));
  // The engineer list's items beyond the gestures name none.
  EXPECT_FALSE(GameGestureFromNumber(7).has_value());
  EXPECT_FALSE(GameGestureFromNumber(-1).has_value());
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(rig.session.Pages().game_gesture_item, before.game_gesture_item);
  EXPECT_EQ(rig.session.Pages().led_gesture_item, before.led_gesture_item);
  EXPECT_EQ(rig.session.Pages().code_texts.combinations, before.code_texts.combinations);
}

TEST_F(KeyEditorTest, TheEngineerListsItemsAreTheGesturesInOrder) {
  Gestures(rig.session).SetGameGesture(*GameGestureFromNumber(3));
  EXPECT_EQ(rig.session.Pages().game_gesture_item, 3);
  EXPECT_EQ(MemoryHex(192 + 20, 4), "09 01 00 08");  // DPI + held
  Gestures(rig.session).SetLightingGesture(false);
  EXPECT_EQ(rig.session.Pages().led_gesture_item, 0);
  EXPECT_EQ(MemoryHex(192 + 16, 4), "01 08 00 00");  // Back loses the lighting bit
}

TEST_F(KeyEditorTest, AnAimStepOutOfRangeChangesNothing) {
  rig.session.Keys().aim_step = 4;
  EXPECT_FALSE(AimKey(rig.session).SetAimStep(0));
  EXPECT_FALSE(AimKey(rig.session).SetAimStep(13));
  AimKey(rig.session).StoreAimStep(13);
  AimKey(rig.session).StoreAimStep(0);
  EXPECT_EQ(rig.session.Keys().aim_step, 4);
  EXPECT_TRUE(rig.events.messages.empty());
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(KeyEditorTest, TheEngineerAimStepIsKeptAndWrittenWithoutAnAimButton) {
  AimKey(rig.session).StoreAimStep(7);
  EXPECT_EQ(rig.session.Keys().aim_step, 7);
  EXPECT_TRUE(rig.events.messages.empty());
  EXPECT_FALSE(rig.Reports().empty());  // the profiles, as they are
  Show(3);
  ASSERT_TRUE(keys.AssignMenuEntry(KeyTarget::MainButton(11), 1000).ok());
  AimKey(rig.session).StoreAimStep(12);
  EXPECT_EQ(MemoryHex(290 + 40, 4), "05 0B 00 00");
}

TEST(KeyCombination, WindowsKeysAndHeldModifiersAreDiscarded) {
  KeyCombinationDialog dialog;
  dialog.KeyDown(KeyCombinationDialog::kVirtualLeftWindows, false, false, false);
  dialog.KeyDown(kVirtualA, true, false, false);
  dialog.KeyDown(kVirtualA, false, false, true);
  EXPECT_EQ(dialog.Code(), "02000000");
  EXPECT_EQ(dialog.Text(), "");
}

TEST(KeyCombination, KeysWithoutAUsageAreRefusedAndChangeNothing) {
  KeyCombinationDialog dialog;
  dialog.SetModifier(KeyCombinationDialog::kCtrl, true);
  ASSERT_TRUE(dialog.KeyDown(kVirtualA, false, false, false));
  for (const int unknown : {0xB6, 0xB7, 0xDF, 0x07, 0xE8, 300, -1}) {  // launch keys, OEM_8, ...
    EXPECT_FALSE(dialog.KeyDown(unknown, false, false, false)) << unknown;
  }
  EXPECT_EQ(dialog.Text(), "Ctrl+A");
  EXPECT_EQ(dialog.Code(), "02010400");
  // A refused key is no key press: the next one is still key 2.
  EXPECT_TRUE(dialog.KeyDown(kVirtualB, false, false, false));
  EXPECT_EQ(dialog.Code(), "02010405");
}

TEST(KeyCombination, TabComesFromItsCheckBoxAndClearEmptiesEverything) {
  KeyCombinationDialog dialog;
  dialog.SetModifier(KeyCombinationDialog::kAlt, true);
  dialog.SetTab(true);
  EXPECT_EQ(dialog.Code(), "02042B00");
  EXPECT_EQ(dialog.Text(), "Alt+Tab");
  dialog.KeyDown(kVirtualA, false, false, false);
  EXPECT_TRUE(dialog.HasTab());
  dialog.SetTab(false);
  EXPECT_FALSE(dialog.HasTab());
  EXPECT_EQ(dialog.Code(), "02040400");
  dialog.SetModifier(KeyCombinationDialog::kAlt, false);
  EXPECT_EQ(dialog.Text(), "A");
  dialog.Clear();
  EXPECT_EQ(dialog.Code(), "02000000");
  EXPECT_FALSE(dialog.Modifier(KeyCombinationDialog::kAlt));
}

}  // namespace
}  // namespace vrdk::keys
