// Item 38: the Wubi code of the first character of the input line.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"

void Item38WubiCode(TDispatcher& calc) {
  if (!calc.WubiList) return;
  // The first two bytes: one Chinese character, or two ASCII characters.
  const std::string key = calc.Edit1Text.substr(0, 2);
  calc.Edit1Text = key + "字五笔为：" + calc.WubiList->Lookup(key);
}
