// JSON as the network items read it from answers and data files: nlohmann::json, with the
// nesting bounded before parsing, since an answer of a few megabytes of "[" would
// otherwise build a tree hundreds of megabytes large.
#pragma once
#include <nlohmann/json.hpp>

#include <string_view>

// Deeper than this, a text is no answer.
inline constexpr int MaxJsonDepth = 64;

// The JSON value of text; a discarded value (is_discarded) when text is not JSON or nests
// arrays and objects deeper than MaxJsonDepth.
nlohmann::json ParseAnswerJson(std::string_view text);
