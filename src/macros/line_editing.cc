#include "macros/line_editing.h"

#include <algorithm>

namespace vrdk::macros {

int FieldValue(std::optional<int> typed, FieldRange range) {
  return std::clamp(typed.value_or(range.start), range.low, range.high);
}

std::optional<InsertItem> InsertItemAt(int row) {
  if (row < 0 || row >= static_cast<int>(kInsertChoices.size())) return std::nullopt;
  return kInsertChoices[static_cast<std::size_t>(row)].item;
}

InsertFields FieldsOf(std::optional<InsertItem> item) {
  if (!item) return InsertFields::kNone;
  switch (*item) {
    case InsertItem::kDelayFront:
    case InsertItem::kDelayBack:
      return InsertFields::kDelay;
    case InsertItem::kKeyFront:
    case InsertItem::kKeyBack:
      return InsertFields::kKeys;
    case InsertItem::kMoveFront:
    case InsertItem::kMoveBack:
      return InsertFields::kMove;
    case InsertItem::kLoopStart:
      return InsertFields::kRepeat;
    case InsertItem::kLoopEnd:
      return InsertFields::kNone;
  }
  return InsertFields::kNone;
}

InsertValues InsertValuesFrom(std::optional<int> delay, std::optional<int> x, std::optional<int> y,
                              std::optional<int> repeat) {
  InsertValues values;
  values.delay = FieldValue(delay, kDelayRange);
  values.x = FieldValue(x, kMoveRange);
  values.y = FieldValue(y, kMoveRange);
  values.repeat = FieldValue(repeat, kRepeatRange);
  return values;
}

LineChange ChangeOf(const MacroText& lines, std::size_t line) {
  if (line == 0 || line >= lines.size() || lines[line].empty()) return LineChange::kNone;
  switch (lines[line][0]) {
    case '0':
      return LineChange::kDelay;
    case '1':
    case '2':
      return LineChange::kKey;
    default:
      return LineChange::kNone;
  }
}

bool HasEvents(const MacroText& lines) { return lines.size() > 1; }

}  // namespace vrdk::macros
