// Fire buttons and the AIM key: their parameters live apart from the button
// codes (fire presets in the Fire section, the AIM step only in the codes),
// and every change rewrites each button that carries the function, found by
// its display name ("Fire Button 1".., "DPI Lock"), then writes the mouse.
#pragma once

#include <optional>

#include "session/session.h"

namespace vrdk::keys {

// The main page's count box: empty gives 2, above 15 gives 15, and 0 or 1
// gives 2 (the page's least count).
int MainPageFireCount(std::optional<int> typed);
// Both pages' interval box: empty or 0 and less give 1, above 4094 gives 4094.
int FireInterval(std::optional<int> typed);

class FireKeys {
 public:
  static constexpr int kMaxCount = 15;
  static constexpr int kMaxInterval = 4094;

  explicit FireKeys(Session& session) : session_(session) {}

  // The name of fire button n's function ("Fire Button 1") in the session's
  // language.
  std::string FunctionName(int n) const;

  // One preset (n = 1..3) as either page sets it: count 1..15, interval
  // 1..4094 (values outside are brought into range), then SettingFireKey.
  void SetPreset(int n, int count, int interval);
  // lbl_FireNContinueClick / cb_FireNContinueClick.
  void SetKeepFiring(int n, bool keep_firing);
  // Fire section bytes 2..10 from the presets, every fire button of every
  // profile rewritten, then the profiles and the Fire section written.
  void SettingFireKey();

 private:
  Session& session_;
};

class AimKey {
 public:
  static constexpr std::string_view kNoAimKeyMessage = "Str105";
  static constexpr int kSteps = 12;

  explicit AimKey(Session& session) : session_(session) {}

  // The name of the AIM function ("DPI Lock") in the session's language.
  std::string FunctionName() const;

  // The main page's AIM step k (1..12) for every AIM button, then the
  // profiles written. Without one (and not while Loading) the step goes back
  // to 1 and "Str105" is shown; returns whether a button was found (false
  // for a step out of range, which changes nothing).
  bool SetAimStep(int step);
  // The engineer page's AIM step (1..12): every AIM button rewritten and the
  // profiles written, with no message whether or not there is one.
  void StoreAimStep(int step);
  // RefreshAIMKey: the step of the shown profile's AIM button, or 1.
  void RefreshAIMKey();

 private:
  // Rewrites every AIM button; returns how many there were.
  int SettingAIMKey();

  Session& session_;
};

// Every button of every profile whose display name is `name` gets `code`
// (in DataBuf and the code list). Returns how many.
int RewriteButtonsNamed(Session& session, const std::string& name, const std::string& code);

}  // namespace vrdk::keys
