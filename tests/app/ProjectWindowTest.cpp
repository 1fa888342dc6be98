// Project files in the window: Save and Open bring every input and the unit
// back, a broken file or a failed save loses nothing, the recent-files menu
// and the project named on the command line.

#include "CliRun.h"
#include "WindowFixture.h"
#include "app/FrameTempConditions.h"
#include "psychro/SI_Units.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cmath>
#include <tuple>

namespace {

// Answers every question with v_answer and keeps the texts shown.
class AnsweringPresenter : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest& r) override {
    shown << r.v_text;
    return r.v_dlgType == mtConfirmation ? v_answer : mrOk;
  }
  bool EditString(const CTMessageRequest&, QString&) override { return false; }
  QStringList shown;
  int v_answer = mrNo;
};

class ProjectWindow : public WindowFixture<> {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    TBaseMsg::SetPresenter(&v_answers);
    TDlgSelect::SetFileChooser([this](QWidget*, TDlgSelect::FileKind kind, const QString&) {
      ++v_dialogs;
      return kind == TDlgSelect::FileKind::kOpenProject ? v_openFile : v_saveAs;
    });
    TDlgSelect::SetDocumentOpener([this](const QString& path) { v_opened << path; });
  }
  void TearDown() override {
    TDlgSelect::SetFileChooser({});
    TDlgSelect::SetDocumentOpener({});
    WindowFixture::TearDown();
  }

  // A selection of the plain family that touches most inputs, typed in SI
  // or in CFM, inH2O and degF.
  void EnterSelection(bool imperial = false) {
    Click("Chk_TotalSupply");
    Type(Field("Frm_TotalSupply"), imperial ? "380" : "180");
    Type(Field("Frm_DesignSupplyESP"), imperial ? "0.36" : "90");
    Choose("Txt_SupplyFilter", 2);
    Click("Rbn_PlenumOAEA");
    Type(Field("Frm_AmbientDbt", v_window->CoolConditions()), imperial ? "91" : "33");
    Type(Field("Frm_AmbientDbt", v_window->HeatConditions()), imperial ? "18" : "-8");
    PickCandidate(1);
  }

  static void ExpectSameInputs(const SelectionRequest& a, const SelectionRequest& b) {
    EXPECT_EQ(a.family, b.family);
    EXPECT_EQ(a.basis, b.basis);
    for (auto [x, y, what] : {std::tuple{a.totalSupplyLs, b.totalSupplyLs, "supply"},
                              std::tuple{a.supplyEspPa, b.supplyEspPa, "supply ESP"},
                              std::tuple{a.exhaustEspPa, b.exhaustEspPa, "exhaust ESP"},
                              std::tuple{a.altitudeM, b.altitudeM, "altitude"},
                              std::tuple{a.cooling.outdoor.dryBulbC, b.cooling.outdoor.dryBulbC, "cooling outdoor"},
                              std::tuple{a.heating.outdoor.dryBulbC, b.heating.outdoor.dryBulbC, "heating outdoor"},
                              std::tuple{a.heating.room.dryBulbC, b.heating.room.dryBulbC, "heating room"}})
      EXPECT_NEAR(x, y, 1e-6) << what;
    EXPECT_EQ(a.supplyFilter, b.supplyFilter);
    EXPECT_EQ(a.exhaustFilter, b.exhaustFilter);
    EXPECT_EQ(a.plenum, b.plenum);
    EXPECT_EQ(a.exhaustGiven, b.exhaustGiven);
    EXPECT_EQ(a.upsideDown, b.upsideDown);
  }

  AnsweringPresenter v_answers;
  QTemporaryDir v_dir;
  QString v_saveAs, v_openFile;
  int v_dialogs = 0;
  QStringList v_opened;
};

}  // namespace

TEST_F(ProjectWindow, SaveAndOpenBringTheSelectionBack) {
  for (const bool imperial : {false, true}) {
    SCOPED_TRACE(imperial ? "imperial" : "SI");
    if (imperial) {
      UseUnit(U_Airflow, "CFM");
      UseUnit(U_Temperature, "°F");
      UseUnit(U_Pressure, "inH2O");
    }
    v_window->NewProject();
    EnterSelection(imperial);
    const SelectionRequest saved = v_window->CurrentRequest();
    const QString unit = v_window->Result().unitName;
    v_saveAs = v_dir.filePath(imperial ? "imperial" : "si");  // the extension is added
    Trigger("ACF_Save");
    ASSERT_TRUE(QFile::exists(v_saveAs + ".ven")) << v_answers.shown.join("\n").toStdString();
    EXPECT_FALSE(v_window->DataHaveChanged());
    EXPECT_TRUE(v_window->windowTitle().endsWith(imperial ? " - imperial.ven" : " - si.ven"));

    v_window->NewProject();
    ASSERT_NE(v_window->Result().unitName, QString());
    v_openFile = v_saveAs + ".ven";
    Trigger("ACF_Open");
    EXPECT_FALSE(v_window->DataHaveChanged());
    ExpectSameInputs(v_window->CurrentRequest(), saved);
    EXPECT_EQ(v_window->Result().unitName, unit);

    // The command line opens the same file to the same unit.
    const CliResult cli = RunCli({"select", "--json", "--project", v_openFile});
    ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(cli.out.toUtf8()).object()["unit"].toString(), unit);
  }
}

// A display preference never changes a value: what was typed in SI, shown
// in imperial units and back several times, is what the window holds; a
// project saved in SI and opened and saved again in imperial units holds the
// same bytes, and opens in SI as typed.
TEST_F(ProjectWindow, SwitchingUnitsNeverChangesAValue) {
  Type(Field("Frm_Altitude"), "400");
  Type(Field("Frm_Airflow"), "10");
  Type(Field("Frm_DesignSupplyESP"), "200");
  Type(Field("Frm_DesignExhaustESP"), "185");
  Type(Field("Frm_AmbientDbt", v_window->CoolConditions()), "33");
  Type(Field("Frm_AmbientDbt", v_window->HeatConditions()), "-8");
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  // Typed, or the fields' defaults.
  const auto expectAsTyped = [this](const char* when) {
    SCOPED_TRACE(when);
    const SelectionRequest r = v_window->CurrentRequest();
    const std::tuple<const char*, double, double> inputs[] = {
        {"altitude", r.altitudeM, 400},
        {"airflow per person", r.airflowPerPersonLs, 10},
        {"room surface", r.roomSurfaceM2, 100},
        {"area per person", r.areaPerPersonM2, 5},
        {"supply ESP", r.supplyEspPa, 200},
        {"exhaust ESP", r.exhaustEspPa, 185},
        {"cooling room", r.cooling.room.dryBulbC, 27},
        {"cooling room wet bulb", r.cooling.room.humidity, 19},
        {"cooling outdoor", r.cooling.outdoor.dryBulbC, 33},
        {"cooling outdoor humidity", r.cooling.outdoor.humidity, 50},
        {"heating room", r.heating.room.dryBulbC, 20},
        {"heating room humidity", r.heating.room.humidity, 50},
        {"heating outdoor", r.heating.outdoor.dryBulbC, -8},
        {"heating outdoor humidity", r.heating.outdoor.humidity, 50}};
    for (const auto& [what, value, typed] : inputs) EXPECT_NEAR(value, typed, 1e-9 * std::fabs(typed)) << what;
  };
  expectAsTyped("typed");
  for (int round = 0; round < 3; ++round) {
    ShowImperialUnits(true);
    expectAsTyped("in imperial units");
    // Shown converted: 185 Pa is 0.7427 inH2O, 400 m 1312.3 ft.
    EXPECT_EQ(Field("Frm_DesignExhaustESP")->Edit()->text(), "0.74");
    EXPECT_EQ(Field("Frm_Altitude")->Edit()->text(), "1312");
    ShowImperialUnits(false);
    expectAsTyped("back in SI");
    EXPECT_EQ(Field("Frm_DesignExhaustESP")->Edit()->text(), "185.0");
  }
  const QString si = v_dir.filePath("si.ven"), imperial = v_dir.filePath("imperial.ven");
  ASSERT_TRUE(v_window->SaveProject(si));

  ShowImperialUnits(true);
  v_window->NewProject();
  ASSERT_TRUE(v_window->LoadProject(si));
  expectAsTyped("opened in imperial units");
  ASSERT_TRUE(v_window->SaveProject(imperial));
  QFile a(si), b(imperial);
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll().toHex().toStdString(), b.readAll().toHex().toStdString());

  ShowImperialUnits(false);
  v_window->NewProject();
  ASSERT_TRUE(v_window->LoadProject(imperial));
  expectAsTyped("opened in SI");
}

TEST_F(ProjectWindow, TheFilesFamilyIsAppliedBeforeItsAirflows) {
  // 1400 m3/h of the fresh-air family is beyond the plain family's range.
  UseUnit(U_Airflow, "m³/h");
  v_window->NewProject();
  Choose("Txt_Family", "DQTL-MF");
  Click("Chk_TotalSupply");
  Type(Field("Frm_TotalSupply"), "1400");
  const double supply = v_window->CurrentRequest().totalSupplyLs;
  ASSERT_NEAR(supply, 1400 / 3.6, 0.5);
  ASSERT_TRUE(v_window->SaveProject(v_dir.filePath("fresh.ven")));
  v_window->NewProject();
  ASSERT_TRUE(v_window->LoadProject(v_dir.filePath("fresh.ven")));
  EXPECT_NEAR(v_window->CurrentRequest().totalSupplyLs, supply, 1e-9);
}

TEST_F(ProjectWindow, ABrokenFileChangesNothing) {
  EnterSelection();
  const SelectionRequest before = v_window->CurrentRequest();
  const QString title = v_window->windowTitle();
  QFile broken(v_dir.filePath("broken.ven"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write(QByteArray("VEN002").append(100, '\x01'));
  broken.close();
  v_window->SetDataHaveChanged(false);
  v_openFile = broken.fileName();
  Trigger("ACF_Open");
  ASSERT_FALSE(v_answers.shown.isEmpty());
  EXPECT_TRUE(v_answers.shown.last().startsWith("Cannot read this ventilation project file."));
  ExpectSameInputs(v_window->CurrentRequest(), before);
  EXPECT_EQ(v_window->windowTitle(), title);
}

TEST_F(ProjectWindow, AFailedOrCancelledSaveKeepsTheWork) {
  EnterSelection();
  const SelectionRequest before = v_window->CurrentRequest();
  v_answers.v_answer = mrYes;

  // The write fails: said, and still unsaved.
  v_saveAs = v_dir.filePath("no/such/folder/p.ven");
  Trigger("ACF_Save");
  ASSERT_FALSE(v_answers.shown.isEmpty());
  EXPECT_TRUE(v_answers.shown.last().startsWith("Unable to create file")) << v_answers.shown.last().toStdString();
  EXPECT_TRUE(v_window->DataHaveChanged());

  // New, "Yes", then the dialog is cancelled: the selection stays.
  v_saveAs.clear();
  v_window->NewProject();
  EXPECT_TRUE(v_window->DataHaveChanged());
  ExpectSameInputs(v_window->CurrentRequest(), before);

  // Exit, "Yes", dialog cancelled: the window stays open.
  Trigger("ACF_Exit");
  EXPECT_TRUE(v_window->isVisible());

  // No unit to save.
  v_window->SetDataHaveChanged(false);
  Type(Field("Frm_DesignSupplyESP"), "340");
  ASSERT_EQ(v_window->CurrentHRX(), nullptr);
  EXPECT_FALSE(v_window->SaveProject(v_dir.filePath("none.ven")));
  EXPECT_TRUE(v_answers.shown.last().startsWith("There is no selected ventilation device!"));
  EXPECT_FALSE(QFile::exists(v_dir.filePath("none.ven")));
}

TEST_F(ProjectWindow, RecentFilesAndTheCommandLine) {
  EnterSelection();
  const QString a = v_dir.filePath("a&b.ven"), b = v_dir.filePath("b.ven");
  ASSERT_TRUE(v_window->SaveProject(a));
  ASSERT_TRUE(v_window->SaveProject(b));
  auto* menu = v_window->findChild<QMenu*>("Mnu_PopupReopen");
  // The current project is left out of the menu.
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->data().toString(), a);
  EXPECT_TRUE(menu->actions()[0]->text().startsWith("&1. "));
  EXPECT_TRUE(menu->actions()[0]->text().contains("a&&b.ven"));

  // A file that went away: said, and gone from the list.
  QFile::remove(a);
  v_window->SetDataHaveChanged(false);
  menu->actions()[0]->trigger();
  EXPECT_TRUE(v_answers.shown.last().contains(a));
  v_window->UpdateRecentMenu();
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->data().toString(), b);

  // A project named on the command line opens at start-up.
  TDlgSelect second;
  ASSERT_TRUE(second.StartUp({b}));
  EXPECT_EQ(second.GetProjectFileName(), b);
  ExpectSameInputs(second.CurrentRequest(), v_window->CurrentRequest());
  EXPECT_FALSE(second.DataHaveChanged());
}

TEST_F(ProjectWindow, TheOptionsBoxAndItsChoiceInAProject) {
  // NV-400 at 100 l/s with F7 on the supply and outdoor and exhaust plenums.
  Click("Chk_TotalSupply");
  Type(Field("Frm_TotalSupply"), "100");
  Type(Field("Frm_DesignSupplyESP"), "60");
  Type(Field("Frm_DesignExhaustESP"), "60");
  Choose("Txt_SupplyFilter", 2);
  Click("Rbn_PlenumOAEA");
  ASSERT_TRUE(v_window->Result().unitName.startsWith("NV-400")) << v_window->Result().unitName.toStdString();
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Results"));
  auto* available = v_window->findChild<QTreeWidget*>("Lvw_AvailOptions");
  auto* used = v_window->findChild<QTreeWidget*>("Lvw_UsedOptions");
  const auto rows = [](QTreeWidget* view) {
    QStringList shown;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
      QStringList cells;
      for (int c = 0; c < view->columnCount(); ++c) cells << view->topLevelItem(i)->text(c);
      shown << cells.join('|');
    }
    return shown;
  };
  EXPECT_EQ(rows(used), (QStringList{"NFS-400-F7|1|High efficiency filter", "NPL-400|2|Plenum",
                                     "NRC-10|1|Remote controller"}));
  EXPECT_EQ(rows(available), (QStringList{"NRC-20W|Remote controller - wireless", "NRC-30|Remote controller - wifi",
                                          "NRS-CO2|Remote sensor", "NRS-RH|Remote sensor"}));

  // Select the CO2 sensor; a standard option cannot be deselected.
  available->setCurrentItem(available->findItems("NRS-CO2", Qt::MatchExactly)[0]);
  EXPECT_TRUE(v_window->findChild<QPushButton*>("Btn_Select")->isEnabled());
  Click("Btn_Select");
  used->setCurrentItem(used->findItems("NFS-400-F7", Qt::MatchExactly)[0]);
  Click("Btn_Deselect");
  EXPECT_EQ(v_answers.shown.last(), "It is not possible to deselect a standard option.");
  EXPECT_EQ(rows(used).size(), 4);

  // The choice is saved and comes back.
  const QString file = v_dir.filePath("options.ven");
  ASSERT_TRUE(v_window->SaveProject(file));
  v_window->NewProject();
  ASSERT_TRUE(v_window->LoadProject(file));
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Selection"));
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Results"));
  EXPECT_TRUE(rows(used).contains("NRS-CO2|1|Remote sensor")) << rows(used).join(", ").toStdString();
  EXPECT_EQ(rows(used).size(), 4);
}

// A project saved with an inlet heater option opens to the same used
// options in the window and through the command line: select lists them,
// material-list writes the window's workbook and report names the option.
TEST_F(ProjectWindow, AProjectsHeaterOptionIsUsedByTheCommandLineAsByTheWindow) {
  // NV-1000 at 250 l/s needs 3.6 kW of inlet heater at -12 degC; the 4.5 kW
  // option covers it. A CO2 sensor besides.
  Click("Chk_TotalSupply");
  Type(Field("Frm_TotalSupply"), "250");
  Type(Field("Frm_AmbientDbt", v_window->HeatConditions()), "-12");
  Choose(Heating()->Combo("Lbl_Inletheater"), 2);
  QComboBox* heaterOptions = Heating()->Combo("Txt_HeaterOptions");
  Choose(heaterOptions, heaterOptions->findText("NEH-315-4.5", Qt::MatchStartsWith));
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Results"));
  auto* available = v_window->findChild<QTreeWidget*>("Lvw_AvailOptions");
  available->setCurrentItem(available->findItems("NRS-CO2", Qt::MatchExactly).value(0));
  Click("Btn_Select");
  const QString project = v_dir.filePath("heater.ven");
  ASSERT_TRUE(v_window->SaveProject(project));

  v_window->NewProject();
  ASSERT_TRUE(v_window->LoadProject(project));
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Selection"));
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Results"));
  auto* used = v_window->findChild<QTreeWidget*>("Lvw_UsedOptions");
  QStringList window;
  for (int i = 0; i < used->topLevelItemCount(); ++i)
    window << used->topLevelItem(i)->text(0) + "|" + used->topLevelItem(i)->text(1);
  ASSERT_TRUE(window.contains("NEH-315-4.5|1")) << window.join(", ").toStdString();
  ASSERT_TRUE(window.contains("NRS-CO2|1")) << window.join(", ").toStdString();

  const CliResult selected = RunCli({"select", "--json", "--project", project});
  ASSERT_EQ(selected.code, 0) << selected.err.toStdString();
  QStringList cli;
  for (const QJsonValue& option : QJsonDocument::fromJson(selected.out.toUtf8())["options"]["used"].toArray())
    cli << option["name"].toString() + "|" + QString::number(option["count"].toInt());
  EXPECT_EQ(cli, window);

  v_saveAs = v_dir.filePath("window.xml");
  Trigger("ACT_BillOfMaterials");
  const QString cliList = v_dir.filePath("cli.xml");
  const CliResult listed = RunCli({"material-list", "--project", project, "--out", cliList});
  ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
  QFile windowFile(v_saveAs), cliFile(cliList);
  ASSERT_TRUE(windowFile.open(QIODevice::ReadOnly) && cliFile.open(QIODevice::ReadOnly));
  const QByteArray windowXml = windowFile.readAll();
  EXPECT_TRUE(windowXml.contains("NEH-315-4.5"));
  EXPECT_EQ(cliFile.readAll(), windowXml);

  const QString report = v_dir.filePath("report.rtf");
  const CliResult reported = RunCli({"report", "--project", project, "--out", report});
  ASSERT_EQ(reported.code, 0) << reported.err.toStdString();
  QFile rtf(report);
  ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(rtf.readAll().contains("NEH-315-4.5"));

  // A size of the user's own stays one, though an option covers it: 3 kW
  // on NV-1000, the second candidate at 200 l/s, whose 4.5 kW option covers
  // the 2.7 kW it needs.
  const QString own = v_dir.filePath("own.ven");
  const CliResult saved = RunCli({"select", "--json", "--save", own, "--supply", "200", "--unit", "NV-1000",
                                  "--heat-outdoor", "-10,80", "--inlet-heater-heat", "3"});
  ASSERT_EQ(saved.code, 0) << saved.err.toStdString();
  ASSERT_TRUE(v_window->LoadProject(own));
  EXPECT_EQ(v_window->Result().unitName, QJsonDocument::fromJson(saved.out.toUtf8())["unit"].toString());
  const LTModeInputs heating = v_window->CurrentRequest().heating;
  EXPECT_EQ(heating.inletHeater, HeaterChoice::kUserValue);
  EXPECT_EQ(heating.inletHeaterKW, 3);
  EXPECT_NEAR(v_window->HeatingSet().SA.DBT,
              QJsonDocument::fromJson(saved.out.toUtf8())["heating"]["states"]["SA"]["DBT"].toDouble(), 1e-9);
}

TEST_F(ProjectWindow, MaterialListExport) {
  EnterSelection();
  v_window->SetDataHaveChanged(false);
  v_saveAs = v_dir.filePath("list");  // the extension is added
  Trigger("ACT_BillOfMaterials");
  const QString written = v_saveAs + ".xml";
  ASSERT_EQ(v_opened, QStringList{written}) << v_answers.shown.join("\n").toStdString();
  QFile file(written);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray xml = file.readAll();
  const QString unit = v_window->CurrentHRX()->GetName();
  EXPECT_TRUE(xml.contains("<Cell><Data ss:Type=\"String\">" + unit.toLatin1() + "</Data></Cell>"));
  EXPECT_TRUE(xml.contains("<Cell><Data ss:Type=\"String\">Model</Data></Cell>"));
  EXPECT_TRUE(xml.contains("F7")) << "the filter the inputs call for";

  // No unit: said, nothing written or opened.
  Type(Field("Frm_DesignSupplyESP"), "340");
  ASSERT_EQ(v_window->CurrentHRX(), nullptr);
  v_window->SetDataHaveChanged(false);
  v_saveAs = v_dir.filePath("none.xml");
  Trigger("ACT_BillOfMaterials");
  EXPECT_TRUE(v_answers.shown.last().startsWith("There is no selected ventilation device!"));
  EXPECT_FALSE(QFile::exists(v_saveAs));
  EXPECT_EQ(v_opened.size(), 1);
}

TEST_F(ProjectWindow, ReportExport) {
  EnterSelection();
  v_window->SetDataHaveChanged(false);
  v_saveAs = v_dir.filePath("report");  // RTF unless the name says otherwise
  Trigger("ACF_Report");
  const QString rtf = v_saveAs + ".rtf";
  ASSERT_EQ(v_opened, QStringList{rtf}) << v_answers.shown.join("\n").toStdString();
  QFile file(rtf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.startsWith("{\\rtf1"));
  EXPECT_TRUE(text.contains(v_window->CurrentHRX()->GetName().toLatin1()));
  EXPECT_TRUE(text.contains("F7")) << "the filter option the inputs call for";

  v_saveAs = v_dir.filePath("report.pdf");
  Trigger("ACF_Report");
  ASSERT_EQ(v_opened.size(), 2);
  QFile pdf(v_saveAs);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");

  // No unit: said, nothing written or opened.
  Type(Field("Frm_DesignSupplyESP"), "340");
  ASSERT_EQ(v_window->CurrentHRX(), nullptr);
  v_window->SetDataHaveChanged(false);
  v_saveAs = v_dir.filePath("none.rtf");
  Trigger("ACF_Report");
  EXPECT_TRUE(v_answers.shown.last().startsWith("There is no selected ventilation device!"));
  EXPECT_FALSE(QFile::exists(v_saveAs));
  EXPECT_EQ(v_opened.size(), 2);
}
