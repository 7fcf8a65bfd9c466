// What vrdkctl prints about a mouse: the data of `info` and `dump` as JSON
// (the --json output and the source of the text output), and the text forms.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "session/session.h"
#include "tables/language_table.h"

namespace vrdk::cli {

// memory_type, vendor_id, product_id, customer_codes, product_string,
// patch_checksum, current_profile, polling_rate, led_type, repaired_sections.
nlohmann::json InfoReport(const Session& session);
// Everything the mouse holds, decoded; button names as the Session shows
// them, DPI values from `language`.
nlohmann::json DumpReport(const Session& session, const LanguageTable& language);

// names: every menu entry's tag, code and name; `source` says whether the
// codes were made from the mouse's settings ("mouse") or the defaults.
nlohmann::json NamesReport(Session& session, bool from_mouse);
std::string NamesText(const nlohmann::json& names);

std::string InfoText(const nlohmann::json& info);
std::string DumpText(const nlohmann::json& dump);

}  // namespace vrdk::cli
