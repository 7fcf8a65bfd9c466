// The device macro store: the program's copy of the macros in the mouse, in
// the layout of its memory type, and the operations on it — add a library
// macro, delete, write back, export and import — with the buttons that play
// macros kept pointing at the right addresses.
//
// "I2C": up to 15 macros packed into the 512-byte macro area (see i2c_area.h);
// the session's macro_area always holds the laid-out form.
// "Flash": 32 fixed slots, names at 0x3000 + 16 i and events at
// 0x4000 + 256 i; a slot is present when its first two name bytes are neither
// both 0x00 nor both 0xFF.
//
// The store is filled whenever an image is split into the Session's buffers
// and emptied when the macro lists are cleared (MacroStorageObserver), and it
// names class-0x10 codes (MacroTables).
//
// Nothing reaches the mouse that it would read back as other macros: a macro
// whose events do not walk to an end byte, or whose name the mouse reads as
// a free place, is not added; on "I2C" every road that lays the area out
// (add, delete, import) refuses a layout the area would not read back from,
// and writing the store checks that the area reads back as the macros listed
// (see i2c_area.h). A refusal changes and writes nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "macros/event_lines.h"
#include "macros/fire_macros.h"
#include "macros/i2c_area.h"
#include "macros/library_file.h"
#include "macros/macro_library.h"
#include "session/session.h"

namespace vrdk::macros {

// The store's operations fail with these kinds:
//   kFull          15 ("I2C") or 32 ("Flash") macros already: nothing happens
//   kNoRoom        "Str103" (shown already): the "I2C" area would pass 512 bytes
//   kNoSuchMacro   no such macro, button, key or script
//   kDeviceFailed  no mouse to write to, or a write failed (shown when it says so)
//   kFileError     the file could not be read or written, or is too short
//   kRefused       the left-click guard, or macros the mouse would not read back

inline constexpr std::size_t kI2CExportSize = image::kMacroAreaSize;  // 512
inline constexpr std::size_t kFlashExportSize =
    image::kMacroNameTableSize + image::kMacroPagesSize;  // 8704

class DeviceMacros : public MacroStorageObserver, public MacroTables {
 public:
  static constexpr const char* kNoRoomMessage = "Str103";

  explicit DeviceMacros(Session& session) : session_(session) {}

  // MacroStorageObserver.
  void MacroStorageLoaded(MemoryType type, const image::ConfigBuffers& buffers) override;
  void MacroListsCleared() override;
  // MacroTables.
  std::optional<std::uint16_t> PresentMacroAddress(MemoryType type, int index) const override;
  std::string DeviceMacroName(int index) const override;
  std::string FireMacroCode(int index) const override;

  MemoryType Type() const { return type_; }
  // LB_MacroName: the names of the macros in the mouse, in slot order.
  std::vector<std::string> Names() const;
  std::optional<int> Find(const std::string& name) const;
  std::optional<std::uint16_t> Address(int item) const;
  const I2CSlots& I2C() const { return i2c_; }
  // LB_MacroNameClick: the macro's event lines.
  std::optional<DecodedMacro> Lines(int item) const;
  // The macro a button code plays, if it plays one of the mouse's.
  std::optional<int> ItemPlayedBy(const std::string& code) const;
  // Whether deleting the macros from item `kept` on (the last first) and
  // adding `added` after the rest would be taken, as Delete and Add take
  // them: names the mouse reads, whole events, and the room of its memory
  // (15 records in the 512-byte area of an "I2C" mouse, 32 slots of a
  // "Flash" one). Changes nothing; the error names the macro.
  Result<void> CheckReplacement(std::size_t kept, std::span<const LibraryRecord> added) const;

  // Btn_AddMacroClick: the library macro into the next free slot, then the
  // store is written to the mouse. An add that did not add is a failure.
  Result<void> Add(const LibraryRecord& record);
  // Btn_DelMacroClick: buttons that played a later macro are re-pointed to
  // its new address, those that played the deleted one get their fallback
  // function; then written.
  Result<void> Delete(int item);
  // Btn_SaveMacroClick: the profiles and the whole store to the mouse. A
  // button of the shown profile whose caption names a macro is pointed at
  // the first macro of that name only when its code plays no macro of it.
  Result<void> Save();
  // Btn_DevExportClick: 512 bytes ("I2C") or the 32 names and 32 slots
  // (8704 bytes, "Flash").
  Result<void> Export(const std::string& path) const;
  // Btn_ImportBaseMacroClick, the one road for every import of such a file:
  // "I2C" parses the area and lays it out again before it is written;
  // "Flash" takes the names and slots as they are. A file shorter than an
  // export file is refused. Buttons are not re-pointed and the profiles not
  // written.
  Result<void> Import(const std::string& path);
  // LB_NameClick: main-page button 1..12 of the shown profile plays macro
  // `item`. The last "Left Click" keeps its function in every profile.
  Result<void> AssignToButton(int button, int item);
  // LB_ScriptClick: engineer key 101..112, 201..212 or 301..312 (profile
  // and button) gets fire-macro script `item` of the list; the engineer page
  // has no left-click guard.
  Result<void> AssignFireMacroToEngineerKey(int key, int item);

  // Told after every change of the list: add, delete, import, and a read of
  // the mouse.
  void SetChangeListener(MacroListListener listener) { listener_ = std::move(listener); }

  // The fire-macro scripts and the start-up load that sets the naming switch.
  FireMacroScripts& FireMacros() { return fire_macros_; }
  Result<bool> LoadFireMacros(const std::string& path);

 private:
  struct MarkedButton {
    std::size_t profile;
    std::size_t button;
    int item;  // the macro its code plays
  };
  std::vector<int> FlashItems() const;  // the present slots
  bool FlashPresent(std::size_t slot) const;
  std::optional<int> ItemAt(std::uint16_t address) const;
  std::vector<MarkedButton> MarkMacroButtons() const;  // InitKeysParameters
  // RefreshKeysParameters after item `deleted` went.
  void RepairMacroButtons(const std::vector<MarkedButton>& marked, int deleted);
  void RefreshMacroAddr();
  void StoreCode(std::size_t profile, std::size_t button, const std::string& code,
                 const std::string& caption);
  void ParseArea();
  // A record the mouse could hold: the length of its events, end byte included.
  Result<std::size_t> CheckRecord(const LibraryRecord& record) const;
  Result<void> AddI2C(const LibraryRecord& record, std::size_t events);
  Result<void> AddFlash(const LibraryRecord& record);
  Result<void> ImportI2C(std::span<const std::uint8_t> bytes);
  Result<void> ImportFlash(std::span<const std::uint8_t> bytes);
  Result<void> WriteToMouse(bool with_profiles);
  void Changed(std::optional<int> select) const;

  Session& session_;
  MemoryType type_ = MemoryType::kI2C;
  bool listed_ = false;
  I2CSlots i2c_;
  FireMacroScripts fire_macros_;
  MacroListListener listener_;
};

// Creates the store, hands it to the Session as its macro observer and macro
// tables, and keeps it for the whole run.
void InstallDeviceMacros(Session& session);
// The store installed in the Session; nothing before InstallDeviceMacros.
DeviceMacros* FindDeviceMacros(Session& session);

// Where "Fire Macro.bin" lives: the user's data folder (see library_file.h).
std::optional<std::string> FireMacroPath();

}  // namespace vrdk::macros
