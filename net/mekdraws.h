// Item 35 without a lottery page service: the "3D" draws of the public sources, the draw
// history of a lottery data site (an HTML table, one row per draw) and the welfare
// lottery's own notice service (JSON), asked for the one draw wanted and tried in order.
// Service key: draws (net/mekservices.h).
#pragma once
#include <optional>
#include <string>

// The seven-digit draw number of a typed line: blanks around it removed, seven digits as
// they are ("2013011"), five digits read as of the 2000s ("13011" is 2013011); nothing
// for anything else.
std::optional<std::string> DrawNumberOf(const std::string& line);

// A draw as the item shows it: "2013011|2013-01-11|589", its number, its date and its
// three digits.
struct FDrawAnswer {
  bool Answered = false;   // some source answered in a layout it knows
  std::string Draw;        // the draw's line; empty when no source had it
};

// The draw of a history page: rows <tr>…</tr> of cells <td>…</td> (HTML comments and tags
// removed), the first cell the draw number (seven digits, or five of the 2000s), the three
// digits in one cell ("5 8 9" or "589") or in three cells of one digit, the date the last
// cell of the form yyyy-mm-dd. Answered when the page holds such a row or the table's
// header (期号); Draw empty when no row has the number.
FDrawAnswer DrawFromHistoryPage(const std::string& page, const std::string& number);
// The draw of a notice answer: a JSON object whose "result" array holds objects with
// "code" (the draw number), "date" (beginning yyyy-mm-dd) and "red" ("5,8,9"). Answered
// when the answer is such an object.
FDrawAnswer DrawFromNotice(const std::string& answer, const std::string& number);

// The address of one source for a draw: the address with every "{N}" replaced by number
// where it holds one; else the notice service's query (name=3d&issueStart=N&issueEnd=N)
// appended to an address of its findDrawNotice service, and the history page's
// (start=N&end=N) to any other.
std::string DrawSourceAddress(const std::string& source, const std::string& number);

// The draw asked of the sources of the draws key in order (each a bounded fetch, a status
// other than 2xx being no answer), until one has it: its line; the empty text when the
// sources answered but none had it; nothing when no source answered in a layout it knows.
std::optional<std::string> PublicDraw(const std::string& number);
