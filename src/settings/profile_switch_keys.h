// The profile-switch buttons carry the profile settings in their codes
// (return to zero, adjust XY, change colour, the target's colour and the
// offset). Whenever one of those settings changes, every button of the three
// profiles that switches to Profile 1, 2 or 3 (by its shown name, Str251 ..
// Str253) is given the extended code again.
#pragma once

#include "session/session.h"

namespace vrdk::settings {

// Rewrites the profile-switch buttons in DataBuf, their code texts and
// names; returns how many there were. Writes nothing to the mouse.
int RewriteProfileSwitchKeys(Session& session);

}  // namespace vrdk::settings
