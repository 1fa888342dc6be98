#pragma once
// Documents as Rich Text Format: an abstract writer (CTDocOutput) with styled
// text, headings, titles, document tables and pictures, and its RTF
// implementation (CTRTFOutput), which streams to any byte device. Pictures
// are embedded as enhanced metafiles; documents are laid out at 96 ppi
// whatever the screen.

#include "charts/DrawSurface.h"
#include "docs/DocTable.h"
#include "docs/PageDecorations.h"

#include <QIODevice>
#include <QTextDocument>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

// A font of the writer: family, size in points, styles and colour.
struct LTDocFont {
  QString name = QStringLiteral("Arial");
  double size = 10;
  unsigned styles = 0;  // DocStyle bits
  TColor color = DrawColors::kWindowText;
};

// A picture drawn from an image, embedded as a metafile holding the bitmap.
class CTDocImagePicture : public CTDocGraphic {
 public:
  explicit CTDocImagePicture(QImage image) : v_image(std::move(image)) {}
  int Width() const override { return v_image.width(); }
  int Height() const override { return v_image.height(); }
  QByteArray Emf() const override;
  void Paint(QPainter& painter, const QRectF& target) const override;

 private:
  QImage v_image;
};

// A picture drawn by a function on any surface: the metafile records the
// drawing, a painter gets it as vectors. The function draws in pixels of a
// Width() x Height() picture and may be called more than once.
class CTDocDrawnPicture : public CTDocGraphic {
 public:
  using Drawing = std::function<void(IDrawSurface&)>;
  CTDocDrawnPicture(int nWidth, int nHeight, Drawing draw) : v_w(nWidth), v_h(nHeight), v_draw(std::move(draw)) {}
  int Width() const override { return v_w; }
  int Height() const override { return v_h; }
  QByteArray Emf() const override;
  void Paint(QPainter& painter, const QRectF& target) const override;

 private:
  int v_w, v_h;
  Drawing v_draw;
};

// A picture that is a metafile already (a chart drawn on the EMF surface).
class CTDocEmfPicture : public CTDocGraphic {
 public:
  CTDocEmfPicture(QByteArray emf, int nWidth, int nHeight) : v_emf(std::move(emf)), v_w(nWidth), v_h(nHeight) {}
  int Width() const override { return v_w; }
  int Height() const override { return v_h; }
  QByteArray Emf() const override { return v_emf; }
  // Nothing to draw with: the bytes are for the RTF writer only.
  void Paint(QPainter&, const QRectF&) const override {}

 private:
  QByteArray v_emf;
  int v_w, v_h;
};

class CTDocOutput {
 public:
  enum FontSlot { kNormal = 0, kHeading0, kHeading1, kHeading2, kHeading3, kHeading4, kTitle, kSubTitle, kFontCount };

  explicit CTDocOutput(const QString& szApplName);
  virtual ~CTDocOutput() = default;

  void SetFontCharacteristics(FontSlot slot, const LTDocFont& font);
  LTDocFont GetFontCharacteristics(FontSlot slot) const { return v_fonts[slot]; }
  // The font's number in the font table; a new name is added.
  int AddFontName(const QString& szName);

  void TextWrite(const QString& szStr) { TextStyle(szStr, 0, DrawColors::kWindowText, 0); }
  virtual void TextStyle(const QString& szStr, unsigned nStyles, TColor nColor, int nTabIndex) = 0;
  virtual void TextWriteln() = 0;
  virtual void TextCenter(const QString& szStr, unsigned nStyles, TColor nColor) = 0;
  virtual void TextLeft(const QString& szStr, unsigned nStyles, TColor nColor) = 0;
  virtual void TextRight(const QString& szStr, unsigned nStyles, TColor nColor) = 0;
  virtual void NewPage() = 0;
  void TextHeading(int nLevel, const QString& szStr, bool bIndexEntry) {
    TextParagraph(static_cast<FontSlot>(kHeading0 + std::clamp(nLevel, 0, 4)), szStr, bIndexEntry);
  }
  void TextTitle(const QString& szStr) { TextParagraph(kTitle, szStr, false); }
  // Word wrap at nMaxPixelWidth for the font (measured at 96 ppi): a line
  // that is full ends with a blank and CR LF; a word wider than the whole
  // width stays whole on its own line.
  static QString SplitStringInLines(const QString& szStr, const LTDocFont& font, int nMaxPixelWidth);
  void TextSubTitle(const QString& szStr) { TextParagraph(kSubTitle, szStr, false); }
  virtual void PutDocTable(CTDocTable& table) = 0;
  // Rich text of a text view, paragraph by paragraph: a paragraph of one
  // format is written aligned as it is (bulleted ones with a bullet and a
  // tab), one of mixed formats run by run. The normal font becomes font.
  void PutRichText(const QTextDocument& doc, const LTDocFont& font);
  virtual void PutGraphic(double nScale, const CTDocGraphic& graphic, DocHorAlign align, bool bAddNewLine) = 0;
  virtual void TextParagraph(FontSlot font, const QString& szStr, bool bNumbered) = 0;

 protected:
  QString v_applName;
  std::array<LTDocFont, kFontCount> v_fonts;
  QStringList v_fontNames;
};

class CTRTFOutput : public CTDocOutput {
 public:
  // Page geometry in centimetres. The stream and the decorations (may be
  // none) are not owned.
  CTRTFOutput(QIODevice& stream, const QString& szApplName, double nPaperWCm, double nPaperHCm, double nMarginsCmL,
              double nMarginsCmR, double nMarginsCmT, double nMarginsCmB,
              const CTDecorationDefinition* pDecorationDef = nullptr);
  // Ends the document: the header if nothing was written yet, then "}".
  ~CTRTFOutput() override;
  // Ends the document now (the destructor then writes nothing more).
  void Finish();

  static void SetWord2000Compatible(bool b);
  // The language of the document (a Windows language identifier).
  static void SetLanguageID(int nLanguageID);
  // The colour's index in the colour table, which grows for a new colour.
  static int AddColor(TColor nColor);
  // The index of a colour, 0 (automatic) when it is not in the table.
  static int ColorIndex(TColor nColor);
  // Document text as RTF: \par for line feeds, \uN for anything outside
  // the single bytes and for the three special characters.
  static QByteArray Escaped(const QString& szStr);

  void TextStyle(const QString& szStr, unsigned nStyles, TColor nColor, int nTabIndex) override;
  void TextWriteln() override;
  void TextCenter(const QString& szStr, unsigned nStyles, TColor nColor) override;
  void TextLeft(const QString& szStr, unsigned nStyles, TColor nColor) override;
  void TextRight(const QString& szStr, unsigned nStyles, TColor nColor) override;
  void NewPage() override;
  void PutDocTable(CTDocTable& table) override;
  void PutGraphic(double nScale, const CTDocGraphic& graphic, DocHorAlign align, bool bAddNewLine) override;
  void TextParagraph(FontSlot font, const QString& szStr, bool bNumbered) override;

 private:
  void EnsureHeader();
  void WriteZone(bool bHeader);
  void WriteDecoration(const CTPageDecoration& decoration);
  // A paragraph of its own alignment ("\qc " or "\qr "), back to left after it.
  void AlignedParagraph(const char* szAlign, const QString& szStr, unsigned nStyles, TColor nColor);
  void Write(const QByteArray& bytes);
  void Line(const QByteArray& bytes);  // the bytes and CR LF
  QByteArray FontAttributes(const LTDocFont& font);
  QByteArray StyleDefinition(FontSlot slot, bool bNumbered);

  QIODevice& v_stream;
  bool v_haveText = false;
  bool v_initialized = false;
  bool v_finished = false;
  int v_paperW, v_paperH, v_marginL, v_marginR, v_marginT, v_marginB;  // twips
  const CTDecorationDefinition* v_decorationDef;
};
