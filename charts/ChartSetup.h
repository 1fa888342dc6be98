#pragma once
// CTChartSetup: what the chart tabs, aerolith-cli chart and the report put
// into the graphs of the current unit: the fan curves with the operating
// points and the additional resistance, the exchange efficiencies over the
// airflow, and the efficiency corrections for the exhaust/supply ratio.
// Values are shown in the units in effect.

#include "charts/BarChart.h"
#include "charts/ConfigDrawing.h"
#include "charts/PsychroGraph.h"
#include "charts/Vgraph.h"
#include "selection/AnnualEnergy.h"
#include "selection/SelectionResult.h"

#include <QSize>

class THRXRatioCorr;

struct LTAxisSteps {
  int step = 0;
  int count = 0;  // the axis has count + 1 labels a, a + step, ...
};

class CTChartSetup {
 public:
  static constexpr char kPreferencesKey[] = "Software\\Norvane\\Hi-Trivane Selection\\Aerolith\\Preferences";

  // Steps of 200, 50, 20 or 10 with at least five intervals from a to b.
  static LTAxisSteps AxisSteps(int a, int b);
  // The top of the fan graph's y axis, in the pressure unit in effect, for
  // the highest ESP limit of the unit's speeds (Pa): rounded up to 50, 10,
  // 5 or 2 units at the precision the unit needs, never below the limit and
  // never 0.
  static double FanYLimit(double nLimitPa);

  // The graphs of the current unit of a result, drawn on a surface of the
  // given size. Legends are made anew (palette from its first colour) and
  // owned by the graph. The correction graph reads the catalogue's ratio
  // corrections.
  static std::unique_ptr<TVirtLineGraph> FanGraph(IDrawSurface& surface, QSize size, const SelectionResult& result);
  static std::unique_ptr<TVirtLineGraph> EfficiencyGraph(IDrawSurface& surface, QSize size,
                                                         const SelectionResult& result);
  // The process of one mode in a psychrometric or Mollier chart, as the
  // settings choose it: the points of the unit's type with their process
  // lines. Not drawn yet.
  static std::unique_ptr<TAirPropDiagram> ProcessDiagram(IDrawSurface& surface, QSize size,
                                                         const SelectionResult& result, bool bCooling,
                                                         TAirPropDiagram::GraphHoover OnHoover = {},
                                                         TAirPropDiagram::LegendClick OnLegendClick = {});
  // The state of moist air at a point of the chart, as the "Point Data"
  // box shows it: degC, %, kg/kg, kJ/kg (SI, without the degF offset), Pa.
  struct LTPointData {
    double dryBulbC, wetBulbC, dewPointC, relativeHumidity, absHumidity, enthalpy, pressurePa;
  };
  static LTPointData PointData(double nAltitudeM, double nDbt, double nAH);

  // What the configuration drawing shows of a result besides the unit: an
  // inlet heater when either mode calculated one, a supply heater when
  // heating did, the upside-down installation, the streams' names in the
  // interface's language.
  static LTConfigData ConfigData(const SelectionResult& result);

  static std::unique_ptr<TVirtLineGraph> CorrectionGraph(IDrawSurface& surface, QSize size,
                                                         const SelectionResult& result, THRXRatioCorr& corrections);

  // The sound power of the current unit's five paths at the operating point,
  // one series per path over the octave bands (dB); no series when the
  // unit has no sound data.
  static LTBarChartData SoundChartData(const LTSound& sound);

  // The unit's year month by month, in kWh: a group per month (its short
  // name, translated) with the heat recovered, the cooling recovered, the
  // electricity spent on the fans and the inlet heater as a negative bar,
  // and the net benefit, so that the net bar is the sum of the other three.
  // No series when the year was not computed. Drawn from zero
  // (BarBase::kZero).
  static LTBarChartData AnnualMonthsChartData(const LTAnnualResult& year);
  // The recovered power over the year's outdoor temperatures: a group per
  // band of LTAnnualResult::kBinK from the coldest band with operating hours
  // to the warmest, labelled with the band's lower bound in degC ("-10" for
  // -10 .. -8 degC); the mean heating and the mean cooling power recovered
  // in the band's hours (kWh / h = kW). A band without operating hours
  // between them is a gap. The chart leaves out labels that would overlap.
  // Drawn from zero (BarBase::kZero).
  static LTBarChartData AnnualBinsChartData(const LTAnnualResult& year);

  // A whole chart of the result as a picture (aerolith-cli and the report):
  // a white background of the given size, then the chart drawn without
  // interaction. The process diagram is the psychrometric or the Mollier
  // chart as asked, whatever the settings say; the mode matters only to it.
  enum class ChartKind { kPsychrometric, kMollier, kFan, kEfficiency, kCorrection, kConfiguration, kSound };
  static void DrawChart(IDrawSurface& surface, QSize size, ChartKind kind, bool bCooling, const SelectionResult& result,
                        THRXRatioCorr& corrections);
};
