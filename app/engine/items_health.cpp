// Items 31, 32 and 33: standard weight for a height, energy of a food, daily energy need.
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekstr.h"
#include "core/mekerror.h"
#include "core/meknum.h"
#include "everyday/mekshenghuo.h"

namespace {
const char* const BadInput = "输入内容不正确";
}

// A height in centimetres; the line echoes the input as typed. A height outside 101..194
// is refused like a text that is no integer, rather than shown as 0kg for both.
void Item31StandardWeight(TDispatcher& calc) {
  int32_t height = 0, man = 0, woman = 0;
  if (!TryStrToInt(calc.Edit1Text, height) || !StandardWeight(height, man, woman)) {
    ShowInfo("输入正确的身高");
    return;
  }
  calc.Edit1Text = "身高" + calc.Edit1Text + "cm标准体重男" + std::to_string(man) + "kg,女" +
                   std::to_string(woman) + "kg";
}

// "name*grams": the name runs up to the first "*", blanks around either part ignored.
// Without "*" nothing happens. Grams that are no integer, and an energy beyond the 32-bit
// range, are refused; a food the table does not hold is told so rather than shown as 0千卡.
void Item32FoodEnergy(TDispatcher& calc) {
  const size_t star = calc.Edit1Text.find('*');
  if (star == std::string::npos) return;
  const std::string name = TrimText(std::string_view(calc.Edit1Text).substr(0, star));
  if (!IsFood(name)) {
    ShowInfo("没有找到这种食物");
    return;
  }
  int32_t energy = 0;
  try {
    energy = FoodEnergy(name, StrToInt(TrimText(std::string_view(calc.Edit1Text).substr(star + 1))));
  } catch (const EConvertError&) {
    ShowInfo(BadInput);
    return;
  }
  calc.Edit1Text = std::to_string(energy) + "千卡";
}

// A body weight in kilograms, 11..149.
void Item33DailyEnergy(TDispatcher& calc) {
  int32_t weight = 0;
  if (!TryStrToInt(calc.Edit1Text, weight)) {
    ShowInfo(BadInput);
    return;
  }
  if (weight <= 10 || weight >= 150) {
    ShowInfo("体重异常");
    return;
  }
  calc.Edit1Text = "男需" + std::to_string(DailyEnergy(weight, true)) + "千卡,女需" +
                   std::to_string(DailyEnergy(weight, false)) + "千卡";
}
