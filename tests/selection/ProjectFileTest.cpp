// Project files: the bytes of the layout written, the two older layouts read
// from fixtures built here from the layout description, broken files
// refused, and requests carried through a file unchanged.

#include "catalogue/Sentinels.h"
#include "psychro/Air.h"
#include "selection/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kNot = Sentinel::kNotGiven;

// Little-endian fields, written the way the layout tables describe them.
class Bytes {
 public:
  Bytes& Text(const char* s) { return v_bytes.append(s), *this; }
  Bytes& Int(qint32 n) {
    char raw[4];
    qToLittleEndian(n, raw);
    return v_bytes.append(raw, 4), *this;
  }
  Bytes& Real(double x) {
    quint64 bits;
    std::memcpy(&bits, &x, 8);
    char raw[8];
    qToLittleEndian(bits, raw);
    return v_bytes.append(raw, 8), *this;
  }
  Bytes& Byte(char c) { return v_bytes.append(c), *this; }
  Bytes& Mode(double indoor, double indoorRH, double ambient, double ambientRH, double discharge, double inlet,
              double supplyHeater, double supplyTemp) {
    for (double x : {indoor, indoorRH, ambient, ambientRH, discharge, inlet, supplyHeater, supplyTemp}) Real(x);
    return *this;
  }
  Bytes& Pad(qsizetype size) {
    while (v_bytes.size() < size) v_bytes.append('\0');
    return *this;
  }
  QByteArray v_bytes;
};

double RealAt(const QByteArray& b, int offset) {
  const quint64 bits = qFromLittleEndian<quint64>(b.constData() + offset);
  double x;
  std::memcpy(&x, &bits, 8);
  return x;
}
qint32 IntAt(const QByteArray& b, int offset) { return qFromLittleEndian<qint32>(b.constData() + offset); }

// The fixed part of "VEN00x" after the magic: unit 144/7 of family 0 with
// speeds 21 and 20, 200 l/s total, F7 on the supply.
Bytes CurrentBlock(const char* magic, int nOptions) {
  Bytes b;
  b.Text(magic).Int(144).Int(7).Int(0).Int(21).Int(20);
  b.Real(250).Real(kNot).Real(kNot).Real(kNot).Real(kNot).Real(200).Real(kNot).Real(120).Real(90);
  b.Int(2).Int(0);
  b.Mode(26, 50, 32, 40, 18, kNot, kNot, kNot);
  b.Mode(21, 45, -5, 80, 25, 1.5, kNot, 19);
  b.Int(1).Byte(1).Int(nOptions);
  return b;
}

CTHRXProjectData Sample() {
  CTHRXProjectData d;
  CTHRXProjectDataIntfV0& v = d.v_intfV0;
  v = {144, 3, 0, 21, 20, 0, kNot, kNot, kNot, kNot, 200, kNot, 100, 150, 2, 0, {}, {}};
  v.v_coolingData = {27, 47.5, 35, 50, 18, kNot, kNot, kNot};
  v.v_heatingData = {20, 50, 7, 50, 25, 2.5, 1, 22};
  d.v_intfV1 = {2, true};
  d.v_options = {{506, 4, 1}, {506, 21, 1}};
  return d;
}

}  // namespace

// ---------------------------------------------------------------- writing

TEST(ProjectFileLayout, WritesTheCurrentLayoutFieldByField) {
  const QByteArray b = CTHRXProjectIO::Serialize(Sample());
  ASSERT_EQ(b.size(), 243 + 12 * 2);
  EXPECT_EQ(b.left(6), QByteArray("VEN002"));
  EXPECT_EQ(IntAt(b, 6), 144);   // unit class
  EXPECT_EQ(IntAt(b, 10), 3);    // unit id
  EXPECT_EQ(IntAt(b, 18), 21);   // supply speed
  EXPECT_EQ(IntAt(b, 22), 20);   // exhaust speed
  EXPECT_EQ(RealAt(b, 66), 200); // total supply at 6 + 60
  EXPECT_EQ(RealAt(b, 82), 100); // supply ESP at 6 + 76
  EXPECT_EQ(IntAt(b, 98), 2);    // supply filter at 6 + 92
  EXPECT_EQ(RealAt(b, 106), 27); // cooling room dry bulb at 6 + 100
  EXPECT_EQ(RealAt(b, 170), 20); // heating room dry bulb at 6 + 164
  EXPECT_EQ(RealAt(b, 170 + 40), 2.5);
  EXPECT_EQ(IntAt(b, 234), 2);   // plenums
  EXPECT_EQ(b.at(238), 1);       // upside down
  EXPECT_EQ(IntAt(b, 239), 2);   // option count
  EXPECT_EQ(IntAt(b, 243), 506);
  EXPECT_EQ(IntAt(b, 247), 4);
  EXPECT_EQ(IntAt(b, 251), 1);
  // The sentinel of an input not given, as its eight bytes.
  EXPECT_EQ(b.mid(6 + 28, 8).toHex(), QByteArray("0000c0ffffffdfc1"));
}

TEST(ProjectFileLayout, ReadsBackWhatItWrote) {
  const CTHRXProjectData d = Sample();
  CTHRXProjectData back;
  ProjectFormat format;
  QString why;
  ASSERT_TRUE(CTHRXProjectIO::Parse(CTHRXProjectIO::Serialize(d), back, format, why)) << why.toStdString();
  EXPECT_EQ(format, ProjectFormat::kVen002);
  EXPECT_EQ(CTHRXProjectIO::Serialize(back), CTHRXProjectIO::Serialize(d));
  EXPECT_EQ(back.v_options.size(), 2);
  EXPECT_TRUE(back.v_intfV1.v_upsideDown);
}

TEST(ProjectFileLayout, NoOptionsIsAValidFile) {
  CTHRXProjectData d = Sample();
  d.v_options.clear();
  const QByteArray b = CTHRXProjectIO::Serialize(d);
  EXPECT_EQ(b.size(), 243);
  CTHRXProjectData back;
  ProjectFormat format;
  QString why;
  EXPECT_TRUE(CTHRXProjectIO::Parse(b, back, format, why));
  EXPECT_TRUE(back.v_options.isEmpty());
}

// ---------------------------------------------------------------- older layouts

TEST(ProjectFileOlderLayouts, Ven001TranslatesFormerOptionIds) {
  Bytes b = CurrentBlock("VEN001", 3);
  b.Int(146).Int(4004).Int(1).Int(146).Int(9999).Int(1).Int(146).Int(4021).Int(1);
  CTHRXProjectData d;
  ProjectFormat format;
  QString why;
  ASSERT_TRUE(CTHRXProjectIO::Parse(b.v_bytes, d, format, why)) << why.toStdString();
  EXPECT_EQ(format, ProjectFormat::kVen001);
  const QList<LTOptionIdentity> catalogue{{506, 4, 146, 4004}, {506, 21, 146, 4021}, {506, 5, 146, 4005}};
  CTHRXProjectIO::ResolveOptions(d, format, catalogue);
  ASSERT_EQ(d.v_options.size(), 2);  // 9999 is no option any more
  EXPECT_EQ(d.v_options[0].v_optionObjID, 4);
  EXPECT_EQ(d.v_options[1].v_optionObjID, 21);
  EXPECT_EQ(d.v_options[1].v_optionClsID, 506);
  EXPECT_EQ(d.v_intfV0.v_hrxObjID, 7);
  EXPECT_EQ(d.v_intfV0.v_highEffFilterSupply, 2);
  EXPECT_EQ(d.v_intfV0.v_heatingData.v_userInletHeater, 1.5);
  EXPECT_EQ(d.v_intfV1.v_plenumSelected, 1);
  // Saved again, it is "VEN002" with the current ids.
  EXPECT_EQ(CTHRXProjectIO::Serialize(d).left(6), QByteArray("VEN002"));
  EXPECT_EQ(IntAt(CTHRXProjectIO::Serialize(d), 247), 4);
}

TEST(ProjectFileOlderLayouts, Ven002MatchesCurrentIdsOnly) {
  Bytes b = CurrentBlock("VEN002", 2);
  b.Int(506).Int(4).Int(1).Int(146).Int(4004).Int(1);
  CTHRXProjectData d;
  ProjectFormat format;
  QString why;
  ASSERT_TRUE(CTHRXProjectIO::Parse(b.v_bytes, d, format, why));
  CTHRXProjectIO::ResolveOptions(d, format, {{506, 4, 146, 4004}});
  ASSERT_EQ(d.v_options.size(), 1);
  EXPECT_EQ(d.v_options[0].v_optionObjID, 4);
}

// The headerless record: fields from the object id on, filter classes
// folded into the ESPs, ten former option ids ending at the first 0.
Bytes Legacy(double supplyEsp, double exhaustEsp, std::initializer_list<int> options) {
  Bytes b;
  b.Int(12).Int(0).Int(21).Int(20);
  b.Real(0).Real(5).Real(100).Real(5).Real(kNot).Real(kNot).Real(kNot);
  b.Real(supplyEsp).Real(exhaustEsp);
  b.Mode(27, 45, 35, 50, 18, kNot, kNot, kNot);
  b.Mode(20, 50, 7, 50, 25, kNot, kNot, kNot);
  for (int id : options) b.Int(id);
  return b.Pad(256);
}

TEST(ProjectFileOlderLayouts, LegacyRecordUnfoldsFiltersAndFormerIds) {
  struct Case {
    double supply, exhaust;
    bool valid;
    int supplyClass;
    double supplyPa;
    int exhaustClass;
    double exhaustPa;
  };
  for (const Case& c : {Case{20150, 130, true, 2, 150, 0, 130}, Case{10000, 30200, true, 1, 0, 3, 200},
                       Case{0, 9999.5, false, 0, 0, 0, 0}, Case{50100, 0, false, 0, 0, 0, 0}}) {
    Bytes b = Legacy(c.supply, c.exhaust, {4004, 4021, 0, 4005});
    CTHRXProjectData d;
    ProjectFormat format;
    QString why;
    const bool ok = CTHRXProjectIO::Parse(b.v_bytes, d, format, why);
    if (!c.valid) {  // 9999.5 Pa is no ESP, filter class 5 no filter: not a project
      EXPECT_FALSE(ok);
      continue;
    }
    ASSERT_TRUE(ok) << why.toStdString();
    EXPECT_EQ(format, ProjectFormat::kLegacy);
    EXPECT_EQ(d.v_intfV0.v_hrxClsID, 144);
    EXPECT_EQ(d.v_intfV0.v_hrxObjID, 12);
    EXPECT_EQ(d.v_intfV0.v_highEffFilterSupply, c.supplyClass);
    EXPECT_DOUBLE_EQ(d.v_intfV0.v_designSupplyESP, c.supplyPa);
    EXPECT_EQ(d.v_intfV0.v_highEffFilterExhaust, c.exhaustClass);
    EXPECT_DOUBLE_EQ(d.v_intfV0.v_designExhaustESP, c.exhaustPa);
    EXPECT_EQ(d.v_intfV1.v_plenumSelected, 0);
    CTHRXProjectIO::ResolveOptions(d, format, {{506, 4, 146, 4004}, {506, 21, 146, 4021}, {506, 5, 146, 4005}});
    ASSERT_EQ(d.v_options.size(), 2);  // the list ends at the first 0
    EXPECT_EQ(d.v_options[1].v_optionObjID, 21);
  }
}

// ---------------------------------------------------------------- broken files

TEST(ProjectFileBroken, EveryDamageIsRefusedWithAReason) {
  const QByteArray good = CTHRXProjectIO::Serialize(Sample());
  const auto patchedInt = [&good](int offset, qint32 n) {
    QByteArray b = good;
    qToLittleEndian(n, b.data() + offset);
    return b;
  };
  const auto patchedReal = [&good](int offset, double x) {
    QByteArray b = good;
    quint64 bits;
    std::memcpy(&bits, &x, 8);
    qToLittleEndian(bits, b.data() + offset);
    return b;
  };
  struct Case {
    const char* name;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"empty", QByteArray()},
      {"magic only", QByteArray("VEN002")},
      {"header cut", good.left(200)},
      {"cut in an option entry", good.left(243 + 12 + 5)},
      {"negative count", patchedInt(239, -1)},
      {"huge count", patchedInt(239, 0x7fffffff)},
      {"family out of range", patchedInt(14, 99)},
      {"negative family", patchedInt(14, -1)},
      {"filter class out of range", patchedInt(98, 7)},
      {"NaN altitude", patchedReal(26, std::numeric_limits<double>::quiet_NaN())},
      {"infinite total supply", patchedReal(66, std::numeric_limits<double>::infinity())},
      {"unknown plenum arrangement", patchedInt(234, 3)},
      {"NaN room RH", patchedReal(114, std::numeric_limits<double>::quiet_NaN())},
      {"infinite heater", patchedReal(170 + 40, -std::numeric_limits<double>::infinity())},
      {"no header, short", QByteArray(200, 'x')},
      {"no header, garbage", QByteArray(300, '\x7f')},
  };
  for (const Case& c : cases) {
    CTHRXProjectData d = Sample();
    const QByteArray before = CTHRXProjectIO::Serialize(d);
    ProjectFormat format;
    QString why;
    EXPECT_FALSE(CTHRXProjectIO::Parse(c.bytes, d, format, why)) << c.name;
    EXPECT_FALSE(why.isEmpty()) << c.name;
    EXPECT_EQ(CTHRXProjectIO::Serialize(d), before) << c.name << ": the data was touched";
  }
}

// Inputs beyond the fixed layout follow the options as sections, which a
// build that knows none of them never reads: the bytes up to the options
// are the layout it reads, and what follows is left alone by it.
TEST(ProjectFileSections, FollowTheOptionsAndTravelUnreadWhenUnknown) {
  SelectionRequest r;
  r.soundDistanceM = 4.5;
  r.roomConstantM2 = 80;
  CTHRXProjectData d = CTProjectMapping::ToProject(r, {144, 5, 21, 20, {{506, 4, 1}}});
  d.SetSection({"ZZZ9", QByteArray("a later build's input")});
  const QByteArray b = CTHRXProjectIO::Serialize(d);
  // 243 + 12 bytes of the fixed layout, "VENX", then "SND1" (16 bytes),
  // "YEAR" (three texts, each after its length) and "ZZZ9".
  EXPECT_EQ(b.mid(255, 4), QByteArray("VENX"));
  EXPECT_EQ(b.mid(259, 4), QByteArray("SND1"));
  EXPECT_EQ(IntAt(b, 263), 16);
  EXPECT_EQ(RealAt(b, 267), 4.5);
  EXPECT_EQ(RealAt(b, 275), 80);
  EXPECT_EQ(b.mid(283, 4), QByteArray("YEAR"));
  const int year = IntAt(b, 287);
  EXPECT_EQ(IntAt(b, 291), 14);
  EXPECT_EQ(b.mid(295, 14), QByteArray("demo:temperate"));
  EXPECT_EQ(b.mid(291 + year, 4), QByteArray("ZZZ9"));
  EXPECT_EQ(b.size(), 291 + year + 8 + 21);

  CTHRXProjectData back;
  ProjectFormat format;
  QString why;
  ASSERT_TRUE(CTHRXProjectIO::Parse(b, back, format, why)) << why.toStdString();
  EXPECT_EQ(back.v_sections, d.v_sections);
  EXPECT_EQ(CTHRXProjectIO::Serialize(back), b);

  // The file of a build before the sections: no sound room, the defaults hold.
  ASSERT_TRUE(CTHRXProjectIO::Parse(b.left(255), back, format, why)) << why.toStdString();
  EXPECT_TRUE(back.v_sections.isEmpty());
  EXPECT_EQ(CTProjectMapping::ToRequest(back).soundDistanceM, SelectionRequest{}.soundDistanceM);

  // A section longer than what is left is damage, not a shorter section.
  QByteArray cut = b;
  qToLittleEndian<qint32>(1000, cut.data() + 263);
  EXPECT_FALSE(CTHRXProjectIO::Parse(cut, back, format, why));
  EXPECT_TRUE(why.contains("cut short")) << why.toStdString();
  EXPECT_FALSE(CTHRXProjectIO::Parse(b.left(262), back, format, why)) << "a tag without its length";
}

TEST(ProjectFileBroken, FileErrorsNameTheMessageAndThePath) {
  QTemporaryDir dir;
  CTHRXProjectData d;
  ProjectFormat format;
  LTProjectError error;
  EXPECT_FALSE(CTHRXProjectIO::ReadProjectData(dir.filePath("missing.ven"), {}, d, format, error));
  EXPECT_EQ(error.msgNr, -2);
  EXPECT_TRUE(error.path.endsWith("missing.ven"));

  QFile broken(dir.filePath("broken.ven"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("VEN002 and then nothing useful");
  broken.close();
  EXPECT_FALSE(CTHRXProjectIO::ReadProjectData(broken.fileName(), {}, d, format, error));
  EXPECT_EQ(error.msgNr, 42);
  EXPECT_FALSE(error.reason.isEmpty());

  EXPECT_FALSE(CTHRXProjectIO::WriteProjectData(dir.filePath("no/such/folder/p.ven"), Sample(), error));
  EXPECT_EQ(error.msgNr, -3);
}

TEST(ProjectFileWriting, ReplacesTheFileWholeAndLeavesNothingAside) {
  QTemporaryDir dir;
  const QString path = dir.filePath("p.ven");
  LTProjectError error;
  CTHRXProjectData d = Sample();
  ASSERT_TRUE(CTHRXProjectIO::WriteProjectData(path, d, error));
  d.v_options.clear();
  ASSERT_TRUE(CTHRXProjectIO::WriteProjectData(path, d, error));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), CTHRXProjectIO::Serialize(d));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.ven"});
}

// ---------------------------------------------------------------- requests

SelectionRequest Request(int family, AirflowBasis basis) {
  SelectionRequest r;
  r.family = family;
  r.basis = basis;
  r.altitudeM = 450;
  r.airflowPerPersonLs = 7.5;
  r.roomSurfaceM2 = 240;
  r.areaPerPersonM2 = 6;
  r.persons = 35;
  r.totalSupplyLs = 310;
  r.exhaustGiven = basis == AirflowBasis::kTotals;
  r.totalExhaustLs = 280;
  r.supplyEspPa = 120;
  r.exhaustEspPa = 95;
  r.supplyFilter = family == 0 ? 2 : 0;
  r.exhaustFilter = family == 0 ? 1 : 0;
  r.plenum = PlenumArrangement::kAll;
  r.upsideDown = true;
  r.cooling.room = {26, HumidityMode::kRelativeHumidity, 55};
  r.cooling.outdoor = {33, HumidityMode::kRelativeHumidity, 45};
  r.heating.room = {21, HumidityMode::kRelativeHumidity, 40};
  r.heating.outdoor = {-8, HumidityMode::kRelativeHumidity, 85};
  r.heating.inletHeater = HeaterChoice::kUserValue;
  r.heating.inletHeaterKW = 1.5;
  r.soundDistanceM = 3.75;  // finer than its field: the command line takes any precision
  r.roomConstantM2 = 120;
  r.annual.climate = QStringLiteral("/data/Frankfurt am Main.epw");
  r.annual.schedule.always = false;
  r.annual.schedule.fromHour = 7;
  r.annual.schedule.toHour = 19;
  r.annual.schedule.days = {true, true, true, true, true, false, false};
  r.annual.prices.heatPrice = 0.125;
  r.annual.prices.coolingCop = 4.2;
  if (family == 0) {
    r.heating.supplyTempGiven = true;
    r.heating.supplyTempC = 22;
    r.heating.supplyHeater = HeaterChoice::kUserValue;
    r.heating.supplyHeaterKW = 0.8;
  }
  if (family == 2) {
    r.cooling.dischargeGiven = r.heating.dischargeGiven = true;
    r.cooling.dischargeC = 14;
    r.heating.dischargeC = 27;
  }
  return r;
}

TEST(ProjectMapping, EveryInputSurvivesAFile) {
  for (int family : {0, 1, 2})
    for (AirflowBasis basis : {AirflowBasis::kByArea, AirflowBasis::kByPersons, AirflowBasis::kTotals}) {
      SCOPED_TRACE(testing::Message() << "family " << family << " basis " << int(basis));
      const SelectionRequest r = Request(family, basis);
      const LTProjectUnit unit{144, 5, 21, 20, {{506, 4, 1}}};
      CTHRXProjectData parsed;
      ProjectFormat format;
      QString why;
      ASSERT_TRUE(CTHRXProjectIO::Parse(CTHRXProjectIO::Serialize(CTProjectMapping::ToProject(r, unit)), parsed, format, why))
          << why.toStdString();
      const SelectionRequest back = CTProjectMapping::ToRequest(parsed);
      EXPECT_EQ(back.family, family);
      EXPECT_EQ(back.basis, basis);
      EXPECT_EQ(back.altitudeM, 450);
      EXPECT_EQ(back.airflowPerPersonLs, basis == AirflowBasis::kTotals ? SelectionRequest{}.airflowPerPersonLs : 7.5);
      if (basis == AirflowBasis::kByArea) {
        EXPECT_EQ(back.roomSurfaceM2, 240);
        EXPECT_EQ(back.areaPerPersonM2, 6);
      }
      if (basis == AirflowBasis::kByPersons) { EXPECT_EQ(back.persons, 35); }
      if (basis == AirflowBasis::kTotals) { EXPECT_EQ(back.totalSupplyLs, 310); }
      EXPECT_EQ(back.exhaustGiven, r.exhaustGiven);
      if (r.exhaustGiven) { EXPECT_EQ(back.totalExhaustLs, 280); }
      EXPECT_EQ(back.supplyEspPa, 120);
      EXPECT_EQ(back.exhaustEspPa, 95);
      EXPECT_EQ(back.supplyFilter, r.supplyFilter);
      EXPECT_EQ(back.exhaustFilter, r.exhaustFilter);
      EXPECT_EQ(back.plenum, PlenumArrangement::kAll);
      EXPECT_TRUE(back.upsideDown);
      EXPECT_EQ(back.cooling.room.dryBulbC, 26);
      EXPECT_EQ(back.cooling.room.humidity, 55);
      EXPECT_EQ(back.heating.outdoor.dryBulbC, -8);
      EXPECT_EQ(back.heating.outdoor.humidity, 85);
      EXPECT_EQ(back.heating.inletHeater, HeaterChoice::kUserValue);
      EXPECT_EQ(back.heating.inletHeaterKW, 1.5);
      EXPECT_EQ(back.cooling.inletHeater, HeaterChoice::kCalculated);
      EXPECT_EQ(back.heating.supplyTempGiven, family != 1);
      if (family == 0) {
        EXPECT_EQ(back.heating.supplyTempC, 22);
        EXPECT_EQ(back.heating.supplyHeater, HeaterChoice::kUserValue);
        EXPECT_EQ(back.heating.supplyHeaterKW, 0.8);
      }
      if (family == 2) {
        EXPECT_TRUE(back.cooling.dischargeGiven);
        EXPECT_EQ(back.cooling.dischargeC, 14);
        EXPECT_EQ(back.heating.dischargeC, 27);
      }
      EXPECT_EQ(back.soundDistanceM, 3.75);
      EXPECT_EQ(back.roomConstantM2, 120);
      EXPECT_EQ(back.annual, r.annual);
      const LTProjectUnit u = CTProjectMapping::Unit(parsed);
      EXPECT_EQ(u.objID, 5);
      EXPECT_EQ(u.supplySpeedID, 21);
      ASSERT_EQ(u.options.size(), 1);
      EXPECT_EQ(u.options[0].v_optionObjID, 4);
    }
}

TEST(ProjectMapping, InputsNotGivenAreSentinelsAndKeepTheFieldsValues) {
  SelectionRequest r = Request(0, AirflowBasis::kByPersons);
  r.exhaustGiven = false;
  const CTHRXProjectData d = CTProjectMapping::ToProject(r, {});
  EXPECT_EQ(d.v_intfV0.v_roomSurface, kNot);
  EXPECT_EQ(d.v_intfV0.v_areaPerPerson, kNot);
  EXPECT_EQ(d.v_intfV0.v_totalSupply, kNot);
  EXPECT_EQ(d.v_intfV0.v_totalExhaust, kNot);
  EXPECT_EQ(d.v_intfV0.v_coolingData.v_userInletHeater, kNot);
  SelectionRequest base;
  base.roomSurfaceM2 = 321;
  base.areaPerPersonM2 = 9;
  const SelectionRequest back = CTProjectMapping::ToRequest(d, base);
  EXPECT_EQ(back.roomSurfaceM2, 321);
  EXPECT_EQ(back.areaPerPersonM2, 9);
  EXPECT_FALSE(back.exhaustGiven);
}

TEST(ProjectMapping, WetBulbIsStoredAsRelativeHumidityAndOptionHeatersAsTheirSize) {
  SelectionRequest r = Request(0, AirflowBasis::kByArea);
  r.cooling.room = {27, HumidityMode::kWetBulb, 19};
  r.heating.inletHeater = HeaterChoice::kOption;
  r.heating.inletOptionID = 13;
  const CTHRXProjectData d = CTProjectMapping::ToProject(r, {}, 0, 1.5);
  const double rh = TAir(450).ConvertDBWB2RH(27, 19);
  EXPECT_NEAR(d.v_intfV0.v_coolingData.v_indoorRH, rh, 1e-12);
  EXPECT_GT(rh, 40);
  EXPECT_LT(rh, 50);
  EXPECT_EQ(d.v_intfV0.v_heatingData.v_userInletHeater, 1.5);
  // A discharge nobody set is the field's default.
  EXPECT_EQ(d.v_intfV0.v_coolingData.v_discharge, 18);
  EXPECT_EQ(d.v_intfV0.v_heatingData.v_discharge, 25);
}

// ---------------------------------------------------------------- values outside their fields

TEST(ProjectFileValues, OutsideTheirFieldsAreReadAndBoundedAsTypedValues) {
  CTHRXProjectData d = Sample();
  d.v_intfV0.v_designSupplyESP = 1e12;
  d.v_intfV0.v_altitude = 9000;
  d.v_intfV0.v_coolingData.v_indoorRH = 400;
  d.v_intfV0.v_heatingData.v_userInletHeater = -3;
  d.v_intfV0.v_coolingData.v_ambientRH = 9.5;  // a dry wet bulb
  CTHRXProjectData parsed;
  ProjectFormat format;
  QString why;
  ASSERT_TRUE(CTHRXProjectIO::Parse(CTHRXProjectIO::Serialize(d), parsed, format, why)) << why.toStdString();
  EXPECT_EQ(parsed.v_intfV0.v_designSupplyESP, 1e12);  // as the file holds it; the run bounds it
  const SelectionRequest r = CTProjectMapping::ToRequest(parsed);
  EXPECT_EQ(r.altitudeM, 2000);
  // No air holds more than 100 %: saturated, its wet bulb is its dry bulb.
  EXPECT_EQ(r.cooling.room.humidityMode, HumidityMode::kWetBulb);
  EXPECT_NEAR(r.cooling.room.humidity, 27, 0.05);
  EXPECT_EQ(r.cooling.outdoor.humidityMode, HumidityMode::kWetBulb);
  EXPECT_EQ(r.heating.inletHeater, HeaterChoice::kCalculated);
}

TEST(ProjectFileValues, AStoredHumidityComesBackTheWayItWasTyped) {
  struct Case {
    const char* name;
    double dryBulb;
    LTAirCondition typed;  // what was typed; the file holds its relative humidity
    double altitude;
    bool room;
  };
  const Case cases[] = {
      {"relative humidity", 27, {27, HumidityMode::kRelativeHumidity, 50}, 0, true},
      {"its lowest value", 35, {35, HumidityMode::kRelativeHumidity, 15}, 0, false},
      {"saturated", 20, {20, HumidityMode::kRelativeHumidity, 100}, 0, true},
      {"wet bulb inside the humidity range", 27, {27, HumidityMode::kWetBulb, 19}, 0, true},
      {"wet bulb of hot dry air, below the humidity range", 43, {43, HumidityMode::kWetBulb, 21}, 0, false},
      {"wet bulb of dry room air", 27, {27, HumidityMode::kWetBulb, 12}, 0, true},
      {"wet bulb at altitude", 30, {30, HumidityMode::kWetBulb, 15.5}, 2000, false},
      {"wet bulb of cold air", -10, {-10, HumidityMode::kWetBulb, -12.3}, 500, false},
      {"relative humidity to any precision", 35, {35, HumidityMode::kRelativeHumidity, 50.37}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TAir air(c.altitude);
    const double stored =
        c.typed.humidityMode == HumidityMode::kWetBulb ? air.ConvertDBWB2RH(c.dryBulb, c.typed.humidity) : c.typed.humidity;
    const LTAirCondition back = CTProjectMapping::StoredCondition(c.dryBulb, stored, c.altitude, c.room);
    EXPECT_EQ(back.humidityMode, c.typed.humidityMode);
    EXPECT_DOUBLE_EQ(back.humidity, c.typed.humidity);
    EXPECT_EQ(back.dryBulbC, c.dryBulb);
  }
  // A wet bulb typed in hundredths on the command line comes back as the
  // very humidity it stood for, where the humidity field holds that.
  const double rh = TAir(0).ConvertDBWB2RH(30, 21.37);
  const LTAirCondition back = CTProjectMapping::StoredCondition(30, rh, 0, false);
  EXPECT_EQ(back.humidityMode, HumidityMode::kRelativeHumidity);
  EXPECT_EQ(back.humidity, rh);
}
