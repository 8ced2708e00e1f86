// The "=" dispatcher, the selector, the restore key and the shared date reading.
#include "app/engine/dispatcher.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/mekdatetime.h"
#include "core/mekmodule.h"
#include "core/meklocale.h"
#include "core/mekstr.h"
#include "net/mekservices.h"
#include "net/mekwait.h"

const char* const StartLabelText = "做世界上最牛的计算器";

namespace {
// The longest one "=" waits on the network, all its requests together.
constexpr int64_t EqualsNetworkMs = 15000;
}  // namespace

std::string WelcomeText(const std::string& site) {
  std::string address = site;
  for (const char* scheme : {"http://", "https://"})
    if (address.compare(0, std::strlen(scheme), scheme) == 0) address.erase(0, std::strlen(scheme));
  while (!address.empty() && address.back() == '/') address.pop_back();
  if (address.empty()) return {};
  return "欢迎定做软件，" + address + "  请选择运算项目";
}

TDispatcher::TDispatcher() : Label1Text(StartLabelText), DataDir(DefaultDataDir()) {}

void TDispatcher::Button20Click() {
  Edit1Text = ToHalfWidth(Edit1Text);
  LastInput = Edit1Text;
  if (ItemIndex >= 0 && ItemIndex < ItemCount && ItemIndex != 47 && ItemIndex != 51) {
    if (FItemHandler handler = ItemAt(ItemIndex).Handler) {
      // Every failure a handler does not catch itself is discarded without a message;
      // the input line keeps whatever text it has now.
      // All the network waits of one "=" together end within EqualsNetworkMs.
      const TNetworkWaitBound bound(EqualsNetworkMs);
      try {
        handler(*this);
      } catch (...) {
      }
    }
  }
  // The maker's address where one is configured; otherwise the label keeps what it
  // shows (the selected item's prompt), so it never advertises an address of no one's.
  if (std::string welcome = WelcomeText(ServiceAddress("site")); !welcome.empty())
    Label1Text = std::move(welcome);
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
  WubiList.reset();
  wubiAvailable_ = true;
  wubiRead_ = false;
}

void TDispatcher::ReleaseWubiList() {
  WubiList.reset();
  wubiAvailable_ = false;
}

const TmekWB* TDispatcher::Wubi() {
  if (wubiAvailable_ && !wubiRead_) {
    wubiRead_ = true;  // a list that cannot be read is not tried again
    try {
      WubiList = std::make_unique<TmekWB>(DataDir + "/QueryWB.dll");
    } catch (...) {
      WubiList.reset();
    }
  }
  return WubiList.get();
}

void TDispatcher::NormalizeDateInput() {
  const std::string sep(1, DateSeparator);
  Edit1Text = ReplaceAll(Edit1Text, "/", sep);
  Edit1Text = ReplaceAll(Edit1Text, "\\", sep);
  Edit1Text = ReplaceAll(Edit1Text, "-", sep);
}

std::optional<double> TDispatcher::ReadInputDate(const std::string& text) const {
  double date;
  if (!TryStrToDate(text, date)) return std::nullopt;
  return date;
}

std::string DefaultDataDir() { return ProgramDataFolder(); }
