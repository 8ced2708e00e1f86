// The "3D" draws of the public sources: a history table read row by row, a notice answer
// read as JSON.
#include "net/mekdraws.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string_view>
#include <vector>

#include "core/mekstr.h"
#include "net/mekhtml.h"
#include "net/mekjsonanswer.h"
#include "net/mekservices.h"

namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool IsDate(std::string_view text) {
  return text.size() >= 10 && AllDigits(text.substr(0, 4)) && text[4] == '-' &&
         AllDigits(text.substr(5, 2)) && text[7] == '-' && AllDigits(text.substr(8, 2));
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out.push_back(c);
  return out;
}

// text with every "<!--…-->" removed (an unclosed one runs to the end).
std::string WithoutComments(const std::string& text) {
  std::string out;
  size_t from = 0;
  for (size_t open; (open = text.find("<!--", from)) != std::string::npos;) {
    out.append(text, from, open - from);
    const size_t close = text.find("-->", open + 4);
    if (close == std::string::npos) return out;
    from = close + 3;
  }
  out.append(text, from, std::string::npos);
  return out;
}

// text with every tag removed and the few entities a cell holds replaced, trimmed.
std::string CellText(std::string_view cell) {
  std::string out;
  bool inTag = false;
  for (const char c : cell) {
    if (c == '<') inTag = true;
    else if (c == '>') inTag = false;
    else if (!inTag) out.push_back(c);
  }
  out = ReplaceAll(out, "&nbsp;", " ");
  return TrimText(out);
}

// Case-insensitive search of an ASCII tag opening ("<tr", "<td") from position from.
size_t FindTag(const std::string& text, const char* tag, size_t from) {
  const size_t length = std::char_traits<char>::length(tag);
  for (size_t at = text.find('<', from); at != std::string::npos; at = text.find('<', at + 1)) {
    size_t i = 1;
    while (i < length && at + i < text.size() &&
           std::tolower(static_cast<unsigned char>(text[at + i])) == tag[i])
      ++i;
    if (i == length && at + i < text.size() &&
        (text[at + i] == '>' || std::isspace(static_cast<unsigned char>(text[at + i]))))
      return at;
  }
  return std::string::npos;
}

// The cells of each row of page, in order.
std::vector<std::vector<std::string>> TableRows(const std::string& page) {
  const std::string html = WithoutComments(page);
  std::vector<std::vector<std::string>> rows;
  for (size_t tr = FindTag(html, "<tr", 0); tr != std::string::npos;) {
    const size_t next = FindTag(html, "<tr", tr + 3);
    const std::string row = html.substr(tr, next == std::string::npos ? std::string::npos : next - tr);
    std::vector<std::string> cells;
    for (size_t td = FindTag(row, "<td", 0); td != std::string::npos;) {
      const size_t open = row.find('>', td);
      if (open == std::string::npos) break;
      const size_t end = FindTag(row, "</td", open);
      const size_t nextCell = FindTag(row, "<td", open);
      const size_t stop = std::min(end, nextCell);
      const size_t length = stop == std::string::npos ? std::string::npos : stop - open - 1;
      cells.push_back(CellText(std::string_view(row).substr(open + 1, length)));
      td = nextCell;
    }
    rows.push_back(std::move(cells));
    tr = next;
  }
  return rows;
}

// A row's draw number as seven digits, or nothing.
std::optional<std::string> RowNumber(const std::string& cell) {
  if (!AllDigits(cell)) return std::nullopt;
  if (cell.size() == 7) return cell;
  if (cell.size() == 5) return "20" + cell;
  return std::nullopt;
}

// The three digits after the number: one cell of three digits (blanks between them
// allowed), or three cells of one digit each.
std::optional<std::string> RowDigits(const std::vector<std::string>& cells) {
  for (size_t i = 1; i < cells.size(); ++i) {
    const std::string joined = WithoutBlanks(cells[i]);
    if (joined.size() == 3 && AllDigits(joined)) return joined;
    if (joined.size() == 1 && AllDigits(joined) && i + 2 < cells.size()) {
      const std::string b = WithoutBlanks(cells[i + 1]), c = WithoutBlanks(cells[i + 2]);
      if (b.size() == 1 && c.size() == 1 && AllDigits(b) && AllDigits(c)) return joined + b + c;
    }
  }
  return std::nullopt;
}

std::string DrawLine(const std::string& number, const std::string& date, const std::string& digits) {
  return number + "|" + date.substr(0, 10) + "|" + digits;
}

}  // namespace

std::optional<std::string> DrawNumberOf(const std::string& line) {
  const std::string text = TrimText(line);
  if (!AllDigits(text)) return std::nullopt;
  if (text.size() == 7) return text;
  if (text.size() == 5) return "20" + text;
  return std::nullopt;
}

FDrawAnswer DrawFromHistoryPage(const std::string& page, const std::string& number) {
  FDrawAnswer answer;
  answer.Answered = page.find("期号") != std::string::npos && FindTag(page, "<table", 0) != std::string::npos;
  for (const std::vector<std::string>& cells : TableRows(page)) {
    if (cells.size() < 3) continue;
    const std::optional<std::string> rowNumber = RowNumber(cells[0]);
    if (!rowNumber || !IsDate(cells.back())) continue;
    answer.Answered = true;  // a row of draws: the layout is known
    if (*rowNumber != number) continue;
    if (const std::optional<std::string> digits = RowDigits(cells)) {
      answer.Draw = DrawLine(number, cells.back(), *digits);
      return answer;
    }
  }
  return answer;
}

FDrawAnswer DrawFromNotice(const std::string& text, const std::string& number) {
  FDrawAnswer answer;
  const nlohmann::json notice = ParseAnswerJson(text);
  if (!notice.is_object()) return answer;
  const auto result = notice.find("result");
  if (result == notice.end() || !result->is_array()) return answer;
  answer.Answered = true;
  for (const nlohmann::json& draw : *result) {
    if (!draw.is_object()) continue;
    const auto code = draw.find("code"), date = draw.find("date"), red = draw.find("red");
    if (code == draw.end() || date == draw.end() || red == draw.end() || !code->is_string() ||
        !date->is_string() || !red->is_string() || code->get<std::string>() != number ||
        !IsDate(date->get<std::string>()))
      continue;
    std::string digits;
    std::istringstream parts(red->get<std::string>());
    for (std::string part; std::getline(parts, part, ',');) digits += TrimText(part);
    if (digits.size() != 3 || !AllDigits(digits)) continue;
    answer.Draw = DrawLine(number, date->get<std::string>(), digits);
    return answer;
  }
  return answer;
}

std::string DrawSourceAddress(const std::string& source, const std::string& number) {
  if (source.find("{N}") != std::string::npos) return ReplaceAll(source, "{N}", number);
  const char* separator = source.find('?') == std::string::npos ? "?" : "&";
  if (source.find("findDrawNotice") != std::string::npos)
    return source + separator + "name=3d&issueStart=" + number + "&issueEnd=" + number;
  return source + separator + "start=" + number + "&end=" + number;
}

std::optional<std::string> PublicDraw(const std::string& number) {
  bool answered = false;
  std::istringstream sources(ServiceAddress("draws"));
  for (std::string source; sources >> source;) {
    const FHttpAnswer page =
        FetchHttp({DrawSourceAddress(source, number), {"Accept: text/html, application/json"}, {}});
    if (!page.Received || page.Status < 200 || page.Status > 299) continue;
    // A notice is JSON (read as sent, UTF-8); anything else is read as a history page.
    const size_t first = page.Body.find_first_not_of(" \t\r\n");
    const bool json = first != std::string::npos && page.Body[first] == '{';
    const FDrawAnswer found = json ? DrawFromNotice(page.Body, number)
                                   : DrawFromHistoryPage(PageToGbk(page.Body, page.ContentType), number);
    answered = answered || found.Answered;
    if (!found.Draw.empty()) return found.Draw;
  }
  if (!answered) return std::nullopt;
  return std::string();
}
