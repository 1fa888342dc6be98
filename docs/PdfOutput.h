#pragma once
// CTPdfOutput: the document writer that lays a document out on PDF pages,
// the same document CTRTFOutput hands to a word processor. Everything is
// placed in document pixels (96 per inch, QPdfWriter at that resolution),
// so table column widths and picture sizes of the model mean what they mean
// everywhere else. Text stays text (selectable, searchable) and pictures
// that draw on a painter stay vectors.
//
// The layout is a flow with a cursor going down the page:
//   - text runs (TextStyle) gather into the current paragraph, which is
//     broken into lines at blanks (a word wider than the line is broken
//     between characters) when the paragraph ends or something else comes;
//   - headings and titles are paragraphs of their slot's font, 16 px above,
//     4 px below; numbered ones count 1., 1.1., 1.1.1. as the RTF writer's
//     list levels do. A heading waits, with the headings and empty lines
//     after it, for what follows, and goes to the next page with it unless
//     both fit: the first line of text, a picture, or the rows that open a
//     table;
//   - a table goes row by row; a row that does not fit goes to the next
//     page, where the title rows are repeated first. A page never holds a
//     single row of a table (title rows aside): a table opens with two rows
//     or moves to the next page, a table of fewer than four rows moves
//     whole, and the last row goes over with the one before it;
//   - a picture is drawn at once, where it stands: text before it on its
//     line ends that line; without a new line after it, what follows stands
//     beside it (text on the baseline at its bottom).
// Every page gets the header and footer of the decorations as the RTF
// writer builds them: a row of three cells (left, centre, right) half an
// inch from the paper's edge, the header and footer lines, and the page
// number; a header or footer taller than its margin pushes the text away.
// The first output starts the first page: fonts set before it are the
// decorations' too. Fonts are measured, so a GUI application must exist.
//
// The document is built in memory and written to the device by Finish, so
// a device that fails is seen in one place: Ok() turns false and
// ErrorText() says why.

#include "docs/RTFOutput.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>

#include <array>
#include <map>
#include <memory>
#include <vector>

class QPdfWriter;

class CTPdfOutput : public CTDocOutput {
 public:
  // Page geometry in centimetres; a margin of 0 is the word processors'
  // default, as in the RTF writer. The stream must be open for writing; it
  // and the decorations (may be none) are not owned and must outlive the
  // writer.
  CTPdfOutput(QIODevice& stream, const QString& szApplName, double nPaperWCm, double nPaperHCm, double nMarginsCmL,
              double nMarginsCmR, double nMarginsCmT, double nMarginsCmB,
              const CTDecorationDefinition* pDecorationDef = nullptr);
  // Finishes the document when Finish was not called.
  ~CTPdfOutput() override;
  // Ends the document (the pending paragraph, the last page) and writes it
  // to the stream. Nothing more can be added afterwards; calling it again
  // does nothing.
  void Finish();
  // false when the stream is not open for writing or writing failed; the
  // writer then ignores whatever it is given.
  bool Ok() const { return v_error.isEmpty(); }
  QString ErrorText() const { return v_error; }

  void TextStyle(const QString& szStr, unsigned nStyles, TColor nColor, int nTabIndex) override;
  void TextWriteln() override;
  void TextCenter(const QString& szStr, unsigned nStyles, TColor nColor) override;
  void TextLeft(const QString& szStr, unsigned nStyles, TColor nColor) override;
  void TextRight(const QString& szStr, unsigned nStyles, TColor nColor) override;
  void NewPage() override;
  // Measures the table first when it has no column widths yet.
  void PutDocTable(CTDocTable& table) override;
  // nScale times the picture's pixels at 150 to the inch, as the RTF writer
  // sizes pictures, made smaller to fit the text width and height.
  void PutGraphic(double nScale, const CTDocGraphic& graphic, DocHorAlign align, bool bAddNewLine) override;
  void TextParagraph(FontSlot font, const QString& szStr, bool bNumbered) override;

 private:
  // A stretch of text in one font and colour; tabs come before the text.
  struct LTRun {
    QString text;
    QFont font;
    QColor color;
    int tabs = 0;
  };
  // A part of a run on a line; x from the paragraph's left edge.
  struct LTPiece {
    int run;
    QString text;
    double x, width;
  };
  // A laid-out line: its pieces, where its content starts and ends
  // (trailing blanks left out), and its extent above and below the
  // baseline (below: descent and leading).
  struct LTLine {
    std::vector<LTPiece> pieces;
    double start = 0, end = 0, ascent = 0, descent = 0;
    double Height() const { return ascent + descent; }
  };
  // A heading laid out, waiting to be placed with what follows it; or,
  // without runs, an empty line between it and that.
  struct LTKept {
    std::vector<LTRun> runs;
    std::vector<LTLine> lines;
    QString number;  // of a numbered heading, hanging at numberX
    double numberX = 0, textX = 0;
    double emptyLine = 0;  // the height of an empty line
  };
  // A cell of a table or of the decorations' row: a picture above lines of
  // text, each line of the model a paragraph of one run.
  struct LTCell {
    int column = 0;  // the table's, for its colours and borders
    double x = 0, width = 0, padLeft = 0, padRight = 0;
    DocHorAlign horAlign = DocHorAlign::kLeft;
    DocVerAlign verAlign = DocVerAlign::kTop;
    std::shared_ptr<const CTDocGraphic> picture;
    double pictureW = 0, pictureH = 0;
    std::vector<LTRun> runs;
    std::vector<LTLine> lines;
    double ContentHeight() const;
  };

  QFontMetricsF Metrics(const QFont& font) const;
  LTRun Run(const QString& szStr, const LTDocFont& font) const;
  // A paragraph's lines, broken at blanks to nWidth (a word wider than the
  // whole width between characters), the first line starting at nFirstX;
  // "\n" breaks a line. No text gives no line.
  std::vector<LTLine> LayOut(const std::vector<LTRun>& runs, double nWidth, double nFirstX) const;
  LTLine EmptyLine(const QFont& font) const;
  // The line with its left edge at nLeft, aligned in nWidth.
  void DrawLine(const LTLine& line, const std::vector<LTRun>& runs, double nLeft, double nWidth, double nTop,
                DocHorAlign align);
  // The cell's runs laid out to its width, each run a paragraph.
  void LayOutCell(LTCell& cell) const;
  // The cell's content in the box nTop..nTop + nHeight, aligned as it asks.
  void DrawCell(const LTCell& cell, double nTop, double nHeight, double nPadTop, double nPadBottom);
  std::vector<LTCell> TableRow(CTDocTable& table, int nRow, double& nHeight) const;
  // A row of the table at nTop, in the table's pixels scaled by nScale.
  void DrawTableRow(CTDocTable& table, int nRow, const std::vector<LTCell>& cells, double nHeight, double nTop,
                    double nScale);
  // Its borders (the bottom ones only: the next row covered half of them).
  void DrawTableBorders(CTDocTable& table, int nRow, const std::vector<LTCell>& cells, double nHeight, double nTop,
                        double nScale, bool bBottomOnly);
  // The decorations' zone from nTop, drawn when bDraw; its height.
  double Zone(bool bHeader, double nTop, bool bDraw);
  LTCell DecorationCell(const CTPageDecoration& decoration, double nX, double nWidth, int nIndex, bool bHeader);

  bool Active() const { return v_started && !v_finished && Ok(); }
  // The painter on the first page, when nothing was written yet.
  void EnsurePage();
  void NextPage();
  void StartPage();
  // Goes to the next page unless nHeight fits below the cursor or the page
  // holds nothing yet.
  void MakeRoom(double nHeight);
  // Places the waiting headings (none: only makes room) where nNext, the
  // height of what must stand right below them, fits with them.
  void PlaceKept(double nNext);
  // The height of the waiting headings from the cursor on.
  double KeptHeight() const;
  // The current line ends: the cursor goes below what it holds.
  void CloseLine();
  // The pending text is laid out and drawn, the last line closed; whether
  // there was a line to draw.
  bool FlushRuns();
  // The paragraph ends (one with nothing in it is an empty line).
  void EndParagraph();

  QIODevice& v_stream;
  const CTDecorationDefinition* v_decorationDef;
  QBuffer v_pdfBytes;  // the document until Finish writes it
  std::unique_ptr<QPdfWriter> v_writer;
  QPainter v_painter;
  QString v_error;
  bool v_started = false, v_finished = false;
  int v_pageNumber = 0;
  std::map<QString, QImage> v_logoFiles;  // read once, so that every page shares the picture
  // Page geometry in px from the paper's top-left corner; the text runs
  // from v_left to v_right.
  double v_paperW, v_paperH, v_left, v_right, v_marginTop, v_marginBottom;
  double v_bodyTop = 0, v_bodyBottom = 0;  // this page's, between header and footer
  // The flow: the top of the current line, where the line's next item goes
  // (v_left when it holds nothing) and the height of what it holds.
  double v_y = 0, v_lineX = 0, v_lineHeight = 0;
  std::vector<LTRun> v_runs;  // the current paragraph's text not drawn yet
  std::vector<LTKept> v_kept;  // headings (and empty lines) that wait for what follows
  DocHorAlign v_align = DocHorAlign::kLeft;
  std::array<int, 9> v_headingCounters{};  // numbered headings per list level
};
