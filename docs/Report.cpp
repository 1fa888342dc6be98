#include "docs/Report.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXSettingScheme.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClHrxSetting.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/Factory.h"
#include "charts/ChartSetup.h"
#include "charts/VirtCanv.h"
#include "docs/HRXNote.h"
#include "docs/PdfOutput.h"
#include "i18n/BaseMsgMan.h"
#include "selection/CatalogueSession.h"
#include "selection/Ecodesign.h"
#include "selection/ResultTexts.h"
#include "selection/SelectionForm.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"
#include "selection/UnitDatasheet.h"
#include "selection/ValueText.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

enum : int {
  kMsgCommissioning = 79,
  kMsgConfiguration = 80,
  kMsgTechnicalData = 83,
  kMsgCorrectedEfficiency = 86,
  kMsgEfficiencyData = 87,
  kMsgExhaust = 89,
  kMsgExhaustCurve = 91,
  kMsgFanCharacteristics = 92,
  kMsgFanMode = 93,
  kMsgSelectedOptions = 96,
  kMsgOptionName = 97,
  kMsgPsychroDiagram = 99,
  kMsgPsychroPoints = 100,
  kMsgSelectedDevice = 102,
  kMsgSelectionData = 103,
  kMsgFanSpeedSetting = 104,
  kMsgFreshUpSetting = 105,
  kMsgFanOperationSetting = 106,
  kMsgFieldSettingsFor = 107,
  kMsgVentilationSetting = 108,
  kMsgUnitDataHeading = 110,
  kMsgSupply = 111,
  kMsgSupplyCurve = 113,
  kMsgQuilloParameters = 116,
};

// A requirement the unit fails, in red.
constexpr TColor kFailingColor = DrawColors::Rgb(0xC0, 0, 0);
// The information sheet's columns at most (pixels at 96 ppi): together the
// text width of the page, 17 cm.
constexpr int kSheetLabelPx = 300, kSheetValuePx = 340;
// The type of tables with many columns (the sound's twelve, the months'
// nine), relative to the report's.
constexpr double kWideTableScale = 0.8;

QString Msg(int nMsg, const QString& szParam = QString()) {
  return szParam.isNull() ? TBaseMsg::GetUnicodeString(nMsg) : TBaseMsg::GetUnicodeString(nMsg, szParam);
}

// The writer's table: one per section, re-initialised, the report's font.
class Table {
 public:
  Table(const LTDocFont& font, int nColumns, int nRows) {
    v_table.InitDimensions(nColumns, nRows, 0, 0, true);
    v_table.v_fontName = font.name;
    v_table.SetAllDefaultFontSize(font.size);
  }
  CTDocTable& operator*() { return v_table; }
  CTDocTable* operator->() { return &v_table; }

  TColor TitleBg() const { return v_table.v_defBgColor[CTDocTable::kTitleRow]; }

  // A title cell: bold on the title background over nSpan columns.
  void Title(int nColumn, int nRow, const QString& szText, int nSpan) {
    v_table.SetText(nColumn, nRow, szText, DocStyle::kBold);
    v_table.SetBgColor(nColumn, nRow, TitleBg());
    if (nSpan > 1) v_table.SetColumnSpan(nColumn, nRow, nSpan);
  }

  // A caption list at (column, row): its title over two columns, each pair
  // below it with the value right-aligned. Answers the row after it; an
  // empty list places nothing.
  int Block(int nColumn, int nRow, const LTCaptionList& list) {
    if (list.isEmpty()) return nRow;
    Title(nColumn, nRow++, QLatin1Char(' ') + list.first(), 2);
    for (int i = 1; i + 1 < list.size(); i += 2, ++nRow) {
      v_table.SetText(nColumn, nRow, QLatin1Char(' ') + list[i]);
      v_table.SetText(nColumn + 1, nRow, list[i + 1]);
      v_table.SetHorAlign(nColumn + 1, nRow, DocHorAlign::kRight);
    }
    return nRow;
  }

  void Write(CTDocOutput& out) {
    v_table.CalculatePixelSizes(0);
    out.PutDocTable(v_table);
  }

 private:
  CTDocTable v_table;
};

class ReportWriter {
 public:
  ReportWriter(CTDocOutput& out, const LTReportInput& in)
      : v_out(out),
        v_in(in),
        v_request(*in.request),
        v_result(*in.result),
        v_unit(*in.result->Current()),
        v_type(v_unit.GetType()),
        v_sheet(CTUnitDatasheet::Read(*in.session, v_unit)) {
    for (const LTOptionRow& row : in.options)
      if (row.used) v_used.append(row);
  }

  void Write() {
    UnitAndInputs();
    SelectionData();
    v_out.NewPage();
    EcodesignAndSound();
    v_out.NewPage();
    AnnualEnergy();
    v_out.NewPage();
    const bool options = Options();
    const bool commissioning = v_type != Cls_HRX::kFreshAirUnit && Commissioning();
    if (options && commissioning) v_out.NewPage();
    TechnicalData();
    v_out.NewPage();
    Quillo();
    Psychrometrics();
    Charts();
  }

 private:
  // The exhaust side's inputs and duct data, as the form shows them.
  bool TwoSided() const { return CTSelectionForm::Traits(v_type).exhaustInputs; }
  bool UpsideDown() const { return v_sheet.canBeUpsideDown && v_request.upsideDown; }

  void Heading(int nMsg) { v_out.TextHeading(1, Msg(nMsg), true); }

  // Cooling in columns 0 and 1, heating in 2 and 3: the mode's title on a
  // centred first row, then its blocks one below the other.
  template <typename BlocksOf>
  static void ModeColumns(Table& table, const char* szTitlePrefix, BlocksOf&& blocksOf) {
    for (const bool cooling : {true, false}) {
      const int column = cooling ? 0 : 2;
      table.Title(column, 0, QString::fromUtf8(szTitlePrefix) + TBaseMsg::Tr(cooling ? QStringLiteral("Cooling") : QStringLiteral("Heating")), 2);
      int row = 1;
      for (const LTCaptionList& block : blocksOf(cooling)) row = table.Block(column, row, block);
    }
    table->SetHorAlignForRow(0, DocHorAlign::kCentre);
  }

  void Picture(int nWidth, int nHeight, CTChartSetup::ChartKind kind, bool bCooling) {
    const SelectionResult& result = v_result;
    THRXRatioCorr& corrections = v_in.session->Factory().RatioCorrections();
    const QSize size(nWidth, nHeight);
    const CTDocDrawnPicture picture(nWidth, nHeight, [&result, &corrections, size, kind, bCooling](IDrawSurface& s) {
      CTChartSetup::DrawChart(s, size, kind, bCooling, result, corrections);
    });
    v_out.PutGraphic(1.0, picture, DocHorAlign::kLeft, true);
  }

  // ---- a. the unit, its inputs and conditions
  void UnitAndInputs() {
    Heading(kMsgUnitDataHeading);
    v_out.TextWriteln();
    v_out.TextStyle(Msg(kMsgSelectedDevice, v_unit.GetQualifiedName()), DocStyle::kBold, DrawColors::kWindowText, 0);
    v_out.TextWriteln();
    v_out.TextWriteln();
    if (CTHRXNote::Applies(v_unit)) {
      CTHRXNote::Write(v_out);
      v_out.TextWriteln();
    }
    using F = CTInputFields;
    Table inputs(v_in.normalFont, 2, 6);
    int row = 0;
    if (UpsideDown()) row = inputs.Block(0, row, {TBaseMsg::Tr(QStringLiteral("Upside down installation"))});
    LTCaptionList airflow{TBaseMsg::Tr(QStringLiteral("Room Airflow Conditions")), TBaseMsg::Tr(QStringLiteral("Total supply air")),
                          CTResultTexts::FieldText(F::kTotalSupply, v_result.supplyLs)};
    LTCaptionList esp{TBaseMsg::Tr(QStringLiteral("External Static Pressure (ESP)")), TBaseMsg::Tr(QStringLiteral("Design supply ESP")),
                      CTResultTexts::FieldText(F::kSupplyEsp, v_result.supplyEspPa)};
    if (TwoSided()) {
      airflow << TBaseMsg::Tr(QStringLiteral("Total exhaust air")) << CTResultTexts::FieldText(F::kTotalExhaust, v_result.exhaustLs);
      esp << TBaseMsg::Tr(QStringLiteral("Design exhaust ESP")) << CTResultTexts::FieldText(F::kExhaustEsp, v_result.exhaustEspPa);
    }
    row = inputs.Block(0, row, airflow);
    row = inputs.Block(0, row, esp);
    inputs.Block(0, row, {TBaseMsg::Tr(QStringLiteral("Altitude Selection")), TBaseMsg::Tr(QStringLiteral("Altitude")),
                          CTResultTexts::FieldText(F::kAltitude, v_result.altitudeM)});
    inputs.Write(v_out);
    v_out.TextWriteln();

    Table conditions(v_in.normalFont, 4, 7);
    ModeColumns(conditions, "", [&](bool cooling) {
      const LTConditionTexts t = CTResultTexts::Conditions(v_request, v_result, cooling);
      return QList<LTCaptionList>{t.room, t.outdoor, t.discharge, t.heaters};
    });
    conditions.Write(v_out);
    v_out.TextWriteln();
  }

  // ---- b. selection data
  void SelectionData() {
    Heading(kMsgSelectionData);
    const auto pressure = [](double pa) { return pa == 0 ? QString() : ValueText::Dimensioned(pa, U_Pressure, false); };
    const auto sides = [&](const char* szTitle, double nSupplyPa, double nExhaustPa, bool bSkipEmpty) {
      const QString supply = pressure(nSupplyPa);
      const QString exhaust = v_result.exhaustSideShown ? pressure(nExhaustPa) : QString();
      if (bSkipEmpty && supply.isEmpty() && exhaust.isEmpty()) return LTCaptionList();
      LTCaptionList list{TBaseMsg::Tr(QString::fromUtf8(szTitle)), TBaseMsg::Tr(QStringLiteral("Supply side")), supply};
      if (v_result.exhaustSideShown) list << TBaseMsg::Tr(QStringLiteral("Exhaust side")) << exhaust;
      return list;
    };
    Table data(v_in.normalFont, 2, 4);
    int row = 0;
    if (TwoSided()) {
      LTCaptionList ratios{TBaseMsg::Tr(QStringLiteral("Ratios")), TBaseMsg::Tr(QStringLiteral("Exhaust / Supply ratio")),
                           std::isfinite(v_result.exhaustSupplyRatio) ? TBaseMsg::FormatShown(v_result.exhaustSupplyRatio, 2)
                                                                      : QString()};
      if (v_type == Cls_HRX::kCoilUnit)
        ratios << TBaseMsg::Tr(QStringLiteral("Supply / Nominal ratio"))
               << (std::isfinite(v_result.supplyNominalRatio) ? TBaseMsg::FormatShown(v_result.supplyNominalRatio, 2)
                                                              : QString());
      row = data.Block(0, row, ratios);
    }
    row = data.Block(0, row, sides("Additional resistance", v_result.supplySide.additionalPa,
                                   v_result.exhaustSide.additionalPa, false));
    row = data.Block(0, row, sides("High efficiency filter", v_result.supplySide.filterPa, v_result.exhaustSide.filterPa, true));
    row = data.Block(0, row, sides("Plenum", v_result.supplySide.plenumPa, v_result.exhaustSide.plenumPa, true));
    if (v_result.fans.known)
      data.Block(0, row, {TBaseMsg::Tr(QStringLiteral("Fans")), TBaseMsg::Tr(QStringLiteral("Fan power")),
                          ValueText::Dimensioned(v_result.fans.totalKW, U_Power, false),
                          TBaseMsg::Tr(QStringLiteral("Specific fan power")), CTResultTexts::SfpText(v_result.fans)});
    data.Write(v_out);
    v_out.TextWriteln();

    Table results(v_in.normalFont, 4, 8);
    ModeColumns(results, " ", [&](bool cooling) {
      const LTResultTexts t = CTResultTexts::Results(v_result, cooling);
      return QList<LTCaptionList>{t.efficiencies, t.savings, t.supplyTemp, t.humidification, t.heaters};
    });
    results.Write(v_out);
    // What a mode falls short of, under the table, each line led by its mode.
    for (const bool cooling : {true, false})
      for (const QString& note : CTResultTexts::Results(v_result, cooling).notes) {
        v_out.TextWriteln();
        v_out.TextWrite(TBaseMsg::Tr(cooling ? QStringLiteral("Cooling") : QStringLiteral("Heating")) +
                        QStringLiteral(": ") + note);
      }
  }

  // ---- d. options
  const LTOptionData* OptionData(const LTOptionRow& row) const {
    for (const LTOptionData& o : v_sheet.options)
      if (o.id == row.optionObjID) return &o;
    return nullptr;
  }

  bool Options() {
    if (v_used.isEmpty()) return false;
    Heading(kMsgSelectedOptions);
    Table list(v_in.normalFont, 3, 1 + v_used.size());
    list.Title(0, 0, QLatin1Char(' ') + Msg(kMsgOptionName), 1);
    list.Title(1, 0, TBaseMsg::Tr(QStringLiteral(" Type")), 1);
    list.Title(2, 0, TBaseMsg::Tr(QStringLiteral(" Description")), 1);
    int row = 1;
    for (const LTOptionRow& option : v_used) {
      const QString name = option.count > 1 ? option.name + QStringLiteral(" × ") + QString::number(option.count) : option.name;
      list->SetText(0, row, name);
      list->SetText(1, row, option.typeName);
      list->SetText(2, row, option.description);
      ++row;
    }
    list->CalculatePixelSizes(0);
    list->SetColumnWidth(2, 400);
    v_out.PutDocTable(*list);

    // Dimensions and electrical data of the options that have them.
    const auto details = [&](const char* szHeading, auto&& rowsOf) {
      Table table(v_in.normalFont, 2, 1);
      int r = 0;
      for (const LTOptionRow& option : v_used)
        if (const LTOptionData* data = OptionData(option)) r = rowsOf(table, r, option, *data);
      if (r == 0) return;
      v_out.TextWriteln();
      v_out.TextWrite(TBaseMsg::Tr(QString::fromUtf8(szHeading)));
      v_out.TextWriteln();
      v_out.TextWriteln();
      table.Write(v_out);
    };
    const auto nameRow = [](Table& table, int r, const LTOptionRow& option) {
      table.Title(0, r, TBaseMsg::Tr(QStringLiteral(" Option Name")), 1);
      table.Title(1, r, QLatin1Char(' ') + option.name, 1);
      return r + 1;
    };
    details("Mechanical Data", [&](Table& table, int r, const LTOptionRow& option, const LTOptionData& d) {
      const double w = std::round(d.widthMm), h = std::round(d.heightMm), depth = std::round(d.depthMm);
      if (!(w > 0 || h > 0 || depth > 0)) return r;
      r = nameRow(table, r, option);
      if (w * h * depth >= 1) {
        table->SetText(0, r, TBaseMsg::Tr(QStringLiteral(" W×H×D")));
        table->SetText(1, r, CTUnitDatasheet::Dimensions(w, h, depth));
        table->SetHorAlign(1, r, DocHorAlign::kRight);
        ++r;
      }
      return r;
    });
    details("Electrical Data", [&](Table& table, int r, const LTOptionRow& option, const LTOptionData& d) {
      if (d.mca.isEmpty()) return r;
      r = nameRow(table, r, option);
      table->SetText(0, r, TBaseMsg::Tr(QStringLiteral(" MCA")));
      table->SetText(1, r, d.mca);
      return r + 1;
    });
    return true;
  }

  // ---- e. commissioning
  bool Commissioning() {
    Heading(kMsgCommissioning);
    const Cls_HRXSpeed* supply = v_unit.GetSupplySpeed();
    const Cls_HRXSpeed* exhaust = v_unit.GetExhaustSpeed();
    QString supplyName, exhaustName;
    v_unit.GetSpeedNames(supplyName, exhaustName);
    Table table(v_in.normalFont, 2, 6);
    int row = table.Block(0, 0, {Msg(kMsgFanMode), Msg(kMsgSupply), supplyName, Msg(kMsgExhaust), exhaustName});
    const auto pressure = [](double pa) { return ValueText::Dimensioned(pa, U_Pressure, false); };
    row = table.Block(0, row, {TBaseMsg::Tr(QStringLiteral("ESP data")), TBaseMsg::Tr(QStringLiteral("Supply side")), pressure(v_result.supplySide.fanPa),
                               TBaseMsg::Tr(QStringLiteral("Exhaust side")), pressure(v_result.exhaustSide.fanPa)});
    if (supply && exhaust) {
      // Curve settings are whole numbers; halves round to even.
      const long supplyCurve = std::lrint(supply->GetSelect1());
      const long exhaustCurve = std::lrint(exhaust->GetSelect1());
      int supplyTypeCls = 0, supplyType = 0, exhaustTypeCls = 0, exhaustType = 0;
      supply->GetHRXSpTypeRef(supplyTypeCls, supplyType);
      exhaust->GetHRXSpTypeRef(exhaustTypeCls, exhaustType);
      for (const LTOptionRow& used : v_used) {
        Cls_TrivaneDeviceOption* option = v_in.session->Options().Search([&](const Cls_TrivaneDeviceOption* o) {
          return o->GetID() == used.optionObjID && o->TableIndex() == used.optionClsID;
        });
        if (!option) continue;
        const std::unique_ptr<Cls_HRXSettingScheme> scheme = option->GetHRXSettingScheme();
        if (!scheme) continue;
        LTCaptionList block{Msg(kMsgFieldSettingsFor, option->GetName())};
        ObjectList<Cls_HrxSetting> settings = scheme->GetAllHrxSetting();
        for (const Cls_HrxSetting* setting : settings) {
          int cls1 = 0, type1 = 0, cls2 = 0, type2 = 0;
          setting->GetHRXSpTypeRef(cls1, type1);
          setting->GetHRXSpType2Ref(cls2, type2);
          if (cls1 != supplyTypeCls || type1 != supplyType || cls2 != exhaustTypeCls || type2 != exhaustType) continue;
          block << Msg(kMsgVentilationSetting) << setting->GetVentilation();
          block << Msg(kMsgFanSpeedSetting) << setting->GetFanspeed();
          if (supplyCurve > 0) block << Msg(kMsgSupplyCurve) << setting->GetSupplyFanCurve() + QString::number(supplyCurve);
          if (exhaustCurve > 0)
            block << Msg(kMsgExhaustCurve) << setting->GetExhaustFanCurve() + QString::number(exhaustCurve);
          block << Msg(kMsgFreshUpSetting) << setting->GetFreshup();
          block << Msg(kMsgFanOperationSetting) << setting->GetFanOperation();
        }
        row = table.Block(0, row, block);
      }
    }
    table.Write(v_out);
    return true;
  }

  // ---- g. technical data
  void TechnicalData() {
    Heading(kMsgTechnicalData);
    const LTDatasheetTexts t = CTUnitDatasheet::Texts(v_sheet);
    const bool upsideDown = UpsideDown();
    Table table(v_in.normalFont, 4, 10);
    int row = table.Block(0, 0, {TBaseMsg::Tr(QStringLiteral("Mechanical Data")), TBaseMsg::Tr(QStringLiteral("W×H×D")), t.dimensions,
                                 TBaseMsg::Tr(QStringLiteral("Weight")), t.weight});
    row = table.Block(0, row, {TBaseMsg::Tr(QStringLiteral("Speed Related Data")), TBaseMsg::Tr(QStringLiteral("Sound level")), t.soundLevel,
                               TBaseMsg::Tr(QStringLiteral("Current")), t.current, TBaseMsg::Tr(QStringLiteral("Wattage")), t.wattage});
    row = table.Block(0, row, {TBaseMsg::Tr(QStringLiteral("Ambient Operation Range")), TBaseMsg::Tr(QStringLiteral("Min~max temperature")),
                               t.ambientTemp, TBaseMsg::Tr(QStringLiteral("Maximum relative humidity")), t.ambientRH});
    row = table.Block(0, row, {TBaseMsg::Tr(QStringLiteral("Heater Threshold Temperature")), TBaseMsg::Tr(QStringLiteral("Minimum temperature")),
                               upsideDown ? t.viMinTempUD : t.viMinTemp});
    if (t.roomRange)
      table.Block(0, row, {TBaseMsg::Tr(QStringLiteral("Room Operation Range")), TBaseMsg::Tr(QStringLiteral("Min~max temperature")), t.roomTemp,
                           TBaseMsg::Tr(QStringLiteral("Maximum relative humidity")), t.roomRH});

    row = table.Block(2, 0, {TBaseMsg::Tr(QStringLiteral("Electrical Data")), TBaseMsg::Tr(QStringLiteral("Power supply")), t.powerSupply,
                             TBaseMsg::Tr(QStringLiteral("Frequency")), t.frequency, TBaseMsg::Tr(QStringLiteral("Phases")), t.phases,
                             TBaseMsg::Tr(QStringLiteral("Voltage")), t.voltage, TBaseMsg::Tr(QStringLiteral("Min~max V")), t.minMaxV,
                             TBaseMsg::Tr(QStringLiteral("MCA")), t.mca, TBaseMsg::Tr(QStringLiteral("MFA")), t.mfa, TBaseMsg::Tr(QStringLiteral("RLA")), t.rla,
                             TBaseMsg::Tr(QStringLiteral("FLA")), t.fla});
    row = table.Block(2, row, {TBaseMsg::Tr(QStringLiteral("Duct Data")), TBaseMsg::Tr(QStringLiteral("Duct diameter")), t.ductDiameter});
    if (t.rhMaxima) {
      LTCaptionList maxima{TBaseMsg::Tr(QStringLiteral("Relative Humidity Maxima")), TBaseMsg::Tr(QStringLiteral("Exhaust air (EA)")),
                           upsideDown ? t.eaMaxRHUD : t.eaMaxRH, TBaseMsg::Tr(QStringLiteral("Ventilation out air (VO)")),
                           upsideDown ? t.voMaxRHUD : t.voMaxRH};
      const QString coilIn = upsideDown ? t.ciMaxRHUD : t.ciMaxRH;
      if (v_type == Cls_HRX::kCoilUnit && !coilIn.isEmpty()) maxima << TBaseMsg::Tr(QStringLiteral("Coil in air (CI)")) << coilIn;
      row = table.Block(2, row, maxima);
    }
    if (t.airTreatment)
      row = table.Block(2, row, {TBaseMsg::Tr(QStringLiteral("Air Treatment Limits")), TBaseMsg::Tr(QStringLiteral("Minimum RH in cooling (OA)")),
                                 t.minCoolRH, TBaseMsg::Tr(QStringLiteral("Minimum RH in heating (OA)")), t.minHeatRH,
                                 TBaseMsg::Tr(QStringLiteral("Min~max fan only temperature")), t.fanOnlyTemp});
    if (t.nominal) {
      LTCaptionList nominal{TBaseMsg::Tr(QStringLiteral("Nominal Data"))};
      if (!t.nominalHumidity.isEmpty()) nominal << TBaseMsg::Tr(QStringLiteral("Nominal humidity")) << t.nominalHumidity;
      nominal << TBaseMsg::Tr(QStringLiteral("Nominal airflow")) << t.nominalAirflow;
      table.Block(2, row, nominal);
    }
    table.Write(v_out);
  }

  // ---- c. the ecodesign regulation and the sound
  // Label and value rows under a title over both columns; a value may be a
  // sentence (the filter warning, the reason a unit is not covered), so the
  // value column is held to what the page leaves and its text wraps.
  void SheetTable(const QString& szTitle, const QList<LTSheetRow>& rows, const QList<bool>& failing = {}) {
    Table table(v_in.normalFont, 2, 1 + int(rows.size()));
    table.Title(0, 0, QLatin1Char(' ') + szTitle, 2);
    for (int i = 0; i < rows.size(); ++i) {
      table->SetText(0, i + 1, QLatin1Char(' ') + rows[i].label);
      if (failing.value(i)) table->SetText(1, i + 1, rows[i].value, DocStyle::kBold);
      else table->SetText(1, i + 1, rows[i].value);
      if (failing.value(i)) table->SetFontColor(1, i + 1, kFailingColor);
    }
    table->CalculatePixelSizes(0);
    table->SetColumnWidth(0, std::min(table->GetColumnWidth(0), kSheetLabelPx));
    table->SetColumnWidth(1, std::min(table->GetColumnWidth(1), kSheetValuePx));
    v_out.PutDocTable(*table);
    v_out.TextWriteln();
  }

  void EcodesignAndSound() {
    v_out.TextHeading(1, TBaseMsg::Tr(QStringLiteral("Ecodesign and Sound")), true);
    const LTEcodesign& eco = v_result.ecodesign;
    // Verdicts() answers the thermal efficiency, then SFPint.
    const QList<LTSheetRow> verdicts = CTEcodesign::Verdicts(eco);
    if (!verdicts.isEmpty())
      SheetTable(TBaseMsg::Tr(QStringLiteral("Requirements of Regulation (EU) 1253/2014")), verdicts,
                 {!eco.meetsEfficiency, !eco.meetsSfpint});
    SheetTable(TBaseMsg::Tr(QStringLiteral("Information sheet")), CTEcodesign::Sheet(eco));

    const LTSound& sound = v_result.sound;
    v_out.TextHeading(2, TBaseMsg::Tr(QStringLiteral("Sound power at the operating point")), true);
    if (!sound.known) {
      v_out.TextWrite(TBaseMsg::Tr(QStringLiteral("The catalogue has no sound data for this unit.")));
      v_out.TextWriteln();
      return;
    }
    TextTable(CTReport::SoundTable(sound));

    using F = CTInputFields;
    Table room(v_in.normalFont, 2, 4);
    room.Block(0, 0, {TBaseMsg::Tr(QStringLiteral("Sound pressure in the room")),
                      TBaseMsg::Tr(QStringLiteral("Distance from the supply outlet")),
                      CTResultTexts::FieldText(F::kSoundDistance, sound.distanceM),
                      TBaseMsg::Tr(QStringLiteral("Room constant")),
                      CTResultTexts::FieldText(F::kRoomConstant, sound.roomConstantM2),
                      TBaseMsg::Tr(QStringLiteral("Sound pressure level")), CTReport::RoomLevelText(sound)});
    room.Write(v_out);
    v_out.TextWriteln();

    BarPicture(CTBarChart(CTChartSetup::SoundChartData(sound)), CTReport::kSoundChartW, CTReport::kSoundChartH);
  }

  // A table of texts under its bold titles in a smaller type, so that many
  // columns fit the page's 17 cm; every column after the first holds
  // numbers, right-aligned.
  void TextTable(const LTTextTable& t) {
    Table table(v_in.normalFont, int(t.titles.size()), 1 + int(t.rows.size()));
    table->SetAllDefaultFontSize(v_in.normalFont.size * kWideTableScale);
    for (int c = 0; c < t.titles.size(); ++c) table.Title(c, 0, t.titles[c], 1);
    for (int r = 0; r < t.rows.size(); ++r)
      for (int c = 0; c < t.rows[r].size(); ++c) {
        table->SetText(c, r + 1, t.rows[r][c]);
        if (c > 0) table->SetHorAlign(c, r + 1, DocHorAlign::kRight);
      }
    table.Write(v_out);
    v_out.TextWriteln();
  }

  // A bar chart as a picture on white.
  void BarPicture(const CTBarChart& chart, int nWidth, int nHeight) {
    const QRect area(0, 0, nWidth, nHeight);
    const CTDocDrawnPicture picture(area.width(), area.height(), [&chart, area](IDrawSurface& s) {
      CTVirtualCanvas background(&s);
      background.SetVCPenStyle(PenStyle::kClear);
      background.SetVCBrushColor(DrawColors::kWhite);
      background.DrawRectangle(0, 0, area.width() + 1, area.height() + 1);
      chart.Draw(s, area);
    });
    v_out.PutGraphic(1.0, picture, DocHorAlign::kLeft, true);
  }

  // ---- the unit's year under the request's weather, schedule and prices.
  // A year that cannot be worked out (no climate, a mode not computed) is
  // one line saying why.
  void AnnualEnergy() {
    v_out.TextHeading(1, TBaseMsg::Tr(QStringLiteral("Annual Energy")), true);
    const LTAnnualInputs& in = v_request.annual;
    LTClimate climate;
    const LTAnnualResult year = CTReport::AnnualYear(v_request, v_result, climate);
    if (!year.computed) {
      v_out.TextWrite(TBaseMsg::Tr(QStringLiteral("The annual energy cannot be worked out:")) + QLatin1Char(' ') +
                      year.message);
      v_out.TextWriteln();
      return;
    }
    const LTAnnualTexts t = CTReport::AnnualTexts(in, climate, year);
    SheetTable(TBaseMsg::Tr(QStringLiteral("Inputs of the year")), t.inputs);
    SheetTable(TBaseMsg::Tr(QStringLiteral("The year")), t.figures);
    TextTable(t.months);
    BarPicture(CTBarChart(CTChartSetup::AnnualMonthsChartData(year), BarBase::kZero), CTReport::kAnnualChartW,
               CTReport::kAnnualChartH);
    BarPicture(CTBarChart(CTChartSetup::AnnualBinsChartData(year), BarBase::kZero), CTReport::kAnnualChartW,
               CTReport::kAnnualChartH);
  }

  // ---- i. inputs for the sibling tools
  void Quillo() {
    const LTQuilloTexts t = CTResultTexts::Quillo(v_result);
    if (!t.shown) return;
    Heading(kMsgQuilloParameters);
    Table table(v_in.normalFont, 4, 3);
    table.Block(0, 0, t.cooling);
    table.Block(2, 0, t.heating);
    table.Write(v_out);
  }

  // ---- j. psychrometrics
  void Psychrometrics() {
    Heading(kMsgPsychroPoints);
    for (const bool cooling : {true, false}) {
      const auto points = CTResultTexts::PsychroPoints(v_result, cooling, v_in.deltaEnthalpy);
      Table table(v_in.normalFont, 4, 11);
      table.Title(0, 0, cooling ? TBaseMsg::Tr(QStringLiteral("Cooling")) : TBaseMsg::Tr(QStringLiteral("Heating")), 4);
      table->SetHorAlignForRow(0, DocHorAlign::kCentre);
      const std::pair<int, int> places[][2] = {{{kPointRA, 1}, {kPointEA, 1}},
                                                {{kPointOA, 7}, {kPointSA, 7}},
                                                {{kPointVI, 13}, {kPointVO, 13}},
                                                {{kPointCI, 19}, {kPointHI, 19}}};
      for (const auto& pair : places) {
        table.Block(0, pair[0].second, points[pair[0].first]);
        table.Block(2, pair[1].second, points[pair[1].first]);
      }
      table.Write(v_out);
    }
    v_out.NewPage();
    Heading(kMsgPsychroDiagram);
    const auto kind = v_in.psychrometric ? CTChartSetup::ChartKind::kPsychrometric : CTChartSetup::ChartKind::kMollier;
    for (const bool cooling : {true, false}) {
      v_out.TextHeading(2, cooling ? TBaseMsg::Tr(QStringLiteral("Cooling")) : TBaseMsg::Tr(QStringLiteral("Heating")), true);
      Picture(CTReport::kDiagramW, CTReport::kDiagramH, kind, cooling);
    }
    v_out.NewPage();
  }

  // ---- k to m. fan, efficiencies, configuration
  void Charts() {
    using K = CTChartSetup::ChartKind;
    Heading(kMsgFanCharacteristics);
    Picture(CTReport::kGraphW, CTReport::kGraphH, K::kFan, true);
    if (!TwoSided()) return;
    Heading(kMsgEfficiencyData);
    Picture(CTReport::kGraphW, CTReport::kGraphH, K::kEfficiency, true);
    Heading(kMsgCorrectedEfficiency);
    Picture(CTReport::kGraphW, CTReport::kGraphH, K::kCorrection, true);
    Heading(kMsgConfiguration);
    Picture(CTReport::kDiagramW, CTReport::kDiagramH, K::kConfiguration, true);
  }

  CTDocOutput& v_out;
  const LTReportInput& v_in;
  const SelectionRequest& v_request;
  const SelectionResult& v_result;
  Cls_HRX& v_unit;
  const int v_type;
  const LTDatasheet v_sheet;
  QList<LTOptionRow> v_used;
};

}  // namespace

LTSoundTable CTReport::SoundTable(const LTSound& sound) {
  LTSoundTable t;
  t.titles << TBaseMsg::Tr(QStringLiteral("Path"));
  // The bands in dB, as the section's title says; the titles stay short so
  // that the twelve columns fit the page.
  t.titles << CTEcodesign::BandTitles();
  t.titles << TBaseMsg::Tr(QStringLiteral("LWA, dB(A)")) << TBaseMsg::Tr(QStringLiteral("Airflow"))
           << TBaseMsg::Tr(QStringLiteral("Fan pressure"));
  if (!sound.known) return t;
  for (int i = 0; i < int(sound.paths.size()); ++i) {
    const LTSoundPath& p = sound.paths[std::size_t(i)];
    QStringList row{CTEcodesign::PathText(i)};
    for (const double level : p.lw) row << TBaseMsg::FormatShown(level, kSoundDigits);
    row << TBaseMsg::FormatShown(p.lwa, kSoundDigits) << ValueText::Dimensioned(p.airflowLs, U_Airflow)
        << ValueText::Dimensioned(p.pressurePa, U_Pressure, false);
    t.rows << row;
  }
  return t;
}

QString CTReport::RoomLevelText(const LTSound& sound) {
  if (!sound.known || !(sound.distanceM > 0 && sound.roomConstantM2 > 0)) return QString();
  return ValueText::Fixed(sound.roomLpA, kSoundDigits, QStringLiteral("dB(A)"));
}

LTAnnualResult CTReport::AnnualYear(const SelectionRequest& request, const SelectionResult& result, LTClimate& climate) {
  LTAnnualResult year;
  if (!CTAnnualEnergy::LoadClimate(request.annual.climate, climate, year.message)) return year;
  return CTAnnualEnergy::YearOf(result, request, climate);
}

QStringList CTReport::DayNames() {
  return {TBaseMsg::Tr(QStringLiteral("Mon")), TBaseMsg::Tr(QStringLiteral("Tue")), TBaseMsg::Tr(QStringLiteral("Wed")),
          TBaseMsg::Tr(QStringLiteral("Thu")), TBaseMsg::Tr(QStringLiteral("Fri")), TBaseMsg::Tr(QStringLiteral("Sat")),
          TBaseMsg::Tr(QStringLiteral("Sun"))};
}

QString CTReport::ScheduleText(const LTSchedule& schedule) {
  if (schedule.always) return TBaseMsg::Tr(QStringLiteral("Always"));
  const auto clock = [](int hour) { return QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')); };
  const QString hours = TBaseMsg::Tr(QStringLiteral("%1 to %2")).arg(clock(schedule.fromHour), clock(schedule.toHour));
  if (std::all_of(schedule.days.begin(), schedule.days.end(), [](bool b) { return b; }))
    return hours + QStringLiteral(", ") + TBaseMsg::Tr(QStringLiteral("every day"));
  // Runs of three days or more as a range: "Mon–Fri", "Mon, Wed, Sat–Sun".
  const QStringList names = DayNames();
  QStringList parts;
  for (int d = 0; d < LTSchedule::kDays; ++d) {
    if (!schedule.days[std::size_t(d)]) continue;
    int last = d;
    while (last + 1 < LTSchedule::kDays && schedule.days[std::size_t(last + 1)]) ++last;
    if (last >= d + 2) parts << names[d] + QStringLiteral("–") + names[last];
    else for (int e = d; e <= last; ++e) parts << names[e];
    d = last;
  }
  return hours + QStringLiteral(", ") + parts.join(QStringLiteral(", "));
}

QList<CTReport::LTPriceItem> CTReport::PriceItems() {
  return {{TBaseMsg::Tr(QStringLiteral("Heat price, per kWh of fuel")), &LTPrices::heatPrice},
          {TBaseMsg::Tr(QStringLiteral("Efficiency of the heat generator")), &LTPrices::heatEfficiency},
          {TBaseMsg::Tr(QStringLiteral("COP of the chiller")), &LTPrices::coolingCop},
          {TBaseMsg::Tr(QStringLiteral("Electricity price, per kWh")), &LTPrices::electricityPrice},
          {TBaseMsg::Tr(QStringLiteral("CO2 of the fuel, kg per kWh")), &LTPrices::heatCo2},
          {TBaseMsg::Tr(QStringLiteral("CO2 of electricity, kg per kWh")), &LTPrices::electricityCo2}};
}

LTAnnualTexts CTReport::AnnualTexts(const LTAnnualInputs& inputs, const LTClimate& climate, const LTAnnualResult& year) {
  LTAnnualTexts t;
  const auto whole = [](double value) { return TBaseMsg::FormatShown(value, kAnnualDigits); };
  const auto kWh = [&whole](double value) { return whole(value) + QStringLiteral(" kWh"); };

  // The inputs: which weather, and whether it is a real place's.
  const bool demo = climate.source.startsWith(QLatin1String("demo:"));
  const QString file = QFileInfo(climate.source).fileName();
  const QString weather = demo ? TBaseMsg::Tr(QStringLiteral("Synthetic demonstration year"))
                          : climate.synthetic ? TBaseMsg::Tr(QStringLiteral("Synthetic year from %1")).arg(file)
                                              : file;
  t.inputs << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Climate")), climate.name.isEmpty() ? inputs.climate : climate.name}
           << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Weather data")), weather}
           << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Operation")), ScheduleText(inputs.schedule)};
  for (const LTPriceItem& price : PriceItems())
    t.inputs << LTSheetRow{price.caption, TBaseMsg::Number2Str(inputs.prices.*price.value, 6)};

  const LTAnnualFigures& y = year.year;
  t.figures << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Operating hours")), whole(y.operatingHours) + QStringLiteral(" h")}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Heat recovered")), kWh(y.heatRecoveredKWh)}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Cooling recovered")), kWh(y.coolingRecoveredKWh)}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Inlet heater")), kWh(y.inletHeaterKWh)}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Fans")), kWh(y.fanKWh)}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Net benefit")), kWh(y.netKWh)}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Money saved")), whole(y.cost)}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("CO2 avoided")), whole(y.co2Kg) + QStringLiteral(" kg")}
            << LTSheetRow{TBaseMsg::Tr(QStringLiteral("Hours outside the unit's limits")),
                          whole(y.hoursOutsideLimits) + QStringLiteral(" h")};

  t.months.titles = QStringList{TBaseMsg::Tr(QStringLiteral("Month")),        TBaseMsg::Tr(QStringLiteral("Hours")),
                                TBaseMsg::Tr(QStringLiteral("Heat, kWh")),    TBaseMsg::Tr(QStringLiteral("Cooling, kWh")),
                                TBaseMsg::Tr(QStringLiteral("Inlet heater, kWh")), TBaseMsg::Tr(QStringLiteral("Fans, kWh")),
                                TBaseMsg::Tr(QStringLiteral("Net, kWh")),     TBaseMsg::Tr(QStringLiteral("Money")),
                                TBaseMsg::Tr(QStringLiteral("CO2, kg"))};
  const auto row = [&whole](const QString& name, const LTAnnualFigures& f) {
    return QStringList{name,
                       whole(f.operatingHours),
                       whole(f.heatRecoveredKWh),
                       whole(f.coolingRecoveredKWh),
                       whole(f.inletHeaterKWh),
                       whole(f.fanKWh),
                       whole(f.netKWh),
                       whole(f.cost),
                       whole(f.co2Kg)};
  };
  // The months' names as the chart shows them.
  const QStringList months = CTChartSetup::AnnualMonthsChartData(LTAnnualResult{}).categories;
  for (int m = 0; m < int(year.months.size()); ++m) t.months.rows << row(months.value(m), year.months[std::size_t(m)]);
  t.months.rows << row(TBaseMsg::Tr(QStringLiteral("Year")), y);
  return t;
}

bool CTReport::IsPdf(const QString& szPath) { return szPath.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive); }

void CTReport::Write(CTDocOutput& out, const LTReportInput& input) {
  if (!input.session || !input.request || !input.result || !input.result->Current()) return;
  out.SetFontCharacteristics(CTDocOutput::kNormal, input.normalFont);
  ReportWriter(out, input).Write();
}

bool CTReport::WriteFile(const QString& szPath, const LTReportInput& input, QString& szError) {
  QSaveFile file(szPath);
  if (!file.open(QIODevice::WriteOnly)) {
    szError = file.errorString();
    return false;
  }
  if (IsPdf(szPath)) {
    CTPdfOutput pdf(file, input.applicationTitle, kPaperWCm, kPaperHCm, kMarginLeftCm, kMarginCm, kMarginCm, kMarginCm,
                    input.decorations);
    Write(pdf, input);
    pdf.Finish();
    if (!pdf.Ok()) {
      szError = pdf.ErrorText();
      file.cancelWriting();
      return false;
    }
  } else {
    CTRTFOutput rtf(file, input.applicationTitle, kPaperWCm, kPaperHCm, kMarginLeftCm, kMarginCm, kMarginCm, kMarginCm,
                    input.decorations);
    Write(rtf, input);
    rtf.Finish();
  }
  if (!file.commit()) {
    szError = file.errorString();
    return false;
  }
  return true;
}
