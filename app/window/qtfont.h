// The font record of the input line (core/mekstr.h) in Qt's terms: the font the window and
// the font dialog's sample draw with, and the record's colours.
#pragma once
#include <QColor>
#include <QFont>
#include <cstdint>

#include "core/mekstr.h"

// The Qt font of a font record: face, pixel size (16 when the record has none), style bits
// and fixed pitch. Colour and character set are not part of a QFont.
QFont ToQFont(const FFont& font);

// An RGB colour of a record (0x00BBGGRR). System colours (negative) have no RGB value.
QColor ToQColor(int32_t color);
