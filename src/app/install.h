// Hooks every editor that keeps working state of its own into the Session, so
// that showing DataBuf rebuilds that state. Every face (the window, vrdkctl)
// calls this once after creating its Session.
#pragma once

#include "session/session.h"

namespace vrdk {

void InstallEditors(Session& session);

}  // namespace vrdk
