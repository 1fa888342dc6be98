#include "app/LocaleChoice.h"

#include "app/FrameBottomPanelExt.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

void FillSorted(QComboBox* pCtl, LTLangList items) {
  CTLangSupport::SortByText(items);
  pCtl->clear();
  for (const LTLangListItem& item : items) pCtl->addItem(item.v_text, item.v_id);
}

}  // namespace

TFrmLocaleChoice::TFrmLocaleChoice(QWidget* pOwner, const QString& szAppTitle, const QString& szWindowTitle)
    : TBasicDialog(pOwner, false) {
  setObjectName(QStringLiteral("TFrmLocaleChoice"));
  setWindowTitle(szWindowTitle.isEmpty() ? TBaseMsg::Tr("Welcome") : szWindowTitle);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a dialog of fixed size

  Lbl_Welcome = new QLabel(TBaseMsg::ReplaceParams(TBaseMsg::Tr("Welcome to the $1 program"), {szAppTitle}), this);
  Lbl_Welcome->setObjectName(QStringLiteral("Lbl_Welcome"));
  QFont bold = Lbl_Welcome->font();
  bold.setBold(true);
  Lbl_Welcome->setFont(bold);
  Lbl_Welcome->setVisible(!szAppTitle.isEmpty());
  layout->addWidget(Lbl_Welcome);

  auto* country = new QLabel(TBaseMsg::Tr("Please select your country"), this);
  country->setObjectName(QStringLiteral("Lbl_Country"));
  auto* countryNote = new QLabel(
      TBaseMsg::Tr("Depending on your country some configurations and device models may or may not be available"), this);
  countryNote->setObjectName(QStringLiteral("Lbl_CountryNote"));
  countryNote->setWordWrap(true);
  Cbx_Country = new QComboBox(this);
  Cbx_Country->setObjectName(QStringLiteral("Cbx_Country"));
  Cbx_Country->setToolTip(country->text());
  country->setBuddy(Cbx_Country);
  layout->addWidget(country);
  layout->addWidget(countryNote);
  layout->addWidget(Cbx_Country);

  auto* language = new QLabel(TBaseMsg::Tr("Please select your preferred user interface language"), this);
  language->setObjectName(QStringLiteral("Lbl_Language"));
  Cbx_Language = new QComboBox(this);
  Cbx_Language->setObjectName(QStringLiteral("Cbx_Language"));
  Cbx_Language->setToolTip(language->text());
  language->setBuddy(Cbx_Language);
  layout->addSpacing(8);
  layout->addWidget(language);
  layout->addWidget(Cbx_Language);

  auto* note = new QLabel(TBaseMsg::Tr("These settings will be used by all Norvane programs"), this);
  note->setObjectName(QStringLiteral("Lbl_Note"));
  layout->addSpacing(8);
  layout->addWidget(note);

  Frm_Bottom = new TFraBottomPanelExt(this);
  Frm_Bottom->setMinimumWidth(420);
  layout->addWidget(Frm_Bottom);

  for (QComboBox* list : {Cbx_Country, Cbx_Language})
    connect(list, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
  Loaded();
}

bool TFrmLocaleChoice::ChooseLocale(QWidget* pOwner, const QString& szAppTitle, const QString& szWindowTitle) {
  TFrmLocaleChoice dialog(pOwner, szAppTitle, szWindowTitle);
  return dialog.Execute() == kRetOK;
}

bool TFrmLocaleChoice::CheckDefaultLocale(QWidget* pOwner, const QString& szAppTitle, int nServerID) {
  if (CTLangSupport::CheckDefaultLocale(nServerID) == CTLangSupport::TLocaleCheck::kChoiceStored) return true;
  return ChooseLocale(pOwner, szAppTitle, QString());
}

void TFrmLocaleChoice::FillCountryComboBox(QComboBox* pCtl, int nCountry) {
  LTLangList countries;
  CTLangSupport::FillUniqueCountries(countries);
  FillSorted(pCtl, countries);
  SelectInComboBox(pCtl, nCountry);
}

void TFrmLocaleChoice::FillLanguageComboBox(QComboBox* pCtl, int nLanguage) {
  const int before = SelectedInComboBox(pCtl, 0);
  LTLangList languages;
  CTLangSupport::FillStrings(languages);
  FillSorted(pCtl, languages);
  if (before > 0)
    SelectInComboBox(pCtl, before);
  else if (nLanguage > 0)
    SelectInComboBox(pCtl, nLanguage);
  else
    pCtl->setCurrentIndex(-1);
}

void TFrmLocaleChoice::SelectInComboBox(QComboBox* pCtl, int nCurrID) {
  pCtl->setCurrentIndex(pCtl->findData(nCurrID));  // -1 (nothing) when no item has it
}

int TFrmLocaleChoice::SelectedInComboBox(const QComboBox* pCtl, int nDefaultValue) {
  if (pCtl->currentIndex() < 0) return nDefaultValue;
  return pCtl->currentData().toInt();
}

void TFrmLocaleChoice::SetupDialog() {
  // Nothing stored: no country, English.
  const LTLocaleData stored = CTLangSupport::GetLocaleData();
  FillCountryComboBox(Cbx_Country, stored.v_country);
  FillLanguageComboBox(Cbx_Language, stored.v_language);
  TBasicDialog::SetupDialog();
}

bool TFrmLocaleChoice::ValidateDialog() {
  if (Cbx_Country->currentIndex() < 0 || Cbx_Language->currentIndex() < 0) return false;
  CTLangSupport::SetLocaleData(SelectedInComboBox(Cbx_Country, 0), SelectedInComboBox(Cbx_Language, 0));
  return true;
}

void TFrmLocaleChoice::UpdateControls() {
  const bool bCountryChosen = Cbx_Country->currentIndex() >= 0;
  Frm_Bottom->OkButton()->setEnabled(bCountryChosen && Cbx_Language->currentIndex() >= 0);
  // The hint line asks for the country while none is chosen; afterwards it
  // would only repeat a request that has been met, so it goes (the bar
  // keeps its place, so the buttons stay where they are).
  for (QLabel* panel : Frm_Bottom->StatusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
    panel->setVisible(!bCountryChosen);
  TBasicDialog::UpdateControls();
}
