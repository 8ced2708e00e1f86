// Items 41 to 44: "value,unit,target unit" converted, the target unit written after the
// result exactly as typed.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekmath.h"
#include "core/meknum.h"
#include "core/mekstr.h"

namespace {

using FConversion = double (*)(const std::string&, const std::string&, double);

void ConversionItem(TDispatcher& calc, FConversion convert) {
  // No blanks are trimmed: " 米" is no unit and converts to -1.
  const Fmekfenjiestr fields = SplitText(calc.Edit1Text, ',');
  double value;
  if (fields.size() < 3 || !TryStrToFloat(fields[0], value)) {
    ShowInfo("输入错误，格式：数值，原单位，换算单位");
    return;
  }
  calc.Edit1Text = FormatGeneral(convert(fields[1], fields[2], value)) + fields[2];
}

}  // namespace

void Item41Length(TDispatcher& calc) { ConversionItem(calc, ConvertLength); }
void Item42Area(TDispatcher& calc) { ConversionItem(calc, ConvertArea); }
void Item43Volume(TDispatcher& calc) { ConversionItem(calc, ConvertVolume); }
void Item44Mass(TDispatcher& calc) { ConversionItem(calc, ConvertMass); }
