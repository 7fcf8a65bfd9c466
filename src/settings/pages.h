// Hooks the settings editors into the Session, so that every time DataBuf is
// shown their working state is rebuilt from it. Every face calls this once
// after creating its Session.
#pragma once

#include "session/session.h"

namespace vrdk::settings {

void InstallSettingsPages(Session& session);

}  // namespace vrdk::settings
