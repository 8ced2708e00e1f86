// How the window looks where the desktop differs: colours that stay readable on a dark
// palette, and the keypad on whole device pixels at fractional scale factors.
#pragma once
#include <QColor>
#include <QRect>

// WCAG 2.x relative luminance (0 black .. 1 white) and contrast ratio (1 .. 21).
double RelativeLuminance(const QColor& c);
double ContrastRatio(const QColor& a, const QColor& b);

// The least contrast of text against its background that the window allows on a dark
// palette (WCAG 2.x, level AA for ordinary text).
inline constexpr double MinimumContrast = 4.5;

// Whether a palette whose window colour is background is a dark one.
bool IsDarkBackground(const QColor& background);

// The colour to draw fixed with, over both backgrounds: fixed itself on a light palette; on
// a dark one fixed lightened, keeping its hue, until it stands out from both by
// MinimumContrast.
QColor ReadableShade(const QColor& fixed, const QColor& background, const QColor& face);

// The place of keypad key index (0..19) inside the keypad panel, given its place at scale
// factor 1 (the layout the window has always had). At a fractional device pixel ratio the
// keys stand on a regular grid of whole device pixels instead (steps of 4 logical pixels,
// which 1.25 and 1.5 map to whole pixels), so that no border falls between two pixels.
QRect KeyRect(int index, const QRect& atScaleOne, double devicePixelRatio);
// The keypad panel likewise.
QRect PanelRect(const QRect& atScaleOne, double devicePixelRatio);
// Whether devicePixelRatio maps every logical pixel to a whole number of device pixels.
bool IsWholeScale(double devicePixelRatio);
