// The engineer page: the controller's option bytes (Vendor 4..8), the sensor
// tuning registers (Vendor 9..41), the USB identity and product string, the
// factory vendor and product codes (Fire section bytes 0 and 1), the
// profile-switch parameters, the combination bits, the recoil offsets, the
// controller's XData memory and restore defaults.
//
// Every change is sent to the mouse at once; nothing is sent while Loading
// is set. The page keeps DataBuf in step with what it sends, so that a later
// whole-section write does not put an older value back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "image/fields.h"
#include "keys/key_context.h"
#include "session/image_writes.h"
#include "session/session.h"

namespace vrdk::engineering {

// One list of the option bytes: `width` (1 or 2) bits ending at `low_bit`
// of Vendor byte `byte`, and each item's bits. Bits of a byte that no list
// owns stay as read.
struct OptionField {
  std::string_view control;  // "cb_CPIPrescaleSel"
  int byte;
  int low_bit;
  int width;
  std::array<std::string_view, 4> items;
  std::array<std::uint8_t, 4> bits;
  int item_count;
};

std::span<const OptionField> OptionFields();
// By control name, with or without "cb_", in any case.
const OptionField* FindOption(std::string_view name);
// The item a byte shows (the inverse of the table).
int OptionItemOf(const OptionField& field, std::uint8_t byte);

struct SensorRegister {
  std::string_view control;  // "edt_MaxShut"
  int offset;
};
std::span<const SensorRegister> SensorRegisters();
const SensorRegister* FindSensorRegister(std::string_view name);

inline constexpr int kProductStringSize = static_cast<int>(image::field::kProductString.size);
inline constexpr int kMaxProfileOffset = 0xFFF;

// Whether the product string field can hold `text`: printable ASCII
// (0x20..0x7E), one byte a character; the field keeps the first 16.
bool ProductStringAcceptable(std::string_view text);

class EngineerPage {
 public:
  explicit EngineerPage(Session& session) : session_(session) {}

  // cb_...Change: sets the item's bits in DataBuf and sends the whole byte.
  // False for an unknown item.
  bool SetOption(const OptionField& field, int item);
  // A sensor register edit (hex text): the text shown after correction
  // ("FF" above 0xFF); nothing is sent for text that is not hex.
  std::string SetSensorRegister(const SensorRegister& reg, const std::string& text);
  // edt_VID / edt_PID: sent only once the text is exactly four hex digits.
  bool SetVid(const std::string& text);
  bool SetPid(const std::string& text);
  // edt_USBDesc: at most 16 characters, zero-padded, in six live writes.
  // Text that is not printable ASCII is refused (false) and nothing changes.
  bool SetProductString(const std::string& text);
  // edt_VendorID, edt_ProductID (0..255, more is 255): the Fire section is
  // written whole. Returns the two values shown.
  std::array<int, 2> SetCustomerCodes(int vendor_code, int product_code);
  // cb_RTZ, cb_AXY, cb_CC (0 or 1) and edt_OffSet (0..0xFFF, more is 0xFFF):
  // every profile-switch button gets its code again; the profiles are
  // written.
  void SetProfileSwitch(int return_to_zero, int adjust_xy, int change_colour, int offset);
  // cb_MidCom .. cb_CPIDCom (by function) and cb_GunCom: item 0..8; b3 of
  // that function's buttons (the fire-macro buttons for cb_GunCom) is
  // rewritten, every other button keeps its bit; the profiles are written.
  void SetComboItem(ComboFunction function, int item);
  void SetGunComboItem(int item);
  // TLRefreshComboEn: b3 of every button concerned from its list.
  void TLRefreshComboEn();
  // Sets each combination-bit list, cb_GunCom included, from the bit its
  // buttons carry now (the first button of each function; a bit that is not
  // a list item is skipped).
  void ShowComboItemsFromButtons();
  // The starting values of cb_RTZ, cb_AXY, cb_CC and edt_OffSet: those of
  // the first profile button with an extended profile-switch code; without
  // one, the offset of the first combination slot that carries one. Nothing
  // found leaves them.
  void ShowProfileSwitchFromCodes();
  // TLRefreshXOffset / TLRefreshYOffset, n = 1..10: the text shown after
  // correction; a lone "-" is left while typing and sends nothing.
  std::string SetRecoilOffset(bool x_axis, int n, const std::string& text);
  // btn_XDataReadClick / btn_XDataWriteClick / btn_ChangeXDataClick.
  std::optional<std::uint8_t> ReadXData(std::uint16_t address);
  bool WriteXData(std::uint16_t address, std::uint8_t value);
  void ChangedXData();
  // Btn_Default: restore defaults, whole image written, mouse restarted.
  Result<void> RestoreDefaults();

 private:
  bool Loading() const { return session_.Conn().loading; }
  bool SetUsbId(image::Field field, const std::string& text);

  Session& session_;
};

// The hidden engineering access: a double-click on the page's logo while
// unlocked locks and hides again; otherwise every fifth double-click asks for
// the access code. "TarvondQX" unlocks without revealing anything,
// "TarvondQXKPW" unlocks and reveals the hidden tabs and buttons (restore
// defaults, base macro import, patch code, the LED type list); any other
// code changes nothing.
class EngineerAccess {
 public:
  static constexpr int kDoubleClicks = 5;
  enum class Action { kNothing, kAskCode, kLocked };

  explicit EngineerAccess(Session& session) : state_(session.Pages().engineer) {}
  Action LogoDoubleClicked();
  void EnterCode(std::string_view code);

 private:
  EngineerState& state_;
};

}  // namespace vrdk::engineering
