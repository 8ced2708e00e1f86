// The weather through Open-Meteo's geocoding and forecast services, JSON read with
// nlohmann::json.
#include "net/mekweather.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <optional>

#include "core/codepage.h"
#include "core/mekstr.h"
#include "net/mekhtml.h"
#include "net/mekjsonanswer.h"
#include "net/mekservices.h"

using nlohmann::json;

const char* const WeatherFailure = "俺挖空心思算不出，能上网不？城市名对不？";

namespace {

// The JSON of a 200 answer at address; discarded (is_discarded) for anything else.
json FetchJson(const std::string& address) {
  const FHttpAnswer answer = FetchHttp({address, {"Accept: application/json"}, {}});
  if (!answer.Received || answer.Status != 200) return json(json::value_t::discarded);
  return ParseAnswerJson(answer.Body);
}

// The number at key of object j, when there is one.
std::optional<double> NumberAt(const json& j, const char* key) {
  if (!j.is_object()) return std::nullopt;
  const auto it = j.find(key);
  if (it == j.end() || !it->is_number()) return std::nullopt;
  return it->get<double>();
}

// The first number of the array at key of object j.
std::optional<double> FirstNumberAt(const json& j, const char* key) {
  if (!j.is_object()) return std::nullopt;
  const auto it = j.find(key);
  if (it == j.end() || !it->is_array() || it->empty() || !(*it)[0].is_number()) return std::nullopt;
  return (*it)[0].get<double>();
}

// Air temperatures stay within these on Earth (the records are -89.2 and 56.7 ℃); a value
// beyond them is no measurement.
constexpr double LowestDegrees = -100, HighestDegrees = 100;

// Whole degrees, halves away from zero; nothing for a value no thermometer shows.
std::optional<std::string> Degrees(std::optional<double> value) {
  if (!value || !std::isfinite(*value) || *value < LowestDegrees || *value > HighestDegrees)
    return std::nullopt;
  return std::to_string(static_cast<long long>(std::round(*value)));
}

}  // namespace

const char* WeatherCodeName(long code) {
  static const struct {
    long Code;
    const char* Name;
  } Names[] = {
      {0, "晴"},        {1, "晴间多云"},   {2, "多云"},     {3, "阴"},
      {45, "雾"},       {48, "雾凇"},      {51, "小毛毛雨"}, {53, "毛毛雨"},
      {55, "大毛毛雨"}, {56, "冻毛毛雨"},  {57, "强冻毛毛雨"}, {61, "小雨"},
      {63, "中雨"},     {65, "大雨"},      {66, "冻雨"},     {67, "强冻雨"},
      {71, "小雪"},     {73, "中雪"},      {75, "大雪"},     {77, "米雪"},
      {80, "小阵雨"},   {81, "阵雨"},      {82, "强阵雨"},   {85, "小阵雪"},
      {86, "强阵雪"},   {95, "雷阵雨"},    {96, "雷阵雨伴小冰雹"}, {99, "雷阵雨伴大冰雹"},
  };
  for (const auto& n : Names)
    if (n.Code == code) return n.Name;
  return "未知天气";
}

std::string OpenMeteoWeather(const std::string& city) {
  const std::string name = TrimText(city);
  const std::string geocoding = ServiceAddress("geocoding"), forecast = ServiceAddress("forecast");
  if (name.empty() || geocoding.empty() || forecast.empty()) return WeatherFailure;

  const json places = FetchJson(geocoding + "?name=" + UrlEncodeQueryValue(GbkToUtf8(name)) +
                                "&count=1&language=zh&format=json");
  if (!places.is_object() || !places.contains("results") || !places["results"].is_array() ||
      places["results"].empty())
    return WeatherFailure;
  const json& place = places["results"][0];
  if (!place.is_object() || !place.contains("name") || !place["name"].is_string() ||
      !NumberAt(place, "latitude") || !NumberAt(place, "longitude"))
    return WeatherFailure;

  // The coordinates as the geocoding answer wrote them (the shortest form that reads back
  // as the same number).
  const json weather = FetchJson(forecast + "?latitude=" + place["latitude"].dump() +
                                 "&longitude=" + place["longitude"].dump() +
                                 "&current=temperature_2m,weather_code"
                                 "&daily=temperature_2m_max,temperature_2m_min"
                                 "&timezone=auto&forecast_days=1");
  if (!weather.is_object() || !weather.contains("current") || !weather.contains("daily"))
    return WeatherFailure;
  const std::optional<std::string> now = Degrees(NumberAt(weather["current"], "temperature_2m"));
  const std::optional<std::string> low = Degrees(FirstNumberAt(weather["daily"], "temperature_2m_min"));
  const std::optional<std::string> high = Degrees(FirstNumberAt(weather["daily"], "temperature_2m_max"));
  const std::optional<double> code = NumberAt(weather["current"], "weather_code");
  if (!now || !low || !high || !code || *code != std::floor(*code) || std::fabs(*code) > 1e6)
    return WeatherFailure;
  return Utf8ToGbk(place["name"].get<std::string>()) + "：" + WeatherCodeName(static_cast<long>(*code)) +
         "，现在" + *now + "℃，今天" + *low + "℃~" + *high + "℃";
}
