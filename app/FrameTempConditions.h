#pragma once
// TFrm_TempConditions: the room and ambient air of one mode (cooling or
// heating), the discharge temperature of the fresh-air family, and the
// electric heaters. Its inputs go in and out as the selection library holds
// them (LTModeInputs): each humidity in the way it is given, relative (%) or
// as a wet bulb; temperatures degC, heaters kW.

#include "app/Frame_UnitTextScroll.h"
#include "catalogue/Sentinels.h"
#include "selection/SelectionForm.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"
#include "selection/SelectionRun.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class TAir;

class TFrm_TempConditions : public QWidget {
  Q_OBJECT
 public:
  static constexpr double kNotGiven = Sentinel::kNotGiven;
  static constexpr int kInletTooSmall = LTModeResult::kInletHeaterTooSmall;
  static constexpr int kSupplyTooSmall = LTModeResult::kSupplyHeaterTooSmall;

  // One heater option offered by the current unit (copied: the frame never
  // points into a candidate list that the next run replaces).
  using HeaterOption = LTHeaterOption;

  explicit TFrm_TempConditions(QWidget* pParent = nullptr);

  void SetupWindow(bool IsCooling, std::function<void()> HandleChanges, const TAir* Air);
  void InitFields();
  void ClearFields();
  // The discharge and supply heater inputs the family has.
  void SetFamily(const LTFamilyTraits& family);
  // The discharge settings the unit offers and the one it runs at.
  void ShowDischarge(int MinDischarge, int MaxDischarge, double nDischargeC);
  // The unit's heater options and the mode's inlet heater choice on it.
  void SetupInlet(const QList<HeaterOption>& HeaterOptions, const LTModeInputs& mode);
  // Keeps and shows the heaters a calculation found (kW).
  void SetCalculatedHeaters(double CalcInlet, double CalcSupply);
  // Blanks the calculated heaters shown.
  void ClearCalculatedHeaters();
  // Puts the focus on the heater choice that a heater check (22 or 23) names.
  void FocusHeaterChoice(int nCode);
  // The frame's inputs as the selection library takes them.
  LTModeInputs Inputs() const;
  // Sets the value a condition check corrected.
  void ApplyCorrection(ConditionField nField, double nValueC);
  // The chosen heater option's id, 0 for none.
  int GetSelectedHeaterOption() const;
  // Shows a mode's inputs as the selection holds them: values, the way each
  // humidity is given, the heater choices (an option chosen once the unit's
  // options are set up) and a discharge setting.
  void ShowInputs(const LTModeInputs& mode);

  bool IsCooling() const { return v_IsCooling; }
  TFrm_UnitTextScroll* Field(const QString& szName) const { return findChild<TFrm_UnitTextScroll*>(szName); }
  QComboBox* Combo(const QString& szName) const;

 private:
  // Shows the room's (bRoom) or the outdoor humidity as relative humidity
  // or as a wet bulb: the way a project's humidity was typed.
  void ShowHumidityAs(bool bRoom, HumidityMode nMode);
  void SetupHumidityField(QComboBox* pCombo, TFrm_UnitTextScroll* pField, TFrm_UnitTextScroll* pDryBulb, bool bRoom,
                          double nValue);
  void HumidityModeChanged(QComboBox* pCombo, TFrm_UnitTextScroll* pField, TFrm_UnitTextScroll* pDryBulb, bool bRoom);
  // The heater choices: a user size of 0 (or a supply temperature of 0)
  // stands for none given.
  void ShowHeaters(double UserInletHeater, double UserSupplyTemp, double UserSupplyHeater);
  void Lbl_InletheaterClick();
  void Lbl_SupplyHeaterClick();
  void Chk_SupplyTempClick();
  void ChangeOnExit();

  QGroupBox *Box_RoomAir, *Box_AmbientAir, *Box_Discharge, *Box_ElectricHeaters;
  TFrm_UnitTextScroll *Frm_RoomDBT, *Frm_RoomRH, *Frm_AmbientDbt, *Frm_AmbientRH, *Frm_Discharge, *Frm_InletHeater,
      *Frm_SupplyTemp, *Frm_SupplyHeater;
  QComboBox *Lbl_RoomRH, *Lbl_AmbientRH, *Lbl_Inletheater, *Txt_HeaterOptions, *Lbl_SupplyHeater;
  QLabel *Lbl_CalcInlet, *Txt_CalcInlet, *Lbl_CalcSupply, *Txt_CalcSupply;
  QWidget *Pnl_SupplyTemp, *Pnl_SupplyHeater;
  QCheckBox* Chk_SupplyTemp;

  bool v_InTreatment = false;
  bool v_IsCooling = true;
  int v_InletIndex = 0;
  int v_SupplyIndex = 0;
  const TAir* v_Air = nullptr;
  double v_InletHeater = 0;
  double v_SupplyHeater = 0;
  std::function<void()> v_HandleChanges;
};
