// The web lookups of items 27, 28, 29, 45, 46 and 50: each asks its configured service
// (net/mekservices.h) and picks the answer out of the returned page. The parsers read
// pages line by line (TLineReader, without a copy of any line) and never read past a
// line or the page: a page that lacks what they look for gives the item's failure text.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <utility>

// The page at the base address of the service key followed by pathAndQuery, fetched as
// FetchPage fetches; the empty text, without touching the network, when the key has no
// address, and the empty text when the answer's status is not 2xx (an error page is no
// answer).
std::string FetchServicePage(const std::string& key, const std::string& pathAndQuery);

// ---- Item 27: weather ----

// The argument list of the first "javascript:sent_to_vb" link (the line holding
// <a href="javascript:sent_to_vb, exact case) without its first argument, quotes
// removed: 'A','B' gives B, 'x','y,z' gives y,z, a single argument 'A' gives A. The bytes
// between the line's first "(" (or its start when it has none) and its first ")" are
// taken less the last one; none when ")" comes before "(" or is missing.
// "俺挖空心思算不出，能上网不？城市名对不？" when no line holds the link.
std::string ParseWeather(const std::string& page);

// ---- Item 28: home area of a mobile number (the page as HtmlToText gives it) ----

// The line after the first line holding "卡号归属地", trimmed; nothing when that line is
// the last one (the item then keeps its input line); "俺挖空心思算不出，能上网不？IP对不？"
// when no line holds it.
std::optional<std::string> ParseMobileArea(const std::string& text);

// ---- Item 29: location of an IP address (the page as HtmlToText gives it) ----

// The first line holding "本站主数据", trimmed, the marker kept; "查询失败" when none does.
std::string ParseIpArea(const std::string& text);

// ---- Item 45: currency conversion ----

struct FCurrency {
  const char* Name;
  const char* Code;
};
// The currencies item 45 converts, in their fixed order.
extern const std::array<FCurrency, 8> CurrencyTable;

// The codes of two currency names, each trimmed and compared with the names of
// CurrencyTable (ASCII letters without case); a code is empty for an unknown name.
std::pair<std::string, std::string> CurrencyCodes(const std::string& fromName,
                                                  const std::string& toName);

// The converted amount: of the lines holding "</table>", the uppermost that yields a
// value. A line is cut after its first two "</td>" (and one byte more each), then after
// its next ">", and the value is what stands before the next "<". "无法查询,是否能上网?"
// when no line yields one.
std::string ParseExchangeRate(const std::string& page);
// True when answer is ParseExchangeRate's failure text, ASCII letters in any case.
bool IsExchangeRateFailure(const std::string& answer);

// ---- Items 46 and 50: marker tests ----

// "已被注册" when page holds "Domain name is not available" (exact case), else "未被注册".
std::string DomainAnswer(const std::string& page);
// "在线" when page holds "=1", else "离线".
std::string PresenceAnswer(const std::string& page);
