#include "docs/ConditionsDocument.h"

#include <QBuffer>

QByteArray CTConditionsDocument::Rtf(const QStringList& text, const QString& szProgramName,
                                     const LTConditionsPage& page, const LTDocFont& normalFont) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    CTRTFOutput rtf(buffer, szProgramName, page.widthCm, page.heightCm, page.marginCm, page.marginCm, page.marginCm,
                    page.marginCm);
    rtf.SetFontCharacteristics(CTDocOutput::kNormal, normalFont);
    if (!text.isEmpty()) rtf.TextCenter(text.first(), DocStyle::kBold, DrawColors::kWindowText);
    for (qsizetype i = 1; i < text.size(); ++i) {
      rtf.TextWriteln();  // an empty line before each paragraph
      rtf.TextWrite(text[i]);
      rtf.TextWriteln();
    }
  }
  return buffer.data();
}
