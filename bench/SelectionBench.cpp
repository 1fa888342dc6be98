// Request to result: one selection run as the window and aerolith-cli make it
// after an input changes (CTSelectionRun::Run), the candidates of the plain
// family for the three plenum arrangements, then the first candidate
// computed in cooling and heating with its savings. On the demonstration
// catalogue and on generated ones of 1k and 10k units (aerolith-catalogue
// generate), each opened through the catalogue session as the program opens
// it. Goal: under 1 ms per run on the demonstration catalogue, and linear in
// the number of units.
//
// BM_AnnualYear: the office unit's year on the temperate demonstration year,
// run always (8760 hours through the performance model). Goal: under 30 ms.
// BM_AnnualRank: the year of every candidate of the list. Goal: under 200 ms.
//
// BM_EcodesignAndSound: what the compliance with the ecodesign regulation and
// the sound at the operating point add to a run, for the unit it computed.
// Goal: under 0.2 ms.

#include "selection/AnnualEnergy.h"
#include "selection/CatalogueSession.h"
#include "selection/Ecodesign.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionRun.h"
#include "tools/CatalogueBuild.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int kPlainFamily = 0;
constexpr int kFilterF6 = 1;
constexpr int kFilterF7 = 2;

// 0: the embedded catalogue; otherwise a generated one of that many units.
// Each is opened once per run and kept.
CTCatalogueSession& SessionWith(int units) {
  static std::map<int, std::unique_ptr<CTCatalogueSession>> opened;
  static QTemporaryDir dir;
  auto it = opened.find(units);
  if (it != opened.end()) return *it->second;
  auto session = std::make_unique<CTCatalogueSession>();
  QString error;
  bool ok = false;
  if (units == 0) {
    ok = session->OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error);
  } else {
    const QString path = dir.filePath(QStringLiteral("catalogue-%1").arg(units));
    QStringList problems;
    ok = CTCatalogueBuild::Generate({QStringLiteral(AEROLITH_CATALOGUE_SOURCE)}, units, path, problems) &&
         session->OpenFile(path, CTCatalogueSession::AutoCorrect::kOn, error);
    if (!ok && error.isEmpty()) error = problems.join(QLatin1Char('\n'));
  }
  if (!ok) qFatal("%s", qPrintable(error));
  return *opened.emplace(units, std::move(session)).first->second;
}

// A small office on the plain family: the totals as typed, filters F7 on the
// supply and F6 on the exhaust, summer and winter design conditions, and a
// wanted supply temperature in heating.
SelectionRequest OfficeRequest() {
  SelectionRequest request;
  request.family = kPlainFamily;
  request.basis = AirflowBasis::kTotals;
  request.totalSupplyLs = 100;
  request.exhaustGiven = true;
  request.totalExhaustLs = 92;
  request.supplyFilter = kFilterF7;
  request.exhaustFilter = kFilterF6;
  request.cooling.room = {27, HumidityMode::kRelativeHumidity, 47};
  request.cooling.outdoor = {35, HumidityMode::kRelativeHumidity, 50};
  request.heating.room = {20, HumidityMode::kRelativeHumidity, 50};
  request.heating.outdoor = {-5, HumidityMode::kRelativeHumidity, 80};
  request.heating.supplyTempGiven = true;
  request.heating.supplyTempC = 20;
  return request;
}

void BM_SelectionRun(benchmark::State& state) {
  const CTCatalogueSession& session = SessionWith(int(state.range(0)));
  // Each session made itself the default record factory when it opened; the
  // one measured must be it, as the program's only session is.
  CTDbObject::SetDefaultFactory(&session.Factory());
  const SelectionRequest request = OfficeRequest();
  int candidates = 0;
  for (auto _ : state) {
    const SelectionResult result = CTSelectionRun::Run(session, request);
    if (result.candidates.IsEmpty()) {
      state.SkipWithError("no candidate");
      break;
    }
    if (!result.cooling.Succeeded() || !result.heating.Succeeded()) {
      state.SkipWithError("the first candidate does not compute");
      break;
    }
    candidates = result.candidates.Count();
    benchmark::DoNotOptimize(result.heating.totalSavingsKW);
  }
  state.counters["units"] = session.UnitsOfFamily(kPlainFamily).Count();
  state.counters["candidates"] = candidates;
  CTDbObject::SetDefaultFactory(nullptr);
}

BENCHMARK(BM_SelectionRun)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_EcodesignAndSound(benchmark::State& state) {
  const CTCatalogueSession& session = SessionWith(0);
  CTDbObject::SetDefaultFactory(&session.Factory());
  const SelectionRequest request = OfficeRequest();
  const SelectionResult result = CTSelectionRun::Run(session, request);
  Cls_HRX* unit = result.Current();
  if (!unit || !result.ecodesign.covered) {
    state.SkipWithError("the office's unit has no ecodesign figures");
    return;
  }
  const LTEspSide &s = result.supplySide, &e = result.exhaustSide;
  const LTFanPoint supply{result.supplyM3h, result.supplyEspPa + s.filterPa + s.plenumPa};
  const LTFanPoint exhaust{result.exhaustM3h, result.exhaustEspPa + e.filterPa + e.plenumPa};
  for (auto _ : state) {
    const LTEcodesign eco = CTEcodesign::Evaluate(*unit, request.supplyFilter, request.exhaustFilter, result.supplyM3h);
    const LTSound sound = CTEcodesign::SoundAt(*unit, supply, exhaust, request.soundDistanceM, request.roomConstantM2);
    benchmark::DoNotOptimize(eco.sfpint);
    benchmark::DoNotOptimize(sound.roomLpA);
  }
  CTDbObject::SetDefaultFactory(nullptr);
}

BENCHMARK(BM_EcodesignAndSound)->Unit(benchmark::kMicrosecond);

// The temperate demonstration year, read once.
const LTClimate& Temperate() {
  static const LTClimate climate = [] {
    LTClimate c;
    QString why;
    if (!CTAnnualEnergy::LoadClimate(QStringLiteral("demo:temperate"), c, why)) qFatal("%s", qPrintable(why));
    return c;
  }();
  return climate;
}

void BM_AnnualYear(benchmark::State& state) {
  const CTCatalogueSession& session = SessionWith(0);
  CTDbObject::SetDefaultFactory(&session.Factory());
  const SelectionRequest request = OfficeRequest();
  const SelectionResult result = CTSelectionRun::Run(session, request);
  const LTClimate& climate = Temperate();
  for (auto _ : state) {
    const LTAnnualResult year = CTAnnualEnergy::YearOf(result, request, climate);
    if (!year.computed) {
      state.SkipWithError("the office's year is not computed");
      break;
    }
    benchmark::DoNotOptimize(year.year.netKWh);
  }
  CTDbObject::SetDefaultFactory(nullptr);
}

BENCHMARK(BM_AnnualYear)->Unit(benchmark::kMillisecond);

void BM_AnnualRank(benchmark::State& state) {
  const CTCatalogueSession& session = SessionWith(0);
  CTDbObject::SetDefaultFactory(&session.Factory());
  SelectionRequest request = OfficeRequest();
  request.totalSupplyLs = request.totalExhaustLs = 80;  // more than one candidate
  const SelectionResult result = CTSelectionRun::Run(session, request);
  const LTClimate& climate = Temperate();
  int candidates = 0;
  for (auto _ : state) {
    const QList<LTRankedCandidate> ranked = CTAnnualEnergy::Rank(result, request, climate);
    candidates = int(ranked.size());
    benchmark::DoNotOptimize(ranked.size());
  }
  state.counters["candidates"] = candidates;
  CTDbObject::SetDefaultFactory(nullptr);
}

BENCHMARK(BM_AnnualRank)->Unit(benchmark::kMillisecond);

}  // namespace
