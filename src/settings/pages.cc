#include "settings/pages.h"

#include "settings/dpi_editor.h"
#include "settings/led_editor.h"
#include "settings/pointer_settings.h"

namespace vrdk::settings {

void InstallSettingsPages(Session& session) {
  session.AddPageFiller([&session] { DpiEditor(session).ShowFromDataBuf(); });
  session.AddPageFiller([&session] { LedEditor(session).ShowFromDataBuf(); });
}

void InstallPointerPage(Session& session, std::shared_ptr<PointerPlatform> platform) {
  session.KeepEditorState(platform);
  session.AddPageFiller(
      [&session, raw = platform.get()] { PointerSettings(session, *raw).Refresh(); });
}

}  // namespace vrdk::settings
