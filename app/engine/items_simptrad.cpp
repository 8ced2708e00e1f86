// Items 18 and 19: simplified to traditional characters and back. When the dictionaries
// cannot be loaded the conversion raises, and the item ends with the input line as it was;
// without OpenCC's module the item says its library is missing, as item 36 does for its
// data file.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekerror.h"
#include "hanzi/mekGB.h"

namespace {

void ConvertItem(TDispatcher& calc, std::string (*convert)(const std::string&)) {
  try {
    calc.Edit1Text = convert(calc.Edit1Text);
  } catch (const EMissingModule&) {
    ShowInfo("缺少库文件");
  }
}

}  // namespace

void Item18ToTraditional(TDispatcher& calc) { ConvertItem(calc, ToTraditional); }

void Item19ToSimplified(TDispatcher& calc) { ConvertItem(calc, ToSimplified); }
