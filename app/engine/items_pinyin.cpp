// Item 39: the pinyin of each character of the input line, joined by blanks.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekstr.h"

void Item39Pinyin(TDispatcher& calc) { calc.Edit1Text = PinyinOfText(calc.Edit1Text, calc.DataDir); }
