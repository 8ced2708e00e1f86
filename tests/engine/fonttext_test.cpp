// The font text: encoding a font record and applying a text back to one.
#include <gtest/gtest.h>

#include "core/mekerror.h"
#include "core/mekstr.h"

namespace {

// StringToFont refuses text with "字体格式有误" (not a conversion error).
void ExpectFormatError(const std::string& text, FFont& f) {
  try {
    StringToFont(text, f);
    ADD_FAILURE() << text;
  } catch (const EConvertError&) {
    ADD_FAILURE() << "conversion error for " << text;
  } catch (const EMekError& e) {
    EXPECT_STREQ(e.what(), "字体格式有误");
  }
}

}  // namespace

TEST(FontText, DefaultFontEncodesAsStored) {
  EXPECT_EQ(FontToString(DefaultFont()), "80000008FFFFFFF0000C006008600004宋体");
}

TEST(FontText, BoldItalicRedHeiti) {
  FFont f = DefaultFont();
  f.Color = 0x000000FF;
  f.SetSize(14);
  EXPECT_EQ(f.Height, -19);
  f.Style = FontBold | FontItalic;
  f.Name = "黑体";
  EXPECT_EQ(FontToString(f), "000000FFFFFFFFED000E006008630004黑体");
}

TEST(FontText, RoundTripsThroughText) {
  struct Case {
    int32_t color, size, ppi, pitch, charset, style;
    const char* name;
  } cases[] = {
      {int32_t(0x80000008), 12, 96, 0, 134, 0, "宋体"},
      {0x00FF0000, 9, 96, 2, 0, 15, "DejaVu Sans Mono"},
      {0x00123456, 72, 120, 1, 255, 4, "楷体_GB2312"},
  };
  for (const Case& c : cases) {
    FFont f;
    f.Color = c.color;
    f.PixelsPerInch = c.ppi;
    f.SetSize(c.size);
    f.Pitch = c.pitch;
    f.Charset = c.charset;
    f.Style = c.style;
    f.Name = c.name;
    FFont g;  // starts at 96 pixels per inch, as the window's font does
    g.PixelsPerInch = c.ppi;
    StringToFont(FontToString(f), g);
    EXPECT_EQ(g.Color, f.Color) << c.name;
    EXPECT_EQ(g.Height, f.Height) << c.name;
    EXPECT_EQ(g.Size(), c.size) << c.name;
    EXPECT_EQ(g.Pitch, c.pitch);
    EXPECT_EQ(g.Charset, c.charset);
    EXPECT_EQ(g.Style, c.style);
    EXPECT_EQ(g.Name, c.name);
  }
}

TEST(FontText, DefaultTextGivesSixteenPixelSongti) {
  FFont f;
  f.Name = "x";
  StringToFont("80000008FFFFFFF0000C006008600004宋体", f);
  EXPECT_EQ(f.Height, -16);
  EXPECT_EQ(f.PixelsPerInch, 96);
  EXPECT_EQ(f.Charset, 134);
  EXPECT_EQ(f.Name, "宋体");
}

TEST(FontText, SizeIsAppliedAtTheCurrentResolutionBeforeTheStoredOne) {
  // Height field says -100, size 12 points; the record is at 72 pixels per inch when the
  // size is applied, so the height becomes -12; the stored 96 is then a plain field.
  FFont f;
  f.PixelsPerInch = 72;
  StringToFont("80000008FFFFFF9C000C006008600001A", f);
  EXPECT_EQ(f.Height, -12);
  EXPECT_EQ(f.PixelsPerInch, 96);
}

TEST(FontText, ShortTextsAreRefused) {
  for (const std::string& text : {std::string("8"), std::string(32, '0'),
                                 std::string("80000008FFFFFFF0000C006008600004")}) {
    FFont f = DefaultFont();
    ExpectFormatError(text, f);
    EXPECT_EQ(FontToString(f), FontToString(DefaultFont())) << "nothing applied";
  }
}

TEST(FontText, BadFieldLeavesEarlierFieldsApplied) {
  FFont f = DefaultFont();
  // Colour and height read; the size field "00G0" is not hexadecimal.
  EXPECT_THROW(StringToFont("000000FFFFFFFFEC00G0006008600004黑体", f), EConvertError);
  EXPECT_EQ(f.Color, 0xFF);
  EXPECT_EQ(f.Height, -20);
  EXPECT_EQ(f.Name, "宋体");
  // A sign or a blank is no hexadecimal digit either.
  FFont g = DefaultFont();
  EXPECT_THROW(StringToFont("-0000001FFFFFFF0000C006008600004宋体", g), EConvertError);
  EXPECT_THROW(StringToFont(" 0000001FFFFFFF0000C006008600004宋体", g), EConvertError);
}

TEST(FontText, NameLengthBeyondTheTextTakesTheRest) {
  FFont f = DefaultFont();
  StringToFont("80000008FFFFFFF0000C0060086000FF宋体", f);
  EXPECT_EQ(f.Name, "宋体");
  StringToFont("80000008FFFFFFF0000C006008600002宋体", f);
  EXPECT_EQ(f.Name, "宋");
  StringToFont("80000008FFFFFFF0000C006008600000宋体", f);
  EXPECT_EQ(f.Name, "");
}

// A size or resolution outside what the font dialog produces is a damaged text: refused
// whole, nothing applied. Within the limits the fields after the size keep their places.
TEST(FontText, SizeOrResolutionBeyondTheDialogIsRefused) {
  struct Case {
    const char* Size;
    const char* Ppi;
    bool Accepted;
  } cases[] = {
      {"0666", "0060", true},   // 1638 points, the dialog's largest, at 96 pixels per inch
      {"0001", "0048", true},   // 1 point at 72 pixels per inch
      {"000C", "01E0", true},   // 12 points at 480 pixels per inch
      {"FFFF", "0060", false},  // an 87,380-pixel font
      {"0667", "0060", false},
      {"0000", "0060", false},
      {"000C", "FFFF", false},  // size 12 as a 10,923-pixel font once stored again
      {"000C", "0000", false},  // stored again as size 1
      {"000C", "0047", false},
      {"000C", "01E1", false},
  };
  for (const Case& c : cases) {
    const std::string text =
        std::string("000000FFFFFFFFF0") + c.Size + c.Ppi + "0" "86" "0" "0004宋体";
    FFont f = DefaultFont();
    if (c.Accepted) {
      StringToFont(text, f);
      EXPECT_EQ(FontToString(f).substr(20), text.substr(20)) << text;
      continue;
    }
    ExpectFormatError(text, f);
    EXPECT_EQ(f.Color, WindowTextColor) << text;
  }
}
