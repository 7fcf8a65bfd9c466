// The window's pages and the navigation between them. The page radio buttons
// rb_1 .. rb_8 name the current page; the group boxes gbPage1 .. gbPage5 and
// gbPage7 show them (the three mode pages share gbPage1).
//
// Every navigation button first checks the mouse: with no mouse open it shows
// "Str022" and stays. In the no-device state the buttons do nothing else;
// the mode pages also wait while Loading is set. Choosing a mode page chooses
// the mouse's profile (ModePages).
#pragma once

#include <string>

#include "session/session.h"

namespace vrdk::settings {

enum class NavPage {
  kMain = 1,        // rb_1 Main Control
  kSwitch,          // rb_2 Switch Control
  kFixed,           // rb_3 Fixed Control
  kAdvanced,        // rb_4
  kBreathingLight,  // rb_5
  kMacro,           // rb_6
  kUpdate,          // rb_7
  kEngineer,        // rb_8
};

// The group box (gbPageN) a page is shown on: 1, 2, 3, 4, 5 or 7.
int PageGroup(NavPage page);
// The page of the selected radio button, from the page state.
NavPage CurrentPage(const PageState& pages);
// RefreshAPPage: the group box to show; gbPage1 while NoDeviceShown is set.
int GroupToShow(const PageState& pages);
// The page background of a language: "L1_Back1" for the mode pages, "L1_Back2"
// Advanced, "L1_Back3" Breathing Light, "L1_Back4" Macro; empty for the rest.
std::string PageBackground(NavPage page, int language);
// The stem of a page's navigation labels: "Main" for Btn_Main_1 .. _5.
const char* NavigationStem(NavPage page);

// A language button (Btn_Lang1_0Click ..): the language becomes current and
// every caption that shows a function name (the key labels, the engineer
// page's buttons and combination slots, and the display names the editors
// find buttons by) is put into it through FindTextKey; a caption that no
// table knows stays as it is.
void SwitchLanguage(Session& session, int language);

class Navigation {
 public:
  static constexpr std::string_view kNoMouseMessage = "Str022";
  enum class Result {
    kShown,    // the page is the current one now
    kNoMouse,  // no mouse: "Str022" was shown, nothing changed
    kIgnored,  // the no-device state, or a mode page while Loading: nothing changed
  };

  explicit Navigation(Session& session) : session_(session) {}

  // Btn_Main_0Click .. Btn_Engineer_0Click.
  Result Go(NavPage page);

 private:
  Session& session_;
};

}  // namespace vrdk::settings
