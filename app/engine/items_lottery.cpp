// Item 35: the result of one draw of the "3D" lottery.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "net/mekcaipiaodown.h"

// A page that could not be had (no site configured, no answer) shows 查询失败; no such
// draw on the page, no draws on it and an empty input show the draw's box. Either way the
// line keeps its text.
void Item35LotteryDraw(TDispatcher& calc) {
  const std::optional<std::string> draw = FindLotteryDraw(calc.Edit1Text);
  if (!draw)
    ShowInfo("查询失败");
  else if (draw->empty())
    ShowInfo("地球上还没发这一期的中奖号呢");
  else
    calc.Edit1Text = *draw;
}
