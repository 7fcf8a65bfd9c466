// The key-function menus: every leaf is a known menu entry, every submenu a
// panel, and panels open inside the window whichever edge they meet.

#include "keys/menu_tree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "keys/menu_entries.h"

namespace vrdk {
namespace {

TEST(MenuTree, EveryMenuEntryStandsInExactlyOnePanelAndEverySubmenuExists) {
  std::multiset<int> tags;
  for (const MenuPanel& panel : MenuPanels()) {
    for (const MenuItem& item : panel.items) {
      if (item.kind == MenuItem::Kind::kLeaf) {
        const MenuEntry* entry = FindMenuEntry(item.tag);
        ASSERT_NE(entry, nullptr) << item.component;
        EXPECT_EQ(entry->component, item.component);
        tags.insert(item.tag);
      }
      if (item.kind == MenuItem::Kind::kSubmenu) {
        EXPECT_NE(FindMenuPanel(item.submenu), nullptr) << item.submenu;
      }
    }
  }
  EXPECT_EQ(tags.size(), MenuEntries().size());
  for (const MenuEntry& entry : MenuEntries()) EXPECT_EQ(tags.count(entry.tag), 1u) << entry.tag;
  EXPECT_EQ(MenuPanels().front().name, "Pnl_Main");
  EXPECT_EQ(PanelOfItem("Key_PlayPause")->name, "Pnl_Media");
  EXPECT_EQ(PanelOfItem("Key_Nothing"), nullptr);
}

TEST(MenuTree, CaptionsCarryTheMarkOfTheLanguage) {
  const LanguageTable english = *LoadLanguageTable(1);
  const MenuPanel* mouse = FindMenuPanel("Pnl_MseKey");
  EXPECT_EQ(MenuCaption(mouse->items[0], english), " * Left Click");
  EXPECT_EQ(MenuCaption(FindMenuPanel("Pnl_Main")->items[2], english), " * Multimedia");
  // Forward and Backward: Key_B4 is named with Str214, Key_B5 with Str213.
  EXPECT_EQ(MenuCaption(mouse->items[3], english), " * Forward");
  EXPECT_EQ(MenuCaption(mouse->items[4], english), " * Backward");
}

constexpr int kClientWidth = 1040;
constexpr int kClientHeight = 680;

TEST(MenuPlacement, TheMainPanelOpensAtTheLabelsCentreAndTurnsAtTheEdges) {
  // Room to the right and below.
  EXPECT_EQ(PlaceMainMenu({246, 124, 150, 34}, 170, 170, kClientWidth, kClientHeight),
            (MenuBox{321, 141, 170, 170}));
  // At the right edge its right side lies at the centre.
  EXPECT_EQ(PlaceMainMenu({856, 124, 150, 34}, 170, 170, kClientWidth, kClientHeight),
            (MenuBox{761, 141, 170, 170}));
  // At the bottom its bottom lies at the centre.
  EXPECT_EQ(PlaceMainMenu({246, 600, 150, 34}, 170, 170, kClientWidth, kClientHeight),
            (MenuBox{321, 447, 170, 170}));
  // Exactly fitting is fitting.
  EXPECT_EQ(PlaceMainMenu({0, 0, 100, 20}, 990, 670, kClientWidth, kClientHeight).x, 50);
  EXPECT_EQ(PlaceMainMenu({0, 0, 100, 20}, 990, 670, kClientWidth, kClientHeight).y, 10);
}

TEST(MenuPlacement, SubmenusOpenBesideTheEntryOrFlushLeftAndBottomAligned) {
  const MenuBox parent{321, 141, 170, 170};
  const MenuBox entry{2, 25, 166, 24};
  EXPECT_EQ(PlaceSubmenu(parent, entry, 190, 242, kClientWidth, kClientHeight),
            (MenuBox{491, 166, 190, 242}));
  // Near the right edge the submenu lies flush to the left of its parent.
  const MenuBox right{761, 141, 170, 170};
  EXPECT_EQ(PlaceSubmenu(right, entry, 190, 242, kClientWidth, kClientHeight),
            (MenuBox{571, 166, 190, 242}));
  // Near the bottom its bottom lines up with the entry's.
  const MenuBox low{321, 447, 170, 170};
  const MenuBox last{2, 145, 166, 24};
  EXPECT_EQ(PlaceSubmenu(low, last, 170, 170, kClientWidth, kClientHeight),
            (MenuBox{491, 446, 170, 170}));
}

TEST(MenuPlacement, BeyondAPanelThatTurnedLeftSubmenusKeepGoingLeftWhileThereIsRoom) {
  // Pnl_Special turned left of Pnl_Main (761..931); its submenu would cover
  // Pnl_Main if it opened to the right.
  const MenuBox special{571, 166, 190, 242};
  const MenuBox entry{2, 49, 186, 24};
  EXPECT_EQ(PlaceSubmenu(special, entry, 170, 26, kClientWidth, kClientHeight, true),
            (MenuBox{401, 215, 170, 26}));
  // No room on the left: to the right after all.
  const MenuBox at_edge{100, 166, 190, 242};
  EXPECT_EQ(PlaceSubmenu(at_edge, entry, 170, 26, kClientWidth, kClientHeight, true).x, 290);
}

}  // namespace
}  // namespace vrdk
