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

using Kind = StoreOutcome::Kind;

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
}

void DeviceMacros::MacroListsCleared() {
  listed_ = false;
  i2c_ = {};
}

void DeviceMacros::ParseArea() {
  auto& area = session_.Buffers().macro_area;
  const MacroArea read = area;
  i2c_ = ParseMacroArea(read, area);
}

bool DeviceMacros::FlashPresent(std::size_t slot) const {
  const auto& names = session_.Buffers().macro_names;
  const std::uint8_t a = names[slot * kNameSize];
  const std::uint8_t b = names[slot * kNameSize + 1];
  return !(a == 0 && b == 0) && !(a == 0xFF && b == 0xFF);
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
  return static_cast<std::uint16_t>(kFlashEventsAddress + kSlotSize * k);
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

FireMacroScripts::LoadResult DeviceMacros::LoadFireMacros(const std::string& path) {
  auto result = fire_macros_.Load(path);
  session_.Keys().fire_macro_naming = result.exists;
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

std::vector<DeviceMacros::MarkedButton> DeviceMacros::MarkMacroButtons() const {
  std::vector<MarkedButton> marked;
  const auto names = Names();
  const PageState& pages = session_.Pages();
  for (std::size_t p = 0; p < image::kProfileCount; ++p) {
    for (std::size_t n = 0; n < image::kKeysPerProfile; ++n) {
      const std::string& name = pages.names[p][n];
      if (IsMacroCode(pages.code_texts.profiles[p][n]) &&
          std::find(names.begin(), names.end(), name) != names.end()) {
        marked.push_back({p, n, name});
      }
    }
  }
  return marked;
}

void DeviceMacros::RepairMacroButtons(const std::vector<MarkedButton>& marked) {
  for (const MarkedButton& button : marked) {
    if (const auto item = Find(button.name)) {
      StoreCode(button.profile, button.button, MacroCode(*Address(*item)), button.name);
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
  // Buttons of the shown profile that play a listed macro get its current
  // address.
  const auto profile = static_cast<std::size_t>(keys::KeyAssignment(session_).ShownProfile());
  const auto names = Names();
  PageState& pages = session_.Pages();
  for (std::size_t n = 0; n < image::kKeysPerProfile; ++n) {
    if (!IsMacroCode(pages.code_texts.profiles[profile][n])) continue;
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (pages.key_captions[n] != names[k]) continue;
      StoreCode(profile, n, MacroCode(*Address(static_cast<int>(k))), names[k]);
    }
  }
}

StoreOutcome DeviceMacros::AssignToButton(int button, int item) {
  if (button < 1 || button > static_cast<int>(image::kKeysPerProfile)) {
    return {Kind::kNoSuchMacro, "BUTTON must be 1 to 12"};
  }
  const auto address = Address(item);
  if (!address) return {Kind::kNoSuchMacro, "no such macro in the mouse"};
  keys::KeyAssignment assignment(session_);
  const std::string left = assignment.LeftClickName();
  if (session_.Pages().key_captions[static_cast<std::size_t>(button - 1)] == left &&
      assignment.LeftClickCount() == 1) {
    return {Kind::kRefused, "button " + std::to_string(button) +
                                " is the last Left Click of the profile and keeps it"};
  }
  const auto result =
      assignment.AssignCode(keys::KeyTarget::MainButton(button), MacroCode(*address),
                            Names()[static_cast<std::size_t>(item)]);
  if (result != keys::AssignResult::kAssigned)
    return {Kind::kRefused, "the assignment was refused"};
  return {};
}

// --- Changing the store ----------------------------------------------------------

StoreOutcome DeviceMacros::Add(const LibraryRecord& record) {
  const auto shown = record.ShownLength();
  if (!shown) return {Kind::kRefused, "the macro has no end within its 256 bytes"};
  if (type_ == MemoryType::kFlash) {
    auto& buffers = session_.Buffers();
    std::size_t slot = 0;
    while (slot < image::kMacroSlots && FlashPresent(slot)) ++slot;
    if (slot >= image::kMacroSlots) return {Kind::kFull, "the mouse holds 32 macros already"};
    std::copy(record.name.begin(), record.name.end(),
              buffers.macro_names.begin() + static_cast<std::ptrdiff_t>(slot * kNameSize));
    std::copy(record.events.begin(), record.events.end(),
              buffers.macro_pages.begin() + static_cast<std::ptrdiff_t>(slot * kSlotSize));
    return Save();
  }
  const int n = i2c_.Count();
  if (n >= static_cast<int>(kI2CSlots)) return {Kind::kFull, "the mouse holds 15 macros already"};
  I2CSlots candidate = i2c_;
  const auto k = static_cast<std::size_t>(n);
  candidate.names[k] = record.name;
  candidate.events[k] = record.events;
  std::fill(candidate.events[k].begin() + static_cast<std::ptrdiff_t>(*shown),
            candidate.events[k].end(), 0);
  candidate.lengths[k] = static_cast<std::uint16_t>(kNameSize + *shown);
  CheckMacroLen2310(candidate);
  MacroArea laid_out{};
  // The page rule may lengthen a record: the area must hold it after layout.
  if (candidate.area_used > image::kMacroAreaSize || !LayOutMacroArea(candidate, laid_out) ||
      candidate.area_used > image::kMacroAreaSize) {
    session_.Events().ShowMessage(kNoRoomMessage);
    return {Kind::kNoRoom, "the macro does not fit: the mouse's macro area holds 512 bytes"};
  }
  session_.Buffers().macro_area = laid_out;
  ParseArea();
  return Save();
}

StoreOutcome DeviceMacros::Delete(int item) {
  if (!Address(item)) return {Kind::kNoSuchMacro, "no such macro in the mouse"};
  const auto marked = MarkMacroButtons();
  auto& buffers = session_.Buffers();
  if (type_ == MemoryType::kI2C) {
    const auto s = static_cast<std::size_t>(item);
    i2c_.names[s] = {};
    i2c_.events[s] = {};
    i2c_.lengths[s] = 0;
    LayOutMacroArea(i2c_, buffers.macro_area);
    ParseArea();
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
  RepairMacroButtons(marked);
  return Save();
}

StoreOutcome DeviceMacros::Save() { return WriteToMouse(true); }

StoreOutcome DeviceMacros::WriteToMouse(bool with_profiles) {
  WriteRoads roads(session_);
  if (!roads.MayWrite()) return {Kind::kNotWritten, "no mouse to write to"};
  session_.StopDevTimer();
  session_.Events().ShowLoading(0, 1);
  DeviceLink& link = session_.Link();
  const auto& buffers = session_.Buffers();
  bool written = true;
  auto write = [&](std::size_t address, std::span<const std::uint8_t> bytes) {
    written = link.WriteMemory(static_cast<int>(address), static_cast<int>(bytes.size()), bytes) &&
              written;
  };
  const bool i2c = type_ == MemoryType::kI2C;
  if (with_profiles) {
    RefreshMacroAddr();
    image::DataBuf& data = session_.Data();
    for (std::size_t p = 0; p < image::kProfileCount; ++p) {
      image::WriteSectionChecksum(image::Profile(data, p));
    }
    if (i2c) {
      write(image::i2c::kProfile1, image::ProfileBlock(data));
    } else {
      write(image::flash::kInfo, image::FlashPage1Block(buffers));
    }
  }
  if (i2c) {
    write(kI2CAreaAddress, std::span(buffers.macro_area).first(kI2CHalf));
    write(kI2CAreaAddress + kI2CHalf, std::span(buffers.macro_area).subspan(kI2CHalf));
  } else {
    write(kFlashNamesAddress, buffers.macro_names);
    for (std::size_t i = 0; i < image::kMacroSlots; ++i) {
      write(kFlashEventsAddress + kSlotSize * i,
            std::span(buffers.macro_pages).subspan(i * kSlotSize, kSlotSize));
    }
  }
  session_.Events().HideLoading();
  session_.StartDevTimer();
  if (!written) return {Kind::kNotWritten, "writing the macros to the mouse failed"};
  return {};
}

// --- Export and import -------------------------------------------------------------

StoreOutcome DeviceMacros::Export(const std::string& path) const {
  const auto& buffers = session_.Buffers();
  std::vector<std::uint8_t> bytes;
  if (type_ == MemoryType::kI2C) {
    bytes.assign(buffers.macro_area.begin(), buffers.macro_area.end());
  } else {
    bytes.assign(buffers.macro_names.begin(), buffers.macro_names.end());
    bytes.insert(bytes.end(), buffers.macro_pages.begin(), buffers.macro_pages.end());
  }
  if (auto error = files::WriteFileAtomically(path, bytes)) return {Kind::kFileError, *error};
  return {};
}

StoreOutcome DeviceMacros::Import(const std::string& path) {
  if (!WriteRoads(session_).MayWrite()) return {Kind::kNotWritten, "no mouse to write to"};
  const bool i2c = type_ == MemoryType::kI2C;
  auto read = files::ReadFilePrefix(path, i2c ? kI2CExportSize : kFlashExportSize);
  if (!read.ok()) return {Kind::kFileError, read.error};
  // A shorter file leaves the bytes it does not reach as they were.
  const auto& bytes = read.bytes;
  auto& buffers = session_.Buffers();
  if (i2c) {
    std::copy(bytes.begin(), bytes.end(), buffers.macro_area.begin());
    ParseArea();
  } else {
    const std::size_t names = std::min(bytes.size(), image::kMacroNameTableSize);
    std::copy_n(bytes.begin(), names, buffers.macro_names.begin());
    std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(names), bytes.end(),
              buffers.macro_pages.begin());
  }
  // The import replaces the macros alone: the profiles are not rewritten.
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
