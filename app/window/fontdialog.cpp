#include "app/window/fontdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QScrollArea>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/window/qtfont.h"
#include "core/codepage.h"

namespace {

struct FColorName {
  int32_t Value;  // 0x00BBGGRR
  const char* Name;
};

// The sixteen basic colours, as the platform's font dialog has always offered them.
const FColorName Colors[TFontDialog::ColorCount] = {
    {0x000000, "黑色"}, {0x000080, "褐红色"}, {0x008000, "绿色"}, {0x008080, "橄榄色"},
    {0x800000, "藏青色"}, {0x800080, "紫色"}, {0x808000, "深青色"}, {0x808080, "灰色"},
    {0xC0C0C0, "银色"}, {0x0000FF, "红色"}, {0x00FF00, "酸橙色"}, {0x00FFFF, "黄色"},
    {0xFF0000, "蓝色"}, {0xFF00FF, "紫红色"}, {0xFFFF00, "水绿色"}, {0xFFFFFF, "白色"},
};

const char* const Styles[] = {"常规", "倾斜", "粗体", "粗偏斜体"};
const int Sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

QPixmap Swatch(int32_t c) {
  QPixmap p(24, 12);
  p.fill(ToQColor(c));
  return p;
}

}  // namespace

TFontDialog::TFontDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("字体");
  auto* grid = new QGridLayout;
  FaceBox = new QComboBox;
  FaceBox->setObjectName("FaceBox");
  FaceBox->setEditable(true);
  FaceBox->addItem("宋体");
  for (const QString& family : QFontDatabase::families())
    if (family != "宋体") FaceBox->addItem(family);
  StyleBox = new QComboBox;
  StyleBox->setObjectName("StyleBox");
  for (const char* s : Styles) StyleBox->addItem(s);
  SizeBox = new QComboBox;
  SizeBox->setObjectName("SizeBox");
  SizeBox->setEditable(true);
  SizeBox->setValidator(new QIntValidator(FontMinSize, FontMaxSize, SizeBox));
  for (int s : Sizes) SizeBox->addItem(QString::number(s));
  const struct {
    const char* Text;
    QWidget* Buddy;
  } captions[] = {{"字体(&F):", FaceBox}, {"字形(&Y):", StyleBox}, {"大小(&S):", SizeBox}};
  for (int i = 0; i < 3; ++i) {
    auto* caption = new QLabel(captions[i].Text);
    caption->setBuddy(captions[i].Buddy);
    grid->addWidget(caption, 0, i);
  }
  grid->addWidget(FaceBox, 1, 0);
  grid->addWidget(StyleBox, 1, 1);
  grid->addWidget(SizeBox, 1, 2);

  auto* effects = new QGroupBox("效果");
  auto* effectsLayout = new QVBoxLayout(effects);
  StrikeOutBox = new QCheckBox("删除线(&K)");
  StrikeOutBox->setObjectName("StrikeOutBox");
  UnderlineBox = new QCheckBox("下划线(&U)");
  UnderlineBox->setObjectName("UnderlineBox");
  ColorBox = new QComboBox;
  ColorBox->setObjectName("ColorBox");
  for (const FColorName& c : Colors) ColorBox->addItem(Swatch(c.Value), c.Name, c.Value);
  effectsLayout->addWidget(StrikeOutBox);
  effectsLayout->addWidget(UnderlineBox);
  auto* colorCaption = new QLabel("颜色(&C):");
  colorCaption->setBuddy(ColorBox);
  effectsLayout->addWidget(colorCaption);
  effectsLayout->addWidget(ColorBox);
  grid->addWidget(effects, 2, 0);

  auto* sampleBox = new QGroupBox("示例");
  auto* sampleLayout = new QVBoxLayout(sampleBox);
  // The sample at the chosen size, whole: a size larger than the box scrolls in it
  // instead of being cut off.
  Sample = new QLabel("AaBbYyZz 中文字体");
  Sample->setAlignment(Qt::AlignCenter);
  SampleArea = new QScrollArea;
  SampleArea->setObjectName("SampleArea");
  SampleArea->setWidget(Sample);
  SampleArea->setWidgetResizable(true);
  SampleArea->setFrameShape(QFrame::NoFrame);
  SampleArea->setMinimumSize(220, 80);
  sampleLayout->addWidget(SampleArea);
  grid->addWidget(sampleBox, 2, 1, 1, 2);

  auto* buttons = new QDialogButtonBox;
  buttons->addButton("确定", QDialogButtonBox::AcceptRole);
  buttons->addButton("取消", QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, 3, 0, 1, 3);
  setLayout(grid);

  for (QComboBox* box : {FaceBox, StyleBox, SizeBox, ColorBox})
    connect(box, &QComboBox::currentTextChanged, this, &TFontDialog::UpdateSample);
  connect(StrikeOutBox, &QCheckBox::toggled, this, &TFontDialog::UpdateSample);
  connect(UnderlineBox, &QCheckBox::toggled, this, &TFontDialog::UpdateSample);
}

void TFontDialog::SetFont(const FFont& font) {
  base_ = font;
  FaceBox->setCurrentText(QString::fromStdString(GbkToUtf8(font.Name)));
  StyleBox->setCurrentIndex((font.Style & FontItalic ? 1 : 0) + (font.Style & FontBold ? 2 : 0));
  SizeBox->setCurrentText(QString::number(font.Size()));
  StrikeOutBox->setChecked(font.Style & FontStrikeOut);
  UnderlineBox->setChecked(font.Style & FontUnderline);
  // A system colour (window text) shows as black, which it is by default.
  const int at = ColorBox->findData(font.Color < 0 ? 0 : font.Color);
  if (at >= 0) {
    ColorBox->setCurrentIndex(at);
  } else {
    ColorBox->addItem(Swatch(font.Color), QString::asprintf("#%06X", font.Color), font.Color);
    ColorBox->setCurrentIndex(ColorBox->count() - 1);
  }
  UpdateSample();
}

FFont TFontDialog::Font() const {
  FFont f = base_;
  // A face left blank keeps the face the dialog was loaded with, or the default face when
  // that was blank too: a font text without a face name is refused when read back.
  const QString face = FaceBox->currentText();
  if (!face.trimmed().isEmpty()) f.Name = Utf8ToGbk(face.toStdString());
  else if (TrimText(f.Name).empty()) f.Name = DefaultFont().Name;
  bool ok = false;
  const int size = SizeBox->currentText().toInt(&ok);
  if (ok && size > 0) f.SetSize(size);
  const int style = StyleBox->currentIndex();
  f.Style = (style & 1 ? FontItalic : 0) | (style & 2 ? FontBold : 0) |
            (UnderlineBox->isChecked() ? FontUnderline : 0) |
            (StrikeOutBox->isChecked() ? FontStrikeOut : 0);
  const int32_t color = ColorBox->currentData().toInt();
  // Black stays the window-text colour when the font had it.
  f.Color = color == 0 && base_.Color < 0 ? base_.Color : color;
  return f;
}

void TFontDialog::UpdateSample() {
  const FFont f = Font();
  Sample->setFont(ToQFont(f));
  QPalette p = Sample->palette();
  p.setColor(QPalette::WindowText, f.Color < 0 ? palette().color(QPalette::WindowText)
                                               : ToQColor(f.Color));
  Sample->setPalette(p);
  // At least the box, or the text's own size when that is larger.
  Sample->setMinimumSize(Sample->sizeHint());
}
