// Items 4, 36 and 37: birth date and sex, place of issue and check character of an
// identity card number.
#include <filesystem>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekdatetime.h"
#include "core/mekerror.h"
#include "core/mekstr.h"
#include "everyday/mekShenfenzheng.h"

void Item4BirthDateAndSex(TDispatcher& calc) {
  // A number that is refused, or whose digits are no date, gets one message, and the
  // input line keeps it.
  std::string sex;
  double birth = 0;
  bool read = false;
  try {
    read = IdBirthAndSex(calc.Edit1Text, sex, birth);
  } catch (const EConvertError&) {
  }
  if (!read) {
    ShowInfo("输入正确的身份证号");
    return;
  }
  calc.Edit1Text = "性别:" + sex + ",出生日期：" + ShortDateText(birth);
}

void Item36Region(TDispatcher& calc) {
  if (calc.Edit1Text.empty()) return;
  const std::string path = calc.DataDir + "/sfz.dll";
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    ShowInfo("缺少库文件");
    return;
  }
  calc.Edit1Text = IdRegion(path, calc.Edit1Text);
}

void Item37CheckChar(TDispatcher& calc) {
  if (calc.Edit1Text.empty()) return;
  // A lowercase "x" is the check character X typed without shift.
  std::string given = calc.Edit1Text.substr(calc.Edit1Text.size() - 1);
  if (given == "x") given = "X";
  const std::string computed = IdCheckChar(calc.Edit1Text);  // raises for a non-digit
  calc.Edit1Text = given == computed ? "校验码正确" : "校验码不正确，应该是" + computed;
}
