// Item 38: the Wubi code of the first character of the input line.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekstr.h"

void Item38WubiCode(TDispatcher& calc) {
  const TmekWB* list = calc.Wubi();
  if (!list) return;
  // The first two bytes: one Chinese character, or two ASCII characters. Only a character
  // has a Wubi code; letters would match inside some character's code and show that.
  const std::string key = calc.Edit1Text.substr(0, 2);
  const bool character = key.size() == 2 && IsLeadByte(static_cast<unsigned char>(key[0]));
  calc.Edit1Text = key + "字五笔为：" + (character ? list->Lookup(key) : std::string());
}
