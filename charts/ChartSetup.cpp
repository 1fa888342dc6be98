#include "charts/ChartSetup.h"

#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/HRXRatioCorr.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "psychro/Air.h"
#include "psychro/Rounding.h"
#include "psychro/SI_Units.h"

#include <cmath>

namespace {

constexpr int kMsgCoolEnthalpy = 29, kMsgHeatEnthalpy = 30, kMsgExhaustSpeed = 31, kMsgSupplySpeed = 35,
              kMsgTemperature = 37, kMsgDucting = 85, kMsgExhaust = 89, kMsgExhaustDucting = 90, kMsgSupply = 111,
              kMsgSupplyDucting = 112;
constexpr int kEfficiencySteps = 200, kCorrectionSteps = 51, kFanSteps = 1000;

double ToDisplay(double v, U_RepUnit unit, bool absolute = true) {
  return TU_Form::ConvertValue(v, unit, 0, TU_Form::GetNewIndex(unit), absolute);
}
double FromDisplay(double v, U_RepUnit unit) { return TU_Form::ConvertValue(v, unit, TU_Form::GetNewIndex(unit), 0, true); }
QString Text(double v, U_RepUnit unit, bool absolute = true) {
  return TU_Form::PutFmtDimensionedValue(v, unit, 0, absolute).trimmed() + QLatin1Char(' ') + TU_Form::GetCurrentString(unit);
}
QString AirflowTitle() {
  return TBaseMsg::Tr(QStringLiteral("Airflow Rate (")) + TU_Form::GetCurrentString(U_Airflow) + QLatin1Char(')');
}

// The x axis over an airflow range (m3/h) in the airflow unit in effect.
struct AirflowAxis {
  double start = 0, range = 1;
  QStringList labels;
};

AirflowAxis AxisFor(double lowM3h, double highM3h) {
  AirflowAxis axis;
  const int a = Rounding::HalfEvenInt(ToDisplay(lowM3h / UnitFactor::kM3hPerLs, U_Airflow));
  const int b = Rounding::HalfEvenInt(ToDisplay(highM3h / UnitFactor::kM3hPerLs, U_Airflow));
  const LTAxisSteps steps = CTChartSetup::AxisSteps(a, b);
  axis.start = a;
  for (int k = 0; k <= steps.count; ++k) axis.labels << QString::number(a + k * steps.step);
  axis.range = double(steps.count) * steps.step;
  return axis;
}

// The airflow of an x step, m3/h.
double AirflowAt(const AirflowAxis& axis, double interval, int step) {
  return FromDisplay(step * interval + axis.start, U_Airflow) * UnitFactor::kM3hPerLs;
}

double PercentOf(const AirflowAxis& axis, double airflowM3h) {
  return (Rounding::HalfEvenInt(ToDisplay(airflowM3h / UnitFactor::kM3hPerLs, U_Airflow)) - axis.start) / axis.range * 100;
}

std::unique_ptr<TVirtLineGraph> NewGraph(IDrawSurface& surface, QSize size, TVirtGraph::Evaluate values,
                                         const QString& title) {
  auto graph = std::make_unique<TVirtLineGraph>(&surface, std::move(values), nullptr, [](TVirtGraph&) {});
  graph->SetDimensions(size.width(), size.height());
  graph->SetBorder(12);  // 12 pixels at 96 ppi
  graph->SetGraphTitle(title);
  return graph;
}

}  // namespace

LTAxisSteps CTChartSetup::AxisSteps(int a, int b) {
  LTAxisSteps s{800, 0};
  // At most four rounds: the steps run 200, 50, 20, 10 and stay at 10.
  for (int round = 0; round < 8; ++round) {
    s.step /= 4;
    if (s.step < 10) s.step = 10;
    else if (s.step < 20) s.step = 20;
    s.count = (b - a) / s.step + 1;
    if (s.step == 10 && s.count < 5) s.count = 5;
    if (s.count >= 5) break;
  }
  return s;
}

double CTChartSetup::FanYLimit(double nLimitPa) {
  const double y = ToDisplay(nLimitPa, U_Pressure, false);
  if (!(y > 0)) return ToDisplay(100, U_Pressure, false);
  // In units that need decimals (inH2O) the rounding works on tenths or
  // hundredths, so that 300 Pa (1.20 inH2O) tops at 2.0, not at 1.
  double k = 1;
  while (y * k <= 10 && k < 1e6) k *= 10;
  const double v = y * k;
  int top = 0;
  for (const int grid : {50, 10, 5, 2}) {
    if (v > grid) {
      top = Rounding::HalfEvenInt(v + grid) / grid * grid;
      break;
    }
  }
  return top > 0 ? top / k : ToDisplay(100, U_Pressure, false);
}

// ---------------------------------------------------------------- fan curves

std::unique_ptr<TVirtLineGraph> CTChartSetup::FanGraph(IDrawSurface& surface, QSize size,
                                                       const SelectionResult& result) {
  TDlgForm::Load();
  Cls_HRX* unit = result.Current();
  const Cls_HRXSpeed* speeds[2] = {unit ? unit->GetSupplySpeed() : nullptr, unit ? unit->GetExhaustSpeed() : nullptr};
  double limitPa = 0, highM3h = 0;
  for (const Cls_HRXSpeed* speed : speeds)
    if (speed) {
      limitPa = std::max(limitPa, speed->GetEspLimit());
      highM3h = std::max(highM3h, speed->GetArgumentHigh());
    }
  const AirflowAxis axis = AxisFor(unit ? unit->GetMinAirflow() : 0, highM3h);
  const double interval = axis.range / kFanSteps;
  auto values = [speeds, axis, interval](TVirtGraph&, int curve, int step, void*) {
    const Cls_HRXSpeed* speed = speeds[curve == 0 ? 0 : 1];
    const double x = AirflowAt(axis, interval, step);
    // Outside its curve's range a fan has no value: the axis, rounded in
    // the unit in effect, may begin a little below the curve.
    if (!speed || x > Rounding::HalfEvenInt(speed->GetArgumentHigh()) || x < speed->GetArgumentLow() - 1e-9)
      return Sentinel::kNotGiven;
    return ToDisplay(speed->Evaluate(x), U_Pressure, false);
  };
  auto graph = NewGraph(surface, size, values, unit ? result.unitName : QString());
  TLegend::ResetColor();
  graph->SetPlots({new TLegend(QStringLiteral("Supply"), TBaseMsg::GetUnicodeString(kMsgSupplySpeed), true),
                   new TLegend(QStringLiteral("Exhaust"), TBaseMsg::GetUnicodeString(kMsgExhaustSpeed), true)},
                  true);
  graph->SetXValues(kFanSteps, axis.labels);
  graph->SetXTitle(AirflowTitle());
  graph->SetYTitle(TBaseMsg::Tr(QStringLiteral("External Static Pressure (")) + TU_Form::GetCurrentString(U_Pressure) + QLatin1Char(')'));
  graph->SetYValues(0, FanYLimit(limitPa), 1);
  if (!unit || !speeds[0]) return graph;

  // One curve when both sides run the same curve at the same airflow.
  const bool oneCurve = speeds[1] && result.supplyM3h == result.exhaustM3h &&
                        (speeds[0] == speeds[1] ||
                         std::fabs(speeds[0]->Evaluate(result.supplyM3h) - speeds[1]->Evaluate(result.exhaustM3h)) < 1e-6);
  const auto markers = [&](const Cls_HRXSpeed* speed, double airflowM3h, double designEspPa, const QString& prefix,
                           const QString& ductPrefix) {
    const double point = speed->Evaluate(airflowM3h);
    const double x = PercentOf(axis, airflowM3h);
    graph->AddExtraPoint(x, ToDisplay(point, U_Pressure, false),
                         prefix + Text(airflowM3h / UnitFactor::kM3hPerLs, U_Airflow, false) + QStringLiteral(", ") +
                             Text(point, U_Pressure, false) + QLatin1Char(']'),
                         true);
    const double diff = point - designEspPa;
    if (Rounding::HalfEvenInt(diff) > 0)
      graph->AddExtraPoint(x, ToDisplay(designEspPa, U_Pressure, false),
                           ductPrefix + Text(designEspPa, U_Pressure, false) + QStringLiteral(" + ") +
                               Text(diff, U_Pressure, false) + QLatin1Char(']'),
                           true);
  };
  const auto msg = [](int n) { return QLatin1Char(' ') + TBaseMsg::GetUnicodeString(n) + QStringLiteral(": ["); };
  markers(speeds[0], result.supplyM3h, result.supplyEspPa, oneCurve ? QStringLiteral(" [") : msg(kMsgSupply),
          oneCurve ? msg(kMsgDucting) : msg(kMsgSupplyDucting));
  if (!oneCurve && speeds[1])
    markers(speeds[1], result.exhaustM3h, result.exhaustEspPa, msg(kMsgExhaust), msg(kMsgExhaustDucting));
  return graph;
}

// ---------------------------------------------------------------- efficiencies

std::unique_ptr<TVirtLineGraph> CTChartSetup::EfficiencyGraph(IDrawSurface& surface, QSize size,
                                                              const SelectionResult& result) {
  TDlgForm::Load();
  Cls_HRX* unit = result.Current();
  const Cls_HRXPolynomial* curves[3] = {unit ? unit->GetCoolEnthalpyExhangeEfficiency() : nullptr,
                                        unit ? unit->GetHeatEnthalpyExhangeEfficiency() : nullptr,
                                        unit ? unit->GetTempExhangeEfficiency() : nullptr};
  const Cls_HRXPolynomial* temperature = curves[2];
  const AirflowAxis axis =
      temperature ? AxisFor(temperature->GetArgumentLow(), temperature->GetArgumentHigh()) : AirflowAxis{};
  const double interval = axis.range / kEfficiencySteps;
  auto values = [curves, axis, interval](TVirtGraph&, int curve, int step, void*) {
    const Cls_HRXPolynomial* c = curves[std::clamp(curve, 0, 2)];
    const double x = AirflowAt(axis, interval, step);
    if (!c || x > Rounding::HalfEvenInt(c->GetArgumentHigh()) || x < c->GetArgumentLow() - 1e-9) return Sentinel::kNotGiven;
    return c->Evaluate(x);
  };
  auto graph = NewGraph(surface, size, values, unit ? result.unitName : QString());
  TLegend::ResetColor();
  graph->SetPlots({new TLegend(QStringLiteral("EffC"), TBaseMsg::GetUnicodeString(kMsgCoolEnthalpy), true),
                   new TLegend(QStringLiteral("EffH"), TBaseMsg::GetUnicodeString(kMsgHeatEnthalpy), true),
                   new TLegend(QStringLiteral("EffT"), TBaseMsg::GetUnicodeString(kMsgTemperature), true)},
                  true);
  graph->SetXValues(kEfficiencySteps, axis.labels);
  graph->SetXTitle(AirflowTitle());
  graph->SetYTitle(TBaseMsg::Tr(QStringLiteral("Efficiency (%)")));
  graph->SetYValues(0, 100, 1);
  if (!temperature) return graph;
  const double x = PercentOf(axis, result.supplyM3h);
  const QString prefix = QStringLiteral(" (") + Text(result.supplyM3h / UnitFactor::kM3hPerLs, U_Airflow, false) + QStringLiteral(", ");
  for (const int i : {2, 0, 1}) {  // temperature, cooling, heating
    if (!curves[i]) continue;
    const double value = curves[i]->Evaluate(result.supplyM3h);
    graph->AddExtraPoint(x, value, prefix + TBaseMsg::FormatShown(value, 1) + QStringLiteral("%)"), true);
  }
  return graph;
}

// ---------------------------------------------------------------- corrections

std::unique_ptr<TVirtLineGraph> CTChartSetup::CorrectionGraph(IDrawSurface& surface, QSize size,
                                                              const SelectionResult& result,
                                                              THRXRatioCorr& corrections) {
  TDlgForm::Load();
  Cls_HRX* unit = result.Current();
  const double ratio = result.supplyM3h > 0 ? result.exhaustM3h / result.supplyM3h : 1;
  auto values = [&corrections, ratio](TVirtGraph&, int, int step, void*) {
    return corrections.GetCorrValAt(ratio, step + 40.0);
  };
  auto graph = NewGraph(surface, size, values, unit ? result.unitName : QString());
  TLegend::ResetColor();
  graph->SetPlots({new TLegend(QStringLiteral("1"), QString(), true)}, true);
  graph->SetXValues(kCorrectionSteps, {"40", "50", "60", "70", "80", "90"});
  graph->SetXTitle(TBaseMsg::Tr(QStringLiteral("Exchange Efficiency (%)")));
  graph->SetYTitle(TBaseMsg::Tr(QStringLiteral("Corrected Efficiency (%)")));
  graph->SetYValues(30, 100, 0);
  if (!unit || !unit->GetTempExhangeEfficiency()) return graph;
  const std::pair<const Cls_HRXPolynomial*, int> curves[] = {{unit->GetTempExhangeEfficiency(), kMsgTemperature},
                                                             {unit->GetCoolEnthalpyExhangeEfficiency(), kMsgCoolEnthalpy},
                                                             {unit->GetHeatEnthalpyExhangeEfficiency(), kMsgHeatEnthalpy}};
  for (const auto& [curve, message] : curves) {
    if (!curve) continue;
    const double efficiency = curve->Evaluate(result.supplyM3h);
    const double corrected = corrections.EfficiencyCorrection(ratio, efficiency);
    graph->AddExtraPoint((efficiency - 40) / 50 * 100, corrected,
                         TBaseMsg::GetUnicodeString(message) + QStringLiteral(" (") + TBaseMsg::FormatShown(efficiency, 1) +
                             QStringLiteral("%, ") + TBaseMsg::FormatShown(corrected, 1) + QStringLiteral("%)"),
                         true);
  }
  return graph;
}

// ---------------------------------------------------------------- the process

std::unique_ptr<TAirPropDiagram> CTChartSetup::ProcessDiagram(IDrawSurface& surface, QSize size,
                                                              const SelectionResult& result, bool bCooling,
                                                              TAirPropDiagram::GraphHoover OnHoover,
                                                              TAirPropDiagram::LegendClick OnLegendClick) {
  std::unique_ptr<TAirPropDiagram> diagram;
  if (TAirPropDiagram::Settings().psychrometric)
    diagram = std::make_unique<TPsychroDiagram>(&surface, std::move(OnHoover), nullptr, std::move(OnLegendClick));
  else
    diagram = std::make_unique<TMollierDiagram>(&surface, std::move(OnHoover), nullptr, std::move(OnLegendClick));
  diagram->SetBorder(12);
  diagram->SetDimensions(size.width(), size.height());
  diagram->SetAltitude(result.altitudeM);
  diagram->SetDBTempTitle(TBaseMsg::Tr(QStringLiteral("Dry bulb temperature")));
  diagram->SetAHTitle(TBaseMsg::Tr(QStringLiteral("Absolute humidity")));
  diagram->SetRHTitle(TBaseMsg::Tr(QStringLiteral("Relative humidity")));
  diagram->SetETitle(TBaseMsg::Tr(QStringLiteral("Enthalpy")));
  const Cls_HRX* unit = result.Current();
  if (!unit) return diagram;
  diagram->SetDiagramTitle(result.unitName);
  const ALPsychroSet& s = bCooling ? result.cooling.states : result.heating.states;
  const auto add = [&](int index, const char* name, const RepPsychroPoint& p, int lineTo) {
    diagram->AddPoint(index, QString::fromLatin1(name), p.DBT, p.AH, lineTo, false);
  };
  // Indexes: 1 RA, 2 EA, 3 OA, 4 VI, 5 CI, 6 HI, 7 VO, 8 SA.
  add(1, "RA", s.RA, 0);
  add(3, "OA", s.OA, 0);
  add(4, "VI", s.VI, 3);
  switch (unit->GetType()) {
    case Cls_HRX::kPlainUnit:
      add(2, "EA", s.EA, 1);
      add(7, "VO", s.VO, 4);
      add(8, "SA", s.SA, 7);
      break;
    case Cls_HRX::kCoilUnit:
      add(2, "EA", s.EA, 1);
      add(5, "CI", s.CI, 4);
      add(6, "HI", s.HI, 5);
      add(8, "SA", s.SA, 6);
      break;
    default:
      add(8, "SA", s.SA, 4);
      break;
  }
  return diagram;
}

CTChartSetup::LTPointData CTChartSetup::PointData(double nAltitudeM, double nDbt, double nAH) {
  const TAir air(nAltitudeM);
  const double h = TAir::Enthalpy(nAH, nDbt);
  return {nDbt, air.WetBulbTemp(nDbt, h), air.DewPoint(nAH), air.RelativeHumidity(nAH, nDbt), nAH, h,
          air.GetTotalPressure()};
}

LTConfigData CTChartSetup::ConfigData(const SelectionResult& result) {
  LTConfigData data;
  const auto calculated = [](const LTModeResult& m, const ALHeaterSet& heater) { return m.computed && heater.CalcHeater > 0; };
  data.hasInletHeater = calculated(result.cooling, result.cooling.inletHeater) ||
                        calculated(result.heating, result.heating.inletHeater);
  data.hasSupplyHeater = calculated(result.heating, result.heating.supplyHeater);
  data.upsideDown = result.upsideDown;
  // The streams' names as the interface glossary has them (English without one).
  for (QString* label : {&data.strRA, &data.strEA, &data.strOA, &data.strSA, &data.strVI, &data.strVO, &data.strCI,
                         &data.strHI, &data.strInlet, &data.strSupply})
    *label = TBaseMsg::Tr(*label);
  return data;
}

void CTChartSetup::DrawChart(IDrawSurface& surface, QSize size, ChartKind kind, bool bCooling,
                             const SelectionResult& result, THRXRatioCorr& corrections) {
  CTVirtualCanvas background(&surface);
  background.SetVCPenStyle(PenStyle::kClear);
  background.SetVCBrushColor(DrawColors::kWhite);
  background.DrawRectangle(0, 0, size.width() + 1, size.height() + 1);
  background.SetVCPenStyle(PenStyle::kSolid);
  switch (kind) {
    case ChartKind::kConfiguration:
      CTConfigDrawing::DrawConfiguration(surface, size.width(), size.height(), result.Current(), true, ConfigData(result));
      return;
    case ChartKind::kPsychrometric:
    case ChartKind::kMollier: {
      bool& psychrometric = TAirPropDiagram::Settings().psychrometric;
      const bool preferred = psychrometric;
      psychrometric = kind == ChartKind::kPsychrometric;
      ProcessDiagram(surface, size, result, bCooling)->DrawDiagram(false);
      psychrometric = preferred;
      return;
    }
    case ChartKind::kFan: {
      const auto graph = FanGraph(surface, size, result);
      graph->DrawOutline(true, false);
      graph->DrawGraph();
      return;
    }
    case ChartKind::kEfficiency: {
      const auto graph = EfficiencyGraph(surface, size, result);
      graph->DrawOutline(true, true);
      graph->DrawGraph();
      return;
    }
    case ChartKind::kCorrection: {
      const auto graph = CorrectionGraph(surface, size, result, corrections);
      graph->DrawOutline(false, false);
      graph->DrawGraph();
      return;
    }
    case ChartKind::kSound:
      CTBarChart(SoundChartData(result.sound)).Draw(surface, QRect(QPoint(0, 0), size));
      return;
  }
}

LTBarChartData CTChartSetup::SoundChartData(const LTSound& sound) {
  LTBarChartData data;
  data.title = TBaseMsg::Tr(QStringLiteral("Sound power at the operating point"));
  data.yTitle = TBaseMsg::Tr(QStringLiteral("Sound power level")) + QStringLiteral(" (dB)");
  for (const int hz : Sound::kBandsHz)
    data.categories << (hz >= 1000 ? QString::number(hz / 1000) + QLatin1Char('k') : QString::number(hz));
  if (!sound.known) return data;
  for (int path = 0; path < Cls_HRXSound::kPathCount; ++path) {
    const Sound::Bands& lw = sound.paths[std::size_t(path)].lw;
    data.series.push_back({CTEcodesign::PathText(path), std::vector<double>(lw.begin(), lw.end())});
  }
  return data;
}

namespace {

// The months' short names, January first; translated where shown.
const char* const kMonthShortNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

LTBarChartData CTChartSetup::AnnualMonthsChartData(const LTAnnualResult& year) {
  LTBarChartData data;
  data.title = TBaseMsg::Tr(QStringLiteral("Energy month by month"));
  data.yTitle = TBaseMsg::Tr(QStringLiteral("Energy")) + QStringLiteral(" (kWh)");
  for (const char* month : kMonthShortNames) data.categories << TBaseMsg::Tr(QString::fromLatin1(month));
  if (!year.computed) return data;
  LTBarSeries heat{TBaseMsg::Tr(QStringLiteral("Heat recovered")), {}};
  LTBarSeries cooling{TBaseMsg::Tr(QStringLiteral("Cooling recovered")), {}};
  LTBarSeries spent{TBaseMsg::Tr(QStringLiteral("Fans and inlet heater")), {}};
  LTBarSeries net{TBaseMsg::Tr(QStringLiteral("Net benefit")), {}};
  for (const LTAnnualFigures& month : year.months) {
    heat.values.push_back(month.heatRecoveredKWh);
    cooling.values.push_back(month.coolingRecoveredKWh);
    // Spent, so below the axis: the net bar is the sum of the three before it.
    spent.values.push_back(-(month.fanKWh + month.inletHeaterKWh));
    net.values.push_back(month.netKWh);
  }
  data.series = {heat, cooling, spent, net};
  return data;
}

LTBarChartData CTChartSetup::AnnualBinsChartData(const LTAnnualResult& year) {
  LTBarChartData data;
  data.title = TBaseMsg::Tr(QStringLiteral("Power by outdoor temperature, °C"));
  data.yTitle = TBaseMsg::Tr(QStringLiteral("Mean recovered power")) + QStringLiteral(" (kW)");
  data.decimals = 1;
  if (!year.computed || year.bins.empty()) return data;
  constexpr double kBinK = LTAnnualResult::kBinK;
  const double coldestC = year.bins.front().fromC;
  const int bands = int(std::lround((year.bins.back().fromC - coldestC) / kBinK)) + 1;
  for (int i = 0; i < bands; ++i) data.categories << TBaseMsg::FormatShown(coldestC + i * kBinK, 0);
  // A band without operating hours stays a gap (NaN), not a zero bar.
  LTBarSeries heat{TBaseMsg::Tr(QStringLiteral("Heating")), std::vector<double>(std::size_t(bands), std::nan(""))};
  LTBarSeries cooling{TBaseMsg::Tr(QStringLiteral("Cooling")), std::vector<double>(std::size_t(bands), std::nan(""))};
  for (const LTTemperatureBin& bin : year.bins) {
    if (bin.hours <= 0) continue;
    const long i = std::lround((bin.fromC - coldestC) / kBinK);
    if (i < 0 || i >= bands) continue;
    heat.values[std::size_t(i)] = bin.heatKWh / bin.hours;
    cooling.values[std::size_t(i)] = bin.coolingKWh / bin.hours;
  }
  data.series = {heat, cooling};
  return data;
}
