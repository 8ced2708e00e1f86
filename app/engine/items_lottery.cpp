// Item 35: the result of one draw of the "3D" lottery.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "net/mekcaipiaodown.h"
#include "net/mekdraws.h"
#include "net/mekservices.h"

namespace {
const char* const NotDrawn = "地球上还没发这一期的中奖号呢";
}  // namespace

// With a lottery page service configured: a page that could not be had (no answer, an
// error status) shows 查询失败; no such draw on the page, no draws on it and an empty input
// show the draw's box. Without one (the default) the public sources are asked for a draw
// number of seven digits (or five of the 2000s): anything else shows the draw's box
// without a fetch, no source answering 查询失败. Either way the line keeps its text unless
// the draw was found.
void Item35LotteryDraw(TDispatcher& calc) {
  std::optional<std::string> draw;
  if (ServiceAddress("lottery").empty()) {
    const std::optional<std::string> number = DrawNumberOf(calc.Edit1Text);
    draw = number ? PublicDraw(*number) : std::string();
  } else {
    draw = FindLotteryDraw(calc.Edit1Text);
  }
  if (!draw)
    ShowInfo("查询失败");
  else if (draw->empty())
    ShowInfo(NotDrawn);
  else
    calc.Edit1Text = *draw;
}
