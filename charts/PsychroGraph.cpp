#include "charts/PsychroGraph.h"

#include "catalogue/Sentinels.h"
#include "i18n/BaseMsgMan.h"
#include "platform/Registry.h"
#include "psychro/Rounding.h"
#include "psychro/SI_Units.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000;
constexpr double kZeroFahrenheitC = -160.0 / 9.0;
constexpr double kMaxEnthalpy = 150;     // kJ/kg: the last enthalpy line
constexpr double kLabelledSaturation = 0.0444;

double ToDisplay(double v, U_RepUnit unit, bool absolute = true) {
  return TU_Form::ConvertValue(v, unit, 0, TU_Form::GetNewIndex(unit), absolute);
}
double FromDisplay(double v, U_RepUnit unit, bool absolute = true) {
  return TU_Form::ConvertValue(v, unit, TU_Form::GetNewIndex(unit), 0, absolute);
}

bool Inside(const TPointType& p) {
  return p.v_Dbt >= TAirPropDiagram::kMinDbt && p.v_Dbt <= TAirPropDiagram::kMaxDbt && p.v_AH >= 0 &&
         p.v_AH <= TAirPropDiagram::kMaxAH;
}

}  // namespace

// ---------------------------------------------------------------- settings

TAirPropDiagram::LTSettings& TAirPropDiagram::Settings() {
  static LTSettings settings;
  return settings;
}

void TAirPropDiagram::RestoreRegistryDefaults() { Settings() = LTSettings{}; }

void TAirPropDiagram::LegendToRegistry(const QString& szRegRoot) {
  CTRegistry registry;
  if (!registry.OpenKey(szRegRoot, true)) return;
  const LTSettings& s = Settings();
  registry.WriteInteger(QStringLiteral("DiagramType"), s.psychrometric ? 1 : 0);
  registry.WriteInteger(QStringLiteral("ColorDBT"), int(s.dbt));
  registry.WriteInteger(QStringLiteral("ColorAH"), int(s.ah));
  registry.WriteInteger(QStringLiteral("ColorRH"), int(s.rh));
  registry.WriteInteger(QStringLiteral("ColorE"), int(s.e));
}

void TAirPropDiagram::LoadLegendFromRegistry(const QString& szRegRoot) {
  LTSettings s;
  CTRegistry registry;
  if (registry.OpenKey(szRegRoot, true)) {
    if (const auto v = registry.ReadInteger(QStringLiteral("DiagramType"))) s.psychrometric = *v != 0;
    if (const auto v = registry.ReadInteger(QStringLiteral("ColorDBT"))) s.dbt = TColor(*v);
    if (const auto v = registry.ReadInteger(QStringLiteral("ColorAH"))) s.ah = TColor(*v);
    if (const auto v = registry.ReadInteger(QStringLiteral("ColorRH"))) s.rh = TColor(*v);
    if (const auto v = registry.ReadInteger(QStringLiteral("ColorE"))) s.e = TColor(*v);
  }
  Settings() = s;
}

// ---------------------------------------------------------------- points

TAirPropDiagram::TAirPropDiagram(IDrawSurface* pFromCanvas, GraphHoover OnGraphHoover, GraphClick OnGraphClick,
                                 LegendClick OnLegendClick)
    : CTVirtualCanvas(pFromCanvas),
      v_OnGraphHoover(std::move(OnGraphHoover)),
      v_OnGraphClick(std::move(OnGraphClick)),
      v_OnLegendClick(std::move(OnLegendClick)) {
  const LTSettings& s = Settings();
  v_LabelTitles = {TGraphLineType{s.dbt, {}}, TGraphLineType{s.ah, {}}, TGraphLineType{s.rh, {}},
                   TGraphLineType{s.e, {}}};
}

void TAirPropDiagram::AddPoint(int nPointIndex, const QString& szName, double nDbt, double nAH, int nLineToIndex,
                               bool bShowHairlines) {
  v_SelectPoint = nullptr;  // the list may move
  v_Points.push_back({bShowHairlines, nPointIndex, nLineToIndex, nDbt, nAH, szName});
}

void TAirPropDiagram::UpdatePoint(int nPointIndex, double nDbt, double nAH) {
  for (TPointType& p : v_Points)
    if (p.v_PointIndex == nPointIndex) {
      p.v_Dbt = nDbt;
      p.v_AH = nAH;
    }
}

void TAirPropDiagram::RemovePoint(int nPointIndex) {
  const auto it = std::find_if(v_Points.begin(), v_Points.end(), [&](const TPointType& p) { return p.v_PointIndex == nPointIndex; });
  if (it == v_Points.end()) return;
  v_SelectPoint = nullptr;
  v_Points.erase(it);
}

const TPointType* TAirPropDiagram::FindPoint(int nIndex) const {
  for (const TPointType& p : v_Points)
    if (p.v_PointIndex == nIndex) return &p;
  return nullptr;
}

QPoint TAirPropDiagram::AirToDevice(double nDbt, double nAH) const {
  const QPointF v = ToVirtual(nDbt, nAH);
  return QPoint(DeviceX(v.x()), DeviceY(v.y()));
}

// ---------------------------------------------------------------- drawing helpers

void TAirPropDiagram::LineBetween(double dbt1, double ah1, double dbt2, double ah2) {
  const QPointF a = ToVirtual(dbt1, ah1), b = ToVirtual(dbt2, ah2);
  MoveTo(a.x(), a.y());
  LineTo(b.x(), b.y());
}

void TAirPropDiagram::Text(int x, int y, const QString& text, bool bold) {
  IDrawSurface& s = *DrawingCanvas();
  LTFont font = s.Font();
  const unsigned style = font.style;
  if (bold) font.style |= kFontBold;
  s.SetFont(font);
  s.TextOut(x, y, text);
  font.style = style;
  s.SetFont(font);
}

int TAirPropDiagram::Width(const QString& text, bool bold) const {
  IDrawSurface& s = *DrawingCanvas();
  if (!bold) return s.TextExtent(text).width();
  LTFont font = s.Font();
  const LTFont plain = font;
  font.style |= kFontBold;
  s.SetFont(font);
  const int width = s.TextExtent(text).width();
  s.SetFont(plain);
  return width;
}

QString TAirPropDiagram::BoldTitle(int nLine, U_RepUnit nUnit) const {
  return v_LabelTitles[std::size_t(nLine)].v_Title + QStringLiteral(" (") + TU_Form::GetCurrentString(nUnit) +
         QLatin1Char(')');
}

// ---------------------------------------------------------------- layout

void TAirPropDiagram::CalcLayout() {
  const QSize w = DrawingCanvas()->TextExtent(QStringLiteral("W"));
  v_TextHeight = w.height();
  v_CharWidth = w.width();
  v_CurrDBTUnit = TU_Form::GetNewIndex(U_Temperature);
  v_CurrEUnit = TU_Form::GetNewIndex(U_Enthalpy);
  v_CurrAHUnit = TU_Form::GetNewIndex(U_Humidity);
  v_MinDBT = 5 * (Rounding::HalfEvenInt(ToDisplay(kMinDbt, U_Temperature)) / 5);
  v_DeltaEnthalpy = v_CurrDBTUnit != 0 ? std::fabs(TAir::Enthalpy(0, kZeroFahrenheitC)) : 0;
  v_MinE = 5 * (Rounding::HalfEvenInt(ToDisplay(v_DeltaEnthalpy - 20, U_Enthalpy)) / 5);
}

void TAirPropDiagram::DrawDiagram(bool bAddLegend) {
  v_LegendVisible = bAddLegend;
  CalcLayout();
  SetVCBrushStyle(BrushStyle::kClear);
  const auto pen = [this](TColor c) {
    SetVCPenColor(c);
    SetVCPenWidth(1);
    SetVCPenStyle(PenStyle::kSolid);
  };
  // One display degree at a time: 1 K, or 5/9 K in degF.
  pen(v_LabelTitles[0].v_Color);
  const double degree = FromDisplay(1, U_Temperature, false);
  const double firstDbt = FromDisplay(v_MinDBT, U_Temperature);
  for (int i = 0; i < 1000 && firstDbt + i * degree < kMaxDbt; ++i) DrawDBTLine(firstDbt + i * degree);
  pen(v_LabelTitles[1].v_Color);
  for (int i = 1; i * 0.001 < kMaxAH; ++i) DrawAHLine(i * 0.001);
  pen(v_LabelTitles[2].v_Color);
  SetVCTextColor(v_LabelTitles[2].v_Color);
  for (int phi = 10; phi <= 100; phi += 10) DrawRHLine(phi);
  pen(v_LabelTitles[3].v_Color);
  SetVCTextColor(v_LabelTitles[3].v_Color);
  const bool si = v_CurrEUnit == 0;
  const int tickStep = si ? 10 : 5;
  const double hStep = si ? 10 : FromDisplay(5, U_Enthalpy, false);
  double h = FromDisplay(v_MinE, U_Enthalpy) - v_DeltaEnthalpy;
  for (int tick = v_MinE, i = 0; i < 1000 && h <= kMaxEnthalpy; tick += tickStep, h += hStep, ++i) DrawELine(tick, h);
  pen(DrawColors::kBlack);
  SetVCTextColor(DrawColors::kBlack);
  DrawPoints();
  DrawFrame();
  if (bAddLegend) DrawLegend();
}

void TAirPropDiagram::DrawPoints() {
  SetVCPenColor(kRed);
  for (const TPointType& p : v_Points) {
    const TPointType* from = FindPoint(p.v_RelIndex);
    if (from && (from->v_Dbt != p.v_Dbt || from->v_AH != p.v_AH)) DrawProcessLine(p, *from);
  }
  SetVCPenWidth(1);
  SetVCTextColor(kBlue);
  for (const TPointType& p : v_Points) {
    const TPointType* from = FindPoint(p.v_RelIndex);
    if (!from || from->v_Dbt != p.v_Dbt || from->v_AH != p.v_AH) DrawPoint(p);
  }
  SetVCTextColor(DrawColors::kBlack);
  SetVCPenColor(DrawColors::kBlack);
}

void TAirPropDiagram::DrawPoint(const TPointType& p) {
  if (!Inside(p)) return;
  IDrawSurface& s = *DrawingCanvas();
  const bool psychro = dynamic_cast<const TPsychroDiagram*>(this) != nullptr;
  if (p.v_HairLines) {
    // To both axes: absolute humidity 0 and the 60 degC edge.
    SetVCPenStyle(PenStyle::kDot);
    LineBetween(p.v_Dbt, p.v_AH, p.v_Dbt, 0);
    LineBetween(p.v_Dbt, p.v_AH, kMaxDbt, p.v_AH);
    SetVCPenStyle(PenStyle::kSolid);
  }
  const QPoint c = AirToDevice(p.v_Dbt, p.v_AH);
  const LTBrush brush = s.Brush();
  s.SetBrush({s.Pen().color, BrushStyle::kSolid});
  s.Ellipse(c.x() - 3, c.y() - 3, c.x() + 4, c.y() + 4);
  if (!p.v_Name.isEmpty()) {
    const int th = v_TextHeight;
    const int x = psychro ? c.x() : c.x() + th / 2, y = c.y() - th - 3;
    const LTPen pen = s.Pen();
    s.SetPen({DrawColors::kWhite, 1, PenStyle::kClear, PenMode::kCopy});
    s.SetBrush({DrawColors::kWhite, BrushStyle::kSolid});
    s.Rectangle(x, y, x + Width(p.v_Name, true) + 1, y + th + 1);
    s.SetPen(pen);
    Text(x, y, p.v_Name, true);
  }
  s.SetBrush(brush);
}

void TAirPropDiagram::DrawLegend() {
  IDrawSurface& s = *DrawingCanvas();
  const int th = v_TextHeight, m = Rounding::HalfEvenInt(2 * v_DeviceHorScale);
  int widest = 0;
  for (const TGraphLineType& t : v_LabelTitles) widest = std::max(widest, Width(t.v_Title));
  v_MaxLegendItem = std::max(1, widest + th + v_CharWidth);
  const int y = v_GraphRect.bottom() + v_LegendOffset;
  int x = v_GraphRect.left();
  for (const TGraphLineType& t : v_LabelTitles) {
    s.SetPen({DrawColors::kBlack, 1, PenStyle::kSolid, PenMode::kCopy});
    s.SetBrush({t.v_Color, BrushStyle::kSolid});
    s.Rectangle(x, y + m, x + th - 2 * m, y + th - m);
    s.SetBrush({DrawColors::kWhite, BrushStyle::kClear});
    s.TextOut(x + th, y, t.v_Title);
    x += v_MaxLegendItem;
  }
}

// ---------------------------------------------------------------- mouse

int TAirPropDiagram::LegendItem(int X, int Y) const {
  const int th = v_TextHeight, m = Rounding::HalfEvenInt(2 * v_DeviceHorScale);
  if (!v_LegendVisible || X < v_GraphRect.left() || X > v_GraphRect.right() ||
      Y <= v_GraphRect.bottom() + v_LegendOffset)
    return -1;
  const int a = (X - v_GraphRect.left()) / std::max(1, v_MaxLegendItem);
  if (a < 0 || a > 3 || (X - v_GraphRect.left()) % std::max(1, v_MaxLegendItem) > th - 2 * m) return -1;
  return a;
}

void TAirPropDiagram::OnHoover(int X, int Y) {
  v_highlight = QRect();
  v_SelectPoint = nullptr;
  const int th = v_TextHeight, m = Rounding::HalfEvenInt(2 * v_DeviceHorScale);
  if (const int a = LegendItem(X, Y); a >= 0) {
    const int x = v_GraphRect.left() + a * v_MaxLegendItem, y = v_GraphRect.bottom() + v_LegendOffset + m;
    v_highlight = QRect(x, y, th - 2 * m + 1, th - 2 * m + 1);
    return;
  }
  if (v_LegendVisible && Y > v_GraphRect.bottom() + v_LegendOffset) return;  // the legend row
  double dbt = 0, ah = 0;
  DeviceToAir(X, Y, dbt, ah);
  if (Sentinel::IsGiven(dbt)) {
    for (const TPointType& p : v_Points)
      if (std::fabs(dbt - p.v_Dbt) <= 0.5 && std::fabs(ah - p.v_AH) <= 0.0005) {
        v_SelectPoint = &p;
        const QPoint c = AirToDevice(p.v_Dbt, p.v_AH);
        v_highlight = QRect(c.x() - 6, c.y() - 6, 13, 13);
        dbt = p.v_Dbt;
        ah = p.v_AH;
        break;
      }
  }
  if (v_OnGraphHoover) v_OnGraphHoover(dbt, ah);
}

void TAirPropDiagram::OnClick(int X, int Y) {
  if (const int a = LegendItem(X, Y); a >= 0) {
    if (!v_OnLegendClick) return;
    TColor color = v_LabelTitles[std::size_t(a)].v_Color;
    if (s_colorChooser && s_colorChooser(color)) v_LabelTitles[std::size_t(a)].v_Color = color;
    v_OnLegendClick();
    return;
  }
  double dbt = 0, ah = 0;
  DeviceToAir(X, Y, dbt, ah);
  if (!v_OnGraphClick) return;
  for (const TPointType& p : v_Points)
    if (Sentinel::IsGiven(dbt) && std::fabs(dbt - p.v_Dbt) <= 0.5 && std::fabs(ah - p.v_AH) <= 0.0005)
      return v_OnGraphClick(p.v_Dbt, p.v_AH, p.v_Name);
  v_OnGraphClick(dbt, ah, QString());
}

// ---------------------------------------------------------------- the curves

// Iso-lines alike in both layouts: ToVirtual turns them.
void TAirPropDiagram::DrawDBTLine(double t) { LineBetween(t, 0, t, std::min(Saturation(t), kMaxAH)); }

void TAirPropDiagram::DrawAHLine(double w) { LineBetween(kMaxDbt, w, std::max(v_Air.DewPoint(w), kMinDbt), w); }

bool TAirPropDiagram::EnthalpyLine(double h, double& tw, double& ww) {
  const double t0 = TAir::DryBulbTemp(h, 0);  // dry air of enthalpy h
  if (!(t0 >= kMinDbt)) return false;
  tw = v_Air.WetBulbTemp(t0, h);
  if (!std::isfinite(tw)) return false;
  ww = Saturation(tw);
  // The dry end on the 60 degC edge when the line would leave the chart there.
  if (t0 <= kMaxDbt) LineBetween(tw, ww, t0, 0);
  else LineBetween(tw, ww, kMaxDbt, ww * (t0 - kMaxDbt) / (t0 - tw));
  return true;
}

namespace {

// A relative-humidity curve from -40 degC in 1 K steps, stepping back with a
// tenth of the step where it leaves the chart, down to 0.01 K; at most a
// few hundred steps. Answers the last point drawn and whether the curve
// left through the top (humidity) rather than the right (60 degC).
struct RhCurve {
  double lastT, lastW;
  bool leftThroughTop;
};

template <typename Line>
RhCurve TraceRh(const TAir& air, double phi, bool stopAtRightEdge, Line lineTo) {
  RhCurve c{TAirPropDiagram::kMinDbt, air.AbsoluteHumidity(phi, TAirPropDiagram::kMinDbt), false};
  double t = TAirPropDiagram::kMinDbt + 1, s = 1;
  for (int guard = 0; guard < 2000 && t <= TAirPropDiagram::kMaxDbt + 1e-9; ++guard) {
    const double w = air.AbsoluteHumidity(phi, t);
    const bool top = !(w < TAirPropDiagram::kMaxAH);
    if (top || (stopAtRightEdge && t + 40 >= 100)) {
      c.leftThroughTop = top;
      t -= s;
      s /= 10;
      if (s < 0.01) break;
      t += s;
      continue;
    }
    lineTo(t, w);
    c.lastT = t;
    c.lastW = w;
    t += s;
  }
  return c;
}

}  // namespace

// ---- psychrometric chart: dry bulb + 40 to the right, 0.0451 - humidity down

void TPsychroDiagram::CalcLayout() {
  TAirPropDiagram::CalcLayout();
  const int th = v_TextHeight, b = v_Border;
  v_LegendOffset = 3 * th;
  const int left = Width(QString::number(v_MinDBT)) / 2 + b;
  const int right = v_Width - b - v_CharWidth - Width(TU_Form::PutFmtDimensionedValue(kMaxAH, U_Humidity, 1, true).trimmed());
  const int top = b + 2 * th + 4;
  const int bottom = v_Height - b / 2 - v_LegendOffset - (v_LegendVisible ? th : 0);
  v_GraphRect = QRect(QPoint(left, top), QPoint(right, bottom));
  SetOffsetX(left);
  SetOffsetY(top);
  SetScaleX((right - left) / 100.0);
  SetScaleY((bottom - top) / kMaxAH);
}

void TPsychroDiagram::DeviceToAir(int X, int Y, double& Dbt, double& AH) const {
  Dbt = AH = Sentinel::kNotGiven;
  if (!v_GraphRect.contains(X, Y)) return;
  const double ah = (v_GraphRect.bottom() - Y) / GetScaleY();
  const double dbt = (X - v_GraphRect.left()) / GetScaleX() - 40;
  if (!(ah > 0) || !(ah <= Saturation(dbt))) return;
  Dbt = dbt;
  AH = ah;
}

void TPsychroDiagram::DrawRHLine(double phi) {
  const QPointF start = ToVirtual(kMinDbt, v_Air.AbsoluteHumidity(phi, kMinDbt));
  MoveTo(start.x(), start.y());
  const RhCurve c = TraceRh(v_Air, phi, true, [this](double t, double w) {
    const QPointF v = ToVirtual(t, w);
    LineTo(v.x(), v.y());
  });
  const int th = v_TextHeight;
  const QPoint last = AirToDevice(c.lastT, c.lastW);
  const QString label = QString::number(Rounding::HalfEvenInt(phi));
  if (!c.leftThroughTop) {
    Text(v_GraphRect.right() - th / 2 - Width(label), last.y() - th, label);
    return;
  }
  const int y = last.y() - th - 2;
  if (Rounding::HalfEvenInt(phi) == 100) {
    Text(last.x() - Width(label), y, label);
    const QString title = v_LabelTitles[2].v_Title + QStringLiteral(" (%)");
    Text(last.x() - Width(QStringLiteral("WW"), true) - Width(title, true), y, title, true);
    return;
  }
  Text(last.x() - Width(label) / 2, y, label);
}

void TPsychroDiagram::DrawELine(int nTick, double h) {
  double tw = 0, ww = 0;
  if (!EnthalpyLine(h, tw, ww)) return;
  const int th = v_TextHeight;
  const QPoint wet = AirToDevice(tw, ww);
  if (ww < kLabelledSaturation) {
    const QString label = QString::number(nTick);
    Text(wet.x() - Width(label), wet.y() - th, label);
  }
  if (nTick == v_MinE) Text(v_GraphRect.left(), wet.y() - th, BoldTitle(3, U_Enthalpy), true);
}

void TPsychroDiagram::DrawProcessLine(const TPointType& point, const TPointType& from) {
  SetVCPenWidth(2);
  LineBetween(from.v_Dbt, from.v_AH, point.v_Dbt, point.v_AH);
}

void TPsychroDiagram::DrawFrame() {
  IDrawSurface& s = *DrawingCanvas();
  const int th = v_TextHeight;
  const QRect g = v_GraphRect;
  SetVCPenWidth(1);
  s.MoveTo(g.left(), g.bottom());
  s.LineTo(g.right(), g.bottom());
  s.LineTo(g.right(), g.top());
  const double fiveDegrees = FromDisplay(5, U_Temperature, false);
  const double first = FromDisplay(v_MinDBT, U_Temperature);
  for (int i = 0; i < 200 && first + i * fiveDegrees <= kMaxDbt + 1e-9; ++i) {
    const int x = AirToDevice(first + i * fiveDegrees, 0).x();
    s.MoveTo(x, g.bottom());
    s.LineTo(x, g.bottom() + th / 2);
    const QString label = QString::number(v_MinDBT + 5 * i);
    Text(x - Width(label) / 2, g.bottom() + th / 2, label);
  }
  Text(g.left(), g.bottom() + th / 2 + th, BoldTitle(0, U_Temperature), true);
  for (int i = 0; i <= 9; ++i) {
    const double w = i * 0.005;
    const int y = AirToDevice(kMaxDbt, w).y();
    s.MoveTo(g.right(), y);
    s.LineTo(g.right() + th / 2, y);
    Text(g.right() + th / 2 + 2, y - th / 2, TU_Form::PutFmtDimensionedValue(w, U_Humidity, 1, true).trimmed());
  }
  const int titleY = g.top() - 2 * th - 4;
  const QString ahTitle = BoldTitle(1, U_Humidity);
  Text(g.right() - Width(ahTitle, true), titleY, ahTitle, true);
  Text((g.left() + g.right() - Width(v_DiagramTitle, true)) / 2, titleY, v_DiagramTitle, true);
}

// ---- Mollier chart: humidity to the right, 60 - dry bulb down

void TMollierDiagram::CalcLayout() {
  TAirPropDiagram::CalcLayout();
  const int th = v_TextHeight, b = v_Border;
  v_LegendOffset = th / 2;
  const int left = Width(QString::number(v_MinDBT)) + b + v_CharWidth;
  const int right = v_Width - b - Width(QStringLiteral("100")) - th / 2;
  const int top = b + 2 * th + 4 + th / 2;
  const int bottom = v_Height - b / 2 - v_LegendOffset - (v_LegendVisible ? th : 0);
  v_GraphRect = QRect(QPoint(left, top), QPoint(right, bottom));
  SetOffsetX(left);
  SetOffsetY(top);
  SetScaleX((right - left) / kMaxAH);
  SetScaleY((bottom - top) / 100.0);
}

void TMollierDiagram::DeviceToAir(int X, int Y, double& Dbt, double& AH) const {
  Dbt = AH = Sentinel::kNotGiven;
  if (!v_GraphRect.contains(X, Y)) return;
  const double dbt = 60 - (Y - v_GraphRect.top()) / GetScaleY();
  const double ah = (X - v_GraphRect.left()) / GetScaleX();
  if (!(ah <= Saturation(dbt))) return;
  Dbt = dbt;
  AH = ah;
}

void TMollierDiagram::DrawRHLine(double phi) {
  const QPointF start = ToVirtual(kMinDbt, v_Air.AbsoluteHumidity(phi, kMinDbt));
  MoveTo(start.x(), start.y());
  const RhCurve c = TraceRh(v_Air, phi, false, [this](double t, double w) {
    const QPointF v = ToVirtual(t, w);
    LineTo(v.x(), v.y());
  });
  const int th = v_TextHeight;
  const QPoint last = AirToDevice(c.lastT, c.lastW);
  const QString label = QString::number(Rounding::HalfEvenInt(phi));
  if (c.lastW < kMaxAH && !c.leftThroughTop) {  // ended at the top edge (60 degC)
    Text(last.x(), v_GraphRect.top(), label);
    return;
  }
  const int y = last.y() - th / 2 - Rounding::HalfEvenInt((80 - phi) / 10);
  if (Rounding::HalfEvenInt(phi) == 100) {
    const QString title = v_LabelTitles[2].v_Title + QStringLiteral(" (%)");
    Text(v_GraphRect.right() - Width(QStringLiteral(" 100")) - Width(title, true), last.y() + 2 * th, title, true);
  }
  Text(v_GraphRect.right() + th / 2, y, phi < 100 ? QLatin1Char(' ') + label : label);
}

void TMollierDiagram::DrawELine(int nTick, double h) {
  double tw = 0, ww = 0;
  if (!EnthalpyLine(h, tw, ww)) return;
  const QPoint wet = AirToDevice(tw, ww);
  if (ww < kLabelledSaturation) Text(wet.x(), wet.y(), QString::number(nTick));
  if (nTick == v_MinE) Text(wet.x(), wet.y() + v_TextHeight, BoldTitle(3, U_Enthalpy), true);
}

void TMollierDiagram::DrawProcessLine(const TPointType& point, const TPointType& from) {
  if (!Inside(point)) return;
  SetVCPenWidth(2);
  LineBetween(from.v_Dbt, from.v_AH, point.v_Dbt, point.v_AH);
}

void TMollierDiagram::DrawFrame() {
  IDrawSurface& s = *DrawingCanvas();
  const int th = v_TextHeight;
  const QRect g = v_GraphRect;
  SetVCPenWidth(1);
  s.MoveTo(g.left(), g.bottom());
  s.LineTo(g.left(), g.top());
  s.LineTo(g.right(), g.top());
  const double fiveDegrees = FromDisplay(5, U_Temperature, false);
  const double first = FromDisplay(v_MinDBT, U_Temperature);
  for (int i = 0; i < 200 && first + i * fiveDegrees <= kMaxDbt + 1e-9; ++i) {
    const int y = AirToDevice(first + i * fiveDegrees, 0).y();
    s.MoveTo(g.left(), y);
    s.LineTo(g.left() - th / 2, y);
    const QString label = QString::number(v_MinDBT + 5 * i);
    Text(g.left() - th - Width(label), y - th / 2, label);
  }
  for (int i = 0; i <= 9; ++i) {
    const int x = AirToDevice(kMaxDbt, i * 0.005).x();
    s.MoveTo(x, g.top());
    s.LineTo(x, g.top() - th / 2);
    const QString label = TU_Form::PutFmtDimensionedValue(i * 0.005, U_Humidity, 1, true).trimmed();
    Text(x - Width(label) / 2, g.top() - th / 2 - th, label);
  }
  const int titleY = g.top() - 2 * th - th / 2 - 4;
  Text(g.left() - Width(QStringLiteral("-40")) - v_CharWidth, titleY, BoldTitle(0, U_Temperature), true);
  Text((g.left() + g.right() - Width(v_DiagramTitle, true)) / 2, titleY, v_DiagramTitle, true);
  const QString ahTitle = BoldTitle(1, U_Humidity);
  Text(g.right() - Width(ahTitle, true), titleY, ahTitle, true);
}
