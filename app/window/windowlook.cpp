#include "app/window/windowlook.h"

#include <algorithm>
#include <cmath>

namespace {

double Channel(int value) {
  const double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The keypad's regular grid at fractional scales: five columns, four rows.
constexpr int GridColumns[5] = {20, 84, 148, 232, 312};
constexpr int GridRows[4] = {4, 64, 124, 184};
constexpr int GridKeyWidth = 52, GridKeyHeight = 48;

}  // namespace

double RelativeLuminance(const QColor& c) {
  const QColor rgb = c.toRgb();
  return 0.2126 * Channel(rgb.red()) + 0.7152 * Channel(rgb.green()) + 0.0722 * Channel(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkBackground(const QColor& background) {
  // Darker than the middle grey at which black and white text contrast equally.
  return RelativeLuminance(background) < 0.18;
}

QColor ReadableShade(const QColor& fixed, const QColor& background, const QColor& face) {
  if (!IsDarkBackground(background)) return fixed;
  const auto readable = [&](const QColor& c) {
    return ContrastRatio(c, background) >= MinimumContrast && ContrastRatio(c, face) >= MinimumContrast;
  };
  // Mixed with white a little more each step: the hue stays, the shade lightens.
  const QColor from = fixed.toRgb();
  for (int step = 0; step <= 20; ++step) {
    const double t = step / 20.0;
    const QColor c(static_cast<int>(std::lround(from.red() + (255 - from.red()) * t)),
                   static_cast<int>(std::lround(from.green() + (255 - from.green()) * t)),
                   static_cast<int>(std::lround(from.blue() + (255 - from.blue()) * t)));
    if (readable(c)) return c;
  }
  return Qt::white;
}

bool IsWholeScale(double devicePixelRatio) {
  return std::fabs(devicePixelRatio - std::round(devicePixelRatio)) < 1e-6;
}

QRect KeyRect(int index, const QRect& atScaleOne, double devicePixelRatio) {
  if (IsWholeScale(devicePixelRatio)) return atScaleOne;
  // The keys' columns and rows as the layout has them: the digits and brackets in three
  // columns, the signs and the keys on the right in two.
  static constexpr int Column[20] = {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 3, 3, 3, 3, 4, 4, 4, 4};
  static constexpr int Row[20] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0, 1, 2, 3, 0, 1, 2, 3};
  return QRect(GridColumns[Column[index]], GridRows[Row[index]], GridKeyWidth, GridKeyHeight);
}

QRect PanelRect(const QRect& atScaleOne, double devicePixelRatio) {
  if (IsWholeScale(devicePixelRatio)) return atScaleOne;
  // Rounded outwards to multiples of 4 logical pixels.
  const int left = atScaleOne.left() / 4 * 4, top = atScaleOne.top() / 4 * 4;
  const int right = (atScaleOne.left() + atScaleOne.width() + 3) / 4 * 4;
  const int bottom = (atScaleOne.top() + atScaleOne.height() + 3) / 4 * 4;
  return QRect(left, top, right - left, bottom - top);
}
