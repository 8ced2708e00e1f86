// Items 24 and 25: the longitude and latitude of a city, the distance between two.
#include <cmath>
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekmath.h"
#include "core/mekstr.h"
#include "geo/mekjwd.h"

// The input line as typed, untrimmed: a trailing blank finds nothing. The latitude is
// rounded to whole degrees, halves away from zero, right-aligned in two places.
void Item24CityPosition(TDispatcher& calc) {
  double longitude, latitude;
  if (!FindCity(calc.Edit1Text, longitude, latitude)) {
    ShowInfo("没有找到");
    return;
  }
  std::string degrees = FormatFixed(std::round(latitude), 0);
  if (degrees.size() < 2) degrees.insert(0, 2 - degrees.size(), ' ');
  calc.Edit1Text = "经度" + FormatFixed(longitude, 2) + "，纬度" + degrees;
}

// Two names split at the first blank, each trimmed; one name alone, an unknown name or
// the same city twice (distance 0) shows the message.
void Item25CityDistance(TDispatcher& calc) {
  const std::string text = TrimText(calc.Edit1Text);
  const size_t blank = text.find(' ');
  const std::string name1 = blank == std::string::npos ? "" : TrimText(text.substr(0, blank));
  const std::string name2 = blank == std::string::npos ? text : TrimText(text.substr(blank + 1));
  const double kilometres = CityDistance(name1, name2);
  if (kilometres > 0)
    calc.Edit1Text = FormatFixed(kilometres, 2) + "公里";
  else
    ShowInfo("没找到地名或输入不正确");
}
