// Item 34: the relationship of two people from the stroke sums of their names.
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekstr.h"
#include "everyday/mekshenghuo.h"

// The input is the user's own name, "+", the other's name; the second name runs to the
// end of the line, further "+" included. An empty name on either side changes nothing.
void Item34NameRelationship(TDispatcher& calc) {
  const std::string& input = calc.Edit1Text;
  const size_t plus = input.find('+');
  if (plus == std::string::npos) {
    ShowInfo("请用+连接测试的两人姓名");
    return;
  }
  const std::string first = TrimText(input.substr(0, plus));
  const std::string second = TrimText(input.substr(plus + 1));
  if (first.empty() || second.empty()) return;
  calc.Edit1Text = NameRelationship(first, second) + "(仅供娱乐！)";
}
