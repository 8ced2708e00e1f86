// Item 35: the result of one draw of the "3D" lottery.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "net/mekcaipiaodown.h"

// No site, no page, no such draw and an empty input all end in the one box, and the line
// keeps its text.
void Item35LotteryDraw(TDispatcher& calc) {
  const std::string draw = FindLotteryDraw(calc.Edit1Text);
  if (draw.empty())
    ShowInfo("地球上还没发这一期的中奖号呢");
  else
    calc.Edit1Text = draw;
}
