// The pointer settings on a Linux desktop. Where a GNOME settings service
// runs (the gsettings tool answers), the values it has are taken from it and
// applied through it:
//
//   MouseSensitivity 1..20      <-> org.gnome.desktop.peripherals.mouse speed,
//                                   (sensitivity - 10) / 10 (-0.9 .. 1.0)
//   MouseSpeed, MouseThreshold1,<-> accel-profile: 'adaptive' is 1, 6, 10;
//   MouseThreshold2                 'flat' is 0, 0, 0 ('default' is neither)
//   DoubleClickSpeed (ms)       <-> org.gnome.desktop.peripherals.mouse double-click
//
// Every value, WheelScrollLines among them (the desktop has no such
// setting), is also kept in the program's settings file, one "Name=value"
// line each; values the desktop does not answer for are read from there.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/pointer_platform.h"

namespace vrdk::settings {

// Runs argv (argv[0] found on PATH, no shell) and returns what it printed,
// or nothing when it could not run or did not exit with 0.
using CommandRunner = std::function<std::optional<std::string>(const std::vector<std::string>&)>;
std::optional<std::string> RunCommand(const std::vector<std::string>& argv);

// $XDG_CONFIG_HOME/vrdk/pointer-settings, else ~/.config/vrdk/pointer-settings.
std::string DefaultPointerSettingsFile();

class LinuxPointerPlatform : public PointerPlatform {
 public:
  LinuxPointerPlatform(std::string settings_file, CommandRunner run)
      : settings_file_(std::move(settings_file)), run_(std::move(run)) {}

  std::optional<std::string> Read(PointerValue value) override;
  void Apply(const PointerWrite& values) override;

 private:
  std::optional<std::string> Desktop(const std::string& key);
  std::optional<std::string> FromFile(PointerValue value) const;

  std::string settings_file_;
  CommandRunner run_;
};

}  // namespace vrdk::settings
