#include "tables/skin_layout.h"

#include <array>
#include <string_view>

#include "resources/resources.h"

namespace vrdk {
namespace {

constexpr int kPageCopies = 5;     // every page 1..5 carries its own navigation bar
constexpr int kBesidePicture = 4;  // gap between a radio or check picture and its caption
constexpr int kBelowStep = 2;      // gap between a step picture and its number label
// In the title bar, left of minimise; shown only while the engineer page is unlocked.
constexpr SkinRect kEngineerButton{760, 18, 0, 0};

std::string Cat(std::string_view a, std::string_view b) { return std::string(a).append(b); }
std::string Cat(std::string_view a, int n) { return std::string(a).append(std::to_string(n)); }
std::string Cat(std::string_view a, int n, std::string_view b) { return Cat(a, n).append(b); }

// Reads the numbers of one page table, with the shipped [org1] for keys it
// lacks, and builds the controls.
class Placer {
 public:
  Placer(const SkinTables& tables, int language, const PictureSizes& sizes, SkinLayout& skin)
      : sizes_(sizes), skin_(skin) {
    skin_.language = language;
    section_ = SkinSectionName(language);
    page_ = tables.page;
    fallback_ = tables.fallback;
    if (page_ == nullptr || !page_->HasSection(section_)) {
      skin_.errors.push_back({TableKeyError::Kind::kMissingTable, Title(), "", "", "[org1]"});
      page_ = nullptr;
    }
  }

  std::string Title() const { return "skin table [" + section_ + "]"; }

  // The key of the page table; a missing or broken one reads as the shipped
  // [org1]'s value of the key, with an error.
  int Num(std::string_view key) {
    int fallback = 0;
    if (fallback_ != nullptr) {
      if (const auto text = fallback_->Find(SkinSectionName(1), key)) {
        fallback = ParseDecimal(*text).value_or(0);
      }
    }
    int value = fallback;
    if (page_ != nullptr) {
      value = NumericKeys(*page_, section_, Title(), skin_.errors).Read(key, fallback);
    } else if (fallback_ == nullptr) {
      skin_.errors.push_back({TableKeyError::Kind::kMissingKey, Title(), std::string(key), "",
                              std::to_string(fallback)});
    }
    skin_.numbers[std::string(key)] = value;
    return value;
  }

  // A key a skin may leave out (it then reads as 0, without an error).
  int Optional(std::string_view key) {
    int value = 0;
    if (page_ != nullptr) {
      if (const auto text = page_->Find(section_, key)) value = ParseDecimal(*text).value_or(0);
    }
    skin_.numbers[std::string(key)] = value;
    return value;
  }

  SkinSize Picture(const std::string& name) {
    if (auto found = sizes_ ? sizes_(name) : std::nullopt) return *found;
    for (const auto& error : skin_.errors) {
      if (error.kind == TableKeyError::Kind::kMissingPicture && error.key == name) return {};
    }
    skin_.errors.push_back({TableKeyError::Kind::kMissingPicture, Title(), name, "", "0 x 0"});
    return {};
  }

  // A control at a place, with the picture's size when it shows one.
  SkinControl& Add(std::string name, int x, int y, const std::string& picture = {},
                   std::optional<bool> visible = std::nullopt) {
    SkinControl control{std::move(name), {x, y, 0, 0}, false, visible, picture};
    if (!picture.empty()) {
      const SkinSize size = Picture(picture);
      control.rect.width = size.width;
      control.rect.height = size.height;
      control.sized = true;
    }
    skin_.controls.push_back(std::move(control));
    return skin_.controls.back();
  }

  // A label lying over a picture already added: the picture's rectangle,
  // less the insets at its two ends.
  void AddOver(std::string name, const SkinControl& image, int front = 0, int back = 0) {
    SkinRect rect = image.rect;
    rect.x += front;
    rect.width = std::max(0, rect.width - front - back);
    skin_.controls.push_back({std::move(name), rect, true, image.visible, {}});
  }

  // A caption beside a small picture already added.
  void AddBeside(std::string name, const SkinControl& image) {
    Add(std::move(name), image.rect.x + image.rect.width + kBesidePicture, image.rect.y, {},
        image.visible);
  }

  // The button rule for a family with one copy per page 1..5 (`copies` = 5)
  // or a single one (`copies` = 0: names without a suffix).
  void Button(std::string_view prefix, std::string_view stem, const std::string& picture,
              bool navigation, int copies = kPageCopies) {
    const bool visible = Num(Cat(prefix, "_Enable")) == 1;
    const int x = Num(Cat(prefix, "_X"));
    const int y = Num(Cat(prefix, "_Y"));
    ButtonAt(stem, picture, navigation, SkinRect{x, y, 0, 0}, visible, copies);
  }

  void ButtonAt(std::string_view stem, const std::string& picture, bool navigation, SkinRect at,
                std::optional<bool> visible, int copies = kPageCopies) {
    const int front = navigation ? space_front_ : 0;
    const int back = navigation ? space_back_ : 0;
    for (int copy = copies == 0 ? 0 : 1; copy <= copies; ++copy) {
      const std::string suffix = copies == 0 ? "" : Cat("_", copy);
      const SkinControl image = Add(Cat("Img_", stem) + suffix, at.x, at.y, picture, visible);
      AddOver(Cat("Btn_", stem) + suffix, image, front, back);
    }
  }

  // A row of `count` step pictures named stem + i (+ tail).
  SkinRect StepRow(std::string_view stem, std::string_view tail, int count, int x, int y, int gap,
                   bool horizontal, const std::string& picture) {
    const SkinSize size = Picture(picture);
    for (int i = 0; i < count; ++i) {
      const int offset = i * ((horizontal ? size.width : size.height) + gap);
      Add(Cat(stem, i + 1, tail), horizontal ? x + offset : x, horizontal ? y : y + offset,
          picture);
    }
    const int length = count * ((horizontal ? size.width : size.height) + gap) - gap;
    return horizontal ? SkinRect{x, y, length, size.height} : SkinRect{x, y, size.width, length};
  }

  void Style(std::string_view group) {
    TextStyle style;
    style.points = Num(Cat("Size_", group));
    style.colour = Colour(group);
    skin_.styles[std::string(group)] = style;
  }

  SkinColour Colour(std::string_view stem) {
    const std::string base = Cat("Color_", stem);
    return SkinColour{Num(base + "_R"), Num(base + "_G"), Num(base + "_B")};
  }

  void Colours(std::initializer_list<std::string_view> stems) {
    for (const auto stem : stems) skin_.colours[std::string(stem)] = Colour(stem);
  }

  void SetSpaces(int front, int back) {
    space_front_ = front;
    space_back_ = back;
  }

 private:
  const PictureSizes& sizes_;
  SkinLayout& skin_;
  std::string section_;
  const IniTable* page_ = nullptr;
  const IniTable* fallback_ = nullptr;
  int space_front_ = 0;
  int space_back_ = 0;
};

// The window's frame: confirm, exit and minimise, navigation, web link.
void PlaceFrame(Placer& placer, const SkinTables& tables) {
  placer.Style("A");
  placer.Button("Btn_A2", "Confirm1", "BtnS_01", false);
  placer.Button("Btn_A3", "Confirm2", "BtnS_01", false);
  placer.Button("Btn_A5", "Confirm3", "BtnS_01", false);
  placer.Button("Btn_A4", "Exit", "ExitS_01", false);
  placer.Button("Btn_A6", "Mini", "MiniS_01", false);
  placer.Style("B");
  const int front = placer.Num("Btn_Space_F");
  const int back = placer.Num("Btn_Space_B");
  placer.SetSpaces(front, back);
  static constexpr std::array<std::pair<int, std::string_view>, 12> kNavigation{{
      {1, "Main"},
      {2, "Switch"},
      {3, "Fixed"},
      {4, "Adv"},
      {5, "Breath"},
      {11, "Macro"},
      {12, "Update"},
      {6, "Save"},
      {7, "Load"},
      {8, "Lang1"},
      {9, "Lang2"},
      {10, "Lang3"},
  }};
  for (const auto& [number, stem] : kNavigation) {
    placer.Button(Cat("Btn_B", number), stem, "SetS_01", true);
  }
  // No key places the engineer button; it keeps its own visibility (hidden).
  placer.ButtonAt("Engineer", "SetS_01", true, kEngineerButton, std::nullopt);
  // The web button's place is the brand's, in [org].
  int web_x = 0;
  int web_y = 0;
  if (tables.brand != nullptr) {
    web_x = ParseDecimal(tables.brand->Value(kBrandSection, "Web_X")).value_or(0);
    web_y = ParseDecimal(tables.brand->Value(kBrandSection, "Web_Y")).value_or(0);
  }
  placer.ButtonAt("Web", "WebS_01", false, SkinRect{web_x, web_y, 0, 0}, std::nullopt);
}

// The key page: page pictures, keys and the combination-key options.
void PlaceKeyPage(Placer& placer, int language) {
  placer.Style("C");
  for (int n = 1; n <= 5; ++n) {
    const std::string picture =
        n == 5 ? std::string("Update") : Cat(Cat("L", language, "_Back"), n);
    placer.Add(Cat("Img_P", n), placer.Num(Cat("P", n, "_X")), placer.Num(Cat("P", n, "_Y")),
               picture);
  }
  // Skin key n places the label of this number.
  static constexpr std::array<int, 12> kKeyLabel{1, 4, 7, 2, 5, 8, 3, 6, 9, 10, 11, 12};
  for (int n = 1; n <= 12; ++n) {
    const int label = kKeyLabel[static_cast<std::size_t>(n - 1)];
    const std::string prefix = Cat("Key", n);
    const bool visible = placer.Num(prefix + "_Enable") == 1;
    const SkinControl image = placer.Add(Cat("Img_Key", label), placer.Num(prefix + "_X"),
                                         placer.Num(prefix + "_Y"), "KeyS_01", visible);
    placer.AddOver(Cat("Key", label), image);
  }
  for (int n = 1; n <= 7; ++n) {
    const std::string prefix = Cat("ComboKey", n);
    const bool visible = placer.Num(prefix + "_Enable") == 1;
    const SkinControl image = placer.Add(Cat("Img_ComboKey", n), placer.Num(prefix + "_X"),
                                         placer.Num(prefix + "_Y"), "CbS_D", visible);
    placer.AddBeside(Cat("IB_ComboKey", n), image);
  }
  placer.Style("G");
  placer.Colours({"G_Back", "G_Border", "G_SF", "G_SP"});
  for (const char* key : {"M_L_W", "SP_L_W", "O_L_W"}) placer.Num(key);
  // The special-key menu's power and MAC OS entries are hidden unless the
  // skin shows them.
  for (const char* key : {"Key_ACPIKey_Enable", "Key_MACOS_Enable"}) placer.Optional(key);
}

// A picture with its caption beside it, placed by prefix_X, prefix_Y.
void PictureWithCaption(Placer& placer, std::string_view prefix, const std::string& image,
                        const std::string& caption, const std::string& picture) {
  const SkinControl placed =
      placer.Add(image, placer.Num(Cat(prefix, "_X")), placer.Num(Cat(prefix, "_Y")), picture);
  placer.AddBeside(caption, placed);
}

// A step row with its slider over it, placed by prefix_X, prefix_Y, prefix_D.
SkinRect StepRowWithSlider(Placer& placer, std::string_view prefix, std::string_view stem,
                           std::string_view tail, int count, bool horizontal,
                           const std::string& picture, std::string slider) {
  const int x = placer.Num(Cat(prefix, "_X"));
  const int y = placer.Num(Cat(prefix, "_Y"));
  const int gap = placer.Num(Cat(prefix, "_D"));
  const SkinRect row = placer.StepRow(stem, tail, count, x, y, gap, horizontal, picture);
  if (!slider.empty()) {
    SkinControl& placed = placer.Add(std::move(slider), row.x, row.y);
    placed.rect = row;
    placed.sized = true;
  }
  return row;
}

// The advanced page: DPI levels, polling rate, fire keys, AIM, pointer.
void PlaceAdvancedPage(Placer& placer, SkinLayout& skin) {
  placer.Style("D");
  placer.Colours({"D_Selected", "D_notSelected", "D_Back", "D_Border", "BG_Slider"});
  for (int n = 1; n <= 3; ++n) {
    const std::string fire = Cat("FK", n);
    placer.Add(Cat("Edt_Repeat", n), placer.Num(fire + "Cnt_X"), placer.Num(fire + "Cnt_Y"));
    placer.Add(Cat("Edt_DelayTime", n), placer.Num(fire + "Delay_X"), placer.Num(fire + "Delay_Y"));
    // The check picture is the control: its image label lies over it.
    const SkinControl check =
        placer.Add(Cat("Img_Fire", n, "Continue"), placer.Num(fire + "Continue_X"),
                   placer.Num(fire + "Continue_Y"), "CbS_D");
    placer.AddOver(Cat("lbl_Fire", n, "Continue"), check);
    placer.Add(Cat("lbl_Fire", n), placer.Num(fire + "Name_X"), placer.Num(fire + "Name_Y"));
  }
  for (int n = 1; n <= 4; ++n) {
    PictureWithCaption(placer, Cat("Rep", n), Cat("Img_Rep", n), Cat("lbl_Rep", n), "RdS_D");
  }
  for (const auto& [prefix, slider] :
       {std::pair<std::string_view, std::string_view>{"Spd", "slider_Spd"},
        {"DbSpd", "slider_DbSpd"},
        {"ScrSpd", "slider_SrcSpd"}}) {
    const SkinRect row = StepRowWithSlider(placer, prefix, Cat("Img_", prefix), "", 11, true,
                                           "Bar1_D", std::string(slider));
    const int step = row.width / 11;
    for (int i = 0; i < 11; ++i) {
      placer.Add(Cat(Cat("lbl_", prefix), i + 1), row.x + i * step,
                 row.y + row.height + kBelowStep);
    }
  }
  PictureWithCaption(placer, "IsControl", "Img_IsControl", "lbl_IsControl", "CbS_D");
  PictureWithCaption(placer, "IsScreen", "Img_IsScreen", "lbl_IsScreen", "CbS_D");
  skin.dpi_rows_horizontal = placer.Num("DPI_Orientation") == 1;
  for (int n = 1; n <= 8; ++n) {
    const std::string dpi = Cat("DPI", n);
    const SkinControl colour = placer.Add(Cat("Img_", dpi) + "Col", placer.Num(dpi + "_Color_X"),
                                          placer.Num(dpi + "_Color_Y"), "Col_F");
    placer.AddOver("cs_" + dpi + "Col", colour);
    placer.AddOver("lbl_" + dpi + "Col", colour);
    placer.Add("Img_" + dpi, placer.Num(dpi + "_Check_X"), placer.Num(dpi + "_Check_Y"), "RdS_D");
    placer.Add("lbl_" + dpi, placer.Num(dpi + "_X"), placer.Num(dpi + "_Y"));
    placer.Add("lbl_" + dpi + "Value", placer.Num(dpi + "_Value_X"), placer.Num(dpi + "_Value_Y"));
    StepRowWithSlider(placer, dpi + "_Steps", "Img_" + dpi + "_", "", 12, skin.dpi_rows_horizontal,
                      "Bar2_D", "slider_" + dpi);
  }
  placer.Add("lbl_AIMDPI", placer.Num("AIMDPI_X"), placer.Num("AIMDPI_Y"));
  placer.Add("lbl_AIMDPIValue", placer.Num("AIMDPI_Value_X"), placer.Num("AIMDPI_Value_Y"));
  StepRowWithSlider(placer, "AIMDPI_Steps", "Img_AIMDPI_", "", 12, true, "Bar2_D", "");
}

// The breathing-light page: the LED type and effects, step time and
// breathing, the ten colours, button flash, the profile colours and the MCU
// LED strip (its step bar with labels placed by "Num_Order").
void PlaceLightPage(Placer& placer, const BrandOptions& brand) {
  placer.Style("E");
  const SkinRect row = StepRowWithSlider(placer, "StepTime", "Img_MCULEDStep_", "", 8, true,
                                         "Bar1_D", "slider_MCULEDStep");
  const int x = placer.Num("StepTime_X");
  const int gap = placer.Num("StepTime_D");
  const int width = placer.Picture("Bar1_D").width;
  for (int place = 1; place <= 8; ++place) {
    const int label = brand.led_step_order == LedStepOrder::kDescending ? 9 - place : place;
    placer.Add(Cat("lbl_MCULEDStep_", label), x + (place - 1) * (width + gap) + 2,
               row.y + row.height + kBelowStep);
  }
  for (int n = 1; n <= 7; ++n) {
    PictureWithCaption(placer, Cat("LEDMode", n), Cat("Img_LED", n), Cat("lbl_LED", n), "RdS_D");
    const std::string enable = Cat("LEDEnable", n);
    const SkinControl box = placer.Add(Cat("Img_Mode", n - 1, "_3"), placer.Num(enable + "_X"),
                                       placer.Num(enable + "_Y"), "CbS_D");
    placer.AddOver(Cat("cb_Mode", n - 1, "_3"), box);
  }
  for (const auto& [prefix, name] :
       {std::pair<std::string_view, std::string_view>{"LEDType", "cb_LEDMode_3"},
        {"LEDNum", "cb_LEDNum_3"},
        {"MCULEDCtrl", "cb_MCULEDCtrl_3"},
        {"MCULEDNum", "cb_MCULEDNum_3"},
        {"StepTimeEdit", "edt_StepTime_3"},
        {"Lower", "edt_Lower_3"},
        {"Upper", "edt_Upper_3"},
        {"LowerTime", "edt_LowerTime_3"},
        {"UpperTime", "edt_UpperTime_3"}}) {
    placer.Add(std::string(name), placer.Num(Cat(prefix, "_X")), placer.Num(Cat(prefix, "_Y")));
  }
  StepRowWithSlider(placer, "Fall", "Img_Fall", "", 10, true, "Bar1_D", "");
  const int colour_x = placer.Num("Col_X");
  const int colour_y = placer.Num("Col_Y");
  const int colour_gap = placer.Num("Col_D");
  const int colour_width = placer.Picture("Col_F").width;
  for (int n = 1; n <= 10; ++n) {
    const SkinControl frame = placer.Add(
        Cat("Img_Col", n), colour_x + (n - 1) * (colour_width + colour_gap), colour_y, "Col_F");
    placer.AddOver(Cat("cs_Col", n), frame);
    placer.AddOver(Cat("lbl_Col", n), frame);
  }
  PictureWithCaption(placer, "BtnEFT", "Img_BtnEFT_3", "cb_BtnEFT_3", "CbS_D");
  for (int n = 1; n <= 3; ++n) {
    const std::string prefix = Cat("ProfileColor", n);
    placer.Add(Cat("lbl_Profile", n, "Color_3"), placer.Num(prefix + "_X"),
               placer.Num(prefix + "_Y"));
    placer.Add(Cat("cb_Profile", n, "Color_3"), placer.Num(prefix + "_Box_X"),
               placer.Num(prefix + "_Y"));
  }
}

// The macro page: the three lists, its buttons and panels.
void PlaceMacroPage(Placer& placer) {
  placer.Style("F");
  placer.Colours({"F_LBack", "F_LBorder", "F_Font", "F_Back"});
  placer.Num("MacroNameHeight");
  for (const auto& [prefix, list] :
       {std::pair<std::string_view, std::string_view>{"PCMacroName", "LB_PCMacroName"},
        {"MseMacroName", "LB_MacroName"},
        {"MacroContent", "LB_macro"}}) {
    SkinControl& placed =
        placer.Add(std::string(list), placer.Num(Cat(prefix, "_X")), placer.Num(Cat(prefix, "_Y")));
    placed.rect.width = placer.Num(Cat(prefix, "_W"));
    placed.rect.height = placer.Num(Cat(prefix, "_H"));
    placed.sized = true;
  }
  // The record-new and record buttons: a picture with its label.
  const auto button = [&placer](std::string_view key, std::string_view stem,
                                const std::string& picture) {
    placer.ButtonAt(stem, picture, false,
                    SkinRect{placer.Num(Cat(key, "_X")), placer.Num(Cat(key, "_Y")), 0, 0},
                    std::nullopt, 0);
  };
  button("BtnNew", "New", "MacroBtnS_01");
  button("BtnStart", "Start", "MacroBtnS_01");
  // The delay group: its title, three radio rows prefix_H apart and the
  // fixed delay's field; the insert panel likewise over its background.
  const auto radio_rows = [&placer](std::string_view key, std::string_view stem) {
    const int x = placer.Num(Cat(key, "_X"));
    const int y = placer.Num(Cat(key, "_Y"));
    const int pitch = placer.Num(Cat(key, "_H"));
    int row = 0;
    for (const char* mode : {"RecDelay", "DelayTime", "NoDelay"}) {
      const SkinControl placed =
          placer.Add(Cat(Cat("Img_", stem), mode), x, y + pitch * row++, "RdS_D");
      placer.AddBeside(Cat(Cat("IB_", stem), mode), placed);
    }
  };
  placer.Add("lbl_DelayTime", placer.Num("DelayTime_X"), placer.Num("DelayTime_Y"));
  radio_rows("RecDelay", "");
  placer.Add("Edt_Delay", placer.Num("DelayEdit_X"), placer.Num("DelayEdit_Y"));
  placer.Add("Img_InsertBase", placer.Num("Insert_X"), placer.Num("Insert_Y"), "InsertDelayBase");
  placer.Add("CB_Insert", placer.Num("InsertList_X"), placer.Num("InsertList_Y"));
  radio_rows("InsertRecDelay", "Insert");
  const int delay_x = placer.Num("InsertDelayEdit_X");
  const int delay_y = placer.Num("InsertDelayEdit_Y");
  placer.Add("Edt_InsertDelay", delay_x, delay_y);
  placer.Add("edt_Repeat", delay_x, delay_y);
  placer.Add("edt_XAxisValue", placer.Num("InsertAxisEdit_X"), placer.Num("InsertAxisEdit_Y"));
  button("InsertBtnStart", "InsertStart", "MacroS_01");
  button("InsertBtnOK", "OK", "MacroS_01");
  button("InsertBtnCancel", "Cancel", "MacroS_01");
}

// The update page and the keys the small dialogs read for themselves.
void PlaceUpdatePageAndDialogs(Placer& placer) {
  placer.Style("I");
  placer.Add("lbl_BINPath", placer.Num("lbl_BINPath_X"), placer.Num("lbl_BINPath_Y"));
  placer.Add("lbl_LoadBIN", placer.Num("lbl_LoadBin_X"), placer.Num("lbl_LoadBin_Y"));
  for (const auto& [key, stem] :
       {std::pair<std::string_view, std::string_view>{"Btn_LoadBin", "LoadBIN"},
        {"Btn_Program", "Program"}}) {
    const SkinControl image = placer.Add(Cat("Img_", stem), placer.Num(Cat(key, "_X")),
                                         placer.Num(Cat(key, "_Y")), "KeyS_01");
    placer.AddOver(Cat("Btn_", stem), image);
  }
  placer.Style("K");
  placer.Colours({"K_AK"});
  for (const char* key : {"AKT_W", "AKC_W"}) placer.Num(key);
  for (const char* prefix :
       {"AKT", "AKC", "MK_A", "MK_C", "MK_S", "MK_W", "MK_T", "AK_Cfm", "AK_Clear", "AK_Close"}) {
    placer.Num(Cat(prefix, "_X"));
    placer.Num(Cat(prefix, "_Y"));
  }
  placer.Style("L");
  placer.Colours({"L_MN"});
  for (const char* key : {"MNT_W", "MNC_W"}) placer.Num(key);
  for (const char* prefix : {"MNT", "MNC", "MN_Cfm", "MN_Clear", "MN_Close"}) {
    placer.Num(Cat(prefix, "_X"));
    placer.Num(Cat(prefix, "_Y"));
  }
}

std::optional<IniTable> ResourceTable(std::string_view name) {
  const auto bytes = resources::Find(name);
  if (!bytes) return std::nullopt;
  return IniTable::Parse(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
      IniTable::Encoding::kWindows1252);
}

}  // namespace

const SkinControl* SkinLayout::Find(std::string_view name) const {
  for (const auto& control : controls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

int SkinLayout::Number(std::string_view key) const {
  const auto found = numbers.find(key);
  return found == numbers.end() ? 0 : found->second;
}

TextStyle SkinLayout::Style(std::string_view group) const {
  const auto found = styles.find(group);
  return found == styles.end() ? TextStyle{} : found->second;
}

SkinColour SkinLayout::Colour(std::string_view stem) const {
  const auto found = colours.find(stem);
  return found == colours.end() ? SkinColour{} : found->second;
}

std::string SkinSectionName(int language) { return "org" + std::to_string(language); }

std::string TextGroupOf(std::string_view name) {
  const auto starts = [name](std::string_view prefix) { return name.starts_with(prefix); };
  if (starts("Btn_Confirm")) return "A";
  for (const char* prefix :
       {"Btn_Main_", "Btn_Switch_", "Btn_Fixed_", "Btn_Adv_", "Btn_Breath_", "Btn_Macro_",
        "Btn_Update_", "Btn_Engineer_", "Btn_Save_", "Btn_Load_", "Btn_Lang"}) {
    if (starts(prefix)) return "B";
  }
  if (starts("Key_")) return "G";  // the key menus' entries
  if (starts("Key") || starts("IB_ComboKey")) return "C";
  for (const char* prefix :
       {"lbl_DPI", "lbl_Rep", "lbl_Fire", "Edt_Repeat", "Edt_DelayTime", "lbl_AIMDPI", "lbl_Spd",
        "lbl_DbSpd", "lbl_ScrSpd", "lbl_IsControl", "lbl_IsScreen"}) {
    if (starts(prefix)) return "D";
  }
  for (const char* prefix :
       {"lbl_LED", "lbl_MCULEDStep", "lbl_Col", "lbl_Profile", "cb_BtnEFT", "cb_Mode"}) {
    if (starts(prefix)) return "E";
  }
  for (const char* prefix :
       {"LB_", "Btn_New", "Btn_Start", "Btn_InsertStart", "Btn_OK", "Btn_Cancel", "IB_RecDelay",
        "IB_DelayTime", "IB_NoDelay", "IB_Insert", "lbl_DelayTime", "lbl_Insert", "lbl_Macro"}) {
    if (starts(prefix)) return "F";
  }
  if (starts("Pnl_") || starts("Key_")) return "G";
  if (starts("lbl_BINPath") || starts("lbl_LoadBIN") || starts("Btn_LoadBIN") ||
      starts("Btn_Program")) {
    return "I";
  }
  return {};
}

SkinLayout PlaceSkin(const SkinTables& tables, int language, const BrandOptions& brand,
                     const PictureSizes& sizes) {
  SkinLayout skin;
  Placer placer(tables, language, sizes, skin);
  PlaceFrame(placer, tables);
  PlaceKeyPage(placer, language);
  PlaceAdvancedPage(placer, skin);
  PlaceLightPage(placer, brand);
  PlaceMacroPage(placer);
  PlaceUpdatePageAndDialogs(placer);
  return skin;
}

SkinLayout LoadSkin(int language, const BrandOptions& brand, const PictureSizes& sizes) {
  const auto brand_table = ResourceTable(kBrandSection);
  const auto page = ResourceTable(SkinSectionName(language));
  const auto fallback = ResourceTable(SkinSectionName(1));
  SkinTables tables;
  tables.brand = brand_table ? &*brand_table : nullptr;
  tables.page = page ? &*page : nullptr;
  tables.fallback = fallback ? &*fallback : nullptr;
  return PlaceSkin(tables, language, brand, sizes);
}

}  // namespace vrdk
