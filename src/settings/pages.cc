#include "settings/pages.h"

#include "settings/dpi_editor.h"
#include "settings/led_editor.h"

namespace vrdk::settings {

void InstallSettingsPages(Session& session) {
  session.AddPageFiller([&session] { DpiEditor(session).ShowFromDataBuf(); });
  session.AddPageFiller([&session] { LedEditor(session).ShowFromDataBuf(); });
}

}  // namespace vrdk::settings
