// Items 18 and 19: simplified to traditional characters and back. When the dictionaries
// cannot be loaded the conversion raises, and the item ends with the input line as it was.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "hanzi/mekGB.h"

void Item18ToTraditional(TDispatcher& calc) { calc.Edit1Text = ToTraditional(calc.Edit1Text); }

void Item19ToSimplified(TDispatcher& calc) { calc.Edit1Text = ToSimplified(calc.Edit1Text); }
