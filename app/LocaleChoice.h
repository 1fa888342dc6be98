#pragma once
// TFrmLocaleChoice: the user picks a country and the language of the user
// interface. The choice goes to the locale store that all Norvane programs
// share (CTLangSupport::GetLocaleData / SetLocaleData); the start-up asks
// for it once, the about box offers it again.
//
// The combo-box operations below are the widget side of CTLangSupport's
// lists, for every window that lets the user pick a country or a language:
// the items are sorted by their text and carry the country's own number or
// the language's LCID as their data.

#include "app/BasicDlg.h"

class QComboBox;
class QLabel;
class TFraBottomPanelExt;

class TFrmLocaleChoice : public TBasicDialog {
  Q_OBJECT
 public:
  // szAppTitle fills the welcome line (hidden when empty); szWindowTitle
  // replaces the caption "Welcome" when not empty.
  TFrmLocaleChoice(QWidget* pOwner, const QString& szAppTitle, const QString& szWindowTitle);

  // Shows the dialog modally; true when the user confirmed a country and a
  // language with OK, which are then in the locale store.
  static bool ChooseLocale(QWidget* pOwner, const QString& szAppTitle, const QString& szWindowTitle);

  // The locale step of the start-up: names the languages for the build's
  // server (nServerID), then passes at once when the locale store holds a
  // choice, else asks the user with ChooseLocale (no window title). False:
  // the user declined and the program must end.
  static bool CheckDefaultLocale(QWidget* pOwner, const QString& szAppTitle, int nServerID);

  // Every country, sorted; nCountry selected (nothing when unknown).
  static void FillCountryComboBox(QComboBox* pCtl, int nCountry);
  // Every language, sorted. The language selected before stays selected;
  // without one, nLanguage is selected when it is above 0.
  static void FillLanguageComboBox(QComboBox* pCtl, int nLanguage);
  // Selects the first item whose id is nCurrID; nothing selected when none is.
  static void SelectInComboBox(QComboBox* pCtl, int nCurrID);
  // The id of the selected item; nDefaultValue when nothing is selected.
  static int SelectedInComboBox(const QComboBox* pCtl, int nDefaultValue);

 protected:
  void SetupDialog() override;
  bool ValidateDialog() override;
  void UpdateControls() override;

 private:
  QLabel* Lbl_Welcome = nullptr;
  QComboBox* Cbx_Country = nullptr;
  QComboBox* Cbx_Language = nullptr;
  TFraBottomPanelExt* Frm_Bottom = nullptr;
};
