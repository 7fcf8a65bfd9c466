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
}

}  // namespace vrdk
