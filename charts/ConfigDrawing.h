#pragma once
// CTConfigDrawing: the schematic of the current unit: its picture, small
// arrows for the air streams that enter and leave it with their names (each
// arrow pointing the way its air flows), the inlet and supply heaters when
// the selection needs them and, on request, boxes with the unit's operating
// limits and a note on the minimum ventilation-in temperature. The
// Configuration tab (with limits), the floating "Configuration Conventions"
// window (without) and the report (with, 800 x 600) draw it alike.

#include "charts/DrawSurface.h"

#include <QString>

class Cls_HRX;

// What the drawing shows besides the unit. The names start as the English
// captions; CTChartSetup::ConfigData gives them translated.
struct LTConfigData {
  bool hasInletHeater = false;
  bool hasSupplyHeater = false;
  bool upsideDown = false;  // the limits of the upside-down installation
  QString strRA = QStringLiteral("Room Air (RA)"), strEA = QStringLiteral("Exhaust Air (EA)"),
          strOA = QStringLiteral("Outdoor Air (OA)"), strSA = QStringLiteral("Supply Air (SA)"),
          strVI = QStringLiteral("Ventilation In (VI)"), strVO = QStringLiteral("Ventilation Out (VO)"),
          strCI = QStringLiteral("Coil In (CI)"), strHI = QStringLiteral("Humidifier In (HI)"),
          strInlet = QStringLiteral("Inlet Heater"), strSupply = QStringLiteral("Supply Heater");
};

class CTConfigDrawing {
 public:
  // Draws nothing without a unit, or for a unit type without a picture.
  static void DrawConfiguration(IDrawSurface& canvas, int nWidth, int nHeight, Cls_HRX* pUnit, bool bShowLimits,
                                const LTConfigData& data);
  // The red note split to fit nWidth: the first line cut back blank by
  // blank; without a blank that fits, at the last character that fits.
  static QStringList SplitNote(const IDrawSurface& canvas, const QString& szNote, int nWidth);
};
