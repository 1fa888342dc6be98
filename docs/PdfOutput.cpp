#include "docs/PdfOutput.h"

#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"

#include <QFileDevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPxPerCm = kDocumentDpi / 2.54;
constexpr double kPxPerTwip = kDocumentDpi / 1440.0;
// Lengths the RTF writer states in twips, or that word processors take
// when it states none, so that both documents look alike.
constexpr double kDefaultMarginLeftRight = 1797 * kPxPerTwip;
constexpr double kDefaultMarginTopBottom = 1440 * kPxPerTwip;
constexpr double kDecorationDistance = 720 * kPxPerTwip;  // header and footer from the paper's edge
constexpr double kTabStep = 283 * kPxPerTwip;
constexpr double kHeadingSpaceBefore = 240 * kPxPerTwip, kHeadingSpaceAfter = 60 * kPxPerTwip;
constexpr double kCellPadLeft = 20 * kPxPerTwip, kCellPadRight = 20 * kPxPerTwip,
                 kCellPadRightAligned = 40 * kPxPerTwip, kCellPadTop = 40 * kPxPerTwip,
                 kCellPadBottom = 10 * kPxPerTwip;
// The RTF writer asks for a row's height less this (its padding).
constexpr double kRowHeightAllowance = 50 * kPxPerTwip;
constexpr double kBorderWidth = 10 * kPxPerTwip;
constexpr double kDecorationRowHeight = 200 * kPxPerTwip;
constexpr double kDecorationPad = 20 * kPxPerTwip;
// Pictures come out as large as the RTF writer makes them: 150 of their
// pixels to the inch, 96/150 of their size at the document's 96 ppi.
constexpr double kPictureScale = 96.0 / 150.0;
constexpr double kLogoScale = 0.4 * kPictureScale;
// Below this, two lengths in px are the same (rounding of sums).
constexpr double kSlack = 0.01;

// The list levels of numbered headings, in twips as the RTF writer's list
// table has them: the number's hanging indent, the text's indent and the
// list's tab stop.
struct LTListLevel {
  int firstIndent, leftIndent, tab;
};
constexpr LTListLevel kListLevels[9] = {{-360, 360, 360},    {-432, 792, 1080},   {-504, 1224, 1800},
                                        {-648, 1728, 2160},  {-792, 2232, 2880},  {-936, 2736, 3600},
                                        {-1080, 3240, 4320}, {-1224, 3744, 4680}, {-1440, 4320, 5400}};

QColor ToQColor(TColor nColor) {
  const TColor rgb = DrawColors::Resolve(nColor);
  return QColor(DrawColors::Red(rgb), DrawColors::Green(rgb), DrawColors::Blue(rgb));
}

// The next default tab stop right of x.
double NextTab(double x) { return (std::floor(x / kTabStep + kSlack) + 1) * kTabStep; }

// The heading style's own tab stop (twips), 0 for none.
int StyleTab(CTDocOutput::FontSlot slot) {
  if (slot >= CTDocOutput::kHeading0 && slot <= CTDocOutput::kHeading2) return 567;
  if (slot == CTDocOutput::kHeading3) return 851;
  if (slot == CTDocOutput::kHeading4) return 1134;
  return 0;
}

double Offset(DocHorAlign align, double nFree) {
  if (nFree <= 0) return 0;
  if (align == DocHorAlign::kRight) return nFree;
  if (align == DocHorAlign::kCentre) return nFree / 2;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------- life

CTPdfOutput::CTPdfOutput(QIODevice& stream, const QString& szApplName, double nPaperWCm, double nPaperHCm,
                         double nMarginsCmL, double nMarginsCmR, double nMarginsCmT, double nMarginsCmB,
                         const CTDecorationDefinition* pDecorationDef)
    : CTDocOutput(szApplName), v_stream(stream), v_decorationDef(pDecorationDef) {
  const auto margin = [](double nCm, double nDefault) { return nCm > 0 ? nCm * kPxPerCm : nDefault; };
  v_paperW = nPaperWCm * kPxPerCm;
  v_paperH = nPaperHCm * kPxPerCm;
  v_left = margin(nMarginsCmL, kDefaultMarginLeftRight);
  v_right = v_paperW - margin(nMarginsCmR, kDefaultMarginLeftRight);
  v_marginTop = margin(nMarginsCmT, kDefaultMarginTopBottom);
  v_marginBottom = margin(nMarginsCmB, kDefaultMarginTopBottom);
  if (!stream.isWritable())
    v_error = QStringLiteral("The PDF document cannot be written: its file is not open for writing.");
}

CTPdfOutput::~CTPdfOutput() { Finish(); }

void CTPdfOutput::EnsurePage() {
  if (v_started || v_finished || !Ok()) return;
  v_started = true;
  v_pdfBytes.open(QIODevice::WriteOnly);
  v_writer = std::make_unique<QPdfWriter>(&v_pdfBytes);
  v_writer->setTitle(v_applName);
  v_writer->setCreator(v_applName);
  v_writer->setResolution(kDocumentDpi);
  // The paper as a portrait size (A4 is recognised as such) turned for a
  // landscape page; the margins are ours, headers and footers lie in them.
  const bool landscape = v_paperW > v_paperH;
  const QSizeF portraitMm(std::min(v_paperW, v_paperH) / kPxPerCm * 10, std::max(v_paperW, v_paperH) / kPxPerCm * 10);
  v_writer->setPageLayout(QPageLayout(QPageSize(portraitMm, QPageSize::Millimeter),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
  if (!v_painter.begin(v_writer.get())) {
    v_error = QStringLiteral("The PDF document could not be started.");
    return;
  }
  StartPage();
}

void CTPdfOutput::Finish() {
  if (v_finished) return;
  EnsurePage();
  if (Active()) {
    FlushRuns();
    PlaceKept(0);
    CloseLine();
  }
  v_finished = true;
  if (v_painter.isActive()) v_painter.end();
  v_writer.reset();
  if (!Ok()) return;
  const QByteArray& bytes = v_pdfBytes.data();
  bool written = v_stream.write(bytes) == bytes.size();
  // A file keeps what it was given in its buffer; failing to flush is failing to write.
  if (auto* file = qobject_cast<QFileDevice*>(&v_stream)) written = file->flush() && written;
  if (!written) v_error = QStringLiteral("The PDF document could not be written: %1").arg(v_stream.errorString());
}

// ---------------------------------------------------------------- pages

void CTPdfOutput::NextPage() {
  v_writer->newPage();
  StartPage();
}

void CTPdfOutput::StartPage() {
  ++v_pageNumber;
  v_bodyTop = v_marginTop;
  v_bodyBottom = v_paperH - v_marginBottom;
  // Like a word processor, a header or footer taller than its margin
  // pushes the text away.
  const double header = Zone(true, kDecorationDistance, true);
  if (header > 0) v_bodyTop = std::max(v_bodyTop, kDecorationDistance + header);
  const double footer = Zone(false, 0, false);
  if (footer > 0) {
    const double footerTop = v_paperH - kDecorationDistance - footer;
    Zone(false, footerTop, true);
    v_bodyBottom = std::min(v_bodyBottom, footerTop);
  }
  v_y = v_bodyTop;
  v_lineX = v_left;
  v_lineHeight = 0;
}

void CTPdfOutput::MakeRoom(double nHeight) {
  if (v_y + nHeight > v_bodyBottom + kSlack && v_y > v_bodyTop + kSlack) NextPage();
}

double CTPdfOutput::KeptHeight() const {
  double height = 0;
  bool top = v_y <= v_bodyTop + kSlack;  // no space above a heading that opens a page
  for (const LTKept& kept : v_kept) {
    if (kept.runs.empty()) {
      height += kept.emptyLine;
      continue;
    }
    if (!top) height += kHeadingSpaceBefore;
    for (const LTLine& line : kept.lines) height += line.Height();
    height += kHeadingSpaceAfter;
    top = false;
  }
  return height;
}

void CTPdfOutput::PlaceKept(double nNext) {
  MakeRoom(KeptHeight() + nNext);
  std::vector<LTKept> kept;
  kept.swap(v_kept);
  const double width = v_right - v_left;
  for (const LTKept& item : kept) {
    if (item.runs.empty()) {
      MakeRoom(item.emptyLine);
      v_y += item.emptyLine;
      continue;
    }
    if (v_y > v_bodyTop + kSlack) v_y += kHeadingSpaceBefore;
    for (std::size_t i = 0; i < item.lines.size(); ++i) {
      const LTLine& line = item.lines[i];
      MakeRoom(line.Height());
      DrawLine(line, item.runs, v_left + item.textX, width - item.textX, v_y, DocHorAlign::kLeft);
      if (i == 0 && !item.number.isEmpty()) {
        v_painter.setFont(item.runs.front().font);
        v_painter.setPen(item.runs.front().color);
        v_painter.drawText(QPointF(v_left + item.numberX, v_y + line.ascent), item.number);
      }
      v_y += line.Height();
    }
    v_y += kHeadingSpaceAfter;
  }
}

void CTPdfOutput::NewPage() {
  EnsurePage();
  if (!Active()) return;
  // The paragraph goes on on the next page; headings waiting for what
  // follows stay on this one, as their writer asked.
  FlushRuns();
  PlaceKept(0);
  NextPage();
}

// ---------------------------------------------------------------- line layout

QFontMetricsF CTPdfOutput::Metrics(const QFont& font) const { return QFontMetricsF(font, v_writer.get()); }

CTPdfOutput::LTRun CTPdfOutput::Run(const QString& szStr, const LTDocFont& font) const {
  return {szStr, DocumentFont(font.name, font.size, font.styles), ToQColor(font.color), 0};
}

CTPdfOutput::LTLine CTPdfOutput::EmptyLine(const QFont& font) const {
  const QFontMetricsF metrics = Metrics(font);
  LTLine line;
  line.ascent = metrics.ascent();
  line.descent = metrics.descent() + metrics.leading();
  return line;
}

std::vector<CTPdfOutput::LTLine> CTPdfOutput::LayOut(const std::vector<LTRun>& runs, double nWidth,
                                                     double nFirstX) const {
  // Tokens: words with their trailing blanks, tabs and line breaks. A line
  // may break before a token unless it continues a word of the run before.
  enum class Kind { kWord, kTab, kBreak };
  struct Token {
    int run;
    Kind kind;
    QString text;
  };
  std::vector<Token> tokens;
  for (int r = 0; r < static_cast<int>(runs.size()); ++r) {
    for (int t = 0; t < runs[r].tabs; ++t) tokens.push_back({r, Kind::kTab, {}});
    QString word;
    const auto endWord = [&] {
      if (!word.isEmpty()) tokens.push_back({r, Kind::kWord, word});
      word.clear();
    };
    for (const QChar ch : runs[r].text) {
      if (ch == QLatin1Char('\n') || ch == QLatin1Char('\t')) {
        endWord();
        tokens.push_back({r, ch == QLatin1Char('\n') ? Kind::kBreak : Kind::kTab, {}});
        continue;
      }
      if (ch != QLatin1Char(' ') && word.endsWith(QLatin1Char(' '))) endWord();
      word += ch;
    }
    endWord();
  }
  if (tokens.empty()) return {};

  std::vector<QFontMetricsF> metrics;
  metrics.reserve(runs.size());
  for (const LTRun& run : runs) metrics.push_back(Metrics(run.font));
  const auto trimmedWidth = [&](int nRun, const QString& szText) {
    qsizetype n = szText.size();
    while (n > 0 && szText[n - 1] == QLatin1Char(' ')) --n;
    return metrics[nRun].horizontalAdvance(szText.left(n));
  };

  std::vector<LTLine> lines;
  LTLine line;
  line.start = nFirstX;
  double x = nFirstX;
  const auto measureWith = [&](int nRun) {
    line.ascent = std::max(line.ascent, metrics[nRun].ascent());
    line.descent = std::max(line.descent, metrics[nRun].descent() + metrics[nRun].leading());
  };
  const auto newLine = [&] {
    if (!line.pieces.empty()) {
      LTPiece& last = line.pieces.back();
      while (last.text.endsWith(QLatin1Char(' '))) last.text.chop(1);
      last.width = metrics[last.run].horizontalAdvance(last.text);
      line.end = last.x + last.width;
    } else {
      line.end = line.start;
    }
    lines.push_back(std::move(line));
    line = LTLine();
    x = 0;
  };
  // Words of one run next to each other make one piece.
  const auto place = [&](int nRun, const QString& szText) {
    measureWith(nRun);
    if (!line.pieces.empty() && line.pieces.back().run == nRun &&
        std::abs(line.pieces.back().x + line.pieces.back().width - x) < kSlack) {
      LTPiece& last = line.pieces.back();
      last.text += szText;
      last.width = metrics[nRun].horizontalAdvance(last.text);
    } else {
      line.pieces.push_back({nRun, szText, x, metrics[nRun].horizontalAdvance(szText)});
    }
    x = line.pieces.back().x + line.pieces.back().width;
  };

  for (std::size_t k = 0; k < tokens.size();) {
    const Token& token = tokens[k];
    if (token.kind == Kind::kBreak) {
      measureWith(token.run);
      newLine();
      ++k;
      continue;
    }
    if (token.kind == Kind::kTab) {
      if (NextTab(x) > nWidth + kSlack && x > 0) newLine();
      measureWith(token.run);
      x = NextTab(x);
      ++k;
      continue;
    }
    // A cluster: words that no blank separates.
    std::size_t end = k + 1;
    while (end < tokens.size() && tokens[end].kind == Kind::kWord && !tokens[end - 1].text.endsWith(QLatin1Char(' ')))
      ++end;
    double width = 0;
    for (std::size_t i = k; i < end; ++i)
      width += i + 1 < end ? metrics[tokens[i].run].horizontalAdvance(tokens[i].text)
                           : trimmedWidth(tokens[i].run, tokens[i].text);
    if (x + width > nWidth + kSlack && x > 0) newLine();
    if (width <= nWidth + kSlack) {
      for (std::size_t i = k; i < end; ++i) place(tokens[i].run, tokens[i].text);
      k = end;
      continue;
    }
    // Wider than a whole line: as many characters as fit on each line, at
    // least one.
    for (std::size_t i = k; i < end; ++i) {
      QString rest = tokens[i].text;
      while (!rest.isEmpty()) {
        qsizetype n = 0;
        while (n < rest.size() && x + trimmedWidth(tokens[i].run, rest.left(n + 1)) <= nWidth + kSlack) ++n;
        if (n == 0 && x > 0) {
          newLine();
          continue;
        }
        n = std::max<qsizetype>(n, 1);
        place(tokens[i].run, rest.left(n));
        rest = rest.mid(n);
        if (!rest.isEmpty()) newLine();
      }
    }
    k = end;
  }
  newLine();
  return lines;
}

void CTPdfOutput::DrawLine(const LTLine& line, const std::vector<LTRun>& runs, double nLeft, double nWidth,
                           double nTop, DocHorAlign align) {
  const double left = nLeft + Offset(align, nWidth - line.end);
  for (const LTPiece& piece : line.pieces) {
    const LTRun& run = runs[static_cast<std::size_t>(piece.run)];
    v_painter.setFont(run.font);
    v_painter.setPen(run.color);
    v_painter.drawText(QPointF(left + piece.x, nTop + line.ascent), piece.text);
  }
}

// ---------------------------------------------------------------- the flow

void CTPdfOutput::CloseLine() {
  v_y += v_lineHeight;
  v_lineHeight = 0;
  v_lineX = v_left;
}

bool CTPdfOutput::FlushRuns() {
  if (v_runs.empty()) return false;
  std::vector<LTRun> runs;
  runs.swap(v_runs);
  const double width = v_right - v_left;
  const std::vector<LTLine> lines = LayOut(runs, width, v_lineX - v_left);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // Waiting headings come first, on the page of this first line.
    if (i == 0 && v_lineHeight <= 0) PlaceKept(lines[i].Height());
    if (i == 0 && v_lineHeight > 0) {
      // Beside what the line holds already (pictures): on the baseline at
      // their bottom, as a word processor sets text after an inline picture.
      const double top = v_y + std::max(0.0, v_lineHeight - lines[i].ascent);
      DrawLine(lines[i], runs, v_left, width, top, v_align);
      v_lineHeight = std::max(v_lineHeight, top - v_y + lines[i].Height());
      CloseLine();
      continue;
    }
    MakeRoom(lines[i].Height());
    DrawLine(lines[i], runs, v_left, width, v_y, v_align);
    v_y += lines[i].Height();
  }
  CloseLine();
  return !lines.empty();
}

void CTPdfOutput::EndParagraph() {
  const QFont font = v_runs.empty() ? Run({}, v_fonts[kNormal]).font : v_runs.back().font;
  if (!FlushRuns() && v_lineHeight <= 0) {
    const double height = EmptyLine(font).Height();
    if (!v_kept.empty()) {
      // Between a heading and what it heads: waits with the heading.
      LTKept empty;
      empty.emptyLine = height;
      v_kept.push_back(std::move(empty));
      return;
    }
    MakeRoom(height);
    v_y += height;
  }
  CloseLine();
}

void CTPdfOutput::TextStyle(const QString& szStr, unsigned nStyles, TColor nColor, int nTabIndex) {
  EnsurePage();
  if (!Active()) return;
  LTDocFont font = v_fonts[kNormal];
  font.styles |= nStyles;
  font.color = nColor;
  QString text = szStr;
  text.remove(QLatin1Char('\r'));
  // A line feed ends the paragraph; the next one keeps its alignment.
  const QStringList paragraphs = text.split(QLatin1Char('\n'));
  for (int i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) EndParagraph();
    LTRun run = Run(paragraphs[i], font);
    run.tabs = i == 0 ? std::max(0, nTabIndex) : 0;
    if (!run.text.isEmpty() || run.tabs > 0) v_runs.push_back(std::move(run));
  }
}

void CTPdfOutput::TextWriteln() {
  EnsurePage();
  if (!Active()) return;
  EndParagraph();
  v_align = DocHorAlign::kLeft;
}

void CTPdfOutput::TextLeft(const QString& szStr, unsigned nStyles, TColor nColor) {
  TextStyle(szStr, nStyles, nColor, 0);
  TextWriteln();
}

void CTPdfOutput::TextCenter(const QString& szStr, unsigned nStyles, TColor nColor) {
  // Like the RTF writer's, the alignment holds for the whole paragraph,
  // text written before it included.
  v_align = DocHorAlign::kCentre;
  TextStyle(szStr, nStyles, nColor, 0);
  TextWriteln();
}

void CTPdfOutput::TextRight(const QString& szStr, unsigned nStyles, TColor nColor) {
  v_align = DocHorAlign::kRight;
  TextStyle(szStr, nStyles, nColor, 0);
  TextWriteln();
}

void CTPdfOutput::TextParagraph(FontSlot font, const QString& szStr, bool bNumbered) {
  EnsurePage();
  if (!Active()) return;
  if (!v_runs.empty()) EndParagraph();
  CloseLine();
  v_align = DocHorAlign::kLeft;
  std::vector<LTRun> runs = {Run(QString(szStr).remove(QLatin1Char('\r')), v_fonts[font])};
  const double width = v_right - v_left;
  // A numbered heading: its number hangs at the list level's indent, the
  // text starts at the first tab stop after the number. Heading 0 and 1
  // share the first level, as in the RTF writer's styles.
  QString number;
  double numberX = 0, textX = 0;
  if (bNumbered) {
    const int level = std::clamp(static_cast<int>(font) - static_cast<int>(kHeading1), 0, 8);
    ++v_headingCounters[static_cast<std::size_t>(level)];
    for (int k = 0; k < 9; ++k) {
      int& counter = v_headingCounters[static_cast<std::size_t>(k)];
      if (k < level) counter = std::max(counter, 1);  // a level never opened counts as its first
      if (k > level) counter = 0;
      if (k <= level) number += QString::number(counter) + QLatin1Char('.');
    }
    const LTListLevel& list = kListLevels[level];
    numberX = (list.leftIndent + list.firstIndent) * kPxPerTwip;
    const double numberEnd = numberX + Metrics(runs.front().font).horizontalAdvance(number);
    textX = NextTab(numberEnd);
    for (const int stop : {list.leftIndent, list.tab, StyleTab(font)})
      if (stop * kPxPerTwip > numberEnd + kSlack) textX = std::min(textX, stop * kPxPerTwip);
  }
  std::vector<LTLine> lines = LayOut(runs, width - textX, 0);
  if (lines.empty()) lines.push_back(EmptyLine(runs.front().font));
  // Drawn when what follows it comes (PlaceKept).
  v_kept.push_back({std::move(runs), std::move(lines), number, numberX, textX, 0});
}

// ---------------------------------------------------------------- pictures

void CTPdfOutput::PutGraphic(double nScale, const CTDocGraphic& graphic, DocHorAlign align, bool bAddNewLine) {
  if (graphic.Width() <= 0 || graphic.Height() <= 0 || !(nScale > 0)) return;
  EnsurePage();
  if (!Active()) return;
  // Text before the picture ends its line: the picture starts one, or
  // stands beside the picture before it.
  FlushRuns();
  double w = graphic.Width() * nScale * kPictureScale, h = graphic.Height() * nScale * kPictureScale;
  const double fit = std::min({1.0, (v_right - v_left) / w, (v_bodyBottom - v_bodyTop) / h});
  w *= fit;
  h *= fit;
  if (v_lineHeight > 0 && v_lineX + w > v_right + kSlack) CloseLine();
  if (v_lineHeight <= 0) PlaceKept(h);
  const double x = v_lineX + Offset(align, v_right - v_lineX - w);
  v_painter.save();
  graphic.Paint(v_painter, QRectF(x, v_y, w, h));
  v_painter.restore();
  v_lineHeight = std::max(v_lineHeight, h);
  v_lineX = x + w;
  if (bAddNewLine) {
    CloseLine();
    v_align = DocHorAlign::kLeft;
  } else {
    v_align = align;  // for the text that follows on this paragraph
  }
}

// ---------------------------------------------------------------- cells

double CTPdfOutput::LTCell::ContentHeight() const {
  double height = pictureH;
  for (const LTLine& line : lines) height += line.Height();
  return height;
}

void CTPdfOutput::LayOutCell(LTCell& cell) const {
  const double width = cell.width - cell.padLeft - cell.padRight;
  if (cell.picture) {
    const double fit = cell.pictureW > width && width > 0 ? width / cell.pictureW : 1;
    cell.pictureW *= fit;
    cell.pictureH *= fit;
  }
  cell.lines.clear();
  for (int i = 0; i < static_cast<int>(cell.runs.size()); ++i) {
    std::vector<LTLine> lines = LayOut({cell.runs[static_cast<std::size_t>(i)]}, width, 0);
    if (lines.empty()) lines.push_back(EmptyLine(cell.runs[static_cast<std::size_t>(i)].font));
    for (LTLine& line : lines) {
      for (LTPiece& piece : line.pieces) piece.run = i;
      cell.lines.push_back(std::move(line));
    }
  }
}

void CTPdfOutput::DrawCell(const LTCell& cell, double nTop, double nHeight, double nPadTop, double nPadBottom) {
  const double room = nHeight - nPadTop - nPadBottom - cell.ContentHeight();
  double y = nTop + nPadTop;
  if (cell.verAlign == DocVerAlign::kCentre) y += std::max(0.0, room / 2);
  if (cell.verAlign == DocVerAlign::kBottom) y += std::max(0.0, room);
  const double left = cell.x + cell.padLeft, width = cell.width - cell.padLeft - cell.padRight;
  if (cell.picture) {
    v_painter.save();
    cell.picture->Paint(v_painter,
                        QRectF(left + Offset(cell.horAlign, width - cell.pictureW), y, cell.pictureW, cell.pictureH));
    v_painter.restore();
    y += cell.pictureH;
  }
  for (const LTLine& line : cell.lines) {
    DrawLine(line, cell.runs, left, width, y, cell.horAlign);
    y += line.Height();
  }
}

// ---------------------------------------------------------------- tables

std::vector<CTPdfOutput::LTCell> CTPdfOutput::TableRow(CTDocTable& table, int nRow, double& nHeight) const {
  std::vector<LTCell> cells;
  nHeight = std::max(0.0, table.GetRowHeight(nRow) - kRowHeightAllowance);
  double x = 0;
  for (int c = 0; c < table.NbColumns(); ++c) {
    const double columnX = x;
    x += table.GetColumnWidth(c);
    if (table.GetIsMerged(c, nRow)) continue;
    LTCell cell;
    cell.column = c;
    cell.x = columnX;
    cell.width = table.GetCellWidth(c, nRow);
    cell.horAlign = table.GetHorAlign(c, nRow);
    cell.verAlign = table.GetVerAlign(c, nRow);
    cell.padLeft = kCellPadLeft;
    cell.padRight = cell.horAlign == DocHorAlign::kRight ? kCellPadRightAligned : kCellPadRight;
    double scale = 1;
    if (table.GetGraphic(c, nRow, cell.picture, scale) && cell.picture->Width() > 0 && cell.picture->Height() > 0 &&
        scale > 0) {
      cell.pictureW = cell.picture->Width() * scale;
      cell.pictureH = cell.picture->Height() * scale;
    } else {
      cell.picture.reset();
    }
    // The text as the RTF writer gives it: the normal font's styles with
    // the cell's (or the line's own), in the table's font.
    LTDocFont font{table.v_fontName, table.GetFontSize(c, nRow), v_fonts[kNormal].styles, DrawColors::kWindowText};
    const QStringList strings = table.GetStrings(c, nRow);
    for (int i = 0; i < strings.size(); ++i) {
      const std::optional<LTDocLineStyle> own = table.GetLineStyle(c, nRow, i);
      LTDocFont lineFont = font;
      lineFont.styles |= own && own->stylesSet ? own->styles : table.GetStyles(c, nRow);
      lineFont.color = own && own->colorSet ? own->color : table.GetFontColor(c, nRow);
      cell.runs.push_back(Run(strings[i], lineFont));
    }
    LayOutCell(cell);
    nHeight = std::max(nHeight, kCellPadTop + cell.ContentHeight() + kCellPadBottom);
    cells.push_back(std::move(cell));
  }
  return cells;
}

void CTPdfOutput::DrawTableRow(CTDocTable& table, int nRow, const std::vector<LTCell>& cells, double nHeight,
                               double nTop, double nScale) {
  v_painter.save();
  v_painter.translate(v_left, nTop);
  v_painter.scale(nScale, nScale);
  // Backgrounds first, so that no cell covers its neighbour's border.
  for (const LTCell& cell : cells)
    v_painter.fillRect(QRectF(cell.x, 0, cell.width, nHeight), ToQColor(table.GetBgColor(cell.column, nRow)));
  for (const LTCell& cell : cells) DrawCell(cell, 0, nHeight, kCellPadTop, kCellPadBottom);
  v_painter.restore();
  DrawTableBorders(table, nRow, cells, nHeight, nTop, nScale, false);
}

void CTPdfOutput::DrawTableBorders(CTDocTable& table, int nRow, const std::vector<LTCell>& cells, double nHeight,
                                   double nTop, double nScale, bool bBottomOnly) {
  v_painter.save();
  v_painter.translate(v_left, nTop);
  v_painter.scale(nScale, nScale);
  for (const LTCell& cell : cells) {
    const double l = cell.x, r = cell.x + cell.width;
    const std::pair<CTDocTable::Side, QLineF> sides[] = {{CTDocTable::kBottom, QLineF(l, nHeight, r, nHeight)},
                                                         {CTDocTable::kLeft, QLineF(l, 0, l, nHeight)},
                                                         {CTDocTable::kTop, QLineF(l, 0, r, 0)},
                                                         {CTDocTable::kRight, QLineF(r, 0, r, nHeight)}};
    for (const auto& [side, edge] : sides) {
      if (bBottomOnly && side != CTDocTable::kBottom) break;
      TColor color = 0;
      if (!table.HasBorder(cell.column, nRow, side, color)) continue;
      v_painter.setPen(QPen(ToQColor(color), kBorderWidth, Qt::SolidLine, Qt::SquareCap));
      v_painter.drawLine(edge);
    }
  }
  v_painter.restore();
}

void CTPdfOutput::PutDocTable(CTDocTable& table) {
  EnsurePage();
  if (!Active()) return;
  if (!v_runs.empty()) EndParagraph();
  CloseLine();
  v_align = DocHorAlign::kLeft;
  if (table.TotalPixelWidth() <= 0) table.CalculatePixelSizes();
  // A table wider than the text is drawn smaller, all of it alike.
  const double total = table.TotalPixelWidth();
  const double scale = total > v_right - v_left ? (v_right - v_left) / total : 1;
  struct Row {
    std::vector<LTCell> cells;
    double height;
  };
  std::vector<Row> rows(static_cast<std::size_t>(table.NbRows()));
  for (int r = 0; r < table.NbRows(); ++r) rows[r].cells = TableRow(table, r, rows[r].height);
  const int titleRows = std::min(table.NbTitleRows(), table.NbRows());
  const auto heightOf = [&](int nRow) { return rows[static_cast<std::size_t>(nRow)].height * scale; };
  double titleHeight = 0;
  for (int r = 0; r < titleRows; ++r) titleHeight += heightOf(r);
  // No page holds a single row of the table (title rows aside): it opens
  // with two rows, or with all of them when fewer than four could not
  // leave two on each side of a break; these go with the headings before
  // the table, on this page or the next.
  const int bodyRows = table.NbRows() - titleRows;
  const int opening = titleRows + (bodyRows < 4 ? bodyRows : 2);
  double openingHeight = 0;
  for (int r = 0; r < opening; ++r) openingHeight += heightOf(r);
  PlaceKept(openingHeight);
  int bodyOnPage = 0;  // rows after the title rows drawn on this page
  int above = -1;  // the row drawn right above the next one on this page
  const auto draw = [&](int nRow) {
    DrawTableRow(table, nRow, rows[nRow].cells, rows[nRow].height, v_y, scale);
    // The row's background covers half of the border above it: again.
    if (above >= 0)
      DrawTableBorders(table, above, rows[above].cells, rows[above].height, v_y - rows[above].height * scale, scale,
                       true);
    above = nRow;
    v_y += rows[nRow].height * scale;
  };
  const int n = table.NbRows();
  for (int r = 0; r < n; ++r) {
    const double height = heightOf(r);
    bool pageBreak = v_y + height > v_bodyBottom + kSlack && v_y > v_bodyTop + kSlack;
    // The last row never goes over alone: when it would not fit after the
    // one before it, both go, unless that leaves fewer than two here.
    if (!pageBreak && r == n - 2 && r >= titleRows && bodyOnPage >= 2 &&
        v_y + height + heightOf(r + 1) > v_bodyBottom + kSlack)
      pageBreak = true;
    if (pageBreak) {
      NextPage();
      above = -1;
      bodyOnPage = 0;
      // The title rows again above the rest, when they leave room for it.
      if (r >= titleRows && titleRows > 0 && titleHeight + height <= v_bodyBottom - v_bodyTop + kSlack)
        for (int t = 0; t < titleRows; ++t) draw(t);
    }
    draw(r);
    if (r >= titleRows) ++bodyOnPage;
  }
}

// ---------------------------------------------------------------- header and footer

CTPdfOutput::LTCell CTPdfOutput::DecorationCell(const CTPageDecoration& decoration, double nX, double nWidth,
                                                int nIndex, bool bHeader) {
  LTCell cell;
  cell.x = nX;
  cell.width = nWidth;
  cell.padLeft = cell.padRight = kDecorationPad;
  const DocHorAlign aligns[3] = {DocHorAlign::kLeft, DocHorAlign::kCentre, DocHorAlign::kRight};
  cell.horAlign = aligns[nIndex];
  cell.verAlign = DocVerAlign::kCentre;
  // The header's plain paragraphs: the first font of the table, normal size.
  const LTDocFont font{v_fontNames.value(0), std::lround(2 * v_fonts[kNormal].size) / 2.0, 0, DrawColors::kWindowText};
  switch (decoration.GetKind()) {
    case CTPageDecoration::Kind::kPageNumber: {
      const auto& page = static_cast<const CTPageNrDecoration&>(decoration);
      TDlgForm::Load();
      cell.runs.push_back(
          Run(TBaseMsg::GetUnicodeString(page.v_capMsgNr, QString()) + QString::number(v_pageNumber), font));
      cell.verAlign = bHeader ? DocVerAlign::kTop : DocVerAlign::kBottom;
      break;
    }
    case CTPageDecoration::Kind::kText:
      for (const QString& line : static_cast<const CTTextDecoration&>(decoration).v_strs)
        cell.runs.push_back(Run(line, font));
      break;
    case CTPageDecoration::Kind::kPreloadedGraphic:
      cell.picture = static_cast<const CTPreloadedGraphicDecoration&>(decoration).v_graphic;
      break;
    case CTPageDecoration::Kind::kGraphicFile: {
      const QString& fileName = static_cast<const CTGraphicDecoration&>(decoration).v_fileName;
      if (fileName.isEmpty()) break;
      auto it = v_logoFiles.find(fileName);
      if (it == v_logoFiles.end()) it = v_logoFiles.emplace(fileName, QImage(fileName)).first;
      if (!it->second.isNull()) cell.picture = std::make_shared<CTDocImagePicture>(it->second);
      break;
    }
  }
  if (cell.picture && (cell.picture->Width() <= 0 || cell.picture->Height() <= 0)) cell.picture.reset();
  if (cell.picture) {
    cell.pictureW = cell.picture->Width() * kLogoScale;
    cell.pictureH = cell.picture->Height() * kLogoScale;
  }
  LayOutCell(cell);
  return cell;
}

double CTPdfOutput::Zone(bool bHeader, double nTop, bool bDraw) {
  if (!v_decorationDef || !v_decorationDef->v_mustPrintDecorations) return 0;
  const CTDecorationDefinition& def = *v_decorationDef;
  const auto& zones = def.DecorationListFor(bHeader);
  const QString& lineText = bHeader ? def.v_headerLine : def.v_footerLine;
  const bool printLine = (bHeader ? def.v_mustPrintHeaderLine : def.v_mustPrintFooterLine) && !lineText.isEmpty();
  if (zones.empty() && !printLine) return 0;
  const double width = v_right - v_left;
  const long halfPoints = std::lround(2 * v_fonts[kNormal].size);
  double y = nTop;
  // A paragraph of the header or footer line, in half points as the RTF writer sizes it.
  const auto lineParagraph = [&](double nHalfPoints, const QString& szText) {
    const std::vector<LTRun> runs = {
        Run(szText, LTDocFont{v_fontNames.value(0), std::round(nHalfPoints) / 2, 0, DrawColors::kWindowText})};
    std::vector<LTLine> lines = LayOut(runs, width, 0);
    if (lines.empty()) lines.push_back(EmptyLine(runs.front().font));
    for (const LTLine& line : lines) {
      if (bDraw) DrawLine(line, runs, v_left, width, y, DocHorAlign::kLeft);
      y += line.Height();
    }
  };
  if (!bHeader && printLine) {
    lineParagraph(halfPoints * 0.66, lineText);
    lineParagraph(halfPoints * 0.66, QString());
  }
  // Left the first, centre the second when there are three, right the
  // last when there are two or more; a row of three empty cells when there
  // is none.
  const int n = static_cast<int>(zones.size());
  const CTPageDecoration* placed[3] = {n >= 1 ? zones[0].get() : nullptr, n >= 3 ? zones[1].get() : nullptr,
                                       n >= 2 ? zones[n - 1].get() : nullptr};
  std::vector<LTCell> cells;
  double height = kDecorationRowHeight;
  for (int i = 0; i < 3; ++i) {
    if (!placed[i]) continue;
    cells.push_back(DecorationCell(*placed[i], v_left + width * i / 3, width / 3, i, bHeader));
    height = std::max(height, cells.back().ContentHeight());
  }
  if (bDraw)
    for (const LTCell& cell : cells) DrawCell(cell, y, height, 0, 0);
  y += height;
  // A table is followed by a paragraph: the header line's, else an empty one.
  if (!bHeader || !printLine) lineParagraph(halfPoints, QString());
  if (bHeader && printLine) {
    lineParagraph(halfPoints * 0.8, QString());
    lineParagraph(halfPoints * 0.8, QString());
    lineParagraph(halfPoints * 0.8, lineText);
  }
  return y - nTop;
}
