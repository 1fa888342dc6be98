#pragma once
// TAirPropDiagram: a moist-air chart of the process states: the iso-lines
// of dry bulb, absolute humidity, relative humidity and enthalpy, the
// points with process lines between related points, a frame with ticks
// and titles in the units in effect, and a legend of the four line colours.
// TPsychroDiagram lays it out as a psychrometric chart (dry bulb to the
// right, absolute humidity upward, axes bottom and right), TMollierDiagram
// as a Mollier chart (absolute humidity to the right, dry bulb upward,
// axes left and top).
//
// Both always span dry bulb -40 ... 60 degC and absolute humidity
// 0 ... 0.0451 kg/kg, whatever the display units. Values are SI inside:
// degC, kg/kg, kJ/kg, %.
//
// The mouse: OnHoover and OnClick find what lies under a device position
// (a legend swatch, a point, an air state) and report it; the highlight is
// drawn by the caller over its image of the chart (HighlightRect), so that
// a mouse move never draws the chart again.

#include "charts/VirtCanv.h"
#include "psychro/Air.h"
#include "psychro/SI_Units.h"

#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <vector>

struct TGraphLineType {
  TColor v_Color;
  QString v_Title;
};

struct TPointType {
  bool v_HairLines = false;
  int v_PointIndex = 0;
  int v_RelIndex = 0;  // the point a process line comes from; 0 for none
  double v_Dbt = 0;    // degC
  double v_AH = 0;     // kg/kg
  QString v_Name;
};

class TAirPropDiagram : public CTVirtualCanvas {
 public:
  static constexpr double kMinDbt = -40, kMaxDbt = 60;  // degC
  static constexpr double kMaxAH = 0.0451;              // kg/kg

  using GraphHoover = std::function<void(double Dbt, double AH)>;
  using GraphClick = std::function<void(double Dbt, double AH, const QString& Name)>;
  using LegendClick = std::function<void()>;
  // Asks for a colour preset with the current one; false: cancelled.
  using ColorChooser = std::function<bool(TColor& color)>;

  // The settings shared by every diagram, kept in the registry store.
  struct LTSettings {
    bool psychrometric = true;  // "DiagramType": false for the Mollier chart
    TColor dbt = 0xC0C0C0, ah = 0xC0C0C0, rh = 0x000080, e = 0x008000;
  };
  static LTSettings& Settings();
  static void LegendToRegistry(const QString& szRegRoot);
  static void LoadLegendFromRegistry(const QString& szRegRoot);
  static void RestoreRegistryDefaults();
  static void SetColorChooser(ColorChooser fn) { s_colorChooser = std::move(fn); }

  TAirPropDiagram(IDrawSurface* pFromCanvas, GraphHoover OnGraphHoover, GraphClick OnGraphClick,
                  LegendClick OnLegendClick);

  void SetAltitude(double nAltitude) { v_Air.SetAltitude(nAltitude); }
  void SetDimensions(int nWidth, int nHeight) {
    v_Width = nWidth;
    v_Height = nHeight;
  }
  void SetBorder(int nBorder) { v_Border = nBorder; }
  void SetDiagramTitle(const QString& s) { v_DiagramTitle = s; }
  void SetDBTempTitle(const QString& s) { v_LabelTitles[0].v_Title = s; }
  void SetAHTitle(const QString& s) { v_LabelTitles[1].v_Title = s; }
  void SetRHTitle(const QString& s) { v_LabelTitles[2].v_Title = s; }
  void SetETitle(const QString& s) { v_LabelTitles[3].v_Title = s; }

  void AddPoint(int nPointIndex, const QString& szName, double nDbt, double nAH, int nLineToIndex, bool bShowHairlines);
  void UpdatePoint(int nPointIndex, double nDbt, double nAH);
  void RemovePoint(int nPointIndex);
  void RemovePoints() { v_Points.clear(); }
  const std::vector<TPointType>& Points() const { return v_Points; }

  void DrawDiagram(bool bAddLegend);

  // The air state at a device position inside the chart, or both values
  // Sentinel "not given" (above saturation, outside the graph).
  virtual void DeviceToAir(int X, int Y, double& Dbt, double& AH) const = 0;
  QPoint AirToDevice(double nDbt, double nAH) const;
  // What the mouse is over, after OnHoover: a legend swatch or a point,
  // as the device rectangle to outline; empty for none.
  QRect HighlightRect() const { return v_highlight; }
  const TPointType* SelectedPoint() const { return v_SelectPoint; }
  void OnHoover(int X, int Y);
  void OnClick(int X, int Y);

  QRect GraphRect() const { return v_GraphRect; }
  int LegendItem(int X, int Y) const;  // 0..3, -1 outside the swatches

 protected:
  // The layout: the common part, then each chart's geometry.
  virtual void CalcLayout();
  // Virtual coordinates of an air state.
  virtual QPointF ToVirtual(double nDbt, double nAH) const = 0;
  void DrawDBTLine(double t);
  void DrawAHLine(double w);
  // The line of enthalpy h from saturation to dry air (cut at 60 degC);
  // answers its saturated end, false when the line lies off the chart.
  bool EnthalpyLine(double h, double& tw, double& ww);
  virtual void DrawRHLine(double phi) = 0;
  virtual void DrawELine(int nTick, double h) = 0;
  virtual void DrawProcessLine(const TPointType& point, const TPointType& from) = 0;
  virtual void DrawFrame() = 0;
  void DrawPoint(const TPointType& point);
  void DrawPoints();
  void DrawLegend();
  const TPointType* FindPoint(int nIndex) const;
  double Saturation(double t) const { return v_Air.AbsoluteHumidity(100, t); }
  void LineBetween(double dbt1, double ah1, double dbt2, double ah2);
  // Text in device pixels.
  void Text(int x, int y, const QString& text, bool bold = false);
  int Width(const QString& text, bool bold = false) const;
  QString BoldTitle(int nLine, U_RepUnit nUnit) const;

  TAir v_Air{0};
  std::array<TGraphLineType, 4> v_LabelTitles;
  std::vector<TPointType> v_Points;
  GraphHoover v_OnGraphHoover;
  GraphClick v_OnGraphClick;
  LegendClick v_OnLegendClick;
  bool v_LegendVisible = false;
  int v_Border = 12, v_Width = 800, v_Height = 600;
  int v_TextHeight = 0, v_CharWidth = 0, v_MaxLegendItem = 1, v_LegendOffset = 0;
  int v_MinDBT = 0, v_MinE = 0;
  int v_CurrDBTUnit = 0, v_CurrEUnit = 0, v_CurrAHUnit = 0;
  double v_DeltaEnthalpy = 0;
  double v_DeviceHorScale = 1.0;
  QRect v_GraphRect;
  QString v_DiagramTitle;
  const TPointType* v_SelectPoint = nullptr;
  QRect v_highlight;
  static inline ColorChooser s_colorChooser;
};

class TPsychroDiagram : public TAirPropDiagram {
 public:
  using TAirPropDiagram::TAirPropDiagram;
  void DeviceToAir(int X, int Y, double& Dbt, double& AH) const override;

 protected:
  void CalcLayout() override;
  QPointF ToVirtual(double nDbt, double nAH) const override { return QPointF(nDbt + 40, kMaxAH - nAH); }
  void DrawRHLine(double phi) override;
  void DrawELine(int nTick, double h) override;
  void DrawProcessLine(const TPointType& point, const TPointType& from) override;
  void DrawFrame() override;
};

class TMollierDiagram : public TAirPropDiagram {
 public:
  using TAirPropDiagram::TAirPropDiagram;
  void DeviceToAir(int X, int Y, double& Dbt, double& AH) const override;

 protected:
  void CalcLayout() override;
  QPointF ToVirtual(double nDbt, double nAH) const override { return QPointF(nAH, 60 - nDbt); }
  void DrawRHLine(double phi) override;
  void DrawELine(int nTick, double h) override;
  void DrawProcessLine(const TPointType& point, const TPointType& from) override;
  void DrawFrame() override;
};
