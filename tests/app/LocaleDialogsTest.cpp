// The locale choice and the translation approval, driven as a user drives
// them, each with a registry store of its own.

#include "app/ApplicationUtils.h"
#include "app/ApproveTranslation.h"
#include "app/FrameBottomPanelExt.h"
#include "app/LocaleChoice.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "platform/Registry.h"
#include "recdb/RecordingPresenter.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

// A registry store of the test's own, the run's store back afterwards.
class OwnRegistry : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(v_dir.isValid());
    v_runFolder = CTRegistryStore::UserFolder();
    CTRegistryStore::SetUserFolder(v_dir.path());
  }
  void TearDown() override { CTRegistryStore::SetUserFolder(v_runFolder); }

  QTemporaryDir v_dir;
  QString v_runFolder;
};

// ---- locale choice ----

class LocaleChoice : public OwnRegistry {
 protected:
  void TearDown() override {
    CTLangSupport::ApplyServerLanguageNames(0);
    OwnRegistry::TearDown();
  }
  static QComboBox* Countries(QWidget& dialog) { return dialog.findChild<QComboBox*>("Cbx_Country"); }
  static QComboBox* Languages(QWidget& dialog) { return dialog.findChild<QComboBox*>("Cbx_Language"); }
  static QPushButton* Ok(QWidget& dialog) { return dialog.findChild<TFraBottomPanelExt*>()->OkButton(); }
  static void Choose(QComboBox* pList, const char* szText) {
    const int index = pList->findText(QString::fromUtf8(szText));
    ASSERT_GE(index, 0) << szText;
    pList->setCurrentIndex(index);
  }
  static void ExpectStored(int nCountry, int nLanguage) {
    const LTLocaleData data = CTLangSupport::GetLocaleData();
    EXPECT_TRUE(data.v_stored);
    EXPECT_EQ(data.v_country, nCountry);
    EXPECT_EQ(data.v_language, nLanguage);
  }
};

TEST_F(LocaleChoice, NothingStoredPreselectsEnglishAndWaitsForACountry) {
  TFrmLocaleChoice dialog(nullptr, "Aerolith", "");
  EXPECT_EQ(dialog.windowTitle(), "Welcome");
  auto* welcome = dialog.findChild<QLabel*>("Lbl_Welcome");
  EXPECT_EQ(welcome->text(), "Welcome to the Aerolith program");
  EXPECT_FALSE(welcome->isHidden());
  QComboBox* countries = Countries(dialog);
  QComboBox* languages = Languages(dialog);
  ASSERT_EQ(countries->count(), 250);
  ASSERT_EQ(languages->count(), 37);
  // Sorted lists.
  EXPECT_EQ(countries->itemText(0), "Afghanistan");
  EXPECT_EQ(countries->itemText(1), QString::fromUtf8("Åland Islands"));
  EXPECT_EQ(languages->itemText(0), "Albanian");
  EXPECT_EQ(languages->itemText(36), "Vietnamese");
  EXPECT_EQ(countries->toolTip(), "Please select your country");

  EXPECT_EQ(countries->currentIndex(), -1);
  EXPECT_EQ(languages->currentText(), "English");
  EXPECT_FALSE(Ok(dialog)->isEnabled());
  // A country alone is enough; the language chosen stays.
  Choose(countries, "Austria");
  EXPECT_TRUE(Ok(dialog)->isEnabled());
  EXPECT_EQ(languages->currentText(), "English");
  Choose(languages, "German");
  dialog.Btn_OKClick();
  EXPECT_EQ(dialog.RetCode(), TBasicDialog::kRetOK);
  ExpectStored(539, 1031);  // "AUT": 20*26 + 19
}

// The line below the buttons asks for the country while none is chosen and
// goes as soon as one is.
TEST_F(LocaleChoice, TheHintLineGoesOnceACountryIsChosen) {
  TFrmLocaleChoice dialog(nullptr, "Aerolith", "");
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  TFraBottomPanelExt* bar = dialog.findChild<TFraBottomPanelExt*>();
  const auto lineShows = [bar](const QString& text) {
    for (const QLabel* panel : bar->StatusBar()->findChildren<QLabel*>())
      if (panel->isVisible() && panel->text() == text) return true;
    return false;
  };
  Countries(dialog)->setFocus();
  EXPECT_TRUE(lineShows("Please select your country"));

  Choose(Countries(dialog), "Austria");
  EXPECT_FALSE(lineShows("Please select your country"));
  // Nor does it come back with the focus.
  Languages(dialog)->setFocus();
  Countries(dialog)->setFocus();
  EXPECT_FALSE(lineShows("Please select your country"));
}

TEST_F(LocaleChoice, StoredChoiceIsShownAndCancelLeavesIt) {
  CTLangSupport::SetLocaleData(3822, 1036);  // "FRA": 5*676 + 17*26 + 0
  TFrmLocaleChoice dialog(nullptr, "", "Localization");
  EXPECT_EQ(dialog.windowTitle(), "Localization");
  EXPECT_TRUE(dialog.findChild<QLabel*>("Lbl_Welcome")->isHidden());
  EXPECT_EQ(Countries(dialog)->currentText(), "France");
  EXPECT_EQ(Languages(dialog)->currentText(), "French");
  EXPECT_TRUE(Ok(dialog)->isEnabled());
  Choose(Countries(dialog), "Germany");
  dialog.Btn_CancelClick();
  EXPECT_EQ(dialog.RetCode(), TBasicDialog::kRetCancel);
  ExpectStored(3822, 1036);
}

TEST_F(LocaleChoice, StoredCountryWeDoNotKnowSelectsNone) {
  CTLangSupport::SetLocaleData(11876, 1031);  // "ROU" is not Romania's number
  TFrmLocaleChoice dialog(nullptr, "Aerolith", "");
  EXPECT_EQ(Countries(dialog)->currentIndex(), -1);
  EXPECT_EQ(Languages(dialog)->currentText(), "German");
  EXPECT_FALSE(Ok(dialog)->isEnabled());
  Choose(Countries(dialog), "Romania");
  dialog.Btn_OKClick();
  ExpectStored(11868, 1031);
}

TEST_F(LocaleChoice, LanguageListKeepsItsChoiceWhenFilledAgain) {
  QComboBox list;
  TFrmLocaleChoice::FillLanguageComboBox(&list, 0);
  EXPECT_EQ(list.currentIndex(), -1);
  EXPECT_EQ(TFrmLocaleChoice::SelectedInComboBox(&list, 77), 77);
  TFrmLocaleChoice::FillLanguageComboBox(&list, 1036);
  EXPECT_EQ(list.currentText(), "French");
  TFrmLocaleChoice::SelectInComboBox(&list, 1031);
  TFrmLocaleChoice::FillLanguageComboBox(&list, 1036);
  EXPECT_EQ(list.count(), 37);
  EXPECT_EQ(TFrmLocaleChoice::SelectedInComboBox(&list, 0), 1031);
  TFrmLocaleChoice::SelectInComboBox(&list, 4711);
  EXPECT_EQ(list.currentIndex(), -1);
}

// Runs fnAct on the locale dialog once it is up in its modal loop.
void WhenLocaleDialogShown(std::function<void(TFrmLocaleChoice&)> fnAct) {
  QTimer::singleShot(0, [fnAct] {
    auto* dialog = qobject_cast<TFrmLocaleChoice*>(QApplication::activeModalWidget());
    if (!dialog) return WhenLocaleDialogShown(fnAct);
    fnAct(*dialog);
  });
}

TEST_F(LocaleChoice, StartUpAsksOnlyUntilAChoiceIsStored) {
  // Server 2's builds: the dialog already lists 2057 under its other name.
  bool asked = false;
  WhenLocaleDialogShown([&](TFrmLocaleChoice& dialog) {
    asked = true;
    EXPECT_EQ(dialog.windowTitle(), "Welcome");
    EXPECT_EQ(dialog.findChild<QLabel*>("Lbl_Welcome")->text(), "Welcome to the Aerolith program");
    EXPECT_GE(Languages(dialog)->findText("English (USA)"), 0);
    dialog.Btn_CancelClick();
  });
  EXPECT_FALSE(TFrmLocaleChoice::CheckDefaultLocale(nullptr, "Aerolith", 2));
  EXPECT_TRUE(asked);
  EXPECT_FALSE(CTLangSupport::GetLocaleData().v_stored);

  WhenLocaleDialogShown([&](TFrmLocaleChoice& dialog) {
    Choose(Countries(dialog), "Switzerland");
    dialog.Btn_OKClick();
  });
  EXPECT_TRUE(TFrmLocaleChoice::CheckDefaultLocale(nullptr, "Aerolith", 0));
  ExpectStored(1538, 1033);  // "CHE": 2*676 + 7*26 + 4

  // Stored now: no dialog. Should one appear, it is cancelled and noted.
  asked = false;
  QTimer guard;
  QObject::connect(&guard, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<TBasicDialog*>(QApplication::activeModalWidget())) {
      asked = true;
      dialog->Btn_CancelClick();
    }
  });
  guard.start(0);
  EXPECT_TRUE(TFrmLocaleChoice::CheckDefaultLocale(nullptr, "Aerolith", 0));
  guard.stop();
  EXPECT_FALSE(asked);
}

// ---- translation approval ----

class ApproveTranslation : public OwnRegistry {
 protected:
  void SetUp() override {
    OwnRegistry::SetUp();
    TBaseMsg::SetPresenter(&v_messages);
    CTLangSupport::SetUILanguage(1031);
  }
  void TearDown() override {
    TFrmApproveTranslation::SetUploader({});
    CTLangSupport::SetUILanguage(1033);
    TBaseMsg::SetPresenter(nullptr);
    OwnRegistry::TearDown();
  }
  static void Fill(QWidget& dialog, const char* szFirst, const char* szLast, const char* szEmail) {
    dialog.findChild<QLineEdit*>("Txt_FirstName")->setText(szFirst);
    dialog.findChild<QLineEdit*>("Txt_LastName")->setText(szLast);
    dialog.findChild<QLineEdit*>("Txt_Email")->setText(szEmail);
  }
  static QString Affiliate(const char* szName) {
    CTRegistry registry;
    if (!registry.OpenKey("Software\\Norvane", false)) return "(no key)";
    return registry.ReadString(szName).value_or("(no value)");
  }

  RecordingPresenter v_messages;
};

const char kUnreachable[] = "Unable to connect to the Corvel upload server at this time. Please try again later";

TEST_F(ApproveTranslation, ShowsTheBuildAndTheAffiliateKeptLastTime) {
  {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Norvane", true));
    registry.WriteString("First Name", "Anna");
    registry.WriteString("Email", "anna@example.com");
  }
  TFrmApproveTranslation dialog(nullptr);
  EXPECT_EQ(dialog.findChild<QLineEdit*>("Txt_FirstName")->text(), "Anna");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("Txt_LastName")->text(), "");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("Txt_Email")->text(), "anna@example.com");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("Txt_Email")->toolTip(), "Please enter your e-mail address");
  EXPECT_EQ(dialog.findChild<QLabel*>("Lbl_Language")->text(), "German");
  EXPECT_EQ(dialog.findChild<QLabel*>("Lbl_ProgramName")->text(), "app_tests");
  EXPECT_EQ(dialog.findChild<QLabel*>("Lbl_PageCaption")->text(),
            ApplicationUtils::Title() + " " + ApplicationUtils::Version());
  EXPECT_EQ(dialog.findChild<TFraBottomPanelExt*>()->OkButton()->text(), "Approve");
}

TEST_F(ApproveTranslation, InvalidAddressKeepsTheDialogOpenAndSendsNothing) {
  int uploads = 0;
  TFrmApproveTranslation::SetUploader([&](const QString&, const QString&) { return ++uploads > 0; });
  TFrmApproveTranslation dialog(nullptr);
  Fill(dialog, "Anna", "Berg", " a@.example ");
  dialog.Btn_OKClick();
  EXPECT_EQ(dialog.RetCode(), TBasicDialog::kRetCancel);  // still open
  EXPECT_EQ(v_messages.shown, QStringList{"'a@.example' does not appear to be a valid e-mail address"});
  EXPECT_EQ(uploads, 0);
  EXPECT_EQ(Affiliate("First Name"), "(no key)");
}

TEST_F(ApproveTranslation, SendFailsWhenTheServerCannotBeReachedAndTheAffiliateIsKept) {
  struct Case {
    const char* name;
    TFrmApproveTranslation::TUploader uploader;
  };
  const Case cases[] = {
      {"no uploader", {}},
      {"server refuses", [](const QString&, const QString&) { return false; }},
      {"uploader throws",
       [](const QString&, const QString&) -> bool { throw std::runtime_error("no route to host"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    v_messages.shown.clear();
    TFrmApproveTranslation::SetUploader(c.uploader);
    TFrmApproveTranslation dialog(nullptr);
    Fill(dialog, " Anna ", "Berg", "anna@example.com ");
    dialog.Btn_OKClick();
    EXPECT_EQ(dialog.RetCode(), TBasicDialog::kRetOK);
    EXPECT_EQ(v_messages.shown, QStringList{kUnreachable});
    EXPECT_EQ(Affiliate("First Name"), "Anna");
    EXPECT_EQ(Affiliate("Last Name"), "Berg");
    EXPECT_EQ(Affiliate("Email"), "anna@example.com");
  }
}

TEST_F(ApproveTranslation, UploaderGetsTheApprovalLineUnderAFreshNameEachTime) {
  struct Upload {
    QString file, target;
    QByteArray content;
  };
  QList<Upload> uploads;
  TFrmApproveTranslation::SetUploader([&](const QString& szFile, const QString& szTarget) {
    QFile file(szFile);
    if (!file.open(QIODevice::ReadOnly)) return false;
    uploads.append({szFile, szTarget, file.readAll()});
    return true;
  });
  for (int i = 0; i < 2; ++i) {
    TFrmApproveTranslation dialog(nullptr);
    Fill(dialog, "Anna", "Berg", "anna@example.com");
    dialog.Btn_OKClick();
    EXPECT_EQ(dialog.RetCode(), TBasicDialog::kRetOK);
  }
  EXPECT_EQ(v_messages.shown, (QStringList{"Approval has been sent", "Approval has been sent"}));
  ASSERT_EQ(uploads.size(), 2);
  const QRegularExpression uuidName("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}\\.txt$");
  for (const Upload& upload : uploads) {
    EXPECT_EQ(upload.content, "<approval program=\"app_tests\" nr=\"" + ApplicationUtils::Version().toLatin1() +
                                  "\" language=\"1031\" firstname=\"Anna\" lastname=\"Berg\" "
                                  "email=\"anna@example.com\" />\r\n");
    EXPECT_TRUE(uuidName.match(upload.target).hasMatch()) << upload.target.toStdString();
    EXPECT_FALSE(upload.target.contains(QFileInfo(upload.file).fileName()));
    EXPECT_FALSE(QFile::exists(upload.file)) << "left behind: " << upload.file.toStdString();
  }
  EXPECT_NE(uploads[0].target, uploads[1].target);
}

}  // namespace
