// Everyday calculators for personal use. All texts are GBK.
#pragma once
#include <string>

// ---- Name relationship (an entertainment feature) ----

// The relationship between two people, named by the difference between the stroke sums
// of their names: "亲密无比" for equal sums, up to "恨你又爱你" for a difference of 25,
// "未知关系" beyond. Every character of a name counts its HanziStrokeCount (-1 outside
// the stroke table, 0 for a radical form). The order of the two names does not matter.
std::string NameRelationship(const std::string& first, const std::string& second);
