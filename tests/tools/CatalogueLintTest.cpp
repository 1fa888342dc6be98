#include "catalogue/CatalogueTest.h"

#include "tools/CatalogueLint.h"
#include "tools/CatalogueSource.h"

namespace {

// A small catalogue that passes: a plain unit, a unit with a coil and a
// fresh-air unit with its four capacity tables. Each case below spoils one
// line of it.
const char* const kSound = R"(
table HRXSpType
  VST_ID VST_Name VST_Weight
  1      Low      10
  2      High     30
end
table HRX
  HRX_ID Fld_Name   HRX_Type HRX_MinAirflow HRX_MaxAirflow HRX_NomAirflow
  1      NV-250     0        100            300            250
  2      NV-500D    1        200            600            500
  3      NV-FA800   2        400            900            800
end
table HRXSpeed
  VSP_ID VSP_HRX VSP_HRXSpType POL_A0 POL_A1 POL_A2   POL_ArgumentLow POL_ArgumentHigh VSP_EspLimit
  1      HRX:1   HRXSpType:2   250    -0.2   -0.001   80              320              200
  2      HRX:1   HRXSpType:1   120    -0.2   -0.001   80              320              100
  3      HRX:2   HRXSpType:2   300    -0.1   -0.0005  150             650              250
  4      HRX:3   HRXSpType:2   350    -0.1   -0.0002  300             950              300
end
table HRXPolynomial
  VPO_ID VPO_HRX POL_Type POL_Select1 POL_Select2 POL_A0 POL_A1  POL_ArgumentLow POL_ArgumentHigh
  1      HRX:1   0        0           0           90     -0.05   100             300
  2      HRX:1   1        0           0           72     -0.04   100             300
  3      HRX:2   2        0           0           70     -0.02   150             650
  # the coil's capacity corrections over airflow / 500 m3/h: 1.15 times the
  # capacity per kg at 0.4, which a coil of bypass factor 0.17..0.31 allows
  4      HRX:2   3        0           0           0.1    0.9     0.4             1.2
  5      HRX:2   4        0           0           0.1    0.9     0.4             1.2
  # fresh-air cooling: two blocks of discharge temperature, five inlet temperatures each
  10     HRX:3   5        25          14          4      0.3     14              24
  11     HRX:3   5        28          14          5      0.3     15              26
  12     HRX:3   5        31          14          6      0.3     16              28
  13     HRX:3   5        34          14          7      0.3     17              29
  14     HRX:3   5        37          14          8      0.3     18              30
  15     HRX:3   5        25          16          3      0.3     14              24
  16     HRX:3   5        28          16          4      0.3     15              26
  17     HRX:3   5        31          16          5      0.3     16              28
  18     HRX:3   5        34          16          6      0.3     17              29
  19     HRX:3   5        37          16          7      0.3     18              30
  20     HRX:3   6        25          0           6      0.3     14              24
  21     HRX:3   6        28          0           7      0.3     15              26
  22     HRX:3   6        31          0           8      0.3     16              28
  23     HRX:3   6        34          0           9      0.3     17              29
  24     HRX:3   6        37          0           10     0.3     18              30
  30     HRX:3   7        -10         20          9      -0.27   -10             -5
  31     HRX:3   7        -5          20          8      -0.27   -5              0
  32     HRX:3   7        0           20          6.7    -0.27   0               5
  33     HRX:3   7        5           20          5.4    -0.27   5               10
  34     HRX:3   7        10          20          4      -0.27   10              15
  40     HRX:3   8        -10         0           11     -0.27   -10             -5
  41     HRX:3   8        -5          0           10     -0.27   -5              0
  42     HRX:3   8        0           0           9      -0.27   0               5
  43     HRX:3   8        5           0           8      -0.27   5               10
  44     HRX:3   8        10          0           7      -0.27   10              15
end
table IndoorUnit
  IND_ID Fld_Name  IND_HRX Fld_HighFan IND_PIFanMotor IND_FanPosition IND_CondensingLimit
  1      NV-500D-C HRX:2   500         60             1               45
end
table IndTabularCap
  Fld_ID Fld_IndoorUnit Fld_Type Fld_Te Fld_Select Fld_Col1 Fld_Col2 Fld_Col3
  1      IndoorUnit:1   0        6      3          16       19       22
  2      IndoorUnit:1   10       6      3          22       27       30
  3      IndoorUnit:1   1        6      3          15       20       25
  4      IndoorUnit:1   2        6      0          2.0      2.8      3.0
  5      IndoorUnit:1   8        6      0          1.6      2.1      1.9
  6      IndoorUnit:1   5        6      0          4.0      3.4      2.6
  # TE 9 and 11 as factors; at TE 11 the surface stays above the first
  # column's dew point (12.4 degC): sensible heat ratio 1 there
  7      IndoorUnit:1   11       9      0          0.71     0.78     0.82
  8      IndoorUnit:1   12       9      0          1.19     1.13     1.1
  9      IndoorUnit:1   11       11     0          0.58     0.64     0.7
  10     IndoorUnit:1   12       11     0          1.26     1.27     1.2
end
table HRXEcodesign
  ECO_ID ECO_HRX ECO_Typology ECO_HrsType ECO_Drive ECO_NomAirflow ECO_NomPressure ECO_ExternalLeakage ECO_InternalLeakage ECO_FaceArea ECO_SoundAirflow ECO_SoundPressure ECO_Supplier ECO_DisassemblyURL
  1      HRX:1   0            0           0         250            100             2.0                 1.5                 0.06         250              210               Norvane      https://x.example/1
  2      HRX:2   2            -           -         -              -               -                   -                   -            -                -                 -            -
  3      HRX:3   3            -           -         -              -               -                   -                   -            -                -                 -            -
end
table HRXEcoCurve
  ECC_ID ECC_HRX POL_Type POL_A0 POL_A1   POL_A2    POL_ArgumentLow POL_ArgumentHigh
  1      HRX:1   0        0      0.3      0.00056   100             300
  2      HRX:1   1        0.24   0.00096  -1.92e-6  100             300
end
table HRXSound
  SND_ID SND_HRX SND_Path SND_63 SND_125 SND_250 SND_500 SND_1000 SND_2000 SND_4000 SND_8000
  1      HRX:1   0        68     66      64      60      57       53       48       42
  2      HRX:1   1        64     61      57      52      47       42       36       30
  3      HRX:1   2        63     60      56      51      46       41       35       29
  4      HRX:1   3        67     65      63      59      56       52       47       41
  5      HRX:1   4        52     50      46      41      37       33       28       22
end
)";

class CatalogueLint : public CatalogueTest {
 protected:
  QStringList Lint(const QString& text) {
    CTCatalogueSource source;
    source.AddText(text, QStringLiteral("t.cat"));
    if (!source.Build(v_factory)) return source.Problems();
    return CTCatalogueLint::Check(v_factory, [&](int c, int o) { return source.WhereIs(c, o); });
  }
};

TEST_F(CatalogueLint, PassesASoundCatalogue) { EXPECT_EQ(Lint(QString::fromUtf8(kSound)), QStringList()); }

// The catalogue the program embeds: its coil units at every offered TE and
// across their airflow range, in cooling and heating.
TEST_F(CatalogueLint, PassesTheDemoCatalogue) {
  CTCatalogueSource source;
  ASSERT_TRUE(source.AddPath(QStringLiteral(AEROLITH_CATALOGUE_SOURCE)));
  ASSERT_TRUE(source.Build(v_factory)) << source.Problems().join('\n').toStdString();
  EXPECT_EQ(CTCatalogueLint::Check(v_factory), QStringList());
}

struct LintCase {
  const char* name;
  const char* line;         // a line of the sound catalogue
  const char* replacement;  // and what spoils it
  const char* expected;     // part of the (first) finding
  int count = 1;            // findings: a spoilt TE 6 row spoils the TEs scaled from it too
};

class CatalogueLintFindings : public CatalogueLint, public testing::WithParamInterface<LintCase> {};

TEST_P(CatalogueLintFindings, NameTheRecordAndTheRule) {
  const LintCase& c = GetParam();
  QString text = QString::fromUtf8(kSound);
  ASSERT_TRUE(text.contains(QString::fromUtf8(c.line)));
  text.replace(QString::fromUtf8(c.line), QString::fromUtf8(c.replacement));
  const QStringList findings = Lint(text);
  ASSERT_EQ(findings.size(), c.count) << findings.join('\n').toStdString();
  EXPECT_TRUE(findings[0].contains(QString::fromUtf8(c.expected))) << findings[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CatalogueLintFindings,
    testing::Values(
        LintCase{"UnitWithoutSpeeds", "4      HRX:3   HRXSpType:2   350", "4      -       HRXSpType:2   350",
                 "t.cat:11: HRX 3 (NV-FA800): the unit has no speeds"},
        LintCase{"UnboundedFanCurve", "80              320              200", "0               0                200",
                 "t.cat:15: HRXSpeed 1: the fan curve has no airflow range"},
        LintCase{"FanCurveShort", "80              320              100", "120             320              100",
                 "the fan curve covers 120 .. 320 m3/h, not the unit's 100 .. 300 m3/h"},
        LintCase{"FanCurveRising", "120    -0.2   -0.001", "120    0.5    -0.001", "does not fall with airflow"},
        LintCase{"ZeroEspLimit", "80              320              200", "80              320              0",
                 "HRXSpeed 1: the ESP limit is 0"},
        LintCase{"CoilUnitWithoutNominalAirflow", "200            600            500", "200            600            0",
                 "HRX 2 (NV-500D): a unit with a coil needs a nominal airflow above 0"},
        LintCase{"EfficiencyCurveShort", "72     -0.04   100             300", "72     -0.04   100             280",
                 "the efficiency curve of type 1 covers 100 .. 280 m3/h"},
        LintCase{"UnboundedEfficiencyCurve", "70     -0.02   150             650", "70     -0.02   0               0",
                 "the efficiency curve of type 2 has no airflow range"},
        LintCase{"CoolingBlockOfFour", "19     HRX:3   5        37          16", "# gone",
                 "the cooling capacity block at 16 degC has 4 curves, fewer than 5"},
        LintCase{"RepeatedKey", "44     HRX:3   8        10 ", "44     HRX:3   8        5  ",
                 "the maximum heating capacity table: key 5 does not rise above 5"},
        LintCase{"HeaderNotAscending", "6      3          15       20       25", "6      3          15       25       20",
                 "header column 3 (20) does not rise above column 2 (25)"},
                // Sensible equal to total: the coil line ends above the outlet state.
        LintCase{"BypassFactorOutside", "1.6      2.1      1.9", "1.6      2.1      3.0",
                 "column 3 at TE 6 degC: bypass factor", 3},
        // Dry inlet air cooled without dehumidifying: the coil line meets
        // saturation near the inlet dew point, far below 4.5 degC.
        LintCase{"ApparatusDewPointTooLow", "6      3          16       19       22", "6      3          10       19       22",
                 "column 1 at TE 6 degC: apparatus dew point", 3},
        LintCase{"CoilWithoutAnOfferedTE", "9      IndoorUnit:1   11       11", "# gone",
                 "IndoorUnit 1 (NV-500D-C): no total cooling row at TE 11 degC, an evaporating temperature offered"},
        LintCase{"CoilWithoutCondensingLimit", "1               45", "1               0",
                 "IndoorUnit 1 (NV-500D-C): a coil needs a condensing limit above 0 degC"},
        LintCase{"CoilUnitWithoutCapacityCorrection", "5      HRX:2   4 ", "# gone",
                 "HRX 2 (NV-500D): a unit with a coil needs both capacity correction curves"},
        // 0.72 at 0.4: 1.8 times the capacity per kg of air, more than the
        // coil's whole surface gives (at most 1 / (1 - 0.17) = 1.2 times).
        LintCase{"CapacityCorrectionBeyondTheSurface", "4      HRX:2   3        0           0           0.1    0.9",
                 "4      HRX:2   3        0           0           0.533  0.467",
                 "HRX 2 (NV-500D): cooling at 200 m3/h, coil inlet 22 degC / 16 degC wet bulb, TE 6 degC: the data ask "
                 "for more than the coil surface allows (and "},
        // 3.3 kW x 0.46 at 200 m3/h heats air of 25 degC / 50 % by
        // 1.518 kW / (0.0667 kg/s x 1.024 kJ/kgK) = 22.2 K, to 47.2 degC.
        LintCase{"HeatingPastTheCondensingLimit", "4.0      3.4      2.6", "4.0      3.4      3.3",
                 "HRX 2 (NV-500D): heating at 200 m3/h, coil inlet 25 degC / 50 %: the data take the air past the "
                 "condensing limit of 45 degC"},
        LintCase{"UnitWithoutEcodesignRecord", "  3      HRX:3   3  ", "# gone",
                 "HRX 3 (NV-FA800): the unit has no ecodesign record"},
        LintCase{"UnknownTypology", "  3      HRX:3   3  ", "  3      HRX:3   7  ", "the typology 7 is none of 0 to 3"},
        LintCase{"NominalAirflowOutsideTheUnit", "0         250            100", "0         350            100",
                 "the nominal airflow 350 m3/h is outside the unit's 100 .. 300 m3/h"},
        LintCase{"LeakageOutside", "2.0                 1.5", "25                  1.5", "a leakage is outside 0 .. 20 %"},
        LintCase{"NoDisassemblyAddress", "Norvane      https://x.example/1", "Norvane      -",
                 "needs the supplier and the address of the disassembly instructions"},
        // 300 - 0.8 q + 0.00056 q^2 falls until q = 714 m3/h.
        LintCase{"ExchangerDropFallingWithAirflow", "0      0.3      0.00056", "300    -0.8     0.00056",
                 "HRXEcoCurve 1: the exchanger's pressure drop does not rise with airflow near 103.125 m3/h"},
        // -40 + 30 + 5.6 Pa at 100 m3/h.
        LintCase{"ExchangerDropNegativeAtTheLowEnd", "0      0.3      0.00056", "-40    0.3      0.00056",
                 "the exchanger's pressure drop is -4.4 Pa at 100 m3/h, not above 0"},
        // 1.24 + 0.00096 q - 1.92e-6 q^2 is 1.3168 at 100 m3/h.
        LintCase{"FanEfficiencyAboveOne", "0.24   0.00096", "1.24   0.00096",
                 "the fan static efficiency is 1.3168 at 100 m3/h, not a fraction above 0"},
        LintCase{"NoFanEfficiencyCurve", "  2      HRX:1   1        0.24", "# gone",
                 "HRX 1 (NV-250): the unit needs one fan static efficiency curve, it has 0"},
        LintCase{"SoundPathTwice", "5      HRX:1   4 ", "5      HRX:1   3 ", "HRXSound 5: the sound path 3 is given twice", 2},
        LintCase{"SoundBandOutside", "68     66", "168    66", "HRXSound 1: a sound power of 168 dB is outside 0 .. 140 dB"},
        LintCase{"CoilDataAtNoAirflowOfTheUnit", "0.1    0.9     0.4             1.2\n  5", "0.1    0.9     0.5             1.2\n  5",
                 "HRX 2 (NV-500D): cooling at 200 m3/h, coil inlet 22 degC / 16 degC wet bulb, TE 6 degC: the coil gives "
                 "no cooling (0 kW)"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
