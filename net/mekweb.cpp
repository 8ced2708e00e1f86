// The web lookups' service pages and their parsers.
#include "net/mekweb.h"

#include <algorithm>
#include <string_view>

#include "core/mekstr.h"
#include "net/mekhtml.h"
#include "net/mekservices.h"

namespace {

bool Holds(std::string_view text, const char* marker) {
  return text.find(marker) != std::string_view::npos;
}

// Reads lines until one holds marker and sets line to it; false when none does.
bool NextLineHolding(TLineReader& lines, const char* marker, std::string_view& line) {
  while (lines.Next(line))
    if (Holds(line, marker)) return true;
  return false;
}

unsigned char LowerAscii(unsigned char b) { return (b >= 'A' && b <= 'Z') ? b + 32 : b; }

// Equal bytes, ASCII letters compared without case.
bool SameAsciiNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

const char* const ExchangeRateFailure = "无法查询,是否能上网?";

// Drops the first count bytes of text, all of them when it is shorter.
void DropFront(std::string_view& text, size_t count) { text.remove_prefix(std::min(count, text.size())); }

}  // namespace

std::string FetchServicePage(const std::string& key, const std::string& pathAndQuery) {
  const std::string base = ServiceAddress(key);
  if (base.empty()) return std::string();
  // An error page (a status other than 2xx) is no answer: its text must not be read as
  // one (a 404 page holds no "Domain name is not available" and would say 未被注册).
  FHttpAnswer answer = FetchHttp({SiteAddress(base, pathAndQuery), {}, {}});
  if (!answer.Received || answer.Status < 200 || answer.Status > 299) return std::string();
  return PageToGbk(answer.Body, answer.ContentType);
}

std::string ParseWeather(const std::string& page) {
  TLineReader lines(page);
  std::string_view line;
  if (!NextLineHolding(lines, "<a href=\"javascript:sent_to_vb", line))
    return "俺挖空心思算不出，能上网不？城市名对不？";
  // Positions from 1, 0 when absent: the bytes from p + 1 on, q - p - 2 of them.
  const size_t open = line.find('('), close = line.find(')');
  const long p = open == std::string_view::npos ? 0 : long(open) + 1;
  const long q = close == std::string_view::npos ? 0 : long(close) + 1;
  const long count = q - p - 2;
  std::string args = count > 0 ? std::string(line.substr(size_t(p), size_t(count))) : std::string();
  args = ReplaceAll(args, "'", "");
  const size_t comma = args.find(',');
  return comma == std::string::npos ? args : args.substr(comma + 1);
}

std::optional<std::string> ParseMobileArea(const std::string& text) {
  TLineReader lines(text);
  std::string_view line;
  if (!NextLineHolding(lines, "卡号归属地", line)) return "俺挖空心思算不出，能上网不？IP对不？";
  if (!lines.Next(line)) return std::nullopt;
  return TrimText(line);
}

std::string ParseIpArea(const std::string& text) {
  TLineReader lines(text);
  std::string_view line;
  return NextLineHolding(lines, "本站主数据", line) ? TrimText(line) : "查询失败";
}

const std::array<FCurrency, 8> CurrencyTable = {{
    {"人民币", "CNY"},
    {"美元", "USD"},
    {"欧元", "EUR"},
    {"港元", "HKD"},
    {"台币", "TWD"},
    {"英镑", "GBP"},
    {"韩元", "KRW"},
    {"日元", "JPY"},
}};

std::pair<std::string, std::string> CurrencyCodes(const std::string& fromName,
                                                  const std::string& toName) {
  const std::string from = TrimText(fromName), to = TrimText(toName);
  std::pair<std::string, std::string> codes;
  for (const FCurrency& row : CurrencyTable) {
    if (SameAsciiNoCase(row.Name, from)) codes.first = row.Code;
    if (SameAsciiNoCase(row.Name, to)) codes.second = row.Code;
  }
  return codes;
}


std::string ParseExchangeRate(const std::string& page) {
  TLineReader lines(page);
  for (std::string_view s; NextLineHolding(lines, "</table>", s);) {
    for (int cell = 0; cell < 2; ++cell)
      if (const size_t p = s.find("</td>"); p != std::string_view::npos) DropFront(s, p + 6);
    if (const size_t p = s.find('>'); p != std::string_view::npos) DropFront(s, p + 1);
    if (const size_t p = s.find('<'); p != std::string_view::npos) return std::string(s.substr(0, p));
  }
  return ExchangeRateFailure;
}

bool IsExchangeRateFailure(const std::string& answer) {
  return SameAsciiNoCase(answer, ExchangeRateFailure);
}

std::string DomainAnswer(const std::string& page) {
  return Holds(page, "Domain name is not available") ? "已被注册" : "未被注册";
}

std::string PresenceAnswer(const std::string& page) { return Holds(page, "=1") ? "在线" : "离线"; }
