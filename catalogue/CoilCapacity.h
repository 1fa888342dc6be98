#pragma once
// CTCoilCapacity: the capacity model of a refrigerant coil from its capacity
// table rows (header rows of wet-bulb, dry-bulb and room temperatures; value
// rows per evaporating temperature TE), with the bypass-factor model for the
// sensible part. Pure computation: the indoor unit feeds it its rows.
//
// Row kinds: 0 cooling wet-bulb header, 10 cooling dry-bulb header, 1 heating
// header; 2 total cooling (kW) at the standard TE, 11 total cooling at
// another TE as factors of the standard row; 8 sensible cooling (kW), 12 as
// factors; 5 heating (kW).
//
// Error codes: 0 success; 3 a wet bulb outside the header with in-table
// values asked, or a cooling value not above 0; 4 a heating value not above
// 0; 5 no row of the kind; 12 no capacities for the TE or the standard TE.

#include "catalogue/Sentinels.h"
#include "psychro/Air.h"

#include <algorithm>
#include <array>
#include <vector>

struct CTCapacityRow {
  int kind = 0;
  double te = 6;
  double select = 0;
  std::array<double, 7> cols{};
};

class CTCoilCapacity {
 public:
  static constexpr double kStandardTE = Sentinel::kNoTemperature;  // no temperature given: the standard TE
  static constexpr int kOk = 0;
  static constexpr int kCoolOutside = 3;
  static constexpr int kHeatNotPositive = 4;
  static constexpr int kNoRow = 5;
  static constexpr int kNoCapacities = 12;

  // The evaporating temperatures (degC) a coil unit is selected at, the
  // first being the default; every coil unit's data must cover each.
  static constexpr std::array<double, 3> kOfferedTEs{6, 9, 11};

  // nHighFanM3h: coil airflow at high fan speed; nFanMotorW: fan power;
  // nFanPosition 0: the fan blows through the coil (its heat before the coil).
  CTCoilCapacity(std::vector<CTCapacityRow> rows, double nHighFanM3h, double nFanMotorW, int nFanPosition);

  double GetHeatCap(double RoomTemp, bool InTableValues, int& ErrCode) const;
  // At the room state (dry bulb, relative humidity %).
  double GetTCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues, int& ErrCode);
  double GetSCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues, int& ErrCode);
  // Total cooling and bypass factor at a wet bulb.
  double TotalCoolAt(double TE, double WB, bool InTableValues, int& ErrCode);
  double BypassFactorAt(double TE, double WB, const TAir& Air);
  // Per column (1..7) of the entry of a TE; 0 when missing.
  double TotalColumn(double TE, int k);
  double SensibleColumn(double TE, int k);
  double BypassColumn(double TE, int k, const TAir& Air);
  // The coil line of column k at a TE: its apparatus dew point (°C) and
  // bypass factor; false when the column has no data to draw it from.
  bool CoilLine(double TE, int k, const TAir& Air, double& adpC, double& bf);
  // Columns with both a wet-bulb and a dry-bulb header value.
  int CoolColumns() const { return std::min(v_cool.count, v_coolDB.count); }
  // The evaporating temperatures that have capacities.
  std::vector<double> TEs() const;
  bool HasStandardTE() const { return v_hasStdTE; }
  int BypassComputations() const { return v_bypassComputations; }

 private:
  struct Header {
    int count = 0;
    std::array<double, 7> values{};
  };
  struct Cache {
    double te = 0;
    bool bound = false;
    const CTCapacityRow* total = nullptr;
    const CTCapacityRow* sensible = nullptr;
    std::array<double, 7> totalCool{}, sensibleCool{}, bypass{};  // 0: not yet computed
  };

  Cache* Entry(double TE);
  // Clamps WB into the cooling header (or refuses with in-table values);
  // answers the column k >= 2 whose header is the first at or above WB, 0 for none.
  int CoolColumn(double& WB, bool InTableValues, int& ErrCode) const;
  static double ValueAt(const CTCapacityRow& row, double temp, const Header& header);

  std::vector<CTCapacityRow> v_rows;  // value rows, by TE ascending
  Header v_cool, v_coolDB, v_heat;
  std::vector<Cache> v_caches;
  bool v_hasStdTE = false;
  double v_stdTE = 0;
  double v_airflowM3s;
  double v_fanKW;
  int v_fanPosition;
  int v_bypassComputations = 0;
};
