// Items 12 and 13: the stroke count and the radical of the input's first character.
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "hanzi/mekhanzistr.h"

// An empty input raises in HanziStrokeCount, so the item ends with the line unchanged. A
// character the table has no count for is told so, rather than shown as -1 or 0 strokes.
void Item12StrokeCount(TDispatcher& calc) {
  const int32_t strokes = HanziStrokeCount(calc.Edit1Text);
  if (strokes <= 0) {
    ShowInfo("没有找到这个字的笔画");
    return;
  }
  calc.Edit1Text = std::to_string(strokes);
}

// A character without a radical leaves the input line as typed.
void Item13Radical(TDispatcher& calc) {
  if (std::string radical = HanziRadical(calc.Edit1Text); !radical.empty())
    calc.Edit1Text = std::move(radical);
}
