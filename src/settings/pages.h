// Hooks the settings editors into the Session, so that every time DataBuf is
// shown their working state is rebuilt from it. Every face calls this once
// after creating its Session.
#pragma once

#include <memory>

#include "session/session.h"
#include "settings/pointer_platform.h"

namespace vrdk::settings {

void InstallSettingsPages(Session& session);

// The window's pointer page: shown again from `platform` after every read of
// the mouse. The Session keeps the platform as long as it lives.
void InstallPointerPage(Session& session, std::shared_ptr<PointerPlatform> platform);

}  // namespace vrdk::settings
