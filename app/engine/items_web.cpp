// Items 27, 28, 29, 45, 46 and 50. Where the user has configured a page service for an
// item (services.ini), the answer is picked out of that service's page, with what the user
// typed put into the query as one percent-encoded value, so no "&", "#", "?" or blank in it
// can change the query or the address. Where none is configured (the default), items 28
// and 29 answer offline, and items 27, 45 and 46 ask public sources (net/mekweather.h,
// net/mekrates.h, net/mekdomain.h). An answer that could not be had at all is said as a
// failure, never as a negative answer.
#include <optional>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/meknum.h"
#include "core/mekstr.h"
#include "net/mekdomain.h"
#include "net/mekhtml.h"
#include "net/mekipregion.h"
#include "net/mekphone.h"
#include "net/mekrates.h"
#include "net/mekservices.h"
#include "net/mekweather.h"
#include "net/mekweb.h"

namespace {

bool Configured(const char* key) { return !ServiceAddress(key).empty(); }

const char* const QueryFailure = "查询失败";

}  // namespace

void Item27Weather(TDispatcher& calc) {
  if (!Configured("weather")) {
    calc.Edit1Text = OpenMeteoWeather(calc.Edit1Text);
    return;
  }
  calc.Edit1Text = ParseWeather(
      FetchServicePage("weather", "/search.php?city=" + UrlEncodeQueryValue(calc.Edit1Text) + "&dpc=1"));
}

// With a page service, when the page's "卡号归属地" line is its last line there is no
// answer, and the line keeps its text.
void Item28MobileArea(TDispatcher& calc) {
  if (!Configured("mobile")) {
    calc.Edit1Text = PhoneNumberArea(calc.Edit1Text, calc.DataDir).value_or("俺挖空心思算不出，能上网不？IP对不？");
    return;
  }
  const auto area = ParseMobileArea(HtmlToText(FetchServicePage(
      "mobile", "/search.asp?action=mobile&mobile=" + UrlEncodeQueryValue(calc.Edit1Text))));
  if (area) calc.Edit1Text = *area;
}

void Item29IpArea(TDispatcher& calc) {
  if (!Configured("ip")) {
    calc.Edit1Text = IpAddressArea(calc.Edit1Text, calc.DataDir);
    return;
  }
  calc.Edit1Text = ParseIpArea(HtmlToText(
      FetchServicePage("ip", "/ips138.asp?ip=" + UrlEncodeQueryValue(calc.Edit1Text) + "&action=2")));
}

namespace {

const char* const RateFailure = "无法查询,是否能上网?";

// Item 45 on "amount,from,to": the amount is shown as typed, blanks included; the names
// are trimmed to find their codes. A page service gets the amount as typed; the public
// rates are multiplied by the amount read as a number.
void ConvertCurrency(TDispatcher& calc) {
  const Fmekfenjiestr fields = SplitText(calc.Edit1Text, ',');
  if (fields.size() < 3) {
    ShowInfo("输入错误");
    return;
  }
  const auto [from, to] = CurrencyCodes(fields[1], fields[2]);
  if (from.empty() || to.empty()) {
    ShowInfo("目前只支持常用:人民币,美元,欧元,港元,台币,\r英镑,韩元,日元");
    return;
  }
  if (Configured("currency")) {
    const std::string answer = ParseExchangeRate(FetchServicePage(
        "currency", "/hl.asp?from=" + from + "&to=" + to + "&q=" + UrlEncodeQueryValue(fields[0])));
    calc.Edit1Text = IsExchangeRateFailure(answer) ? answer : fields[0] + fields[1] + "=" + answer + fields[2];
    return;
  }
  double amount = 0;
  if (!TryStrToFloat(TrimText(fields[0]), amount)) {
    ShowInfo("输入错误");
    return;
  }
  const std::optional<double> rate = from == to ? 1.0 : FetchExchangeRate(from, to);
  if (!rate) {
    calc.Edit1Text = RateFailure;
    return;
  }
  const std::optional<std::string> value = FormatMoney(amount * *rate);
  if (!value) {
    ShowInfo("输入错误");
    return;
  }
  calc.Edit1Text = fields[0] + fields[1] + "=" + *value + fields[2];
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
  if (!Configured("domain")) {
    calc.Edit1Text += DomainStateText(DomainRegistration(calc.Edit1Text, calc.DataDir));
    return;
  }
  const std::string page =
      FetchServicePage("domain", "/cgi-bin/check.cgi?area_domain=" + UrlEncodeQueryValue(calc.Edit1Text));
  calc.Edit1Text += page.empty() ? QueryFailure : DomainAnswer(page);
}

// The account number is sent trimmed; the line keeps it as typed.
void Item50ContactOnline(TDispatcher& calc) {
  const std::string page = FetchServicePage(
      "presence", "/getonline?Type=1&" + UrlEncodeQueryValue(TrimText(calc.Edit1Text)) + ":");
  calc.Edit1Text += page.empty() ? QueryFailure : PresenceAnswer(page);
}
