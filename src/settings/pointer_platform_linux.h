// The pointer settings on a Linux desktop. The desktop is found from
// XDG_CURRENT_DESKTOP and told through its own tools:
//
//   GNOME (gsettings, org.gnome.desktop.peripherals.mouse)
//     MouseSensitivity 1..20   <-> speed, (sensitivity - 10) / 10 (-0.9 .. 1.0)
//     the acceleration triple  <-> accel-profile: 'flat' off; 'adaptive' and
//                                  'default' (adaptive for mice) on
//     DoubleClickSpeed (ms)    <-> double-click
//     WheelScrollLines            no such setting
//   KDE Plasma (kreadconfig6/kwriteconfig6, else the 5 tools)
//     MouseSensitivity         <-> kcminputrc [Mouse] XLbInptPointerAcceleration, as above
//     the acceleration triple  <-> kcminputrc [Mouse] XLbInptAccelProfileFlat: true off
//     DoubleClickSpeed         <-> kdeglobals [KDE] DoubleClickInterval
//     WheelScrollLines 1..11   <-> kdeglobals [KDE] WheelScrollLines (no whole-screen)
//
// An apply gives the desktop only the setting the user changed and reads it
// back: a value the desktop did not take (no session bus, no such setting,
// another desktop) is reported, never taken as done. Every value is also kept
// in the program's settings file, one "Name=value" line each; an apply
// changes only the lines of its setting, and values the desktop does not
// answer for are read from there. Numbers travel in the C locale's form
// whatever the process's locale.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/pointer_platform.h"

namespace vrdk::settings {

// What a tool printed (nothing when it could not run or did not exit with
// 0), and whether it was ended for taking too long.
struct ToolAnswer {
  ToolAnswer() = default;
  ToolAnswer(std::optional<std::string> printed)  // NOLINT: a plain answer converts
      : text(std::move(printed)) {}
  std::optional<std::string> text;
  bool timed_out = false;
};

// Runs argv (argv[0] found on PATH, no shell) and returns what it printed.
using CommandRunner = std::function<ToolAnswer(const std::vector<std::string>&)>;
ToolAnswer RunCommand(const std::vector<std::string>& argv);
// As RunCommand, ending the tool (and answering nothing, timed out) when it
// has not finished within `limit`; RunCommand allows kToolTimeLimit.
ToolAnswer RunCommandWithin(const std::vector<std::string>& argv, std::chrono::milliseconds limit);

// $XDG_CONFIG_HOME/vrdk/pointer-settings, else ~/.config/vrdk/pointer-settings.
std::string DefaultPointerSettingsFile();

enum class LinuxDesktop { kGnome, kKde, kOther };
// From XDG_CURRENT_DESKTOP, a colon-separated list ("ubuntu:GNOME", "KDE").
LinuxDesktop DesktopOf(std::string_view xdg_current_desktop);

class LinuxPointerPlatform : public PointerPlatform {
 public:
  // `desktop_name` is XDG_CURRENT_DESKTOP as the session has it.
  LinuxPointerPlatform(std::string settings_file, CommandRunner run, std::string desktop_name);

  std::optional<std::string> Read(PointerValue value) override;
  PointerApplyResult Apply(const PointerWrite& values) override;
  std::optional<PointerReadProblem> ReadProblem() const override { return read_problem_; }

 private:
  // Runs a desktop tool. One that was ended for taking too long is not
  // asked again by this platform: it answers nothing at once.
  std::optional<std::string> Ask(const std::vector<std::string>& argv);
  std::optional<std::string> Gsettings(const std::string& key);
  std::optional<std::string> KdeRead(const std::string& file, const std::string& group,
                                     const std::string& key);
  bool KdeWrite(const std::string& file, const std::string& group, const std::string& key,
                const std::string& value);
  std::optional<std::string> DesktopRead(PointerValue value);
  // Gives the desktop the changed setting and reads it back; the text of
  // what went wrong, or nothing.
  std::optional<PointerProblem> TellDesktop(const PointerWrite& values);
  std::optional<PointerProblem> TellGnome(const PointerWrite& values);
  std::optional<PointerProblem> TellKde(const PointerWrite& values);
  std::map<std::string, std::string> FileValues() const;
  bool KeepInFile(const PointerWrite& values) const;

  std::string settings_file_;
  CommandRunner run_;
  std::string desktop_name_;
  LinuxDesktop desktop_;
  std::vector<std::string> hung_tools_;
  // The setting being read, while a value is read from the desktop.
  std::optional<PointerSetting> reading_;
  std::optional<PointerReadProblem> read_problem_;
};

}  // namespace vrdk::settings
