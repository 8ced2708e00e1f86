#include "app/window/qtfont.h"

#include <QFontDatabase>
#include <QString>

#include "core/codepage.h"

QString InstalledFamily(const QString& name) {
  if (QFontDatabase::hasFamily(name)) return name;
  const QStringList substitutes = QFont::substitutes(name);  // kept in lower case by Qt
  if (substitutes.isEmpty()) return name;
  const QStringList installed = QFontDatabase::families();
  for (const QString& substitute : substitutes)
    for (const QString& family : installed)
      if (family.compare(substitute, Qt::CaseInsensitive) == 0) return family;
  return name;
}

QFont ToQFont(const FFont& f) {
  QFont q(InstalledFamily(QString::fromStdString(GbkToUtf8(f.Name))));
  // A positive height is the cell height; without the leading the glyphs are a little
  // smaller, which a pixel size cannot tell apart: both map to the pixel size.
  const int px = f.Height < 0 ? -f.Height : f.Height;
  q.setPixelSize(px > 0 ? px : 16);
  q.setBold(f.Style & FontBold);
  q.setItalic(f.Style & FontItalic);
  q.setUnderline(f.Style & FontUnderline);
  q.setStrikeOut(f.Style & FontStrikeOut);
  if (f.Pitch == 2) {
    q.setFixedPitch(true);
    q.setStyleHint(QFont::TypeWriter);
  }
  return q;
}

QColor ToQColor(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
