// Items 41 to 44: "value,unit,target unit" converted, the target unit written after the
// result as the table names it.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekmath.h"
#include "core/meknum.h"
#include "core/mekstr.h"

namespace {

using FConversion = double (*)(const std::string&, const std::string&, double);

// A unit the table does not know shows the item's units in a box and keeps the input
// line, instead of a result of -1.
void ConversionItem(TDispatcher& calc, EQuantity quantity, FConversion convert) {
  const Fmekfenjiestr fields = SplitText(calc.Edit1Text, ',');
  double value;
  if (fields.size() < 3 || !TryStrToFloat(fields[0], value)) {
    ShowInfo("输入错误，格式：数值，原单位，换算单位");
    return;
  }
  const std::string from = TableUnitName(quantity, fields[1]);
  const std::string to = TableUnitName(quantity, fields[2]);
  if (from.empty() || to.empty()) {
    ShowInfo("目前只支持:" + UnitNames(quantity));
    return;
  }
  calc.Edit1Text = FormatGeneral(convert(from, to, value)) + to;
}

}  // namespace

void Item41Length(TDispatcher& calc) { ConversionItem(calc, EQuantity::Length, ConvertLength); }
void Item42Area(TDispatcher& calc) { ConversionItem(calc, EQuantity::Area, ConvertArea); }
void Item43Volume(TDispatcher& calc) { ConversionItem(calc, EQuantity::Volume, ConvertVolume); }
void Item44Mass(TDispatcher& calc) { ConversionItem(calc, EQuantity::Mass, ConvertMass); }
