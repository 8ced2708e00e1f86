// The "3D" lottery's draw results (item 35): the draw-history page of the configured
// lottery data site, cut into one line per draw.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One text per draw, in page order: the draw line without its "--" marks, the text ten
// lines further down and the line after the draw line without blanks, joined by "|".
using FDrawList = std::vector<std::string>;

// Cuts page (HTML, every table cell ending a line) into list, emptying it first. Nothing
// counts before the first line holding "开奖日期"; after it every line holding "--"
// starts a draw, and a draw line with fewer than eleven lines after it ends the cut.
// True when at least one draw was found.
bool ReadLotteryDraws(const std::string& page, FDrawList& list);
// The same cut, each draw handed to take as it is found, until take returns false: a page
// is scanned without a list or a copy of its lines.
void ForEachLotteryDraw(const std::string& page, const std::function<bool(const std::string&)>& take);

// ReadLotteryDraws on the page "/sd/history/inc/history.php" of the service "lottery";
// an empty list (false) when no site is configured or the page cannot be fetched.
bool FetchLotteryDraws(FDrawList& list);

// The first draw line of a freshly fetched page that contains drawNumber (exact bytes,
// anywhere in the line), or the empty text; an empty drawNumber finds nothing without a
// fetch. The scan stops at that draw. Nothing when the page could not be had (no site
// configured, no answer).
std::optional<std::string> FindLotteryDraw(const std::string& drawNumber);
