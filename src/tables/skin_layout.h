// SkinLayout: where the window's controls lie, which of them exist and how
// their texts look, read from the page table [orgN] of a language (resources
// "org1" .. "org3") and the web button's place in the brand table [org].
//
// Placement is computed here as plain rectangles; the window only applies
// them to the controls that carry these names. The rules:
//   button rule    prefix_Enable = 1 shows the images and labels of a family
//                  (any other value hides them); the images lie at
//                  (prefix_X, prefix_Y) with their picture's size; a label of
//                  the navigation family starts "Btn_Space_F" right of its
//                  image and is "Btn_Space_F" + "Btn_Space_B" narrower; other
//                  labels cover their image.
//   single rule    prefix_X, prefix_Y place the named controls; a label over
//                  a picture takes the picture's size, a caption beside a
//                  small picture (radio, check box) starts 4 pixels right of it.
//   step rows      picture i at X + (i - 1) x (width + prefix_D) when the row
//                  is horizontal, Y + (i - 1) x (height + prefix_D) when
//                  vertical; prefix_D may be negative.
//   text styles    Size_x (points) and Color_x_R/G/B per group of labels.
//
// A key that is missing or not a number gives a named error and the value of
// the same key in the program's own [org1] (0 when that lacks it too), so a
// damaged table still gives a usable window. A missing picture gives a named
// error and a size of 0 x 0.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/brand_options.h"
#include "tables/ini_table.h"
#include "tables/table_keys.h"

namespace vrdk {

struct SkinSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const SkinSize&, const SkinSize&) = default;
};

struct SkinRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

struct SkinColour {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const SkinColour&, const SkinColour&) = default;
};

// One control the skin places, by its component name.
struct SkinControl {
  std::string name;
  SkinRect rect;                // left and top always; width and height when `sized`
  bool sized = false;           // false: the control keeps its own size
  std::optional<bool> visible;  // set when an _Enable key decides it
  std::string picture;          // the picture it shows in the normal state, if any
};

struct TextStyle {
  int points = 9;
  SkinColour colour;
};

// The pictures' sizes, by resource name; nothing for a missing picture.
using PictureSizes = std::function<std::optional<SkinSize>(std::string_view picture)>;

class SkinLayout {
 public:
  int language = 1;
  // In the order the window applies them: the families of the page table.
  std::vector<SkinControl> controls;
  // Text styles by group letter: "A" confirm buttons, "B" navigation and
  // language buttons, "C" key labels, "D" advanced page, "E" breathing light,
  // "F" macro page, "G" key menus, "I" update page, "K" key-combination
  // dialog, "L" macro-name, input-key and input-delay dialogs.
  std::map<std::string, TextStyle, std::less<>> styles;
  // Further colours by their key stem: "G_Back", "G_Border", "G_SF", "G_SP",
  // "D_Selected", "D_notSelected", "D_Back", "D_Border", "BG_Slider",
  // "F_LBack", "F_LBorder", "F_Font", "F_Back", "K_AK", "L_MN".
  std::map<std::string, SkinColour, std::less<>> colours;
  bool dpi_rows_horizontal = false;  // "DPI_Orientation" = 1
  std::vector<TableKeyError> errors;

  const SkinControl* Find(std::string_view name) const;
  // Every numeric key read, by name as the table spells it ("M_L_W",
  // "MacroNameHeight", "MK_A_X"); 0 for a key never read.
  int Number(std::string_view key) const;
  // The style of a group; the default style for an unknown group.
  TextStyle Style(std::string_view group) const;
  SkinColour Colour(std::string_view stem) const;

  std::map<std::string, int, std::less<>> numbers;
};

// The page table's section for a language: "org1" .. "org3".
std::string SkinSectionName(int language);

// Which text group (see SkinLayout::styles) a control's caption belongs to;
// empty for a control whose text the skin does not style.
std::string TextGroupOf(std::string_view control_name);

struct SkinTables {
  const IniTable* brand = nullptr;     // [org]: the web button's place
  const IniTable* page = nullptr;      // [orgN] of the language
  const IniTable* fallback = nullptr;  // [org1] as shipped: values for missing keys
};

// ApplySkin's placement for `language` (1..3).
SkinLayout PlaceSkin(const SkinTables& tables, int language, const BrandOptions& brand,
                     const PictureSizes& sizes);

// The same from the program's resources "org", "org1" .. "org3".
SkinLayout LoadSkin(int language, const BrandOptions& brand, const PictureSizes& sizes);

}  // namespace vrdk
