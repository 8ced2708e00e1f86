// Everyday calculators for personal use. All texts are GBK.
#pragma once
#include <cstdint>
#include <string>

// ---- Name relationship (an entertainment feature) ----

// The relationship between two people, named by the difference between the stroke sums
// of their names: "亲密无比" for equal sums, up to "恨你又爱你" for a difference of 25,
// "未知关系" beyond. Every character of a name counts its HanziStrokeCount (-1 outside
// the stroke table, 0 for a radical form). The order of the two names does not matter.
std::string NameRelationship(const std::string& first, const std::string& second);

// ---- Health calculators ----
// The factors 0.9, 15.2 and 14.6 are exact decimals: the results are those of exact
// decimal arithmetic rounded to the nearest integer, halves to the even one.

// Standard body weights in kilograms for a height in centimetres: man (height - 100) x 0.9,
// woman 2.5 less. Both are set to 0 first; false, with both 0, outside 101..194.
bool StandardWeight(int32_t height, int32_t& man, int32_t& woman);
// Kilocalories in grams of a food: the last row of the food table holding name + "|"
// decides (苹果 finds 红富士苹果), energy x grams / 100 truncated toward zero; 0 for a
// name no row holds. Raises EConvertError when the result lies outside the signed 32-bit
// range.
int32_t FoodEnergy(const std::string& name, int32_t grams);
// Whether a row of the food table holds name as above (an empty name never).
bool IsFood(const std::string& name);
// Daily energy need in kilocalories for a body weight in kilograms: weight x 15.2 + 680
// for a man, weight x 14.6 + 450 for a woman. Raises EConvertError when the result lies
// outside the signed 32-bit range (the item passes only weights of 11..149).
int32_t DailyEnergy(int32_t weight, bool isMan);
