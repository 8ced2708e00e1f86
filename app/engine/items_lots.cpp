// Items 48 and 49: draw one of the comma-separated names, or put them all in a random order.
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekrandom.h"
#include "core/mekstr.h"
#include "everyday/mekzj.h"

// Empty fields are names too; the dispatcher has already turned "，" into ",".
void Item48DrawLot(TDispatcher& calc) {
  const Fmekfenjiestr names = SplitText(calc.Edit1Text, ',');
  calc.Edit1Text = names[Random(static_cast<int32_t>(names.size()))];
}

// The names in the order of a shuffled Tmekzj. An empty name drawn while the result is
// still empty leaves no trace, so the result never begins with a comma.
void Item49ShuffleNames(TDispatcher& calc) {
  const Fmekfenjiestr names = SplitText(calc.Edit1Text, ',');
  Tmekzj order(static_cast<int32_t>(names.size()), 0);
  order.Shuffle();
  order.Cursor = 0;
  std::string result;
  result.reserve(calc.Edit1Text.size());
  for (int32_t j; (j = order.Next()) > 0;) {
    if (!result.empty()) result += ',';
    result += names[j - 1];
  }
  calc.Edit1Text = std::move(result);
}
