#pragma once
// The inputs of a unit's year beyond its selection: the weather, when the
// unit runs, and what energy costs. They change no selection; the year is
// worked out from them and the selected unit (CTAnnualEnergy).

#include <QString>

#include <array>

// When the unit runs: always, or from one whole hour to another on the days
// marked. The year's 1 January counts as a Monday.
struct LTSchedule {
  static constexpr int kDays = 7;  // Monday first
  bool always = true;
  int fromHour = 0;  // 0 .. 23
  int toHour = 24;   // fromHour + 1 .. 24
  std::array<bool, kDays> days{true, true, true, true, true, true, true};

  bool Operates(int nHourOfYear) const;
  // "always", "07-19" (every day) or "07-19,mon-fri" ("sat,sun", ...;
  // "none" for a schedule on no day).
  QString Text() const;
  // The text Text() writes, any case; false with the reason otherwise.
  static bool Parse(const QString& szText, LTSchedule& out, QString& szWhy);
  bool operator==(const LTSchedule&) const = default;
};

// Prices and emission factors of the energy the unit saves and spends.
// Heat comes from a generator of the given efficiency burning fuel, cooling
// from a chiller of the given COP and every other energy from the grid.
// Prices are per kWh in the user's currency.
struct LTPrices {
  double heatPrice = 0.10;       // per kWh of fuel
  double heatEfficiency = 0.90;  // of the heat generator
  double coolingCop = 3.0;
  double electricityPrice = 0.30;  // per kWh
  double heatCo2 = 0.20;           // kg per kWh of fuel (natural gas)
  double electricityCo2 = 0.40;    // kg per kWh of electricity

  // "heat=0.10,efficiency=0.90,cop=3,electricity=0.30,heat-co2=0.20,electricity-co2=0.40";
  // names left out keep their value.
  QString Text() const;
  static bool Parse(const QString& szText, LTPrices& out, QString& szWhy);
  bool operator==(const LTPrices&) const = default;
};

struct LTAnnualInputs {
  // The weather: "demo:NAME" or the path of an EPW or CSV file.
  QString climate = QStringLiteral("demo:temperate");
  LTSchedule schedule;
  LTPrices prices;
  bool operator==(const LTAnnualInputs&) const = default;
};
