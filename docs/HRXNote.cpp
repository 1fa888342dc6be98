#include "docs/HRXNote.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXDocumentation.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"

#include <QBuffer>

namespace {

constexpr int kMsgDataBasis = 24;     // what the results are calculated for
constexpr int kMsgOfficialData = 25;  // where the official data are; "$1" is the link, written apart
constexpr double kPageWidthCm = 29.7, kPageHeightCm = 21, kMarginCm = 1.5;

}  // namespace

bool CTHRXNote::Applies(const Cls_HRX& unit) {
  return unit.GetSeries().trimmed().compare(QLatin1String(kNoteSeries), Qt::CaseInsensitive) == 0;
}

QString CTHRXNote::Link() { return Cls_HRXDocumentation::WebLinkForHRXNote(); }

void CTHRXNote::Write(CTDocOutput& out) {
  TDlgForm::Load();
  out.TextWrite(TBaseMsg::GetUnicodeString(kMsgDataBasis));
  out.TextWrite(QStringLiteral(" "));
  out.TextWrite(TBaseMsg::GetUnicodeString(kMsgOfficialData, QString()));
  out.TextStyle(Link(), DocStyle::kUnderline, kLinkColor, 0);
  out.TextWrite(QStringLiteral("."));
  out.TextWriteln();
}

QByteArray CTHRXNote::Rtf(const LTDocFont& normalFont) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    CTRTFOutput rtf(buffer, QString(), kPageWidthCm, kPageHeightCm, kMarginCm, kMarginCm, kMarginCm, kMarginCm);
    rtf.SetFontCharacteristics(CTDocOutput::kNormal, normalFont);
    Write(rtf);
  }
  return buffer.data();
}
