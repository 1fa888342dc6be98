#include "docs/RTFReader.h"

#include <QColor>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace {

constexpr int kMaxDepth = 200;       // groups nested deeper are read as text of the deepest
constexpr int kMaxWordLength = 32;   // a control word is at most this long
constexpr int kMaxParameterDigits = 10;

struct LTCharState {
  bool bold = false, italic = false, underline = false;
  int color = 0;           // index into the colour table, 0 = automatic
  int halfPoints = 24;     // 12 pt, the format's default
  int ucSkip = 1;          // fallback characters after \uN
  bool skip = false;       // inside a destination that is not shown
  bool colorTable = false;
  Qt::Alignment align = Qt::AlignLeft;
};

class Reader {
 public:
  Reader(const QByteArray& rtf, QTextDocument& doc) : v_in(rtf), v_cursor(&doc) {}

  void Run() {
    std::vector<LTCharState> stack{LTCharState{}};
    qsizetype i = 0;
    int pendingSkip = 0;  // fallback characters of \uN still to drop
    long excess = 0;      // groups opened beyond the nesting limit
    while (i < v_in.size()) {
      const char c = v_in[i];
      LTCharState& s = stack.back();
      if (c == '{') {
        // Beyond the limit groups are counted, not kept: their state is their parent's.
        if (stack.size() < kMaxDepth) stack.push_back(s);
        else ++excess;
        ++i;
        pendingSkip = 0;
        continue;
      }
      if (c == '}') {
        if (excess > 0) {
          --excess;
        } else if (stack.size() > 1) {
          Flush(stack.back());
          if (stack.back().colorTable && !stack[stack.size() - 2].colorTable) EndColorEntry(true);
          stack.pop_back();
        }
        ++i;
        pendingSkip = 0;
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++i;
        continue;
      }
      if (c != '\\') {
        if (pendingSkip > 0) {
          --pendingSkip;
        } else if (s.colorTable) {
          if (c == ';') EndColorEntry(false);
        } else if (!s.skip) {
          Text(s, Decode(static_cast<uchar>(c)));
        }
        ++i;
        continue;
      }
      // A control symbol or word.
      ++i;
      if (i >= v_in.size()) break;
      const char next = v_in[i];
      if (!std::isalpha(static_cast<unsigned char>(next))) {
        ++i;
        switch (next) {
          case '\\': case '{': case '}':
            if (pendingSkip > 0) --pendingSkip;
            else if (!s.skip && !s.colorTable) Text(s, QString(QChar::fromLatin1(next)));
            break;
          case '\'': {
            const QByteArray hex = v_in.mid(i, 2);
            bool ok = false;
            const int code = hex.toInt(&ok, 16);
            if (ok && hex.size() == 2) i += 2;
            if (pendingSkip > 0) --pendingSkip;
            else if (ok && !s.skip && !s.colorTable) Text(s, Decode(static_cast<uchar>(code)));
            break;
          }
          case '~': if (!s.skip) Text(s, QString(QChar(0xA0))); break;
          case '_': if (!s.skip) Text(s, QString(QChar(0x2011))); break;
          case '*': s.skip = true; break;
          case '\r': case '\n': if (!s.skip) Paragraph(s); break;  // "\" and a line end: a paragraph
          default: break;
        }
        continue;
      }
      const qsizetype wordStart = i;
      while (i < v_in.size() && std::isalpha(static_cast<unsigned char>(v_in[i]))) ++i;
      // A longer word is no word this reader knows; it is still one word.
      const QByteArray word = v_in.mid(wordStart, std::min<qsizetype>(i - wordStart, kMaxWordLength));
      bool hasParameter = false;
      long parameter = 0;
      bool negative = false;
      if (i < v_in.size() && v_in[i] == '-') {
        negative = true;
        ++i;
      }
      int digits = 0;
      while (i < v_in.size() && std::isdigit(static_cast<unsigned char>(v_in[i]))) {
        if (digits++ < kMaxParameterDigits) parameter = parameter * 10 + (v_in[i] - '0');
        hasParameter = true;
        ++i;
      }
      if (negative) parameter = -parameter;
      if (i < v_in.size() && v_in[i] == ' ') ++i;  // the delimiting blank belongs to the word
      Control(stack, word, hasParameter, parameter, pendingSkip);
    }
    Flush(stack.back());
  }

 private:
  QString Decode(uchar byte) {
    char raw = static_cast<char>(byte);
    if (byte < 0x80) return QString(QChar::fromLatin1(raw));
    // Windows-1252 where it differs from Latin-1; Latin-1 elsewhere.
    static const char16_t k80[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                     0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (byte < 0xA0) return QString(QChar(k80[byte - 0x80]));
    return QString(QChar::fromLatin1(raw));
  }

  void Control(std::vector<LTCharState>& stack, const QByteArray& word, bool hasParameter, long parameter,
               int& pendingSkip) {
    LTCharState& s = stack.back();
    const int p = static_cast<int>(std::clamp(parameter, -100000L, 100000L));
    const auto on = [&] { return !hasParameter || parameter != 0; };
    if (s.colorTable) {
      if (word == "red") v_red = std::clamp(p, 0, 255);
      else if (word == "green") v_green = std::clamp(p, 0, 255);
      else if (word == "blue") v_blue = std::clamp(p, 0, 255);
      v_colorGiven = true;
      return;
    }
    // Destinations not shown.
    static const QList<QByteArray> kSkipped = {"fonttbl", "stylesheet", "info", "pict", "listtable",
                                               "listoverridetable", "fldinst", "header", "footer", "headerl",
                                               "headerr", "footerl", "footerr", "object", "themedata",
                                               "colorschememapping", "datastore", "xmlnstbl", "rsidtbl",
                                               "generator", "latentstyles", "pnseclvl", "listtext", "pntext"};
    if (kSkipped.contains(word)) {
      s.skip = true;
      return;
    }
    if (word == "colortbl") {
      Flush(s);
      s.colorTable = true;
      v_colors.clear();  // the first entry, usually empty, is the automatic colour
      v_colorGiven = false;
      v_red = v_green = v_blue = 0;
      return;
    }
    if (word == "u" && hasParameter) {
      const char16_t unit = static_cast<char16_t>(p < 0 ? p + 65536 : p);
      if (!s.skip) Text(s, QString(QChar(unit)));
      pendingSkip = s.ucSkip;
      return;
    }
    if (word == "uc") s.ucSkip = std::clamp(p, 0, 10);
    if (s.skip) return;
    if (word == "par") Paragraph(s);
    else if (word == "line") Text(s, QString(QChar::LineSeparator));
    else if (word == "tab") Text(s, QStringLiteral("\t"));
    else if (word == "b") Style(s, [&] { s.bold = on(); });
    else if (word == "i") Style(s, [&] { s.italic = on(); });
    else if (word == "ul") Style(s, [&] { s.underline = on(); });
    else if (word == "ulnone") Style(s, [&] { s.underline = false; });
    else if (word == "cf") Style(s, [&] { s.color = std::max(0, p); });
    else if (word == "fs" && hasParameter) Style(s, [&] { s.halfPoints = std::clamp(p, 2, 3276); });
    else if (word == "plain") Style(s, [&] {
      s.bold = s.italic = s.underline = false;
      s.color = 0;
      s.halfPoints = 24;
    });
    else if (word == "pard") s.align = Qt::AlignLeft;
    else if (word == "ql") s.align = Qt::AlignLeft;
    else if (word == "qr") s.align = Qt::AlignRight;
    else if (word == "qc") s.align = Qt::AlignHCenter;
    else if (word == "qj") s.align = Qt::AlignJustify;
    else if (word == "emdash") Text(s, QString(QChar(0x2014)));
    else if (word == "endash") Text(s, QString(QChar(0x2013)));
    else if (word == "bullet") Text(s, QString(QChar(0x2022)));
    else if (word == "lquote") Text(s, QString(QChar(0x2018)));
    else if (word == "rquote") Text(s, QString(QChar(0x2019)));
    else if (word == "ldblquote") Text(s, QString(QChar(0x201C)));
    else if (word == "rdblquote") Text(s, QString(QChar(0x201D)));
  }

  template <typename F>
  void Style(LTCharState& s, F&& change) {
    Flush(s);
    change();
  }

  void EndColorEntry(bool bAtGroupEnd) {
    if (bAtGroupEnd && !v_colorGiven) return;
    v_colors.append(v_colorGiven ? QColor(v_red, v_green, v_blue) : QColor());
    v_colorGiven = false;
    v_red = v_green = v_blue = 0;
  }

  void Text(const LTCharState& s, const QString& text) {
    v_alignment = s.align;
    v_run += text;
  }

  void Paragraph(const LTCharState& s) {
    Flush(s);
    QTextBlockFormat block = v_cursor.blockFormat();
    block.setAlignment(s.align);
    v_cursor.setBlockFormat(block);
    v_cursor.insertBlock();
  }

  void Flush(const LTCharState& s) {
    if (v_run.isEmpty()) return;
    QTextCharFormat format;
    format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(s.italic);
    format.setFontUnderline(s.underline);
    format.setFontPointSize(s.halfPoints / 2.0);
    if (s.color > 0 && s.color < v_colors.size() && v_colors[s.color].isValid()) format.setForeground(v_colors[s.color]);
    QTextBlockFormat block = v_cursor.blockFormat();
    block.setAlignment(v_alignment);
    v_cursor.setBlockFormat(block);
    v_cursor.insertText(v_run, format);
    v_run.clear();
  }

  const QByteArray& v_in;
  QTextCursor v_cursor;
  QString v_run;
  Qt::Alignment v_alignment = Qt::AlignLeft;
  QList<QColor> v_colors{QColor()};
  bool v_colorGiven = false;
  int v_red = 0, v_green = 0, v_blue = 0;
};

}  // namespace

bool CTRTFReader::Read(const QByteArray& rtf, QTextDocument& doc, QString* pError) {
  doc.clear();
  const QByteArray start = rtf.left(16).trimmed();
  if (!start.startsWith("{\\rtf")) {
    if (pError) *pError = QStringLiteral("not a rich-text document");
    return false;
  }
  Reader(rtf, doc).Run();
  return true;
}

bool CTRTFReader::ReadRichOrPlain(const QByteArray& text, QTextDocument& doc) {
  if (text.isEmpty()) return false;
  if (!text.startsWith("{\\rtf")) {
    doc.setPlainText(QString::fromLatin1(text));
    return true;
  }
  // Read clears its document first: read aside, so that a failure leaves doc.
  QTextDocument read;
  if (!Read(text, read)) return false;
  doc.setHtml(read.toHtml());
  return true;
}

QString CTRTFReader::PlainText(const QByteArray& rtf) {
  QTextDocument doc;
  if (!Read(rtf, doc)) return {};
  return doc.toPlainText();
}
