// Items 12 and 13: the stroke count and the radical of the input's first character.
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "hanzi/mekhanzistr.h"

// An empty input raises in HanziStrokeCount, so the item ends with the line unchanged.
void Item12StrokeCount(TDispatcher& calc) {
  calc.Edit1Text = std::to_string(HanziStrokeCount(calc.Edit1Text));
}

// A character without a radical clears the input line.
void Item13Radical(TDispatcher& calc) { calc.Edit1Text = HanziRadical(calc.Edit1Text); }
