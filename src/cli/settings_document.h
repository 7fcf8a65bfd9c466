// The settings document: everything the editors set, as JSON in the names
// the user sees, to keep, share, review and apply (vrdkctl export, apply).
//
// Objects may leave keys out: only the keys given are changed. Arrays are
// given whole (the DPI levels, the ten colours). Names are those of the
// session's language, which the document records under "language".
//
// Applying is planned first: every key is checked against the rules of the
// editors before anything is sent, and a change is planned only where the
// document differs from the mouse. The changes are made through the same
// editors as the other commands, in stages: the LED type first (it restores
// the factory settings of the new type, so the rest is planned again against
// them), then what shapes the codes made from names (fire presets, profile
// colours), the buttons, the other settings, and the polling rate last (the
// mouse restarts once for it).
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

#include "base/result.h"
#include "session/session.h"

namespace vrdk::cli {

// Raised when the document changes in a way its readers must know of.
inline constexpr int kSettingsSchemaVersion = 1;

// The document of what the session shows. REQUIRES: the session shows the
// mouse's live DPI and lighting settings (TakeLiveSettings).
nlohmann::json ExportSettings(Session& session);

// Takes the mouse's live DPI levels and lighting settings into the session
// (they live only there); false when they could not be read whole.
bool TakeLiveSettings(Session& session);

// What is wrong with one key of a document: its JSON pointer ("/dpi/current")
// and why.
struct DocumentProblem {
  std::string path;
  std::string message;
};

enum class ChangeStage { kLedType, kShaping, kButtons, kSettings, kRestart };

struct SettingChange {
  ChangeStage stage = ChangeStage::kSettings;
  std::string path;    // the document's key, as a JSON pointer
  std::string before;  // the value the mouse holds, as the document writes it
  std::string after;   // the value given
  std::function<Result<void>(Session&)> make;
};

struct ApplyPlan {
  std::vector<DocumentProblem> problems;  // nothing is sent unless empty
  std::vector<SettingChange> changes;     // in the order they are made
  // Changes of the "engineer" object left out, as it was not to be applied.
  std::vector<SettingChange> engineer_left;
};

// Checks the whole document and plans the changes it asks for. The
// "engineer" object (the USB identity, the customer codes, the chip options,
// the sensor registers, the recoil offsets) is checked always and planned
// only with `engineer`.
ApplyPlan PlanSettings(Session& session, const nlohmann::json& document, bool engineer = false);

// "path: before -> after".
std::string ChangeLine(const SettingChange& change);

}  // namespace vrdk::cli
