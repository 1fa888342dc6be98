#include "docs/RTFOutput.h"

#include "charts/EmfSurface.h"
#include "charts/PainterSurface.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"

#include <QFont>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kTwipsPerCm = 566.92913385826771655;
constexpr int kDefaultMargin = 1797;

bool g_word2000 = false;
int g_languageID = 1033;

std::vector<TColor>& ColorTable() {
  static std::vector<TColor> table = {0x000000, 0xFF0000, 0xFFFF00, 0x008000, 0xFF00FF, 0x0000FF,
                                      0x00FFFF, 0xFFFFFF, 0x800000, 0x00FF00, 0x008080, 0x800080,
                                      0x000080, 0x808000, 0x808080, 0xC0C0C0, 0x4080FF, 0xE0E0E0};
  return table;
}

QByteArray Num(long long n) { return QByteArray::number(n); }

int Twips(double nCm) { return static_cast<int>(std::lround(nCm * kTwipsPerCm)); }

}  // namespace

// ---------------------------------------------------------------- pictures

QByteArray CTDocImagePicture::Emf() const {
  if (v_image.isNull()) return {};
  CTEmfSurface surface(v_image.width(), v_image.height());
  surface.StretchImage(0, 0, v_image.width(), v_image.height(), v_image);
  return surface.Bytes();
}

void CTDocImagePicture::Paint(QPainter& painter, const QRectF& target) const {
  if (!v_image.isNull()) painter.drawImage(target, v_image);
}

QByteArray CTDocDrawnPicture::Emf() const {
  CTEmfSurface surface(v_w, v_h);
  if (v_draw) v_draw(surface);
  return surface.Bytes();
}

void CTDocDrawnPicture::Paint(QPainter& painter, const QRectF& target) const {
  if (!v_draw || v_w <= 0 || v_h <= 0) return;
  painter.save();
  painter.setClipRect(target);
  painter.translate(target.topLeft());
  painter.scale(target.width() / v_w, target.height() / v_h);
  {
    CTPainterSurface surface(&painter, true);
    v_draw(surface);
  }
  painter.restore();
}

// ---------------------------------------------------------------- the abstract writer

CTDocOutput::CTDocOutput(const QString& szApplName) : v_applName(szApplName) {
  v_fontNames = {QStringLiteral("Arial"), QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                 QStringLiteral("Courier New"), QStringLiteral("Segoe UI"), QStringLiteral("MS Sans Serif")};
  const auto font = [](double size, unsigned styles) { return LTDocFont{QStringLiteral("Arial"), size, styles}; };
  using S = unsigned;
  v_fonts[kNormal] = font(10, 0);
  v_fonts[kTitle] = font(12, DocStyle::kBold);
  v_fonts[kSubTitle] = font(10, DocStyle::kBold);
  v_fonts[kHeading0] = font(20, DocStyle::kBold);
  v_fonts[kHeading1] = font(18, DocStyle::kBold);
  v_fonts[kHeading2] = font(16, S(DocStyle::kBold | DocStyle::kItalic));
  v_fonts[kHeading3] = font(14, DocStyle::kBold);
  v_fonts[kHeading4] = font(12, S(DocStyle::kBold | DocStyle::kItalic));
}

void CTDocOutput::SetFontCharacteristics(FontSlot slot, const LTDocFont& font) {
  v_fonts[slot] = font;
  AddFontName(font.name);
}

int CTDocOutput::AddFontName(const QString& szName) {
  for (int i = 0; i < v_fontNames.size(); ++i)
    if (v_fontNames[i].compare(szName, Qt::CaseInsensitive) == 0) return i;
  v_fontNames.append(szName);
  return static_cast<int>(v_fontNames.size() - 1);
}

void CTDocOutput::PutRichText(const QTextDocument& doc, const LTDocFont& font) {
  SetFontCharacteristics(kNormal, font);
  const auto styleOf = [](const QTextCharFormat& f) {
    unsigned styles = 0;
    if (f.fontWeight() >= QFont::Bold) styles |= DocStyle::kBold;
    if (f.fontItalic()) styles |= DocStyle::kItalic;
    if (f.fontUnderline()) styles |= DocStyle::kUnderline;
    if (f.fontStrikeOut()) styles |= DocStyle::kStrikeOut;
    return styles;
  };
  const auto colorOf = [](const QTextCharFormat& f) {
    if (!f.hasProperty(QTextFormat::ForegroundBrush)) return DrawColors::kWindowText;
    const QColor c = f.foreground().color();
    return DrawColors::Rgb(c.red(), c.green(), c.blue());
  };
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    struct Run {
      QString text;
      unsigned styles;
      TColor color;
    };
    std::vector<Run> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      QString text = fragment.text();
      text.replace(QChar::LineSeparator, QLatin1Char('\n'));
      runs.push_back({text, styleOf(fragment.charFormat()), colorOf(fragment.charFormat())});
    }
    const bool uniform = std::all_of(runs.begin(), runs.end(), [&runs](const Run& r) {
      return r.styles == runs.front().styles && r.color == runs.front().color;
    });
    if (runs.empty()) {
      // an empty paragraph
    } else if (uniform) {
      QString text;
      for (const Run& r : runs) text += r.text;
      const Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
      if (align & Qt::AlignRight) TextRight(text, runs.front().styles, runs.front().color);
      else if (align & Qt::AlignHCenter) TextCenter(text, runs.front().styles, runs.front().color);
      else if (block.textList()) {
        TextStyle(QString(QChar(0x2022)), runs.front().styles, runs.front().color, 0);
        TextStyle(text, runs.front().styles, runs.front().color, 1);
      } else {
        TextStyle(text, runs.front().styles, runs.front().color, 0);
      }
    } else {
      for (const Run& r : runs) TextStyle(r.text, r.styles, r.color, 0);
    }
    TextWriteln();
  }
}

QString CTDocOutput::SplitStringInLines(const QString& szStr, const LTDocFont& font, int nMaxPixelWidth) {
  const QFontMetrics metrics(DocumentFont(font.name, font.size, font.styles));
  QStringList parts;
  for (const QString& part : szStr.split(QStringLiteral("\r\n"))) {
    QString wrapped, line;
    qsizetype start = 0;
    while (start < part.size()) {
      // A word keeps its trailing blank.
      qsizetype end = part.indexOf(QLatin1Char(' '), start);
      end = end < 0 ? part.size() : end + 1;
      const QString word = part.mid(start, end - start);
      start = end;
      if (!line.isEmpty() && metrics.horizontalAdvance(line + word) > nMaxPixelWidth) {
        wrapped += line + QStringLiteral(" \r\n");
        line.clear();
      }
      line += word;
    }
    parts << wrapped + line;
  }
  return parts.join(QStringLiteral("\r\n"));
}

// ---------------------------------------------------------------- RTF

CTRTFOutput::CTRTFOutput(QIODevice& stream, const QString& szApplName, double nPaperWCm, double nPaperHCm,
                         double nMarginsCmL, double nMarginsCmR, double nMarginsCmT, double nMarginsCmB,
                         const CTDecorationDefinition* pDecorationDef)
    : CTDocOutput(szApplName),
      v_stream(stream),
      v_paperW(Twips(nPaperWCm)),
      v_paperH(Twips(nPaperHCm)),
      v_marginL(Twips(nMarginsCmL)),
      v_marginR(Twips(nMarginsCmR)),
      v_marginT(Twips(nMarginsCmT)),
      v_marginB(Twips(nMarginsCmB)),
      v_decorationDef(pDecorationDef) {}

CTRTFOutput::~CTRTFOutput() { Finish(); }

void CTRTFOutput::Finish() {
  if (v_finished) return;
  EnsureHeader();
  Line("}");
  v_finished = true;
}

void CTRTFOutput::SetWord2000Compatible(bool b) { g_word2000 = b; }
void CTRTFOutput::SetLanguageID(int nLanguageID) { g_languageID = nLanguageID; }

int CTRTFOutput::AddColor(TColor nColor) {
  std::vector<TColor>& table = ColorTable();
  const auto it = std::find(table.begin(), table.end(), nColor);
  if (it != table.end()) return static_cast<int>(it - table.begin()) + 1;
  table.push_back(nColor);
  return static_cast<int>(table.size());
}

int CTRTFOutput::ColorIndex(TColor nColor) {
  const std::vector<TColor>& table = ColorTable();
  const auto it = std::find(table.begin(), table.end(), nColor);
  return it == table.end() ? 0 : static_cast<int>(it - table.begin()) + 1;
}

QByteArray CTRTFOutput::Escaped(const QString& szStr) {
  QByteArray out;
  out.reserve(szStr.size());
  for (const QChar ch : szStr) {
    const char16_t c = ch.unicode();
    if (c == u'\n') {
      out += "\\par\r\n";
    } else if (c == u'\r') {
      continue;
    } else if (c < 256 && c != u'\\' && c != u'{' && c != u'}') {
      out += static_cast<char>(c);
    } else {
      out += "\\u" + Num(static_cast<int16_t>(c)) + ' ';
    }
  }
  return out;
}

void CTRTFOutput::Write(const QByteArray& bytes) { v_stream.write(bytes); }
void CTRTFOutput::Line(const QByteArray& bytes) { v_stream.write(bytes + "\r\n"); }

QByteArray CTRTFOutput::FontAttributes(const LTDocFont& font) {
  QByteArray out;
  if (font.styles & DocStyle::kBold) out += "\\b";
  if (font.styles & DocStyle::kItalic) out += "\\i";
  if (font.styles & DocStyle::kUnderline) out += "\\ul";
  if (font.styles & DocStyle::kStrikeOut) out += "\\strike";
  out += "\\cf" + Num(ColorIndex(font.color)) + "\\f" + Num(AddFontName(font.name)) + "\\fs" +
         Num(std::lround(2 * font.size)) + "\\cgrid ";
  return out;
}

QByteArray CTRTFOutput::StyleDefinition(FontSlot slot, bool bNumbered) {
  const int k = slot;
  QByteArray out = "\\s" + Num(k) + "\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar";
  if (slot >= kHeading0 && slot <= kHeading2) out += "\\tx567";
  if (slot == kHeading3) out += "\\tx851";
  if (slot == kHeading4) out += "\\tx1134";
  if (bNumbered) {
    const int a = k - 2;
    out += "\\ls1";
    if (a > 0) out += "\\ilvl" + Num(a);
    out += "\\outlinelevel" + Num(a);
  }
  return out + "\\adjustright " + FontAttributes(v_fonts[slot]);
}

void CTRTFOutput::EnsureHeader() {
  if (v_initialized) return;
  v_initialized = true;
  Line("{\\rtf1\\ansi\\ansicpg1252\\uc0");
  Line("\\deff0\\deflang" + Num(g_languageID) + "\\deflangfe" + Num(g_languageID));
  Line("{\\fonttbl");
  for (int i = 0; i < v_fontNames.size(); ++i)
    Line("{\\f" + Num(i) + "\\fnil\\fcharset0\\fprq0 " + Escaped(v_fontNames[i]) + ";}");
  Line("}");
  Line("{\\colortbl;");
  for (TColor color : ColorTable()) {
    const TColor rgb = DrawColors::Resolve(color);
    Line("\\red" + Num(DrawColors::Red(rgb)) + "\\green" + Num(DrawColors::Green(rgb)) + "\\blue" +
         Num(DrawColors::Blue(rgb)) + ";");
  }
  Line("}");
  const QByteArray normalSize = Num(std::lround(2 * v_fonts[kNormal].size));
  Line("{\\stylesheet");
  Line("{\\nowidctlpar\\widctlpar\\adjustright \\fs" + normalSize + "\\cgrid \\snext0 Normal;}");
  const std::pair<FontSlot, const char*> styles[] = {
      {kHeading0, "heading 1"}, {kHeading1, "heading 1"}, {kHeading2, "heading 2"}, {kHeading3, "heading 3"},
      {kHeading4, "heading 4"}, {kTitle, "heading 5"},    {kSubTitle, "heading 6"}};
  for (const auto& [slot, name] : styles)
    Line("{" + StyleDefinition(slot, slot <= kHeading4) + "\\sbasedon0 \\snext0 " + name + ";}");
  Line("{\\*\\cs10 \\additive Default Paragraph Font;}");
  Line("{\\s15\\nowidctlpar\\widctlpar \\fs" + normalSize + "\\cgrid \\sbasedon0 \\snext15 header;}");
  Line("{\\s16\\nowidctlpar\\widctlpar \\fs" + normalSize + "\\cgrid \\sbasedon0 \\snext16 footer;}");
  Line("{\\*\\cs17 \\additive \\sbasedon10 page number;}");
  Line("}");
  // Numbered headings count 1., 1.1., 1.1.1. ...
  Line("{\\*\\listtable");
  Line("{\\list\\listtemplateid67698719");
  const int indents[9][3] = {{-360, 360, 360},    {-432, 792, 1080},   {-504, 1224, 1800},
                             {-648, 1728, 2160},  {-792, 2232, 2880},  {-936, 2736, 3600},
                             {-1080, 3240, 4320}, {-1224, 3744, 4680}, {-1440, 4320, 5400}};
  for (int level = 0; level < 9; ++level) {
    Line("{\\listlevel\\levelnfc0\\leveljc0\\levelfollow0\\levelstartat1\\levelspace0\\levelindent0");
    QByteArray text = "{\\leveltext\\'" + QByteArray::number(2 * (level + 1), 16).rightJustified(2, '0');
    QByteArray numbers = "{\\levelnumbers";
    for (int k = 0; k <= level; ++k) {
      text += "\\'" + QByteArray::number(k, 16).rightJustified(2, '0') + ".";
      numbers += "\\'" + QByteArray::number(2 * k + 1, 16).rightJustified(2, '0');
    }
    Line(text + ";}");
    Line(numbers + ";}\\fi" + Num(indents[level][0]) + "\\li" + Num(indents[level][1]) + "\\jclisttab\\tx" +
         Num(indents[level][2]) + " }");
  }
  Line("{\\listname ;}");
  Line("\\listid1411465531");
  Line("}");
  Line("}");
  Line("{\\*\\listoverridetable{\\listoverride\\listid1411465531\\listoverridecount0\\ls1}}");
  QByteArray section = "\\widowctrl\\ftnbj\\aenddoc\\formshade\\viewkind1\\viewscale100\\pgbrdrhead\\pgbrdrfoot";
  const std::pair<const char*, int> geometry[] = {{"\\paperw", v_paperW}, {"\\paperh", v_paperH},
                                                  {"\\margl", v_marginL}, {"\\margr", v_marginR},
                                                  {"\\margt", v_marginT}, {"\\margb", v_marginB}};
  for (const auto& [word, value] : geometry)
    if (value != 0) section += word + Num(value);
  Write(section + "\\deftab283");
  Line(" \\fet0\\sectd");
  Line("\\noxlattoyen");
  if (v_paperH < v_paperW) Line("\\lndscpsxn");
  Line("\\linex0\\endnhere\\sectdefaultcl");
  if (v_decorationDef && v_decorationDef->v_mustPrintDecorations) {
    WriteZone(true);
    WriteZone(false);
  }
  for (const char* level : {
           "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}",
           "{\\*\\pnseclvl2\\pnucltr\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}",
           "{\\*\\pnseclvl3\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}",
           "{\\*\\pnseclvl4\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxta )}}",
           "{\\*\\pnseclvl5\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
           "{\\*\\pnseclvl6\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
           "{\\*\\pnseclvl7\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
           "{\\*\\pnseclvl8\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
           "{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
       })
    Line(level);
  v_haveText = false;
}

// ---------------------------------------------------------------- text

void CTRTFOutput::TextStyle(const QString& szStr, unsigned nStyles, TColor nColor, int nTabIndex) {
  EnsureHeader();
  LTDocFont font = v_fonts[kNormal];
  font.styles |= nStyles;
  font.color = nColor;
  QByteArray out = FontAttributes(font);
  for (int i = 0; i < nTabIndex; ++i) out += "\\tab ";
  out += Escaped(szStr);
  if (font.styles & DocStyle::kBold) out += "\\b0 ";
  if (font.styles & DocStyle::kItalic) out += "\\i0 ";
  if (font.styles & DocStyle::kUnderline) out += "\\ul0 ";
  if (font.styles & DocStyle::kStrikeOut) out += "\\strike0 ";
  Write(out);
  v_haveText = true;
}

void CTRTFOutput::TextWriteln() {
  EnsureHeader();
  Line("");
  Line("\\par");
  v_haveText = false;
}

void CTRTFOutput::TextLeft(const QString& szStr, unsigned nStyles, TColor nColor) {
  TextStyle(szStr, nStyles, nColor, 0);
  Line("\\par");
  v_haveText = false;
}

void CTRTFOutput::AlignedParagraph(const char* szAlign, const QString& szStr, unsigned nStyles, TColor nColor) {
  EnsureHeader();
  Write(szAlign);
  TextStyle(szStr, nStyles, nColor, 0);
  Line("\\par \\ql");
  v_haveText = false;
}

void CTRTFOutput::TextCenter(const QString& szStr, unsigned nStyles, TColor nColor) {
  AlignedParagraph("\\qc ", szStr, nStyles, nColor);
}

void CTRTFOutput::TextRight(const QString& szStr, unsigned nStyles, TColor nColor) {
  AlignedParagraph("\\qr ", szStr, nStyles, nColor);
}

void CTRTFOutput::NewPage() {
  EnsureHeader();
  Line("");
  Line("\\page");
  v_haveText = false;
}

void CTRTFOutput::TextParagraph(FontSlot font, const QString& szStr, bool bNumbered) {
  EnsureHeader();
  if (v_haveText) Line("\\par");
  if (bNumbered) {
    Line("{\\listtext\\pard\\plain\\s" + Num(font));
    Line(FontAttributes(v_fonts[font]) + "\\hich\\af1\\dbch\\af0\\loch\\f1 X.\\tab");
    Line("}");
  }
  Line("\\pard\\plain");
  Line("{");
  Line(StyleDefinition(font, bNumbered) + Escaped(szStr) + "\\par");
  Line("}");
  v_haveText = false;
}

// ---------------------------------------------------------------- tables

void CTRTFOutput::PutDocTable(CTDocTable& table) {
  EnsureHeader();
  if (v_haveText) TextWriteln();
  const LTDocFont saved = v_fonts[kNormal];
  v_fonts[kNormal].name = table.v_fontName;
  v_fonts[kNormal].size = table.v_defFontSize[CTDocTable::kCell];
  for (int r = 0; r < table.NbRows(); ++r) {
    // A row is never given a negative height.
    const long height = std::max(0L, static_cast<long>(table.GetRowHeight(r)) * 1440 / kDocumentDpi - 50);
    Line("\\trowd \\trgaph20\\trrh" + Num(height) +
         " \\trpaddft3\\trpaddt40\\trpaddfb3\\trpaddb10\\trpaddfl3\\trpaddl20\\trpaddfr3\\trpaddr20 " +
         (r < table.NbTitleRows() ? "\\trhdr" : ""));
    std::vector<int> starts;
    long x = 0;
    for (int c = 0; c < table.NbColumns(); ++c) {
      if (table.GetIsMerged(c, r)) continue;
      starts.push_back(c);
      const int span = table.GetColumnSpan(c, r);
      for (int k = c; k < c + span; ++k) x += table.GetColumnWidth(k);
      QByteArray cell;
      switch (table.GetVerAlign(c, r)) {
        case DocVerAlign::kBottom: cell += "\\clvertalb "; break;
        case DocVerAlign::kCentre: cell += "\\clvertalc "; break;
        case DocVerAlign::kTop: cell += "\\clvertalt "; break;
      }
      const std::pair<CTDocTable::Side, const char*> sides[] = {{CTDocTable::kTop, "\\clbrdrt"},
                                                                {CTDocTable::kBottom, "\\clbrdrb"},
                                                                {CTDocTable::kLeft, "\\clbrdrl"},
                                                                {CTDocTable::kRight, "\\clbrdrr"}};
      for (const auto& [side, word] : sides) {
        TColor color = 0;
        if (table.HasBorder(c, r, side, color)) cell += word + QByteArray("\\brdrs\\brdrw10\\brdrcf") + Num(ColorIndex(color)) + ' ';
      }
      const TColor background = table.GetBgColor(c, r);
      if (background == DrawColors::kWhite) cell += "\\clcbpat0";
      else if (const int index = ColorIndex(background); index > 0) cell += "\\clcbpat" + Num(index);
      else cell += "\\clshdng1000\\clcbpat0";
      cell += " \\cltxlrtb ";
      if (table.GetHorAlign(c, r) == DocHorAlign::kRight) cell += "\\clpadfr3\\clpadr40";
      Line(cell + "\\cellx" + Num(x * 1440 / kDocumentDpi));
    }
    for (int c : starts) {
      QByteArray align = "\\ql ";
      if (table.GetHorAlign(c, r) == DocHorAlign::kRight) align = "\\qr ";
      if (table.GetHorAlign(c, r) == DocHorAlign::kCentre) align = "\\qc ";
      Write("\\pard \\intbl " + align);
      std::shared_ptr<const CTDocGraphic> picture;
      double scale = 1;
      if (table.GetGraphic(c, r, picture, scale) && picture->Width() > 0 && picture->Height() > 0)
        PutGraphic(scale, *picture, DocHorAlign::kLeft, true);
      const double size = v_fonts[kNormal].size;
      v_fonts[kNormal].size = table.GetFontSize(c, r);
      const QStringList lines = table.GetStrings(c, r);
      for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) TextWriteln();
        const std::optional<LTDocLineStyle> own = table.GetLineStyle(c, r, i);
        TextStyle(lines[i], own && own->stylesSet ? own->styles : table.GetStyles(c, r),
                  own && own->colorSet ? own->color : table.GetFontColor(c, r), 0);
      }
      v_fonts[kNormal].size = size;
      Line(" \\cell");
    }
    Line("\\row \\pard");
  }
  v_fonts[kNormal] = saved;
  v_haveText = false;
}

// ---------------------------------------------------------------- pictures

void CTRTFOutput::PutGraphic(double nScale, const CTDocGraphic& graphic, DocHorAlign align, bool bAddNewLine) {
  if (graphic.Width() <= 0 || graphic.Height() <= 0) return;
  EnsureHeader();
  const QByteArray prefix = align == DocHorAlign::kRight ? "\\qr " : align == DocHorAlign::kCentre ? "\\qc " : "";
  const QByteArray suffix = align == DocHorAlign::kLeft ? "" : " \\ql";
  const double s = nScale / 120 * kDocumentDpi;
  QByteArray head = prefix + "{\\*\\shppict {\\pict \\emfblip";
  if (g_word2000)
    head += "\\picscalex" + Num(std::lround(s * 100)) + "\\picscaley" + Num(std::lround(s * 100));
  else
    head += "\\picscalex100\\picscaley100\\picwgoal" + Num(std::lround(graphic.Width() * s * 1440 / 120)) +
            "\\pichgoal" + Num(std::lround(graphic.Height() * s * 1440 / 120));
  Line(head);
  const QByteArray emf = graphic.Emf();
  constexpr qsizetype kBlock = 10000, kPerLine = 64;
  QByteArray out;
  out.reserve(emf.size() * 2 + emf.size() / kPerLine * 2 + 2);
  for (qsizetype block = 0; block < emf.size(); block += kBlock) {
    const qsizetype end = std::min(emf.size(), block + kBlock);
    for (qsizetype i = block; i < end; ++i) {
      out += QByteArray(1, emf[i]).toHex().toUpper();
      if (i > block && (i - block) % kPerLine == 0) out += "\r\n";
    }
  }
  Write(out);
  Line("}}");
  if (bAddNewLine) Line("\\par" + suffix);
}

// ---------------------------------------------------------------- header and footer

void CTRTFOutput::WriteZone(bool bHeader) {
  const auto& zones = v_decorationDef->DecorationListFor(bHeader);
  const bool printLine = bHeader ? v_decorationDef->v_mustPrintHeaderLine && !v_decorationDef->v_headerLine.isEmpty()
                                 : v_decorationDef->v_mustPrintFooterLine && !v_decorationDef->v_footerLine.isEmpty();
  if (zones.empty() && !printLine) return;
  const long fs = std::lround(2 * v_fonts[kNormal].size);
  Line(QByteArray(bHeader ? "{\\header \\pard\\plain \\s15" : "{\\footer \\pard\\plain \\s16") +
       "\\nowidctlpar\\widctlpar \\fs" + Num(fs) + "\\cgrid");
  if (!bHeader && printLine)
    Line("{\\fs" + Num(std::lround(fs * 0.66)) + " " + Escaped(v_decorationDef->v_footerLine) + " \\par\\par}");
  // Left d1, centre d2 when there are three, right the last when there are two or more.
  const int n = static_cast<int>(zones.size());
  const CTPageDecoration* cells[3] = {n >= 1 ? zones[0].get() : nullptr, n >= 3 ? zones[1].get() : nullptr,
                                      n >= 2 ? zones[n - 1].get() : nullptr};
  Line("\\trowd \\trgaph20\\trrh200");
  const long width = v_paperW - (v_marginL ? v_marginL : kDefaultMargin) - (v_marginR ? v_marginR : kDefaultMargin);
  for (int i = 0; i < 3; ++i) {
    const bool pageNumber = cells[i] && cells[i]->GetKind() == CTPageDecoration::Kind::kPageNumber;
    const QByteArray align = pageNumber ? (bHeader ? "\\clvertalt " : "\\clvertalb ") : "\\clvertalc ";
    Line(align + "\\clcbpat0 \\cltxlrtb \\cellx" + Num(width * (i + 1) / 3));
  }
  const char* alignments[3] = {"\\ql ", "\\qc ", "\\qr "};
  for (int i = 0; i < 3; ++i) {
    Write(QByteArray("\\pard \\intbl ") + alignments[i]);
    if (cells[i]) WriteDecoration(*cells[i]);
    Line(" \\cell");
  }
  Line("\\row \\pard");
  if (bHeader && printLine)
    Line("{\\fs" + Num(std::lround(fs * 0.8)) + " \\par\\par " + Escaped(v_decorationDef->v_headerLine) + "}");
  Line("}");
}

void CTRTFOutput::WriteDecoration(const CTPageDecoration& decoration) {
  switch (decoration.GetKind()) {
    case CTPageDecoration::Kind::kPageNumber: {
      const auto& page = static_cast<const CTPageNrDecoration&>(decoration);
      TDlgForm::Load();
      Write("{\\cs17 " + Escaped(TBaseMsg::GetUnicodeString(page.v_capMsgNr, QString())) + "}");
      Line("{\\field{\\*\\fldinst {\\cs17 PAGE }}");
      Write("{\\fldrslt {\\cs17\\lang1024 1}}}");
      break;
    }
    case CTPageDecoration::Kind::kText: {
      const auto& text = static_cast<const CTTextDecoration&>(decoration);
      for (int i = 0; i < text.v_strs.size(); ++i) {
        if (i > 0) Line("{\\par}");
        Write("{\\cs17 " + Escaped(text.v_strs[i]) + "}");
      }
      break;
    }
    case CTPageDecoration::Kind::kPreloadedGraphic: {
      const auto& picture = static_cast<const CTPreloadedGraphicDecoration&>(decoration);
      if (picture.v_graphic) PutGraphic(0.4, *picture.v_graphic, DocHorAlign::kLeft, false);
      break;
    }
    case CTPageDecoration::Kind::kGraphicFile: {
      const auto& file = static_cast<const CTGraphicDecoration&>(decoration);
      if (file.v_fileName.isEmpty()) break;
      const QImage image(file.v_fileName);
      if (!image.isNull()) PutGraphic(0.4, CTDocImagePicture(image), DocHorAlign::kLeft, false);
      break;
    }
  }
}
