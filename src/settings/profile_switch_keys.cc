#include "settings/profile_switch_keys.h"

#include <algorithm>

#include "keys/function_codes.h"
#include "keys/key_code.h"

namespace vrdk::settings {

int RewriteProfileSwitchKeys(Session& session) {
  std::array<std::string, image::kProfileCount> switch_names;
  for (std::size_t p = 0; p < switch_names.size(); ++p) {
    switch_names[p] = session.Language().Text(251 + static_cast<int>(p));
  }
  PageState& pages = session.Pages();
  int rewritten = 0;
  for (std::size_t profile = 0; profile < image::kProfileCount; ++profile) {
    for (std::size_t key = 0; key < image::kKeysPerProfile; ++key) {
      const auto target =
          std::find(switch_names.begin(), switch_names.end(), pages.names[profile][key]);
      if (target == switch_names.end() || target->empty()) continue;
      const int tag = menu_tag::kProfile1 + static_cast<int>(target - switch_names.begin());
      const std::string code = CodeForMenuTag(tag, session.Keys(), MenuOrigin::kCombinationSlot);
      const auto bytes = ParseKeyCode(code);
      if (!bytes) continue;
      std::copy(bytes->begin(), bytes->end(), image::KeyCode(session.Data(), profile, key).begin());
      pages.code_texts.profiles[profile][key] = code;
      pages.names[profile][key] = session.NameForCode(code);
      ++rewritten;
    }
  }
  return rewritten;
}

}  // namespace vrdk::settings
