#include "settings/pages.h"

#include "settings/dpi_editor.h"

namespace vrdk::settings {

void InstallSettingsPages(Session& session) {
  session.AddPageFiller([&session] { DpiEditor(session).ShowFromDataBuf(); });
}

}  // namespace vrdk::settings
