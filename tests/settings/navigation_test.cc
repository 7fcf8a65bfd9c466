// Navigation between the window's pages: the no-mouse message, the no-device
// state, the mode pages' profile writes and the other pages.

#include "settings/navigation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "keys/editors/key_assignment.h"
#include "settings/mode_pages.h"
#include "support/session_rig.h"

namespace vrdk::settings {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vrdk::testing::SessionRig;

TEST(Navigation, WithoutAMouseEveryPageShowsTheMessageAndStays) {
  SessionRig rig(MemoryType::kI2C);
  for (int page = 1; page <= 8; ++page) {
    EXPECT_EQ(Navigation(rig.session).Go(static_cast<NavPage>(page)), Navigation::Result::kNoMouse);
  }
  EXPECT_EQ(rig.events.messages.size(), 8u);
  EXPECT_EQ(rig.events.messages[0], "Str022");
  EXPECT_EQ(GroupToShow(rig.session.Pages()), 1);
  EXPECT_EQ(CurrentPage(rig.session.Pages()), NavPage::kMain);
  EXPECT_EQ(rig.CountWrites(), 0);
}

TEST(Navigation, InTheNoDeviceStateAnOpenMouseChangesNothing) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  rig.session.Pages().no_device_shown = true;
  EXPECT_EQ(Navigation(rig.session).Go(NavPage::kAdvanced), Navigation::Result::kIgnored);
  EXPECT_EQ(GroupToShow(rig.session.Pages()), 1);
  EXPECT_THAT(rig.events.messages, IsEmpty());
}

TEST(Navigation, ModePageChoosesTheProfileAndOtherPagesOnlyShow) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  Navigation navigation(rig.session);
  ASSERT_EQ(navigation.Go(NavPage::kSwitch), Navigation::Result::kShown);
  EXPECT_EQ(CurrentPage(rig.session.Pages()), NavPage::kSwitch);
  EXPECT_EQ(GroupToShow(rig.session.Pages()), 1);
  EXPECT_EQ(image::User(rig.session.Data())[0], 0xF1);
  EXPECT_EQ(rig.CountSent("> 40 05"), 5);  // live 167, 168, 169, 170, 164
  rig.mouse.ClearTranscript();

  rig.session.Pages().loaded_patch_file = "patch.bin";
  ASSERT_EQ(navigation.Go(NavPage::kUpdate), Navigation::Result::kShown);
  EXPECT_EQ(GroupToShow(rig.session.Pages()), 5);
  EXPECT_EQ(rig.session.Pages().loaded_patch_file, "");
  ASSERT_EQ(navigation.Go(NavPage::kEngineer), Navigation::Result::kShown);
  EXPECT_EQ(CurrentPage(rig.session.Pages()), NavPage::kEngineer);
  EXPECT_EQ(GroupToShow(rig.session.Pages()), 7);
  EXPECT_EQ(rig.CountWrites(), 0);
  // Back to a mode page: the one chosen last is remembered by the radio.
  ASSERT_EQ(navigation.Go(NavPage::kFixed), Navigation::Result::kShown);
  EXPECT_EQ(CurrentPage(rig.session.Pages()), NavPage::kFixed);
  EXPECT_EQ(image::User(rig.session.Data())[0], 2);
  EXPECT_EQ(rig.session.Pages().led.profile_item, 2);  // cb_Profile
}

// Each mode page's profile list offers the other profiles.
TEST(Navigation, ModePagesSizeTheKeyMenusAndOfferTheOtherProfiles) {
  const KeyMenuSizes main = MenuSizesFor(1, false, true);
  EXPECT_EQ(main.main_height, 170);
  EXPECT_EQ(main.special_height, 242);
  EXPECT_EQ(main.profile_height, 26);
  EXPECT_FALSE(main.profile1_shown);
  EXPECT_TRUE(main.profile2_shown);
  EXPECT_EQ(main.profile2_top, 1);
  EXPECT_EQ(MenuSizesFor(1, false, false).profile_height, 0);  // no Switch Control to go to
  EXPECT_FALSE(MenuSizesFor(1, false, false).profile2_shown);
  const KeyMenuSizes second = MenuSizesFor(2, true, true);
  EXPECT_EQ(second.special_height, 266);
  EXPECT_EQ(second.profile_height, 26);
  EXPECT_TRUE(second.profile1_shown);
  EXPECT_FALSE(second.profile2_shown);
  const KeyMenuSizes fixed = MenuSizesFor(3, false, true);
  EXPECT_EQ(fixed.special_height, 242);
  EXPECT_EQ(fixed.profile_height, 98);
  EXPECT_TRUE(fixed.profile1_shown && fixed.profile2_shown);
  EXPECT_EQ(fixed.profile1_top, 1);
  EXPECT_EQ(fixed.profile2_top, 25);
}

TEST(Navigation, ModePageWaitsWhileLoading) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  rig.session.Conn().loading = true;
  EXPECT_EQ(Navigation(rig.session).Go(NavPage::kSwitch), Navigation::Result::kIgnored);
  EXPECT_EQ(rig.CountWrites(), 0);
  EXPECT_EQ(Navigation(rig.session).Go(NavPage::kMacro), Navigation::Result::kShown);
}

TEST(Navigation, LanguageSwitchRetranslatesTheKeyCaptionsAndBack) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  keys::KeyAssignment(rig.session).ShowFromDataBuf();
  PageState& pages = rig.session.Pages();
  const LanguageTables& tables = rig.session.Languages();
  const std::string left = tables.Table(1).Text(210);  // "Left Click"
  ASSERT_EQ(pages.key_captions[0], left);
  pages.key_captions[11] = "not a name";
  SwitchLanguage(rig.session, 2);
  EXPECT_EQ(rig.session.CurrentLanguage(), 2);
  EXPECT_EQ(pages.key_captions[0], tables.Table(2).Text(210));
  EXPECT_EQ(pages.names[0][0], tables.Table(2).Text(210));
  EXPECT_EQ(pages.key_captions[11], "not a name");
  SwitchLanguage(rig.session, 1);
  EXPECT_EQ(pages.key_captions[0], left);
  SwitchLanguage(rig.session, 4);
  EXPECT_EQ(rig.session.CurrentLanguage(), 1);
  EXPECT_EQ(rig.CountWrites(), 0);
}

TEST(Navigation, PageBackgroundsFollowTheLanguage) {
  EXPECT_EQ(PageBackground(NavPage::kSwitch, 1), "L1_Back1");
  EXPECT_EQ(PageBackground(NavPage::kAdvanced, 2), "L2_Back2");
  EXPECT_EQ(PageBackground(NavPage::kBreathingLight, 3), "L3_Back3");
  EXPECT_EQ(PageBackground(NavPage::kMacro, 1), "L1_Back4");
  EXPECT_EQ(PageBackground(NavPage::kUpdate, 1), "");
  EXPECT_EQ(PageBackground(NavPage::kEngineer, 1), "");
  EXPECT_STREQ(NavigationStem(NavPage::kBreathingLight), "Breath");
  EXPECT_THAT(std::vector<int>({PageGroup(NavPage::kMain), PageGroup(NavPage::kFixed),
                                PageGroup(NavPage::kUpdate), PageGroup(NavPage::kEngineer)}),
              ElementsAre(1, 1, 5, 7));
}

}  // namespace
}  // namespace vrdk::settings
