#include "settings/navigation.h"

#include "settings/mode_pages.h"

namespace vrdk::settings {

int PageGroup(NavPage page) {
  switch (page) {
    case NavPage::kMain:
    case NavPage::kSwitch:
    case NavPage::kFixed:
      return 1;
    case NavPage::kAdvanced:
      return 2;
    case NavPage::kBreathingLight:
      return 3;
    case NavPage::kMacro:
      return 4;
    case NavPage::kUpdate:
      return 5;
    case NavPage::kEngineer:
      return 7;
  }
  return 1;
}

NavPage CurrentPage(const PageState& pages) {
  switch (pages.shown_page) {
    case 2:
      return NavPage::kAdvanced;
    case 3:
      return NavPage::kBreathingLight;
    case 4:
      return NavPage::kMacro;
    case 5:
      return NavPage::kUpdate;
    case 7:
      return NavPage::kEngineer;
    default:
      return static_cast<NavPage>(pages.mode_page >= 1 && pages.mode_page <= 3 ? pages.mode_page
                                                                               : 1);
  }
}

int GroupToShow(const PageState& pages) {
  return pages.no_device_shown ? 1 : PageGroup(CurrentPage(pages));
}

std::string PageBackground(NavPage page, int language) {
  const int group = PageGroup(page);
  if (group > 4) return {};
  std::string name = "L";
  name += std::to_string(language);
  name += "_Back";
  name += std::to_string(group);
  return name;
}

const char* NavigationStem(NavPage page) {
  static constexpr const char* kStems[] = {"Main",   "Switch", "Fixed",  "Adv",
                                           "Breath", "Macro",  "Update", "Engineer"};
  return kStems[static_cast<int>(page) - 1];
}

void SwitchLanguage(Session& session, int language) {
  if (language < 1 || language > kLanguageCount) return;
  session.SetCurrentLanguage(language);
  const LanguageTables& tables = session.Languages();
  const auto retranslate = [&](std::string& caption) {
    caption = tables.Retranslate(caption, language);
  };
  PageState& pages = session.Pages();
  for (auto& caption : pages.key_captions) retranslate(caption);
  for (auto& profile : pages.engineer_captions) {
    for (auto& caption : profile) retranslate(caption);
  }
  for (auto& caption : pages.combination_captions) retranslate(caption);
  for (auto& profile : pages.names) {
    for (auto& name : profile) retranslate(name);
  }
}

Navigation::Result Navigation::Go(NavPage page) {
  if (!session_.Link().IsOpen()) {
    session_.Events().ShowMessage(kNoMouseMessage);
    return Result::kNoMouse;
  }
  PageState& pages = session_.Pages();
  if (pages.no_device_shown) return Result::kIgnored;
  const int group = PageGroup(page);
  if (group == 1) {
    return ModePages(session_).SelectModePage(static_cast<int>(page)) ? Result::kShown
                                                                      : Result::kIgnored;
  }
  session_.Events().CloseMenus();
  // The Update page opens without a loaded patch file.
  if (page == NavPage::kUpdate) pages.ForgetLoadedPatch();
  pages.shown_page = group;
  return Result::kShown;
}

}  // namespace vrdk::settings
