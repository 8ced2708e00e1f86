// Items 27, 28, 29, 45, 46 and 50: answers picked out of the pages of web services. What
// the user typed goes into the query as one percent-encoded value, so no "&", "#", "?" or
// blank in it can change the query or the address.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekstr.h"
#include "net/mekhtml.h"
#include "net/mekweb.h"

void Item27Weather(TDispatcher& calc) {
  calc.Edit1Text = ParseWeather(
      FetchServicePage("weather", "/search.php?city=" + UrlEncodeQueryValue(calc.Edit1Text) + "&dpc=1"));
}

// When the page's "卡号归属地" line is its last line there is no answer, and the line
// keeps its text.
void Item28MobileArea(TDispatcher& calc) {
  const auto area = ParseMobileArea(HtmlToText(FetchServicePage(
      "mobile", "/search.asp?action=mobile&mobile=" + UrlEncodeQueryValue(calc.Edit1Text))));
  if (area) calc.Edit1Text = *area;
}

void Item29IpArea(TDispatcher& calc) {
  calc.Edit1Text = ParseIpArea(HtmlToText(
      FetchServicePage("ip", "/ips138.asp?ip=" + UrlEncodeQueryValue(calc.Edit1Text) + "&action=2")));
}

namespace {

// Item 45 on "amount,from,to": the amount is sent and shown as typed, blanks included;
// the names are trimmed to find their codes.
void ConvertCurrency(TDispatcher& calc) {
  const Fmekfenjiestr fields = SplitText(calc.Edit1Text, ',');
  if (fields.size() < 3) {
    ShowInfo("输入错误");
    return;
  }
  const auto [from, to] = CurrencyCodes(fields[1], fields[2]);
  if (from.empty() || to.empty()) {
    ShowInfo("目前只支持常用:人民币美元,欧元,港元,台币,\r英镑,韩元,日元");
    return;
  }
  const std::string answer = ParseExchangeRate(FetchServicePage(
      "currency", "/hl.asp?from=" + from + "&to=" + to + "&q=" + UrlEncodeQueryValue(fields[0])));
  if (IsExchangeRateFailure(answer))
    calc.Edit1Text = answer;
  else
    calc.Edit1Text = fields[0] + fields[1] + "=" + answer + fields[2];
}

}  // namespace

void Item45ExchangeRate(TDispatcher& calc) {
  try {
    ConvertCurrency(calc);
  } catch (...) {
    ShowInfo("输入错误");
  }
}

void Item46DomainRegistered(TDispatcher& calc) {
  calc.Edit1Text += DomainAnswer(
      FetchServicePage("domain", "/cgi-bin/check.cgi?area_domain=" + UrlEncodeQueryValue(calc.Edit1Text)));
}

// The account number is sent trimmed; the line keeps it as typed.
void Item50ContactOnline(TDispatcher& calc) {
  calc.Edit1Text += PresenceAnswer(FetchServicePage(
      "presence", "/getonline?Type=1&" + UrlEncodeQueryValue(TrimText(calc.Edit1Text)) + ":"));
}
