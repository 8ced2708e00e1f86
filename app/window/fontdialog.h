// The font dialog of the "T" button: face, style, size, strike-out, underline and
// colour, with a sample. Works on the window's font record.
#pragma once
#include <QDialog>

#include "core/mekstr.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;

class TFontDialog : public QDialog {
  Q_OBJECT

public:
  explicit TFontDialog(QWidget* parent = nullptr);

  // Loads the dialog from a font record; Font() gives the record as chosen, the fields
  // the dialog does not show (pixels per inch, pitch, character set) kept, and never
  // without a face name (a blank face keeps the loaded one, or the default face).
  void SetFont(const FFont& font);
  FFont Font() const;

  // The colours offered, as 0x00BBGGRR, with their names.
  static const int ColorCount = 16;

  QComboBox* FaceBox;
  QComboBox* StyleBox;
  QComboBox* SizeBox;
  QCheckBox* StrikeOutBox;
  QCheckBox* UnderlineBox;
  QComboBox* ColorBox;
  QLabel* Sample;
  QScrollArea* SampleArea;

private:
  void UpdateSample();
  FFont base_;
};
