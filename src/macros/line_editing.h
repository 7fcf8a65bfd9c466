// The rules of changing a macro's event lines by hand, as the macro page
// offers it: the values its fields take, what the insert panel shows for each
// of its items, and which lines can be changed. The faces only read the
// fields and show the outcome.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "macros/event_lines.h"

namespace vrdk::macros {

// The value a field stands for: `typed` held in the range, or the range's
// start when nothing readable was typed.
int FieldValue(std::optional<int> typed, FieldRange range);

// The insert panel's items in its order, each with the language text that
// names it.
struct InsertChoice {
  InsertItem item;
  const char* text_key;
};
inline constexpr std::array<InsertChoice, 8> kInsertChoices = {{
    {InsertItem::kDelayFront, "Str410"},
    {InsertItem::kDelayBack, "Str411"},
    {InsertItem::kKeyFront, "Str412"},
    {InsertItem::kKeyBack, "Str413"},
    {InsertItem::kMoveFront, "Str450"},
    {InsertItem::kMoveBack, "Str451"},
    {InsertItem::kLoopStart, "Str456"},
    {InsertItem::kLoopEnd, "Str457"},
}};
// The item of the panel's row `row`; nothing for a row outside the list
// (the list while it is being filled).
std::optional<InsertItem> InsertItemAt(int row);

// What the insert panel asks for an item: a delay, keys recorded into the
// macro (with the delay modes of that recording), a movement's X and Y, a
// repeat count, or nothing (the loop end, or no item).
enum class InsertFields { kDelay, kKeys, kMove, kRepeat, kNone };
InsertFields FieldsOf(std::optional<InsertItem> item);
// The values InsertLine takes, from what the panel's fields read (nothing
// where a field holds no number).
InsertValues InsertValuesFrom(std::optional<int> delay, std::optional<int> x, std::optional<int> y,
                              std::optional<int> repeat);

// How a line can be changed by hand: a delay line takes a new delay
// (EditDelayLine), a key line a new key (EditKeyLine); other lines, the
// header among them, cannot be changed.
enum class LineChange { kDelay, kKey, kNone };
LineChange ChangeOf(const MacroText& lines, std::size_t line);
// Whether a macro's lines hold any event besides the header.
bool HasEvents(const MacroText& lines);

}  // namespace vrdk::macros
