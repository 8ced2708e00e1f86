// Item 27 from Open-Meteo (no key; data CC BY 4.0): the city's coordinates from the
// geocoding service, then the current weather and today's temperatures there. Only the
// city name leaves the machine. Addresses: the service keys geocoding and forecast.
#pragma once
#include <string>

// The item's failure text.
extern const char* const WeatherFailure;

// The Chinese name of a WMO weather code as Open-Meteo reports it; "未知天气" for a code
// without one.
const char* WeatherCodeName(long code);

// "{name}：{weather}，现在{t}℃，今天{min}℃~{max}℃" for city (GBK, trimmed first), the
// temperatures rounded half away from zero to whole degrees; WeatherFailure when the
// city is empty, either service is not configured or does not answer with status 200, or
// an answer is not JSON of the documented shape and types (no result counts as none).
std::string OpenMeteoWeather(const std::string& city);
