// Item 39: the pinyin of each character of the input line, joined by blanks.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekstr.h"

// A text of which no character has a pinyin leaves the line as typed.
void Item39Pinyin(TDispatcher& calc) {
  std::string pinyin = PinyinOfText(calc.Edit1Text, calc.DataDir);
  if (!TrimText(pinyin).empty()) calc.Edit1Text = std::move(pinyin);
}
