// The RTF reader: text and its formats, characters by code page and by
// Unicode, skipped destinations, our own writer's output, and input that is
// not well formed.

#include "docs/RTFOutput.h"
#include "docs/RTFReader.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// The format of the first character of text in the document.
QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().text().contains(text)) return it.fragment().charFormat();
  ADD_FAILURE() << "no fragment with " << text.toStdString();
  return {};
}

}  // namespace

TEST(RTFReader, TextParagraphsAndFormats) {
  const QByteArray rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
      "{\\*\\generator Somebody;}{\\info{\\title Hidden}}"
      "\\pard\\qc\\fs32\\b Terms\\b0\\par"
      "\\pard Plain, {\\i italic}, {\\ul underlined}, \\cf1 red\\cf0 , caf\\'e9 \\u8364? 5\\tab x\\line y\\par"
      "{\\pict\\emfblip 0102}{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}";
  QTextDocument doc;
  ASSERT_TRUE(CTRTFReader::Read(rtf, doc));
  EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("Terms\nPlain, italic, underlined, red, café € 5\tx\ny\nlink"));  // the line break shows as a line end
  EXPECT_EQ(doc.begin().blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(doc.begin().next().blockFormat().alignment(), Qt::AlignLeft);
  EXPECT_EQ(FormatOf(doc, "Terms").fontWeight(), QFont::Bold);
  EXPECT_EQ(FormatOf(doc, "Terms").fontPointSize(), 16);
  EXPECT_TRUE(FormatOf(doc, "italic").fontItalic());
  EXPECT_TRUE(FormatOf(doc, "underlined").fontUnderline());
  EXPECT_EQ(FormatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
  EXPECT_FALSE(FormatOf(doc, "Plain").fontItalic());
}

TEST(RTFReader, ReadsWhatOurWriterWrites) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    CTRTFOutput rtf(buffer, "Aerolith", 21, 29.7, 1.5, 1.5, 1.5, 1.5);
    rtf.TextHeading(1, "General terms", false);
    rtf.TextStyle(QString::fromUtf8("Größe {1} \\ ✓"), DocStyle::kBold, 0x0000FF, 0);
    rtf.TextWriteln();
    rtf.TextCenter("centred", 0, DrawColors::kWindowText);
  }
  QTextDocument doc;
  ASSERT_TRUE(CTRTFReader::Read(buffer.data(), doc));
  EXPECT_TRUE(doc.toPlainText().startsWith(QString::fromUtf8("General terms\nGröße {1} \\ ✓\n")))
      << doc.toPlainText().toStdString();
  EXPECT_EQ(FormatOf(doc, "Gr").fontWeight(), QFont::Bold);
  EXPECT_EQ(FormatOf(doc, "Gr").foreground().color(), QColor(255, 0, 0));
  EXPECT_TRUE(doc.toPlainText().contains("centred"));
}

TEST(RTFReader, BrokenInputEndsCleanly) {
  struct Case {
    QByteArray rtf;
    const char* text;
  };
  const Case cases[] = {
      {"{\\rtf1 cut off \\", "cut off "},
      {"{\\rtf1 unbalanced}}} tail", "unbalanced tail"},
      {"{\\rtf1 " + QByteArray(5000, '{') + "deep" + QByteArray(5000, '}') + " out}", "deep out"},
      {"{\\rtf1 \\u-3 \\u99999999999999999999 x\\'zz\\'4}", nullptr},  // checked below: it starts with U+FFFD
      {"{\\rtf1 \\" + QByteArray(100, 'a') + " after}", "after"},
  };
  for (const Case& c : cases) {
    QTextDocument doc;
    EXPECT_TRUE(CTRTFReader::Read(c.rtf, doc)) << c.rtf.left(40).toStdString();
    if (c.rtf.contains("u-3")) {
      EXPECT_TRUE(doc.toPlainText().startsWith(QChar(0xFFFD))) << doc.toPlainText().toStdString();
      continue;
    }
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8(c.text)) << c.rtf.left(40).toStdString();
  }
  QTextDocument doc;
  QString why;
  EXPECT_FALSE(CTRTFReader::Read("plain text", doc, &why));
  EXPECT_FALSE(why.isEmpty());
}

TEST(RTFReader, RichTextGoesThroughTheWriterAndBack) {
  QTextDocument source;
  ASSERT_TRUE(CTRTFReader::Read("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\pard\\qc\\b Heading\\b0\\par"
                                "\\pard plain {\\i and} {\\cf1 blue}\\par\\pard\\qr right\\par}",
                                source));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    CTRTFOutput rtf(buffer, "Aerolith", 21, 29.7, 1.5, 1.5, 1.5, 1.5);
    rtf.PutRichText(source, {"Arial", 9, 0, DrawColors::kWindowText});
  }
  const QByteArray written = buffer.data();
  EXPECT_TRUE(written.contains("\\qc \\b\\cf0\\f0\\fs18\\cgrid Heading\\b0 \\par \\ql")) << written.toStdString();
  EXPECT_TRUE(written.contains("\\qr \\cf0\\f0\\fs18\\cgrid right\\par \\ql"));
  QTextDocument back;
  ASSERT_TRUE(CTRTFReader::Read(written, back));
  const QString text = back.toPlainText();
  EXPECT_TRUE(text.contains("Heading")) << text.toStdString();
  EXPECT_TRUE(text.contains("plain and blue"));
  EXPECT_EQ(FormatOf(back, "blue").foreground().color(), QColor(0, 0, 255));
  EXPECT_TRUE(FormatOf(back, "and").fontItalic());
}

TEST(RTFReader, RichOrPlainTextReadsRtfAndShowsAnyOtherTextAsItIs) {
  struct Case {
    const char* name;
    QByteArray text;
    QString shown;  // the document's plain text, trimmed
  };
  const Case cases[] = {
      {"rich text", "{\\rtf1\\ansi {\\b New} in 7.2.0\\par}", "New in 7.2.0"},
      {"markup in plain text stays text", "<script>alert(1)</script> <b>plain</b> notes",
       "<script>alert(1)</script> <b>plain</b> notes"},
      {"plain text is ISO 8859-1", "Caf\xe9 \xb0" "C", QString::fromUtf8("Café °C")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTextDocument doc;
    ASSERT_TRUE(CTRTFReader::ReadRichOrPlain(c.text, doc));
    EXPECT_EQ(doc.toPlainText().trimmed(), c.shown);
  }
  // Rich text comes out formatted, plain text never does.
  QTextDocument rich;
  ASSERT_TRUE(CTRTFReader::ReadRichOrPlain("{\\rtf1\\ansi {\\b New} in 7.2.0\\par}", rich));
  EXPECT_EQ(FormatOf(rich, "New").fontWeight(), QFont::Bold);
  QTextDocument plain;
  ASSERT_TRUE(CTRTFReader::ReadRichOrPlain("<b>plain</b>", plain));
  EXPECT_NE(FormatOf(plain, "plain").fontWeight(), QFont::Bold);

  // Nothing to show: the document keeps what it held.
  QTextDocument kept;
  kept.setPlainText("kept");
  EXPECT_FALSE(CTRTFReader::ReadRichOrPlain(QByteArray(), kept));
  EXPECT_EQ(kept.toPlainText(), "kept");
}
