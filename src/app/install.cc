#include "app/install.h"

#include "engineering/engineer_page.h"
#include "keys/editors/fire_aim.h"
#include "keys/editors/gestures.h"
#include "keys/editors/key_assignment.h"
#include "macros/editors/device_macros.h"
#include "settings/pages.h"

namespace vrdk {

void InstallEditors(Session& session) {
  macros::InstallDeviceMacros(session);
  session.AddPageFiller([&session] {
    keys::KeyAssignment(session).ShowFromDataBuf();
    keys::AimKey(session).RefreshAIMKey();
    keys::Gestures(session).ShowFromDataBuf();
  });
  settings::InstallSettingsPages(session);
  session.AddPageFiller([&session] {
    engineering::EngineerPage page(session);
    page.ShowComboItemsFromButtons();
    page.ShowProfileSwitchFromCodes();
  });
  // The fire-macro scripts may have changed on disk: every read takes them in
  // again, and whether the file exists decides how fire-macro codes are named.
  session.AddReadFollower([&session] {
    auto* store = macros::FindDeviceMacros(session);
    const auto path = macros::FireMacroPath();
    if (store != nullptr && path) store->LoadFireMacros(*path);
  });
}

}  // namespace vrdk
