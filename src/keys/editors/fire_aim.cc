#include "keys/editors/fire_aim.h"

#include <algorithm>
#include <cstdio>

#include "image/fields.h"
#include "keys/editors/key_assignment.h"
#include "keys/key_code.h"
#include "session/write_roads.h"

namespace vrdk::keys {
namespace {

constexpr int kFireNameKey = 231;  // Str231 .. Str233
constexpr std::string_view kAimNameKey = "Str260";
constexpr int kAimSteps = AimKey::kSteps;

std::string FireCode(const FirePreset& preset) {
  char code[16];
  const int repeat = preset.count + (preset.keep_firing ? 0x8F : 0x0F);
  std::snprintf(code, sizeof code, "06%02X%04X", repeat & 0xFF, preset.interval & 0xFFFF);
  return code;
}

std::string AimCode(int step) {
  char code[16];
  std::snprintf(code, sizeof code, "05%02X0000", (step - 1) & 0xFF);
  return code;
}

}  // namespace

int MainPageFireCount(std::optional<int> typed) {
  if (!typed || *typed <= 1) return 2;
  return std::min(*typed, FireKeys::kMaxCount);
}

int FireInterval(std::optional<int> typed) {
  if (!typed || *typed <= 0) return 1;
  return std::min(*typed, FireKeys::kMaxInterval);
}

int RewriteButtonsNamed(Session& session, const std::string& name, const std::string& code) {
  const auto bytes = ParseKeyCode(code);
  if (!bytes || name.empty()) return 0;
  PageState& pages = session.Pages();
  int found = 0;
  for (std::size_t p = 0; p < image::kProfileCount; ++p) {
    for (std::size_t k = 0; k < image::kKeysPerProfile; ++k) {
      if (pages.names[p][k] != name) continue;
      std::copy(bytes->begin(), bytes->end(), image::KeyCode(session.Data(), p, k).begin());
      pages.code_texts.profiles[p][k] = code;
      ++found;
    }
  }
  return found;
}

void FireKeys::SetPreset(int n, int count, int interval) {
  if (n < 1 || n > 3) return;
  FirePreset& preset = session_.Keys().fire[static_cast<std::size_t>(n - 1)];
  preset.count = std::clamp(count, 1, kMaxCount);
  preset.interval = FireInterval(interval);
  SettingFireKey();
}

void FireKeys::SetKeepFiring(int n, bool keep_firing) {
  if (n < 1 || n > 3) return;
  session_.Keys().fire[static_cast<std::size_t>(n - 1)].keep_firing = keep_firing;
  SettingFireKey();
}

void FireKeys::SettingFireKey() {
  const auto& presets = session_.Keys().fire;
  for (std::size_t n = 0; n < presets.size(); ++n) {
    image::SetFirePreset(session_.Data(), static_cast<int>(n), presets[n].count,
                         presets[n].interval);
  }
  for (std::size_t n = 0; n < presets.size(); ++n) {
    const std::string name = FunctionName(static_cast<int>(n) + 1);
    RewriteButtonsNamed(session_, name, FireCode(presets[n]));
  }
  KeyAssignment(session_).ShowFromDataBuf();
  WriteRoads(session_).WriteProfilesAndIdentity();
}

std::string FireKeys::FunctionName(int n) const {
  return session_.Language().Text(kFireNameKey + n - 1);
}

std::string AimKey::FunctionName() const { return session_.Language().Text(kAimNameKey); }

int AimKey::SettingAIMKey() {
  const int step = std::clamp(session_.Keys().aim_step, 1, kAimSteps);
  return RewriteButtonsNamed(session_, session_.Language().Text(kAimNameKey), AimCode(step));
}

bool AimKey::SetAimStep(int step) {
  if (step < 1 || step > kAimSteps) return false;
  session_.Keys().aim_step = step;
  if (SettingAIMKey() > 0) {
    WriteRoads(session_).WriteProfiles();
    return true;
  }
  if (!session_.Conn().loading) {
    session_.Keys().aim_step = 1;
    session_.Events().ShowMessage(kNoAimKeyMessage);
  }
  return false;
}

void AimKey::StoreAimStep(int step) {
  if (step < 1 || step > kAimSteps) return;
  session_.Keys().aim_step = step;
  SettingAIMKey();
  WriteRoads(session_).WriteProfiles();
}

void AimKey::RefreshAIMKey() {
  const PageState& pages = session_.Pages();
  const std::string aim = session_.Language().Text(kAimNameKey);
  const auto profile = static_cast<std::size_t>(std::clamp(pages.mode_page, 1, 3) - 1);
  int step = 1;
  for (std::size_t k = 0; k < image::kKeysPerProfile; ++k) {
    if (pages.names[profile][k] != aim) continue;
    const auto bytes = ParseKeyCode(pages.code_texts.profiles[profile][k]);
    if (bytes && (*bytes)[1] < kAimSteps) step = (*bytes)[1] + 1;
  }
  session_.Keys().aim_step = step;
}

}  // namespace vrdk::keys
