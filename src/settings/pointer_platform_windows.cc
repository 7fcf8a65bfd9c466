// The Windows user's pointer settings: the registry values of the current
// user, applied at once with SystemParametersInfo.
#include <windows.h>

#include "settings/pointer_platform.h"

namespace vrdk::settings {
namespace {

constexpr const char* kMouseKey = "Control Panel\\Mouse";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";

const char* KeyOf(PointerValue value) {
  return value == PointerValue::kWheelScrollLines ? kDesktopKey : kMouseKey;
}

void WriteString(HKEY key, PointerValue value, int number) {
  const std::string text = std::to_string(number);
  const std::string name(PointerValueName(value));
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

class WindowsPointerPlatform : public PointerPlatform {
 public:
  std::optional<std::string> Read(PointerValue value) override {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyOf(value), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    char buffer[64] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    const std::string name(PointerValueName(value));
    const LONG result =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::string(buffer, strnlen(buffer, sizeof buffer - 1));
  }

  PointerApplyResult Apply(const PointerWrite& values) override {
    // Keys are opened, never created: a key that is missing is skipped.
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMouseKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      WriteString(key, PointerValue::kMouseSensitivity, values.mouse_sensitivity);
      WriteString(key, PointerValue::kMouseSpeed, values.acceleration[0]);
      WriteString(key, PointerValue::kMouseThreshold1, values.acceleration[1]);
      WriteString(key, PointerValue::kMouseThreshold2, values.acceleration[2]);
      WriteString(key, PointerValue::kDoubleClickSpeed, values.double_click_ms);
      RegCloseKey(key);
    }
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      WriteString(key, PointerValue::kWheelScrollLines, values.wheel_lines);
      RegCloseKey(key);
    }
    SystemParametersInfoA(SPI_SETMOUSESPEED, 0,
                          reinterpret_cast<PVOID>(static_cast<INT_PTR>(values.mouse_sensitivity)),
                          SPIF_SENDCHANGE);
    int mouse[3] = {values.acceleration[1], values.acceleration[2], values.acceleration[0]};
    SystemParametersInfoA(SPI_SETMOUSE, 0, mouse, SPIF_SENDCHANGE);
    SystemParametersInfoA(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(values.double_click_ms),
                          nullptr, SPIF_SENDCHANGE);
    const UINT lines =
        values.wheel_lines < 0 ? WHEEL_PAGESCROLL : static_cast<UINT>(values.wheel_lines);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, SPIF_UPDATEINIFILE);
    return {};
  }
};

}  // namespace

std::unique_ptr<PointerPlatform> SystemPointerPlatform() {
  return std::make_unique<WindowsPointerPlatform>();
}

}  // namespace vrdk::settings
