#pragma once
// LTDatasheet: what the catalogue says about one unit, as the Database tab,
// aerolith-cli and the report show it: its documentation (dimensions mm,
// weight kg), its standard power supply and electrical data, the data of its
// supply speed, its nominal figures and operating limits, and its options.
// Read by CTUnitDatasheet::Read from the unit and the session's lists.

#include <QList>
#include <QString>

class CTCatalogueSession;
class Cls_HRX;

// One option of the unit, not marked deleted.
struct LTOptionData {
  int id = 0;
  QString name;
  int type = 0;  // the option type, Cls_DeviceOption::TypeString words it
  QString description;
  double widthMm = 0, heightMm = 0, depthMm = 0;  // all three or none meaningful
  QString mca;                                    // as stored, e.g. "5.4 A"
};

struct LTDatasheet {
  QString qualifiedName;
  int type = 0;
  // Documentation: 0 where the catalogue has none.
  double widthMm = 0, heightMm = 0, depthMm = 0, weightKg = 0;
  // The standard power supply and its allowed values.
  bool hasPowerSupply = false;
  QString powerSupply, frequency, phases, voltage;
  bool hasElectrical = false;
  QString minVolts, maxVolts;       // trimmed
  double mcaA = 0, mfaA = 0, rlaA = 0, flaA = 0;
  // The supply speed.
  bool hasSupplySpeed = false;
  QString soundLevel, current;
  double wattageKW = 0;
  // Nominal figures (airflow l/s, humidification kg/h) and the duct (mm).
  double ductDiameterMm = 0, nominalHumidityKgh = 0, nominalAirflowLs = 0;
  // Operating limits: degC and %.
  double outdoorMinC = 0, outdoorMaxC = 0, outdoorMaxRH = 0;
  double inletMinC = 0, inletMinUpsideDownC = 0;
  bool canBeUpsideDown = false;
  double roomMinC = 0, roomMaxC = 0, roomMaxRH = 0;
  double exhaustMaxRH = 0, exhaustMaxRHUpsideDown = 0, ventOutMaxRH = 0, ventOutMaxRHUpsideDown = 0;
  double coilInMaxRH = 0, coilInMaxRHUpsideDown = 0;
  double minCoolRH = 0, minHeatRH = 0, fanOnlyMinC = 0, fanOnlyMaxC = 0;
  // In the order of the unit's option combinations.
  QList<LTOptionData> options;
};

// A datasheet as the Database tab and the report write it: values with the
// units in effect, empty where the catalogue has none or the unit's type
// shows none. The upside-down values are empty for a unit that cannot be
// mounted so; the coil-in values are empty but for coil units.
struct LTDatasheetTexts {
  QString dimensions, weight;
  QString powerSupply, frequency, phases, voltage, minMaxV, mca, mfa, rla, fla;
  QString soundLevel, current, wattage;
  QString ductDiameter, nominalHumidity, nominalAirflow;
  QString ambientTemp, ambientRH, viMinTemp, viMinTempUD;
  QString roomTemp, roomRH, eaMaxRH, eaMaxRHUD, voMaxRH, voMaxRHUD, ciMaxRH, ciMaxRHUD;
  QString minCoolRH, minHeatRH, fanOnlyTemp;
  // Which groups the unit's type shows.
  bool roomRange = false, rhMaxima = false, airTreatment = false, nominal = false;
};

class CTUnitDatasheet {
 public:
  static LTDatasheet Read(const CTCatalogueSession& session, Cls_HRX& unit);
  static LTDatasheetTexts Texts(const LTDatasheet& d);
  // "600×400×300 mm" in the short-length unit in effect; empty unless all
  // three are above 0.
  static QString Dimensions(double nWidthMm, double nHeightMm, double nDepthMm);
};
