#include "net/mekjsonanswer.h"

namespace {

// The deepest nesting of arrays and objects in text, brackets inside strings not counted;
// stops counting once limit is passed.
int NestingDepth(std::string_view text, int limit) {
  int depth = 0, deepest = 0;
  bool inString = false, escaped = false;
  for (const char c : text) {
    if (inString) {
      if (escaped) escaped = false;
      else if (c == '\\') escaped = true;
      else if (c == '"') inString = false;
      continue;
    }
    if (c == '"') inString = true;
    else if (c == '[' || c == '{') {
      if (++depth > deepest && (deepest = depth) > limit) return deepest;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

}  // namespace

nlohmann::json ParseAnswerJson(std::string_view text) {
  if (NestingDepth(text, MaxJsonDepth) > MaxJsonDepth)
    return nlohmann::json(nlohmann::json::value_t::discarded);
  return nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
}
