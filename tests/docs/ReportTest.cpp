// The report's structure on the demo catalogue, recorded call by call: which
// sections, tables and pictures each kind of unit gets, and the files the
// report writes.

#include "catalogue/ClHRX.h"
#include "docs/Report.h"
#include "selection/AnnualEnergy.h"
#include "selection/Climate.h"
#include "selection/Ecodesign.h"
#include "selection/CatalogueSession.h"
#include "selection/SelectionRun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A writer that keeps what it was asked to write, one line per call:
// "H1 Technical data", "Table 4x10", "Picture 800x600", "NewPage"; table
// cells are kept apart for look-ups.
class RecordingOutput : public CTDocOutput {
 public:
  RecordingOutput() : CTDocOutput(QStringLiteral("test")) {}
  QStringList calls;
  QList<QStringList> tables;  // the texts of each table's cells, row by row

  void TextStyle(const QString& s, unsigned, TColor, int) override { calls << "Text " + s; }
  void TextWriteln() override {}
  void TextCenter(const QString& s, unsigned, TColor) override { calls << "Text " + s; }
  void TextLeft(const QString& s, unsigned, TColor) override { calls << "Text " + s; }
  void TextRight(const QString& s, unsigned, TColor) override { calls << "Text " + s; }
  void NewPage() override { calls << QStringLiteral("NewPage"); }
  void PutDocTable(CTDocTable& table) override {
    calls << QStringLiteral("Table %1x%2").arg(table.NbColumns()).arg(table.NbRows());
    QStringList cells;
    for (int r = 0; r < table.NbRows(); ++r)
      for (int c = 0; c < table.NbColumns(); ++c) cells << table.GetText(c, r);
    tables << cells;
  }
  void PutGraphic(double, const CTDocGraphic& g, DocHorAlign, bool) override {
    calls << QStringLiteral("Picture %1x%2").arg(g.Width()).arg(g.Height());
  }
  void TextParagraph(FontSlot font, const QString& s, bool) override {
    calls << QStringLiteral("H%1 ").arg(int(font - kHeading0)) + s;
  }

  QStringList Headings() const { return calls.filter(QRegularExpression("^(H\\d |NewPage)")); }
  int Count(const QString& call) const { return int(calls.count(call)); }
  // The cells of the first table that holds szCell.
  QStringList TableWith(const QString& szCell) const {
    for (const QStringList& cells : tables)
      if (cells.contains(szCell)) return cells;
    return {};
  }
};

class Report : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_session = new CTCatalogueSession;
    QString error;
    ASSERT_TRUE(s_session->OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) << error.toStdString();
  }
  static void TearDownTestSuite() {
    delete s_session;
    s_session = nullptr;
  }

  // The report of the unit named szUnit for the request.
  RecordingOutput Record(SelectionRequest request, const QString& szUnit, bool bNoOptions = false) {
    v_request = request;
    v_result = CTSelectionRun::RunCandidates(*s_session, v_request);
    int index = -1;
    for (int i = 0; i < v_result.rows.size(); ++i)
      if (v_result.rows[i].name == szUnit) index = i;
    EXPECT_GE(index, 0) << szUnit.toStdString() << " is no candidate";
    RecordingOutput out;
    if (index < 0) return out;
    CTSelectionRun::ComputeCandidate(v_result, v_request, index);
    EXPECT_TRUE(v_result.cooling.Succeeded() && v_result.heating.Succeeded()) << v_result.cooling.message.toStdString();
    LTReportInput input = Input();
    if (bNoOptions)
      for (LTOptionRow& row : input.options) row.used = false;
    CTReport::Write(out, input);
    return out;
  }

  LTReportInput Input() {
    LTReportInput input;
    input.session = s_session;
    input.request = &v_request;
    input.result = &v_result;
    if (Cls_HRX* unit = v_result.Current()) input.options = CTOptionSelection::FillOptions(*unit, LTOptionInputs::Of(v_request));
    return input;
  }

  static SelectionRequest Family(int nFamily, double nSupplyLs) {
    SelectionRequest request;
    request.family = nFamily;
    request.basis = AirflowBasis::kTotals;
    request.totalSupplyLs = nSupplyLs;
    return request;
  }

  static CTCatalogueSession* s_session;
  SelectionRequest v_request;
  SelectionResult v_result;
};

CTCatalogueSession* Report::s_session = nullptr;

}  // namespace

// The sections in their order, with the page breaks between them; the
// headings are numbered by the writer.
TEST_F(Report, SectionsOfEachUnitType) {
  const QStringList plain = Record(Family(Cls_HRX::kPlainUnit, 100), "NV-400").Headings();
  EXPECT_EQ(plain, (QStringList{"H1 Specification Data", "H1 Selection Data", "NewPage", "H1 Ecodesign and Sound",
                                "H2 Sound power at the operating point", "NewPage", "H1 Annual Energy", "NewPage",
                                "H1 Selected option data",
                                "H1 Commissioning parameters", "NewPage", "H1 Technical data", "NewPage",
                                "H1 Psychrometric Points", "NewPage", "H1 Psychrometric Diagram", "H2 Cooling",
                                "H2 Heating", "NewPage", "H1 Fan Characteristics", "H1 Efficiency Data",
                                "H1 Corrected Efficiency Data", "H1 Configuration Data"}));
  // The coil unit adds the inputs for the sibling tools; a fresh-air unit
  // has no commissioning, efficiency, correction or configuration sections.
  const QStringList coil = Record(Family(Cls_HRX::kCoilUnit, 150), "NV-500D").Headings();
  EXPECT_TRUE(coil.contains("H1 Selection parameters for use in Trivane_Quillo"));
  EXPECT_TRUE(coil.contains("H1 Configuration Data"));
  const RecordingOutput fresh = Record(Family(Cls_HRX::kFreshAirUnit, 200), "NV-FA800");
  for (const char* absent : {"H1 Commissioning parameters", "H1 Efficiency Data", "H1 Corrected Efficiency Data",
                             "H1 Configuration Data"})
    EXPECT_FALSE(fresh.Headings().contains(absent)) << absent;
  EXPECT_TRUE(fresh.Headings().contains("H1 Selection parameters for use in Trivane_Quillo"));
  // Six pictures for the others, three for fresh-air units.
  const RecordingOutput full = Record(Family(Cls_HRX::kPlainUnit, 100), "NV-400");
  EXPECT_EQ(full.Count("Picture 800x600"), 3);
  EXPECT_EQ(full.Count("Picture 640x480"), 3);
  EXPECT_EQ(fresh.Count("Picture 800x600"), 2);
  EXPECT_EQ(fresh.Count("Picture 640x480"), 1);
  // The sound chart, of the units with sound data.
  EXPECT_EQ(full.Count("Picture 640x360"), 1);
  EXPECT_EQ(fresh.Count("Picture 640x360"), 0);
  // The months and the temperature bands of the year.
  EXPECT_EQ(full.Count("Picture 640x320"), 2);
  // Its inputs have no exhaust rows.
  const QStringList spec = fresh.TableWith(" Room Airflow Conditions");
  EXPECT_TRUE(spec.contains(" Total supply air"));
  EXPECT_FALSE(spec.contains(" Total exhaust air"));
  EXPECT_FALSE(spec.contains(" Design exhaust ESP"));
}

TEST_F(Report, WithoutUsedOptionsNoOptionSectionAndNoPageBreakForIt) {
  const QStringList headings = Record(Family(Cls_HRX::kPlainUnit, 100), "NV-400", true).Headings();
  EXPECT_FALSE(headings.contains("H1 Selected option data"));
  const int commissioning = int(headings.indexOf("H1 Commissioning parameters"));
  ASSERT_GT(commissioning, 0);
  EXPECT_EQ(headings[commissioning - 1], "NewPage");  // the one after the selection data
  EXPECT_EQ(headings[commissioning + 1], "H1 Technical data");
}

// Filters on both sides are two filter sets, all plenums four plenums.
TEST_F(Report, OptionCountsFollowTheName) {
  SelectionRequest request = Family(Cls_HRX::kPlainUnit, 100);
  request.supplyEspPa = request.exhaustEspPa = 40;
  request.supplyFilter = request.exhaustFilter = 2;  // F7
  request.plenum = PlenumArrangement::kAll;
  const QStringList options = Record(request, "NV-400").TableWith(QStringLiteral(" Option Name"));
  EXPECT_TRUE(options.contains(QStringLiteral("NFS-400-F7 × 2"))) << options.join('|').toStdString();
  EXPECT_TRUE(options.contains(QStringLiteral("NPL-400 × 4"))) << options.join('|').toStdString();
  EXPECT_TRUE(options.contains(QStringLiteral("NRC-10")));
}

// A humidifying coil unit: in heating, humidification comes before the
// heaters, and the points include the humidifier inlet.
TEST_F(Report, HeatingListsHeatersAfterHumidification) {
  const RecordingOutput out = Record(Family(Cls_HRX::kCoilUnit, 200), "NV-1000D");
  ASSERT_TRUE(v_result.hasHumidifier);
  const QStringList results = out.TableWith(QStringLiteral(" Heating"));
  ASSERT_FALSE(results.isEmpty());
  // Row by row, four columns: the heating blocks stand in column 2.
  QStringList heating;
  for (int i = 2; i < results.size(); i += 4) heating << results[i].trimmed();
  const auto at = [&](const char* title) { return heating.indexOf(QString::fromUtf8(title)); };
  EXPECT_LT(at("Savings over Heat Exchanger"), at("Humidification"));
  EXPECT_LT(at("Humidification"), at("Heaters"));
  EXPECT_LT(at("Heaters"), at("Inlet heater (user settings)"));
  EXPECT_GT(at("Humidification"), 0);
  EXPECT_FALSE(out.TableWith(QStringLiteral(" Humidifier In (HI)")).isEmpty());
}

// A covered unit: the verdicts and the information sheet as the selection
// library words them, each label beside its value; the sound table with the
// room level at the distance and room constant of the request.
TEST_F(Report, EcodesignSectionHoldsVerdictsSheetAndSound) {
  SelectionRequest request = Family(Cls_HRX::kPlainUnit, 100);
  request.soundDistanceM = 3;
  request.roomConstantM2 = 80;
  const RecordingOutput out = Record(request, "NV-400");
  const LTEcodesign& eco = v_result.ecodesign;
  ASSERT_TRUE(eco.covered);
  // Label and value side by side in a table of two columns.
  const auto expectRows = [&](const QList<LTSheetRow>& rows) {
    ASSERT_FALSE(rows.isEmpty());
    const QStringList cells = out.TableWith(" " + rows.first().label);
    ASSERT_FALSE(cells.isEmpty()) << rows.first().label.toStdString();
    for (const LTSheetRow& row : rows) {
      const qsizetype at = cells.indexOf(" " + row.label);
      ASSERT_GE(at, 0) << row.label.toStdString();
      EXPECT_EQ(cells.value(at + 1), row.value) << row.label.toStdString();
    }
  };
  const QList<LTSheetRow> verdicts = CTEcodesign::Verdicts(eco);
  ASSERT_EQ(verdicts.size(), 2);
  expectRows(verdicts);
  expectRows(CTEcodesign::Sheet(eco));

  // The supply outlet's row: its name, eight bands, LWA, airflow, pressure.
  ASSERT_TRUE(v_result.sound.known);
  const QStringList sound = out.TableWith("Supply outlet");
  const qsizetype outlet = sound.indexOf("Supply outlet");
  ASSERT_GE(outlet, 12);  // under the title row of twelve
  EXPECT_EQ(sound.value(outlet + 9), QString::number(std::lround(v_result.sound.paths[0].lwa)));
  EXPECT_EQ(sound.value(outlet - 12 + 9), "LWA, dB(A)");
  const QStringList room = out.TableWith(" Distance from the supply outlet");
  EXPECT_TRUE(room.contains("3.0 m")) << room.join('|').toStdString();
  EXPECT_TRUE(room.contains("80 m²")) << room.join('|').toStdString();
  EXPECT_TRUE(room.contains(QString::number(std::lround(v_result.sound.roomLpA)) + " dB(A)"));

  // A unit the regulation does not cover: the reason row, no verdicts.
  const RecordingOutput coil = Record(Family(Cls_HRX::kCoilUnit, 150), "NV-500D");
  ASSERT_FALSE(v_result.ecodesign.covered);
  const QStringList reason = coil.TableWith(" Regulation (EU) 1253/2014");
  EXPECT_TRUE(reason.contains(CTEcodesign::NotCoveredReason(v_result.ecodesign)));
  EXPECT_TRUE(coil.TableWith(" Requirements of Regulation (EU) 1253/2014").isEmpty());
  EXPECT_TRUE(coil.calls.contains("Text The catalogue has no sound data for this unit."));
}

// The year of a plain unit under the cold demonstration year, running
// 07:00 to 19:00 on weekdays: the inputs in words, the year's figures as the
// annual energy model gives them, a row per month and the year's, and both
// charts. The year starts on a Monday: 261 weekdays, 23 of them in January.
TEST_F(Report, AnnualSectionHoldsInputsFiguresMonthsAndCharts) {
  SelectionRequest request = Family(Cls_HRX::kPlainUnit, 100);
  request.annual.climate = "demo:cold";
  QString why;
  ASSERT_TRUE(LTSchedule::Parse("07-19,mon-fri", request.annual.schedule, why)) << why.toStdString();
  request.annual.prices.heatPrice = 0.125;
  const RecordingOutput out = Record(request, "NV-400");
  LTClimate cold;
  ASSERT_TRUE(CTClimate::Load("demo:cold", cold, why)) << why.toStdString();
  const LTAnnualResult year = CTAnnualEnergy::YearOf(v_result, v_request, cold);
  ASSERT_TRUE(year.computed) << year.message.toStdString();

  const auto valueOf = [&out](const QString& label) {
    const QStringList cells = out.TableWith(" " + label);
    const qsizetype at = cells.indexOf(" " + label);
    return at < 0 ? QString("<no row>") : cells.value(at + 1);
  };
  EXPECT_EQ(valueOf("Climate"), cold.name);
  EXPECT_EQ(valueOf("Weather data"), "Synthetic demonstration year");
  EXPECT_EQ(valueOf("Operation"), QString::fromUtf8("07:00 to 19:00, Mon–Fri"));
  EXPECT_EQ(valueOf("Heat price, per kWh of fuel"), "0.125");
  EXPECT_EQ(valueOf("COP of the chiller"), "3");
  EXPECT_EQ(valueOf("Operating hours"), "3132 h");  // 261 x 12
  const auto whole = [](double value) { return QString::number(std::llround(value)); };
  EXPECT_EQ(valueOf("Heat recovered"), whole(year.year.heatRecoveredKWh) + " kWh");
  EXPECT_EQ(valueOf("Net benefit"), whole(year.year.netKWh) + " kWh");
  EXPECT_EQ(valueOf("CO2 avoided"), whole(year.year.co2Kg) + " kg");
  EXPECT_GT(year.year.heatRecoveredKWh, 1000);  // a cold year: the numbers above are not all zero

  // Nine columns: month, hours, heat, cooling, inlet heater, fans, net,
  // money, CO2; the titles, twelve months, the year.
  const QStringList months = out.TableWith("Jan");
  ASSERT_EQ(months.size(), 14 * 9);
  EXPECT_EQ(months.mid(9, 2), (QStringList{"Jan", "276"}));  // 23 x 12
  EXPECT_EQ(months.value(12 * 9), "Dec");
  EXPECT_EQ(months.mid(13 * 9, 2), (QStringList{"Year", "3132"}));
  EXPECT_EQ(months.value(13 * 9 + 6), whole(year.year.netKWh));
  const int section = int(out.calls.indexOf("H1 Annual Energy"));
  ASSERT_GE(section, 0);
  EXPECT_EQ(out.calls.mid(section).filter("Picture 640x320").size(), 2);

  // A climate that does not load: the section says why in one line.
  request.annual.climate = "demo:nowhere";
  const RecordingOutput none = Record(request, "NV-400");
  const int at = int(none.calls.indexOf("H1 Annual Energy"));
  ASSERT_GE(at, 0);
  EXPECT_TRUE(none.calls.value(at + 1).startsWith("Text The annual energy cannot be worked out: "))
      << none.calls.value(at + 1).toStdString();
  EXPECT_TRUE(none.calls.value(at + 1).contains("nowhere"));
  EXPECT_EQ(none.calls.value(at + 2), "NewPage");
  EXPECT_EQ(none.Count("Picture 640x320"), 0);
}

// A file that cannot be written leaves nothing behind and says why; a PDF
// is chosen by the name.
TEST_F(Report, FilesAreWholeOrAbsent) {
  Record(Family(Cls_HRX::kPlainUnit, 100), "NV-400");
  QTemporaryDir dir;
  QString error;
  EXPECT_FALSE(CTReport::WriteFile(dir.filePath("missing/report.rtf"), Input(), error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(QFile::exists(dir.filePath("missing/report.rtf")));

  for (const char* name : {"report.rtf", "report.PDF"}) {
    const QString path = dir.filePath(name);
    ASSERT_TRUE(CTReport::WriteFile(path, Input(), error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(5);
    EXPECT_EQ(head, CTReport::IsPdf(path) ? QByteArray("%PDF-") : QByteArray("{\\rtf")) << name;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary files left
}
