// The "=" dispatcher, the selector, the restore key and the shared date reading.
#include "app/engine/dispatcher.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "core/mekdatetime.h"
#include "core/meklocale.h"
#include "core/mekstr.h"

const char* const StartLabelText = "做世界上最牛的计算器";
const char* const WelcomeText = "欢迎定做软件，www.example.com  请选择运算项目";

TDispatcher::TDispatcher() : Label1Text(StartLabelText), DataDir(DefaultDataDir()) {}

void TDispatcher::Button20Click() {
  Edit1Text = ToHalfWidth(Edit1Text);
  LastInput = Edit1Text;
  if (ItemIndex >= 0 && ItemIndex < ItemCount && ItemIndex != 47 && ItemIndex != 51) {
    if (FItemHandler handler = ItemAt(ItemIndex).Handler) {
      // Every failure a handler does not catch itself is discarded without a message;
      // the input line keeps whatever text it has now.
      try {
        handler(*this);
      } catch (...) {
      }
    }
  }
  Label1Text = WelcomeText;
}

void TDispatcher::ComboBox1Change() {
  if (ItemIndex != 51 && OnSelectorIdle) OnSelectorIdle(ItemIndex);
  if (OnFocusInput) OnFocusInput();
  if (ItemIndex >= 0 && ItemIndex < ItemCount) {
    Label1Text = ItemAt(ItemIndex).Prompt;
    if (ItemIndex == 51 && OnArmTypingTest) OnArmTypingTest();
  }
}

void TDispatcher::BitBtn2Click() { Edit1Text = LastInput; }

void TDispatcher::CreateWubiList() {
  try {
    WubiList = std::make_unique<TmekWB>(DataDir + "/QueryWB.dll");
  } catch (...) {
    WubiList.reset();
  }
}

void TDispatcher::ReleaseWubiList() { WubiList.reset(); }

void TDispatcher::NormalizeDateInput() {
  const std::string sep(1, DateSeparator);
  Edit1Text = ReplaceAll(Edit1Text, "/", sep);
  Edit1Text = ReplaceAll(Edit1Text, "\\", sep);
  Edit1Text = ReplaceAll(Edit1Text, "-", sep);
}

namespace {

// Order of the three numbers of a date, from the short date format: whichever of the
// letters d, m, y comes first.
enum class EDateOrder { MDY, DMY, YMD };

EDateOrder ShortDateOrder() {
  for (const char* p = ShortDateFormat; *p; ++p) {
    switch (*p) {
      case 'd': case 'D': return EDateOrder::DMY;
      case 'y': case 'Y': return EDateOrder::YMD;
      case 'm': case 'M': return EDateOrder::MDY;
    }
  }
  return EDateOrder::MDY;
}

struct FDateScanner {
  const std::string& s;
  size_t i = 0;

  void SkipBlanks() {
    while (i < s.size() && s[i] == ' ') ++i;
  }
  // Digits while the value so far is below 1000; the number of digit characters read.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && value < 1000) {
      value = value * 10 + (s[i] - '0');
      ++digits;
      ++i;
    }
    return digits > 0;
  }
  bool Separator() {
    SkipBlanks();
    if (i < s.size() && s[i] == DateSeparator) {
      ++i;
      return true;
    }
    return false;
  }
};

}  // namespace

std::optional<double> TDispatcher::ReadInputDate(const std::string& text) const {
  FDateScanner sc{text};
  int n1, n2, n3 = 0, d1, d2, d3 = 0;
  if (!sc.Number(n1, d1) || !sc.Separator() || !sc.Number(n2, d2)) return std::nullopt;
  const EDateOrder order = ShortDateOrder();
  const int thisYear = CurrentYear();
  int year, month, day, yearDigits;
  if (sc.Separator()) {
    // A separator after the second number asks for a third one.
    if (!sc.Number(n3, d3)) return std::nullopt;
    switch (order) {
      case EDateOrder::YMD: year = n1, yearDigits = d1, month = n2, day = n3; break;
      case EDateOrder::DMY: day = n1, month = n2, year = n3, yearDigits = d3; break;
      default: month = n1, day = n2, year = n3, yearDigits = d3; break;
    }
  } else {
    year = thisYear;
    yearDigits = 4;
    if (order == EDateOrder::DMY) day = n1, month = n2;
    else month = n1, day = n2;
  }
  if (yearDigits <= 2) {
    const int start = thisYear - 50;
    year += start / 100 * 100;
    if (year < start) year += 100;
  }
  sc.Separator();  // one optional trailing separator
  sc.SkipBlanks();
  if (sc.i != text.size()) return std::nullopt;
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return EncodeDate(year, month, day);
}

std::string DefaultDataDir() {
  if (const char* env = std::getenv("ORVEX_DATA_DIR"); env && *env) return env;
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string exe(path, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}
