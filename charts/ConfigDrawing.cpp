#include "charts/ConfigDrawing.h"

#include "catalogue/ClHRX.h"
#include "catalogue/Sentinels.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "platform/Resources.h"
#include "psychro/Rounding.h"
#include "psychro/SI_Units.h"
#include "resources/EmbeddedData.h"

#include <QImage>

#include <cmath>

namespace {

constexpr int kMsgExhaustLimits = 2, kMsgExchangerLimits = 3, kMsgMaxRH = 4, kMsgRoomLimits = 5, kMsgRange = 6,
              kMsgVentInLimits = 7, kMsgVentOutLimits = 8, kMsgNote = 40;
constexpr TColor kBoxFill = DrawColors::Rgb(253, 255, 250), kTitleBlue = DrawColors::Rgb(0, 0, 255),
                 kNoteRed = DrawColors::Rgb(255, 0, 0);
constexpr int kMaxFontPoints = 16;

QImage Picture(const char* name) {
  EmbeddedData::Ensure();
  const std::optional<QByteArray> data = CTResources::Data(QString::fromLatin1(name) + QStringLiteral(".png"));
  return data ? QImage::fromData(*data, "PNG") : QImage();
}

QString TempText(double t) {
  return TU_Form::PutFmtDimensionedValue(t, U_Temperature, 1, true).trimmed() + TU_Form::GetCurrentString(U_Temperature);
}

enum class Align { kCentre, kRight, kLeft };

// One drawing: the surface, the text height and the pictures.
struct Drawing {
  IDrawSurface& s;
  int h;
  QImage unit;

  void Image(int x, int y, const QImage& image) {
    s.StretchImage(x, y, x + image.width() - 1, y + image.height() - 1, image);
  }
  // An arrow with its label above (at y - h - 4) or below it.
  void Arrow(const QImage& arrow, int x, int y, const QString& label, bool above, Align align) {
    Image(x, y, arrow);
    const int width = s.TextExtent(label).width(), c = x + arrow.width() / 2;
    const int left = align == Align::kCentre ? c - width / 2 : align == Align::kRight ? c - width + h / 2 : c - h / 2;
    s.TextOut(left, above ? y - h - 4 : y + arrow.height(), label);
  }
  // A limit box of kind 0 to 4 at anchor (a, b); a range of
  // Sentinel::kNoTemperature is none.
  void LimitBox(int kind, int a, int b, int titleMessage, double maxRH, double minT, double maxT) {
    QStringList lines{TBaseMsg::GetUnicodeString(titleMessage),
                      TBaseMsg::GetUnicodeString(kMsgMaxRH, QString::number(Rounding::HalfEvenInt(maxRH)))};
    if (minT != Sentinel::kNoTemperature && maxT != Sentinel::kNoTemperature)
      lines << TBaseMsg::GetUnicodeString(kMsgRange, QStringList{TempText(minT), TempText(maxT)});
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, s.TextExtent(line).width());
    const int w = widest + 16, g = h * int(lines.size()) + 8, unitWidth = unit.width();
    int x = 0, y = b + 4;
    switch (kind) {
      case 0: x = a + 10, y = b - h - 4; break;
      case 1: x = a - w - 14, y = b - h - 4; break;
      case 2: x = a - w / 2, y = b - g - 4; break;
      case 3: x = w < unitWidth - 30 ? a - w / 2 : a + unitWidth / 2 - w - 30; break;
      case 4: x = w < unitWidth - 30 ? a - w / 2 : a - unitWidth / 2 + 30; break;
      default: return;
    }
    const LTBrush brush = s.Brush();
    const LTPen pen = s.Pen();
    const LTFont font = s.Font();
    s.SetPen({DrawColors::kBlack, 1, PenStyle::kSolid, PenMode::kCopy});
    s.SetBrush({DrawColors::kBlack, BrushStyle::kSolid});
    s.Rectangle(x + 4, y, x + w + 4, y + g + 4);  // the shadow
    s.SetBrush({kBoxFill, BrushStyle::kSolid});
    s.Rectangle(x, y - 4, x + w, y + g);
    LTFont title = font;
    title.style |= kFontBold;
    title.color = kTitleBlue;
    s.SetFont(title);
    s.TextOut(x + 4, y, lines[0]);
    s.SetFont(font);
    for (int i = 1; i < lines.size(); ++i) s.TextOut(x + 12, y + i * h, lines[i]);
    s.SetBrush(brush);
    s.SetPen(pen);
  }
};

}  // namespace

QStringList CTConfigDrawing::SplitNote(const IDrawSurface& canvas, const QString& szNote, int nWidth) {
  if (canvas.TextExtent(szNote).width() <= nWidth) return {szNote};
  QString first = szNote;
  // Cut back blank by blank, keeping the blank at which it was cut.
  while (canvas.TextExtent(first).width() > nWidth) {
    const int blank = first.lastIndexOf(QLatin1Char(' '), first.endsWith(QLatin1Char(' ')) ? -2 : -1);
    if (blank <= 0) {
      // No blank left that would do: cut at the last character that fits.
      first = szNote;
      while (first.size() > 1 && canvas.TextExtent(first).width() > nWidth) first.chop(1);
      break;
    }
    first = first.left(blank + 1);
  }
  return {first, szNote.mid(first.size())};
}

void CTConfigDrawing::DrawConfiguration(IDrawSurface& canvas, int nWidth, int nHeight, Cls_HRX* pUnit,
                                        bool bShowLimits, const LTConfigData& data) {
  if (!pUnit) return;
  TDlgForm::Load();
  const int type = pUnit->GetType();
  const char* unitPicture = type == Cls_HRX::kPlainUnit   ? "HRX"
                            : type == Cls_HRX::kCoilUnit   ? (pUnit->GetNomHumidity() > 0 ? "HRD_GMV" : "HRD_GV")
                            : type == Cls_HRX::kFreshAirUnit ? "DQTL"
                                                             : nullptr;
  if (!unitPicture) return;
  const LTFont savedFont = canvas.Font();
  const LTBrush savedBrush = canvas.Brush();
  LTFont font = savedFont;
  font.sizePt = std::min(font.sizePt, kMaxFontPoints);
  canvas.SetFont(font);
  canvas.SetBrush({savedBrush.color, BrushStyle::kClear});
  Drawing d{canvas, canvas.TextExtent(QStringLiteral("A")).height(), Picture(unitPicture)};
  const double eaMaxRH = data.upsideDown ? pUnit->GetEAMaxRHUpsideDown() : pUnit->GetEAMaxRH();
  const double voMaxRH = data.upsideDown ? pUnit->GetVOMaxRHUpsideDown() : pUnit->GetVOMaxRH();
  const double viMinTemp = data.upsideDown ? pUnit->GetVIMinTempUpsideDown() : pUnit->GetVIMinTemp();
  const QImage down = Picture("SArrowDn"), up = Picture("SArrowUp"), large = Picture("LArrowUp"),
               small = Picture("xsArrowUp");
  const int h = d.h, uw = d.unit.width(), uh = d.unit.height();
  const int L = (nWidth - uw) / 2, T = (nHeight - uh - large.height() + up.height()) / 2, B = T + uh;
  int Y = B + up.height() + 2 * h + 8;
  d.Image(L, T, d.unit);

  if (type == Cls_HRX::kCoilUnit) {
    const int x = (nWidth - up.width()) / 2;
    d.Arrow(small, x, B + 4, data.strCI, false, Align::kCentre);
    if (pUnit->GetNomHumidity() > 0) {
      // The large arrow's white is transparent: only its black is drawn.
      QImage feed = large.convertToFormat(QImage::Format_ARGB32);
      for (int yy = 0; yy < feed.height(); ++yy)
        for (int xx = 0; xx < feed.width(); ++xx)
          if (feed.pixelColor(xx, yy) == QColor(Qt::white)) feed.setPixelColor(xx, yy, Qt::transparent);
      d.Arrow(feed, x + uw / 6, B + 4, data.strHI, false, Align::kCentre);
      Y = B + 4 + large.height() + 4 + h + 4;
    }
  }
  // Every arrow points the way its air flows: room air and outdoor air
  // into the unit (or a heater), exhaust air and supply air out of it.
  if (type == Cls_HRX::kPlainUnit || type == Cls_HRX::kCoilUnit) {
    const int y = T - down.height() - 4;
    const int eaX = L + 20, raX = L + uw - down.width() - 20;
    d.Arrow(up, eaX, y, data.strEA, true, Align::kCentre);
    d.Arrow(down, raX, y, data.strRA, true, Align::kCentre);
    if (bShowLimits) {
      const int eaLabelLeft = eaX + down.width() / 2 - canvas.TextExtent(data.strEA).width() / 2;
      const int raLabelRight = raX + down.width() / 2 + canvas.TextExtent(data.strRA).width() / 2;
      d.LimitBox(1, eaLabelLeft, y, kMsgExhaustLimits, eaMaxRH, Sentinel::kNoTemperature, Sentinel::kNoTemperature);
      d.LimitBox(0, raLabelRight, y, kMsgRoomLimits, pUnit->GetRAMaxRH(), pUnit->GetRAMinTemp(), pUnit->GetRAMaxTemp());
      d.LimitBox(2, nWidth / 2, y - h - 20, kMsgExchangerLimits, pUnit->GetRAMaxRH(), pUnit->GetRAMinTemp(),
                 pUnit->GetRAMaxTemp());
      // The note in red at the bottom left, split to fit.
      const QString note =
          TBaseMsg::GetUnicodeString(kMsgNote, QStringList{TempText(pUnit->GetOAMinTemp()), TempText(viMinTemp)});
      LTFont red = canvas.Font();
      red.color = kNoteRed;
      canvas.SetFont(red);
      const QStringList lines = SplitNote(canvas, note, nWidth - 8);
      const int last = nHeight - h - 4;
      for (int i = 0; i < lines.size(); ++i) canvas.TextOut(4, last - (int(lines.size()) - 1 - i) * h, lines[i]);
      canvas.SetFont(font);
    }
  }

  const int viX = L + 20;
  d.Arrow(up, viX, B + 4, data.strVI, false, Align::kCentre);
  if (bShowLimits)
    d.LimitBox(3, viX + up.width() / 2, Y + 4, kMsgVentInLimits, pUnit->GetOAMaxRH(), pUnit->GetOAMinTemp(),
               pUnit->GetOAMaxTemp());
  if (data.hasInletHeater) {
    const QImage heater = Picture("InletHeater");
    d.Image(L - heater.width() + 4, B - heater.height(), heater);
    d.Arrow(down, L - heater.width() + 50, B - heater.height() - down.height() - 4, data.strInlet, true, Align::kRight);
    d.Arrow(up, L - heater.width() + 10, B + 4, data.strOA, false, Align::kRight);
  } else {
    const int c = viX + up.width() / 2;
    canvas.TextOut(c - canvas.TextExtent(data.strOA).width() / 2, B + 4 + up.height() + h + 4, data.strOA);
  }

  const int voX = L + uw - up.width() - 20;
  d.Arrow(down, voX, B + 4, data.strVO, false, Align::kCentre);
  if (bShowLimits)
    d.LimitBox(4, voX + up.width() / 2, Y + 4, kMsgVentOutLimits, voMaxRH, Sentinel::kNoTemperature,
               Sentinel::kNoTemperature);
  if (data.hasSupplyHeater) {
    const QImage heater = Picture("SupplyHeater");
    d.Image(L + uw - 8, B - heater.height(), heater);
    d.Arrow(down, L + uw - 8 + 40, B - heater.height() - down.height() - 4, data.strSupply, true, Align::kLeft);
    d.Arrow(down, L + uw + heater.width() - 20, B + 4, data.strSA, false, Align::kLeft);
  } else {
    const int c = voX + up.width() / 2;
    canvas.TextOut(c - canvas.TextExtent(data.strSA).width() / 2, B + 4 + up.height() + h + 4, data.strSA);
  }
  canvas.SetFont(savedFont);
  canvas.SetBrush(savedBrush);
}
