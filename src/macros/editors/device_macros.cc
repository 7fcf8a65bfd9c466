#include "macros/editors/device_macros.h"

#include <algorithm>
#include <cstdio>

#include "files/atomic_file.h"
#include "image/checksum.h"
#include "image/code_text.h"
#include "image/image_assembly.h"
#include "keys/editors/key_assignment.h"
#include "keys/function_codes.h"
#include "keys/menu_entries.h"
#include "session/write_roads.h"

namespace vrdk::macros {
namespace {

using Kind = ErrorKind;

constexpr std::size_t kNameSize = image::kMacroNameSize;
constexpr std::size_t kSlotSize = image::kMacroSlotSize;

// What a button falls back to when the macro it played is deleted.
struct Fallback {
  int tag;  // 0: the Win+D combination
};
constexpr std::array<Fallback, image::kKeysPerProfile> kFallbacks = {{
    {menu_tag::kLeft},
    {menu_tag::kForward},
    {menu_tag::kDpiUp},
    {menu_tag::kWwwHome},
    {menu_tag::kRight},
    {menu_tag::kBackward},
    {menu_tag::kDpiDown},
    {0},
    {menu_tag::kMiddle},
    {menu_tag::kDpiLoop},
    {menu_tag::kLedSwitch},
    {menu_tag::kLedSwitch},
}};
constexpr const char* kWinDCode = "02080700";
constexpr const char* kWinDCaption = "Win+D";

std::string MacroCode(std::uint16_t address) {
  char text[9];
  std::snprintf(text, sizeof text, "10%04X00", address);
  return text;
}

bool IsMacroCode(const std::string& code) { return code.size() == 8 && code.rfind("10", 0) == 0; }

std::string NameText(const MacroName& name) { return Utf16ToUtf8(DecodeMacroName(name)); }

}  // namespace

// --- Filling and naming ----------------------------------------------------------

void DeviceMacros::MacroStorageLoaded(MemoryType type, const image::ConfigBuffers&) {
  type_ = type;
  listed_ = true;
  if (type == MemoryType::kI2C) {
    ParseArea();
  } else {
    i2c_ = {};
  }
  Changed(std::nullopt);
}

void DeviceMacros::MacroListsCleared() {
  listed_ = false;
  i2c_ = {};
  Changed(std::nullopt);
}

void DeviceMacros::Changed(std::optional<int> select) const {
  if (listener_) listener_({select});
}

void DeviceMacros::ParseArea() {
  auto& area = session_.Buffers().macro_area;
  const MacroArea read = area;
  i2c_ = ParseMacroArea(read, area);
}

bool DeviceMacros::FlashPresent(std::size_t slot) const {
  return !FlashNameReadsAsFree(
      std::span(session_.Buffers().macro_names).subspan(slot * kNameSize, 2));
}

std::vector<int> DeviceMacros::FlashItems() const {
  std::vector<int> items;
  if (!listed_ || type_ != MemoryType::kFlash) return items;
  for (std::size_t slot = 0; slot < image::kMacroSlots; ++slot) {
    if (FlashPresent(slot)) items.push_back(static_cast<int>(slot));
  }
  return items;
}

std::vector<std::string> DeviceMacros::Names() const {
  std::vector<std::string> names;
  if (!listed_) return names;
  if (type_ == MemoryType::kI2C) {
    for (int k = 0; k < i2c_.Count(); ++k)
      names.push_back(NameText(i2c_.names[static_cast<std::size_t>(k)]));
    return names;
  }
  for (int slot : FlashItems()) names.push_back(DeviceMacroName(slot));
  return names;
}

std::optional<int> DeviceMacros::Find(const std::string& name) const {
  const auto names = Names();
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) return std::nullopt;
  return static_cast<int>(it - names.begin());
}

std::optional<std::uint16_t> DeviceMacros::Address(int item) const {
  if (item < 0) return std::nullopt;
  if (type_ == MemoryType::kI2C) return PresentMacroAddress(type_, item);
  const auto items = FlashItems();
  if (item >= static_cast<int>(items.size())) return std::nullopt;
  return PresentMacroAddress(type_, items[static_cast<std::size_t>(item)]);
}

std::optional<std::uint16_t> DeviceMacros::PresentMacroAddress(MemoryType type, int index) const {
  if (!listed_ || type != type_ || index < 0) return std::nullopt;
  const auto k = static_cast<std::size_t>(index);
  if (type == MemoryType::kI2C) {
    if (k >= kI2CSlots || i2c_.lengths[k] == 0) return std::nullopt;
    return i2c_.addresses[k];
  }
  if (k >= image::kMacroSlots || !FlashPresent(k)) return std::nullopt;
  return static_cast<std::uint16_t>(image::flash::kMacroPages + kSlotSize * k);
}

std::string DeviceMacros::DeviceMacroName(int index) const {
  if (!listed_ || index < 0) return {};
  const auto k = static_cast<std::size_t>(index);
  if (type_ == MemoryType::kI2C) {
    return k < kI2CSlots && i2c_.lengths[k] != 0 ? NameText(i2c_.names[k]) : std::string();
  }
  if (k >= image::kMacroSlots) return {};
  MacroName name;
  std::copy_n(session_.Buffers().macro_names.begin() + static_cast<std::ptrdiff_t>(k * kNameSize),
              kNameSize, name.begin());
  return NameText(name);
}

std::string DeviceMacros::FireMacroCode(int index) const { return fire_macros_.Text(index); }

std::optional<DecodedMacro> DeviceMacros::Lines(int item) const {
  if (!Address(item)) return std::nullopt;
  if (type_ == MemoryType::kI2C) {
    const auto k = static_cast<std::size_t>(item);
    const std::size_t length = i2c_.lengths[k] > kI2CRecordOverhead ? i2c_.lengths[k] - 17u : 0;
    return DecodeEvents(i2c_.events[k], length);
  }
  const auto slot = static_cast<std::size_t>(FlashItems()[static_cast<std::size_t>(item)]);
  const auto events =
      std::span(session_.Buffers().macro_pages).subspan(slot * kSlotSize, kSlotSize);
  // A slot without an end byte is shown whole.
  return DecodeEvents(events, StoredMacroLength(events).value_or(kSlotSize + 1));
}

Result<bool> DeviceMacros::LoadFireMacros(const std::string& path) {
  auto result = fire_macros_.Load(path);
  // A file that exists but cannot be read still switches the naming on.
  session_.Keys().fire_macro_naming = !result.ok() || result.value();
  return result;
}

// --- Buttons that play macros ------------------------------------------------------

void DeviceMacros::StoreCode(std::size_t profile, std::size_t button, const std::string& code,
                             const std::string& caption) {
  const auto bytes = ParseKeyCode(code);
  if (!bytes) return;
  PageState& pages = session_.Pages();
  std::copy(bytes->begin(), bytes->end(), image::KeyCode(session_.Data(), profile, button).begin());
  pages.code_texts.profiles[profile][button] = code;
  pages.names[profile][button] = session_.NameForCode(code);
  pages.engineer_captions[profile][button] = caption;
  if (static_cast<int>(profile) == keys::KeyAssignment(session_).ShownProfile()) {
    pages.key_captions[button] = caption;
  }
}

std::optional<int> DeviceMacros::ItemAt(std::uint16_t address) const {
  const int count = static_cast<int>(Names().size());
  for (int item = 0; item < count; ++item) {
    if (Address(item) == address) return item;
  }
  return std::nullopt;
}

std::vector<DeviceMacros::MarkedButton> DeviceMacros::MarkMacroButtons() const {
  std::vector<MarkedButton> marked;
  const PageState& pages = session_.Pages();
  for (std::size_t p = 0; p < image::kProfileCount; ++p) {
    for (std::size_t n = 0; n < image::kKeysPerProfile; ++n) {
      const std::string& code = pages.code_texts.profiles[p][n];
      const auto bytes = ParseKeyCode(code);
      if (!IsMacroCode(code) || !bytes) continue;
      const auto address = static_cast<std::uint16_t>((*bytes)[1] << 8 | (*bytes)[2]);
      if (const auto item = ItemAt(address)) marked.push_back({p, n, *item});
    }
  }
  return marked;
}

void DeviceMacros::RepairMacroButtons(const std::vector<MarkedButton>& marked, int deleted) {
  const auto names = Names();
  for (const MarkedButton& button : marked) {
    if (button.item != deleted) {
      // Each button keeps playing its own macro, whatever the others are called.
      const int item = button.item > deleted ? button.item - 1 : button.item;
      StoreCode(button.profile, button.button, MacroCode(*Address(item)),
                names[static_cast<std::size_t>(item)]);
      continue;
    }
    const Fallback fallback = kFallbacks[button.button];
    if (fallback.tag == 0) {
      StoreCode(button.profile, button.button, kWinDCode, kWinDCaption);
      continue;
    }
    const MenuEntry* entry = FindMenuEntry(fallback.tag);
    StoreCode(button.profile, button.button, CodeForMenuTag(fallback.tag, session_.Keys()),
              entry != nullptr ? session_.Language().Text(entry->caption_key) : std::string());
  }
}

void DeviceMacros::RefreshMacroAddr() {
  // A button of the shown profile whose caption names a macro gets the
  // first macro of that name, unless its code plays one of that name already.
  const auto profile = static_cast<std::size_t>(keys::KeyAssignment(session_).ShownProfile());
  const auto names = Names();
  PageState& pages = session_.Pages();
  for (std::size_t n = 0; n < image::kKeysPerProfile; ++n) {
    const std::string& code = pages.code_texts.profiles[profile][n];
    if (!IsMacroCode(code)) continue;
    const auto k = std::find(names.begin(), names.end(), pages.key_captions[n]);
    if (k == names.end() || session_.NameForCode(code) == *k) continue;
    StoreCode(profile, n, MacroCode(*Address(static_cast<int>(k - names.begin()))), *k);
  }
}

Result<void> DeviceMacros::AssignToButton(int button, int item) {
  if (button < 1 || button > static_cast<int>(image::kKeysPerProfile)) {
    return Error{Kind::kNoSuchMacro, "BUTTON must be 1 to 12"};
  }
  const auto address = Address(item);
  if (!address) return Error{Kind::kNoSuchMacro, "no such macro in the mouse"};
  keys::KeyAssignment assignment(session_);
  const std::string left = assignment.LeftClickName();
  if (session_.Pages().key_captions[static_cast<std::size_t>(button - 1)] == left &&
      assignment.LeftClickCount() == 1) {
    return Error{Kind::kRefused, "button " + std::to_string(button) +
                                     " is the last Left Click of the profile and keeps it"};
  }
  const auto result =
      assignment.AssignCode(keys::KeyTarget::MainButton(button), MacroCode(*address),
                            Names()[static_cast<std::size_t>(item)]);
  if (!result.ok()) return Error{Kind::kRefused, "the assignment was refused"};
  return {};
}

Result<void> DeviceMacros::AssignFireMacroToEngineerKey(int key, int item) {
  const int profile = key / 100;
  const int button = key % 100;
  if (profile < 1 || profile > 3 || button < 1 ||
      button > static_cast<int>(image::kKeysPerProfile)) {
    return Error{Kind::kNoSuchMacro, "KEY must be 101 to 112, 201 to 212 or 301 to 312"};
  }
  const auto items = fire_macros_.Items();
  if (item < 0 || item >= static_cast<int>(items.size())) {
    return Error{Kind::kNoSuchMacro, "no such fire-macro script"};
  }
  const auto result = keys::KeyAssignment(session_).AssignCode(
      keys::KeyTarget::EngineerButton(profile, button),
      fire_macros_.Text(items[static_cast<std::size_t>(item)]),
      fire_macros_.Names()[static_cast<std::size_t>(item)]);
  if (!result.ok()) return Error{Kind::kRefused, "the assignment was refused"};
  return {};
}

// --- Changing the store ----------------------------------------------------------

namespace {

// The record after the present ones, laid out as an add lays it out: the
// events and their end byte (the pad byte comes with the layout and may fall
// off the end of the area). On a problem the slots may be half changed.
Result<void> AppendToArea(I2CSlots& candidate, MacroArea& laid_out, const LibraryRecord& record,
                          std::size_t events) {
  const int n = candidate.Count();
  if (n >= static_cast<int>(kI2CSlots)) {
    return Error{Kind::kFull, "the mouse holds 15 macros already"};
  }
  const auto k = static_cast<std::size_t>(n);
  candidate.names[k] = record.name;
  std::copy_n(record.events.begin(), events, candidate.events[k].begin());
  candidate.lengths[k] = static_cast<std::uint16_t>(kNameSize + events);
  CheckMacroLen2310(candidate);
  const LayoutResult laid = candidate.area_used > image::kMacroAreaSize
                                ? LayoutResult{LayoutProblem::kNoRoom, k}
                                : LayOutMacroArea(candidate, laid_out);
  if (laid.problem == LayoutProblem::kNoRoom) {
    return Error{Kind::kNoRoom, "the macro does not fit: the mouse's macro area holds 512 bytes"};
  }
  if (!laid.ok()) return Error{Kind::kRefused, LayoutMessage(laid, candidate)};
  if (candidate.Count() != n + 1) {
    return Error{Kind::kRefused, "the mouse would not list the macro"};
  }
  return {};
}

// A delete of slot `s` as the store makes it: the later records move up.
Result<void> RemoveFromArea(I2CSlots& candidate, MacroArea& laid_out, std::size_t s) {
  candidate.names[s] = {};
  candidate.events[s] = {};
  candidate.lengths[s] = 0;
  // The later records move up, which may bring another byte to offset 255.
  if (const LayoutResult laid = LayOutMacroArea(candidate, laid_out); !laid.ok()) {
    return Error{Kind::kRefused, LayoutMessage(laid, candidate) + "; nothing was deleted"};
  }
  return {};
}

}  // namespace

Result<std::size_t> DeviceMacros::CheckRecord(const LibraryRecord& record) const {
  const std::string name = "macro \"" + NameText(record.name) + "\"";
  const EventWalk walk = WalkEvents(record.events);
  if (!walk.whole()) {
    return Error{Kind::kRefused,
                 name + " holds no whole macro: " + WalkProblem(walk, record.events)};
  }
  const bool free_name = type_ == MemoryType::kI2C ? I2CNameReadsAsFree(record.name)
                                                   : FlashNameReadsAsFree(record.name);
  if (free_name) {
    return Error{Kind::kRefused, name +
                                     " has a name the mouse reads as a free place (its first "
                                     "character has a byte FF); rename it first"};
  }
  return walk.length;
}

Result<void> DeviceMacros::Add(const LibraryRecord& record) {
  const auto events = CheckRecord(record);
  if (!events.ok()) return events.error();
  return type_ == MemoryType::kI2C ? AddI2C(record, events.value()) : AddFlash(record);
}

std::optional<int> DeviceMacros::ItemPlayedBy(const std::string& code) const {
  if (!IsMacroCode(code)) return std::nullopt;
  const int count = static_cast<int>(Names().size());
  for (int item = 0; item < count; ++item) {
    if (const auto address = Address(item); address && MacroCode(*address) == code) return item;
  }
  return std::nullopt;
}

Result<void> DeviceMacros::CheckReplacement(std::size_t kept,
                                            std::span<const LibraryRecord> added) const {
  const std::size_t held = Names().size();
  kept = std::min(kept, held);
  const std::size_t room = type_ == MemoryType::kI2C ? kI2CSlots : image::kMacroSlots;
  if (kept + added.size() > room) {
    return Error{Kind::kFull, "the mouse holds at most " + std::to_string(room) + " macros"};
  }
  std::vector<std::size_t> events;
  for (const LibraryRecord& record : added) {
    const auto checked = CheckRecord(record);
    if (!checked.ok()) return checked.error();
    events.push_back(checked.value());
  }
  if (type_ != MemoryType::kI2C) return {};
  I2CSlots candidate = i2c_;
  MacroArea laid_out{};
  for (std::size_t s = held; s-- > kept;) {
    if (auto removed = RemoveFromArea(candidate, laid_out, s); !removed.ok()) return removed;
  }
  for (std::size_t k = 0; k < added.size(); ++k) {
    if (auto appended = AppendToArea(candidate, laid_out, added[k], events[k]); !appended.ok()) {
      if (appended.Is(Kind::kNoRoom)) {
        appended.error().message = "macro \"" + NameText(added[k].name) +
                                   "\" does not fit: the mouse's macro area holds 512 bytes";
      }
      return appended;
    }
  }
  return {};
}

Result<void> DeviceMacros::AddFlash(const LibraryRecord& record) {
  auto& buffers = session_.Buffers();
  std::size_t slot = 0;
  while (slot < image::kMacroSlots && FlashPresent(slot)) ++slot;
  if (slot >= image::kMacroSlots) return Error{Kind::kFull, "the mouse holds 32 macros already"};
  const std::size_t count = FlashItems().size();
  std::copy(record.name.begin(), record.name.end(),
            buffers.macro_names.begin() + static_cast<std::ptrdiff_t>(slot * kNameSize));
  std::copy(record.events.begin(), record.events.end(),
            buffers.macro_pages.begin() + static_cast<std::ptrdiff_t>(slot * kSlotSize));
  const auto items = FlashItems();
  if (items.size() != count + 1) return Error{Kind::kRefused, "the mouse would not list the macro"};
  Changed(static_cast<int>(std::find(items.begin(), items.end(), slot) - items.begin()));
  return Save();
}

Result<void> DeviceMacros::AddI2C(const LibraryRecord& record, std::size_t events) {
  const int n = i2c_.Count();
  I2CSlots candidate = i2c_;
  MacroArea laid_out{};
  if (auto appended = AppendToArea(candidate, laid_out, record, events); !appended.ok()) {
    if (appended.Is(Kind::kNoRoom)) session_.Events().ShowMessage(kNoRoomMessage);
    return appended;
  }
  session_.Buffers().macro_area = laid_out;
  i2c_ = candidate;
  Changed(n);
  return Save();
}

Result<void> DeviceMacros::Delete(int item) {
  if (!Address(item)) return Error{Kind::kNoSuchMacro, "no such macro in the mouse"};
  const auto marked = MarkMacroButtons();
  auto& buffers = session_.Buffers();
  if (type_ == MemoryType::kI2C) {
    I2CSlots candidate = i2c_;
    MacroArea laid_out{};
    if (auto removed = RemoveFromArea(candidate, laid_out, static_cast<std::size_t>(item));
        !removed.ok()) {
      return removed;
    }
    buffers.macro_area = laid_out;
    i2c_ = candidate;
  } else {
    const auto s = static_cast<std::size_t>(FlashItems()[static_cast<std::size_t>(item)]);
    auto shift = [s](auto& table, std::size_t size) {
      std::move(table.begin() + static_cast<std::ptrdiff_t>((s + 1) * size), table.end(),
                table.begin() + static_cast<std::ptrdiff_t>(s * size));
      std::fill(table.end() - static_cast<std::ptrdiff_t>(size), table.end(), 0);
    };
    shift(buffers.macro_names, kNameSize);
    shift(buffers.macro_pages, kSlotSize);
  }
  RepairMacroButtons(marked, item);
  Changed(SelectionAfterDelete(item, static_cast<int>(Names().size())));
  return Save();
}

Result<void> DeviceMacros::Save() { return WriteToMouse(true); }

Result<void> DeviceMacros::WriteToMouse(bool with_profiles) {
  WriteRoads roads(session_);
  if (!roads.MayWrite()) return Error{Kind::kDeviceFailed, "no mouse to write to"};
  const bool i2c = type_ == MemoryType::kI2C;
  if (i2c && !ReadsBack(session_.Buffers().macro_area, i2c_)) {
    return Error{Kind::kRefused,
                 "the macro area would not read back as the macros listed; nothing was written"};
  }
  const Session::Operation operation(session_);
  session_.StopDevTimer();
  session_.Events().ShowLoading(0, 1);
  const auto& buffers = session_.Buffers();
  // The profiles and the macros they play are one change: a button never
  // points at a macro the mouse does not hold for long.
  std::vector<WriteTarget> targets;
  auto write = [&](std::size_t address, std::span<const std::uint8_t> bytes) {
    targets.push_back({false, static_cast<int>(address), bytes});
  };
  std::array<std::uint8_t, image::kProfileBlockSize> profiles{};
  std::array<std::uint8_t, image::flash::kPage1BlockSize> page1{};
  if (with_profiles) {
    RefreshMacroAddr();
    image::DataBuf& data = session_.Data();
    for (std::size_t p = 0; p < image::kProfileCount; ++p) {
      image::WriteSectionChecksum(image::Profile(data, p));
    }
    if (i2c) {
      profiles = image::ProfileBlock(data);
      write(image::i2c::kProfile1, profiles);
    } else {
      page1 = image::FlashPage1Block(buffers);
      write(image::flash::kInfo, page1);
    }
  }
  if (i2c) {
    write(kI2CAreaAddress, std::span(buffers.macro_area).first(kI2CHalf));
    write(kI2CAreaAddress + kI2CHalf, std::span(buffers.macro_area).subspan(kI2CHalf));
  } else {
    write(image::flash::kMacroNames, buffers.macro_names);
    for (std::size_t i = 0; i < image::kMacroSlots; ++i) {
      write(image::flash::kMacroPages + kSlotSize * i,
            std::span(buffers.macro_pages).subspan(i * kSlotSize, kSlotSize));
    }
  }
  const bool written = session_.WriteTargets(targets, WriteSubject::kMacros);
  session_.Events().HideLoading();
  session_.StartDevTimer();
  if (!written) {
    // The change said what the mouse holds.
    const auto& troubles = session_.Troubles();
    return Error{Kind::kDeviceFailed, troubles.empty() ? std::string() : troubles.back(), true};
  }
  return {};
}

// --- Export and import -------------------------------------------------------------

Result<void> DeviceMacros::Export(const std::string& path) const {
  const auto& buffers = session_.Buffers();
  std::vector<std::uint8_t> bytes;
  if (type_ == MemoryType::kI2C) {
    bytes.assign(buffers.macro_area.begin(), buffers.macro_area.end());
  } else {
    bytes.assign(buffers.macro_names.begin(), buffers.macro_names.end());
    bytes.insert(bytes.end(), buffers.macro_pages.begin(), buffers.macro_pages.end());
  }
  if (auto written = files::WriteFileAtomically(path, bytes); !written.ok())
    return Error{Kind::kFileError, written.message()};
  return {};
}

Result<void> DeviceMacros::Import(const std::string& path) {
  if (!WriteRoads(session_).MayWrite()) return Error{Kind::kDeviceFailed, "no mouse to write to"};
  const bool i2c = type_ == MemoryType::kI2C;
  const std::size_t needed = i2c ? kI2CExportSize : kFlashExportSize;
  auto read = files::ReadFilePrefix(path, needed);
  if (!read.ok()) return Error{Kind::kFileError, read.message()};
  // A shorter file would leave old bytes between the new ones.
  if (read.value().size() < needed) {
    return Error{Kind::kFileError, path + " holds " + std::to_string(read.value().size()) +
                                       " bytes; the macros of this mouse are " +
                                       std::to_string(needed) + "; nothing was imported"};
  }
  return i2c ? ImportI2C(read.value()) : ImportFlash(read.value());
}

Result<void> DeviceMacros::ImportI2C(std::span<const std::uint8_t> bytes) {
  MacroArea area{};
  std::copy_n(bytes.begin(), area.size(), area.begin());
  I2CSlots slots = ParseMacroAreaOnly(area);
  MacroArea laid_out{};
  if (const LayoutResult laid = LayOutMacroArea(slots, laid_out); !laid.ok()) {
    return Error{Kind::kRefused, LayoutMessage(laid, slots) + "; nothing was imported"};
  }
  session_.Buffers().macro_area = laid_out;
  i2c_ = slots;
  Changed(std::nullopt);
  // The import replaces the macros alone: the profiles are not rewritten.
  return WriteToMouse(false);
}

Result<void> DeviceMacros::ImportFlash(std::span<const std::uint8_t> bytes) {
  auto& buffers = session_.Buffers();
  std::copy_n(bytes.begin(), image::kMacroNameTableSize, buffers.macro_names.begin());
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(image::kMacroNameTableSize),
              image::kMacroPagesSize, buffers.macro_pages.begin());
  Changed(std::nullopt);
  return WriteToMouse(false);
}

// --- Installation ------------------------------------------------------------------

void InstallDeviceMacros(Session& session) {
  auto store = std::make_shared<DeviceMacros>(session);
  session.SetMacroStorageObserver(store.get());
  session.Keys().macro_tables = store.get();
  session.KeepEditorState(store);
}

DeviceMacros* FindDeviceMacros(Session& session) {
  return dynamic_cast<DeviceMacros*>(session.MacroObserver());
}

std::optional<std::string> FireMacroPath() {
  auto folder = DataFolder();
  if (!folder) return std::nullopt;
  return *folder + kFireMacroFileName;
}

}  // namespace vrdk::macros
