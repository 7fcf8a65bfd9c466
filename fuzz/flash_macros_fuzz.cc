// Fuzz target: the "Flash" macro name table (32 x 16 bytes) and slots
// (32 x 256 bytes) as a mouse may hold them: the input's first 512 bytes
// are the names, the next 8192 the slots, over the default image's. The
// device macro store lists exactly the slots whose names the mouse reads as
// present, in slot order, each at its own slot's address and under its own
// name (valid UTF-8 of at most 8 units, the name a button playing it shows);
// each macro shows as lines that encode back to the events of its slot, up
// to its end byte when it has one. Deleting a macro takes it alone off the
// list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "image/layout.h"
#include "macros/editors/device_macros.h"
#include "macros/event_lines.h"
#include "macros/macro_name.h"
#include "session_without_mouse.h"

namespace {

using namespace vrdk;
using namespace vrdk::macros;

struct Rig {
  Rig() {
    InstallDeviceMacros(mouseless.session);
    store = FindDeviceMacros(mouseless.session);
  }
  fuzz::SessionWithoutMouse mouseless{MemoryType::kFlash};
  const std::vector<std::uint8_t> factory = mouseless.session.WorkingImage();
  DeviceMacros* store = nullptr;
};

std::string MacroCode(std::uint16_t address) {
  char text[9];
  std::snprintf(text, sizeof text, "10%04X00", address);
  return text;
}

std::span<const std::uint8_t> Slot(const Session& session, std::size_t slot) {
  return std::span(session.Buffers().macro_pages)
      .subspan(slot * image::kMacroSlotSize, image::kMacroSlotSize);
}

// The item's lines encode to the events its slot starts with, and to all of
// them up to the end byte when the slot holds a whole macro.
void CheckLines(const DeviceMacros& store, const Session& session, int item, std::size_t slot) {
  const auto lines = store.Lines(item);
  if (!lines || lines->lines.empty()) __builtin_trap();
  const auto encoded = EncodeLines(lines->lines);
  const auto events = Slot(session, slot);
  if (!encoded.ok() || encoded.value().size() > events.size() + 1 ||
      !std::equal(encoded.value().begin(), encoded.value().end() - 1, events.begin())) {
    __builtin_trap();
  }
  const EventWalk walk = WalkEvents(events);
  if (walk.whole() && !std::equal(encoded.value().begin(), encoded.value().end(), events.begin(),
                                  events.begin() + static_cast<std::ptrdiff_t>(walk.length))) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Rig rig;
  Session& session = rig.mouseless.session;
  DeviceMacros& store = *rig.store;

  // The input over the default image's names and slots.
  std::vector<std::uint8_t>& image = session.WorkingImage();
  image = rig.factory;
  const std::size_t names = std::min(size, image::kMacroNameTableSize);
  std::copy_n(data, names, image.begin() + image::flash::kMacroNames);
  std::copy_n(data + names, std::min(size - names, image::kMacroPagesSize),
              image.begin() + image::flash::kMacroPages);
  session.FillFromWorkingImage();
  const auto& buffers = session.Buffers();
  if (!std::equal(buffers.macro_names.begin(), buffers.macro_names.end(),
                  image.begin() + image::flash::kMacroNames) ||
      !std::equal(buffers.macro_pages.begin(), buffers.macro_pages.end(),
                  image.begin() + image::flash::kMacroPages)) {
    __builtin_trap();
  }

  std::vector<std::size_t> present;
  for (std::size_t slot = 0; slot < image::kMacroSlots; ++slot) {
    const auto name = std::span(buffers.macro_names).subspan(slot * image::kMacroNameSize, 2);
    const bool listed =
        store.PresentMacroAddress(MemoryType::kFlash, static_cast<int>(slot)).has_value();
    if (listed == FlashNameReadsAsFree(name)) __builtin_trap();
    if (listed) present.push_back(slot);
    if (store.PresentMacroAddress(MemoryType::kI2C, static_cast<int>(slot))) __builtin_trap();
  }
  const std::vector<std::string> listed = store.Names();
  if (store.Type() != MemoryType::kFlash || listed.size() != present.size()) __builtin_trap();
  for (std::size_t k = 0; k < present.size(); ++k) {
    const int item = static_cast<int>(k);
    const auto address =
        static_cast<std::uint16_t>(image::flash::kMacroPages + image::kMacroSlotSize * present[k]);
    if (store.Address(item) != address) __builtin_trap();
    const std::string& name = listed[k];
    const auto units = Utf8ToUtf16(name);
    if (!units || units->size() > kMacroNameUnits ||
        name != store.DeviceMacroName(static_cast<int>(present[k])) ||
        session.NameForCode(MacroCode(address)) != name) {
      __builtin_trap();
    }
    CheckLines(store, session, item, present[k]);
  }
  if (store.Address(static_cast<int>(present.size())) || store.Lines(-1)) __builtin_trap();

  // Deleting one macro (the mouse is not there to take the write).
  if (!present.empty()) {
    const std::size_t k = size % present.size();
    store.Delete(static_cast<int>(k));
    std::vector<std::string> left = listed;
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
    if (store.Names() != left) __builtin_trap();
  }
  return 0;
}
