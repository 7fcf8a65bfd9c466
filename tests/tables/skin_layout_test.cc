// Skin placement: the shipped page tables, the button, single-control and
// step-row rules, and tables that lack keys, hold words where numbers belong
// or name pictures that are missing.

#include "tables/skin_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "resources/resources.h"
#include "tables/rolling_caption.h"

namespace vrdk {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;

std::string ResourceText(std::string_view name) {
  const auto bytes = resources::Find(name);
  return bytes ? std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size()) : "";
}

// Every picture 40 x 20, except the ones a test sizes itself.
class Pictures {
 public:
  void Set(std::string name, SkinSize size) { sizes_[std::move(name)] = size; }
  void Remove(std::string name) { missing_.push_back(std::move(name)); }
  PictureSizes Function() const {
    return [this](std::string_view name) -> std::optional<SkinSize> {
      for (const auto& gone : missing_) {
        if (gone == name) return std::nullopt;
      }
      const auto found = sizes_.find(std::string(name));
      return found == sizes_.end() ? SkinSize{40, 20} : found->second;
    };
  }

 private:
  std::map<std::string, SkinSize> sizes_;
  std::vector<std::string> missing_;
};

class SkinLayoutTest : public ::testing::Test {
 protected:
  // The shipped [org1] with `key` set to `value` (removed when nullopt).
  void Change(std::string_view key, std::optional<std::string_view> value) {
    const std::string line = "\n" + std::string(key) + "=";
    const std::size_t at = page_text_.find(line);
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t end = page_text_.find('\n', at + 1);
    page_text_.replace(at + 1, end - at,
                       value ? line.substr(1) + std::string(*value) + "\r\n" : std::string());
  }

  SkinLayout Place(int language = 1, BrandOptions brand = {}) {
    page_ = IniTable::Parse(page_text_);
    fallback_ = IniTable::Parse(ResourceText("org1"));
    brand_table_ = IniTable::Parse(ResourceText("org"));
    return PlaceSkin({&brand_table_, &page_, &fallback_}, language, brand, pictures_.Function());
  }

  const SkinControl& Control(const SkinLayout& skin, std::string_view name) {
    const SkinControl* control = skin.Find(name);
    EXPECT_NE(control, nullptr) << name;
    static const SkinControl kNone;
    return control != nullptr ? *control : kNone;
  }

  std::string page_text_ = ResourceText("org1");
  IniTable page_;
  IniTable fallback_;
  IniTable brand_table_;
  Pictures pictures_;
};

TEST_F(SkinLayoutTest, TheShippedTablesReadWithoutErrors) {
  for (int language = 1; language <= 3; ++language) {
    const SkinLayout skin = LoadSkin(language, {}, pictures_.Function());
    EXPECT_THAT(skin.errors, IsEmpty())
        << "language " << language << ": " << (skin.errors.empty() ? "" : skin.errors[0].Message());
    EXPECT_EQ(skin.language, language);
  }
}

TEST_F(SkinLayoutTest, ShippedLayoutShowsOnlyTheFirstConfirmButtonAndAllEightLevels) {
  for (int language = 1; language <= 3; ++language) {
    page_text_ = ResourceText("org" + std::to_string(language));
    const SkinLayout skin = Place(language);
    EXPECT_EQ(Control(skin, "Btn_Confirm1_3").visible, true);
    EXPECT_EQ(Control(skin, "Btn_Confirm2_3").visible, false);
    EXPECT_EQ(Control(skin, "Img_Confirm3_5").visible, false);
    // Every level lies inside the window, each to the right of the one before.
    int left = 0;
    for (int n = 1; n <= 8; ++n) {
      const SkinControl& name = Control(skin, "lbl_DPI" + std::to_string(n));
      EXPECT_GT(name.rect.x, left) << "language " << language << " level " << n;
      EXPECT_LT(name.rect.x + 56, 1040) << "language " << language << " level " << n;
      EXPECT_GT(Control(skin, "Img_DPI" + std::to_string(n) + "_12").rect.x, left);
      left = name.rect.x;
    }
  }
}

TEST_F(SkinLayoutTest, DisabledButtonHidesAllFiveCopiesAndTheirPictures) {
  Change("Btn_B3_Enable", "0");
  const SkinLayout skin = Place();
  for (int copy = 1; copy <= 5; ++copy) {
    EXPECT_EQ(Control(skin, "Btn_Fixed_" + std::to_string(copy)).visible, false);
    EXPECT_EQ(Control(skin, "Img_Fixed_" + std::to_string(copy)).visible, false);
    EXPECT_EQ(Control(skin, "Btn_Switch_" + std::to_string(copy)).visible, true);
  }
}

TEST_F(SkinLayoutTest, AnEnableValueOtherThanOneHidesTheButton) {
  Change("Btn_B4_Enable", "2");
  EXPECT_EQ(Control(Place(), "Btn_Adv_1").visible, false);
}

TEST_F(SkinLayoutTest, NavigationLabelKeepsOffTheEndsOfItsPicture) {
  pictures_.Set("SetS_01", {120, 36});
  Change("Btn_Space_F", "10");
  Change("Btn_Space_B", "20");
  Change("Btn_B2_X", "30");
  Change("Btn_B2_Y", "144");
  const SkinLayout skin = Place();
  EXPECT_EQ(Control(skin, "Img_Switch_4").rect, (SkinRect{30, 144, 120, 36}));
  EXPECT_EQ(Control(skin, "Btn_Switch_4").rect, (SkinRect{40, 144, 90, 36}));
  // Other families cover their picture whole.
  pictures_.Set("BtnS_01", {150, 40});
  const SkinLayout again = Place();
  EXPECT_EQ(Control(again, "Btn_Confirm1_1").rect, Control(again, "Img_Confirm1_1").rect);
}

TEST_F(SkinLayoutTest, SkinKeyNumbersPlaceTheKeyLabelsInTheirOwnOrder) {
  Change("Key2_X", "700");
  Change("Key2_Y", "90");
  Change("Key9_Enable", "1");
  pictures_.Set("KeyS_01", {150, 34});
  const SkinLayout skin = Place();
  // Skin key 2 is the right button, Key4.
  EXPECT_EQ(Control(skin, "Img_Key4").rect, (SkinRect{700, 90, 150, 34}));
  EXPECT_EQ(Control(skin, "Key4").rect, (SkinRect{700, 90, 150, 34}));
  EXPECT_EQ(Control(skin, "Key9").visible, true);
  EXPECT_EQ(Control(skin, "Key10").visible, false);
}

TEST_F(SkinLayoutTest, StepRowsRunAcrossOrDownWithTheirGap) {
  pictures_.Set("Bar1_D", {18, 14});
  pictures_.Set("Bar2_D", {36, 10});
  Change("Spd_X", "500");
  Change("Spd_Y", "300");
  Change("Spd_D", "-1");
  Change("DPI2_Steps_X", "336");
  Change("DPI2_Steps_Y", "214");
  Change("DPI2_Steps_D", "2");
  const SkinLayout skin = Place();
  EXPECT_EQ(Control(skin, "Img_Spd1").rect.x, 500);
  EXPECT_EQ(Control(skin, "Img_Spd2").rect.x, 517);  // overlaps its neighbour by one pixel
  EXPECT_EQ(Control(skin, "Img_Spd11").rect, (SkinRect{670, 300, 18, 14}));
  EXPECT_EQ(Control(skin, "slider_Spd").rect, (SkinRect{500, 300, 188, 14}));
  // DPI_Orientation 0: the DPI rows run down.
  EXPECT_FALSE(skin.dpi_rows_horizontal);
  EXPECT_EQ(Control(skin, "Img_DPI2_1").rect, (SkinRect{336, 214, 36, 10}));
  EXPECT_EQ(Control(skin, "Img_DPI2_12").rect, (SkinRect{336, 214 + 11 * 12, 36, 10}));
  Change("DPI_Orientation", "1");
  const SkinLayout across = Place();
  EXPECT_TRUE(across.dpi_rows_horizontal);
  EXPECT_EQ(Control(across, "Img_DPI2_3").rect, (SkinRect{336 + 2 * 38, 214, 36, 10}));
}

TEST_F(SkinLayoutTest, ClickableImagesTakeTheirPicturesPlaceAndColoursFormARow) {
  pictures_.Set("CbS_D", {18, 18});
  pictures_.Set("Col_F", {28, 28});
  pictures_.Set("Bar1_D", {18, 14});
  Change("FK2Continue_X", "974");
  Change("FK2Continue_Y", "171");
  Change("Col_X", "570");
  Change("Col_Y", "310");
  Change("Col_D", "14");
  const SkinLayout skin = Place();
  // The keep-firing check picture is the control: its label covers it.
  EXPECT_EQ(Control(skin, "lbl_Fire2Continue").rect, (SkinRect{974, 171, 18, 18}));
  EXPECT_EQ(Control(skin, "cb_Mode3_3").rect, Control(skin, "Img_Mode3_3").rect);
  EXPECT_EQ(Control(skin, "Img_Col3").rect, (SkinRect{570 + 2 * 42, 310, 28, 28}));
  EXPECT_EQ(Control(skin, "cs_Col3").rect, Control(skin, "Img_Col3").rect);
  EXPECT_EQ(Control(skin, "lbl_Col10").rect.x, 570 + 9 * 42);
  // The strip's slider lies over its step row.
  const SkinRect row = Control(skin, "Img_MCULEDStep_1").rect;
  EXPECT_EQ(Control(skin, "slider_MCULEDStep").rect,
            (SkinRect{row.x, row.y, 8 * 18 + 7 * skin.Number("StepTime_D"), 14}));
}

TEST_F(SkinLayoutTest, LedStepLabelsFollowTheBrandsNumberOrder) {
  pictures_.Set("Bar1_D", {18, 14});
  Change("StepTime_X", "560");
  Change("StepTime_D", "4");
  BrandOptions brand;
  const SkinLayout ascending = Place(1, brand);
  EXPECT_EQ(Control(ascending, "lbl_MCULEDStep_1").rect.x, 562);
  EXPECT_EQ(Control(ascending, "lbl_MCULEDStep_3").rect.x, 560 + 2 * 22 + 2);
  brand.led_step_order = LedStepOrder::kDescending;
  const SkinLayout descending = Place(1, brand);
  EXPECT_EQ(Control(descending, "lbl_MCULEDStep_8").rect.x, 562);
  EXPECT_EQ(Control(descending, "lbl_MCULEDStep_1").rect.x, 560 + 7 * 22 + 2);
}

TEST_F(SkinLayoutTest, ReadsTextStylesColoursAndListSizes) {
  Change("Size_B", "13");
  Change("Color_B_G", "77");
  Change("Color_G_Back_B", "99");
  Change("MacroContent_W", "301");
  const SkinLayout skin = Place();
  EXPECT_EQ(skin.Style("B").points, 13);
  EXPECT_EQ(skin.Style("B").colour.green, 77);
  EXPECT_EQ(skin.Colour("G_Back").blue, 99);
  EXPECT_EQ(Control(skin, "LB_macro").rect.width, 301);
  EXPECT_EQ(skin.Number("M_L_W"), 170);
  EXPECT_EQ(TextGroupOf("Btn_Confirm2_4"), "A");
  EXPECT_EQ(TextGroupOf("Btn_Lang3_1"), "B");
  EXPECT_EQ(TextGroupOf("Key12"), "C");
  EXPECT_EQ(TextGroupOf("Key_Profile2"), "G");
  EXPECT_EQ(TextGroupOf("gbPage1"), "");
}

TEST_F(SkinLayoutTest, WebButtonLiesWhereTheBrandTableSaysAndEngineerButtonInTheTitleBar) {
  const SkinLayout skin = Place();
  EXPECT_EQ(Control(skin, "Img_Web_2").rect.x, 360);
  EXPECT_EQ(Control(skin, "Img_Web_2").rect.y, 20);
  // Left of minimise, clear of the web button.
  const SkinRect engineer = Control(skin, "Img_Engineer_5").rect;
  EXPECT_EQ(engineer.y, 18);
  EXPECT_GT(engineer.x, 360 + Control(skin, "Img_Web_2").rect.width);
  EXPECT_LT(engineer.x + engineer.width, Control(skin, "Img_Mini_5").rect.x);
  EXPECT_FALSE(Control(skin, "Btn_Engineer_5").visible.has_value());
}

TEST_F(SkinLayoutTest, MissingKeyIsNamedAndTakesTheShippedPlace) {
  Change("Btn_B5_X", std::nullopt);
  const SkinLayout one = Place(1);
  ASSERT_THAT(one.errors, SizeIs(1));
  EXPECT_EQ(one.errors[0].Message(), "skin table [org1]: \"Btn_B5_X\" is missing; using 24");
  EXPECT_EQ(Control(one, "Img_Breath_1").rect.x, 24);
}

TEST_F(SkinLayoutTest, TheSpecialMenusHiddenEntriesAreTheSkinsToShowAndMayBeLeftOut) {
  EXPECT_EQ(Place().Number("Key_ACPIKey_Enable"), 1);
  Change("Key_ACPIKey_Enable", std::nullopt);
  Change("Key_MACOS_Enable", "0");
  const SkinLayout skin = Place();
  EXPECT_THAT(skin.errors, IsEmpty());
  EXPECT_EQ(skin.Number("Key_ACPIKey_Enable"), 0);
  EXPECT_EQ(skin.Number("Key_MACOS_Enable"), 0);
}

TEST_F(SkinLayoutTest, WordWhereANumberBelongsIsNamedAndTakesTheShippedValue) {
  Change("Key1_Y", "top");
  const SkinLayout skin = Place();
  ASSERT_THAT(skin.errors, SizeIs(1));
  EXPECT_EQ(skin.errors[0].kind, TableKeyError::Kind::kNotANumber);
  EXPECT_EQ(skin.errors[0].Message(),
            "skin table [org1]: \"Key1_Y\" is \"top\", not a whole number; using 124");
  EXPECT_EQ(Control(skin, "Key1").rect.y, 124);
}

TEST_F(SkinLayoutTest, TableWithoutItsSectionFallsBackWhole) {
  page_text_ = "[org7]\nBtn_B1_X=500\n";
  const SkinLayout skin = Place(2);
  ASSERT_THAT(skin.errors, SizeIs(1));
  EXPECT_EQ(skin.errors[0].kind, TableKeyError::Kind::kMissingTable);
  EXPECT_EQ(Control(skin, "Img_Main_1").rect.x, 24);
  EXPECT_EQ(Control(skin, "Btn_Main_1").visible, true);
}

TEST_F(SkinLayoutTest, MissingPictureIsNamedOnceAndSizesItsControlsZero) {
  pictures_.Remove("KeyS_01");
  const SkinLayout skin = Place();
  ASSERT_THAT(skin.errors, SizeIs(1));
  EXPECT_EQ(skin.errors[0].Message(),
            "skin table [org1]: the picture \"KeyS_01\" is missing; using 0 x 0");
  EXPECT_EQ(Control(skin, "Key1").rect.width, 0);
  EXPECT_EQ(Control(skin, "Key1").rect.x, 246);
}

TEST(RollingCaption, ScrollsLeftWithOneGapPerHover) {
  RollingCaption rolling;
  rolling.Start("Btn_Main_1", "ABC");
  EXPECT_EQ(rolling.Tick(), "BC    A");
  EXPECT_EQ(rolling.Tick(), "C    AB");
  EXPECT_EQ(rolling.Tick(), "    ABC");
  for (int tick = 4; tick <= 20; ++tick) rolling.Tick();
  // The counter restarts at 2, never at 1: no second gap.
  std::string caption;
  for (int tick = 0; tick < 30; ++tick) caption = rolling.Tick();
  EXPECT_EQ(caption.size(), std::string("ABC    ").size());
  EXPECT_EQ(rolling.Original(), "ABC");
  EXPECT_EQ(rolling.Label(), "Btn_Main_1");
}

TEST(RollingCaption, RollsChineseByWholeCharacters) {
  RollingCaption rolling;
  rolling.Start("Btn_Adv_1", "進階設定");
  EXPECT_EQ(rolling.Tick(), "階設定    進");
  EXPECT_EQ(rolling.Tick(), "設定    進階");
  rolling.Stop();
  EXPECT_FALSE(rolling.Running());
  EXPECT_EQ(rolling.Original(), "進階設定");
}

}  // namespace
}  // namespace vrdk
