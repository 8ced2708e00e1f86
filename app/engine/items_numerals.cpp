// Items 2 and 3: a typed number in ordinary or financial Chinese numerals.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekerror.h"
#include "core/meknum.h"
#include "core/mekstr.h"

namespace {

void NumeralsItem(TDispatcher& calc, bool upperCase) {
  double value;
  if (TryStrToFloat(calc.Edit1Text, value)) {
    try {
      calc.Edit1Text = TypedNumberToChinese(calc.Edit1Text, value, upperCase);
      return;
    } catch (const EConvertError&) {
      // 1.5E-5, 1.5e15, 10^16 and more: no numerals for it
    }
  }
  ShowInfo("请输入数值");
}

}  // namespace

void Item2LowerNumerals(TDispatcher& calc) { NumeralsItem(calc, false); }
void Item3UpperNumerals(TDispatcher& calc) { NumeralsItem(calc, true); }
