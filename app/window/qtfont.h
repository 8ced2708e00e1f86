// The font record of the input line (core/mekstr.h) in Qt's terms: the font the window and
// the font dialog's sample draw with, and the record's colours.
#pragma once
#include <QColor>
#include <QFont>
#include <cstdint>

#include "core/mekstr.h"

// The installed family that draws the face name: the name itself where a font has it, else
// the first of its substitutes that is installed (a Song face for "宋体" on a machine without
// it), else the name. Asking for the installed family at once spares Qt a search through
// fontconfig's fallbacks for every new size and script of a name no font has.
QString InstalledFamily(const QString& name);

// The Qt font of a font record: face, pixel size (16 when the record has none), style bits
// and fixed pitch. Colour and character set are not part of a QFont.
QFont ToQFont(const FFont& font);

// An RGB colour of a record (0x00BBGGRR). System colours (negative) have no RGB value.
QColor ToQColor(int32_t color);
