// The window's online commands: the about box, the device information of
// the current unit, and the calls the other windows reach the server by.

#include "app/AboutBox.h"
#include "app/ApproveTranslation.h"
#include "app/DeviceLinks.h"
#include "app/Disclaimer.h"
#include "app/Upgrade.h"
#include "app/DlgSelect.h"
#include "catalogue/ClHRX.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "online/AboutInfo.h"
#include "online/CorvelIntegration.h"
#include "online/DeviceLinks.h"
#include "platform/VersionUtils.h"
#include "selection/CatalogueSession.h"

#include <QPushButton>

#include <exception>

namespace {

constexpr int kMsgProgramTitle = 27;

// A catalogue that cannot be read mid-command says so; the window stays.
template <typename F>
void Guarded(QWidget* pWindow, F&& fnCommand) {
  try {
    fnCommand();
  } catch (const std::exception& e) {
    TBaseMsg::DisplayError(pWindow, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    TBaseMsg::DisplayError(pWindow, TBaseMsg::Tr(QStringLiteral("The command could not be completed")));
  }
}

}  // namespace

void TDlgSelect::InstallOnlineHooks() {
  TFrmApproveTranslation::SetUploader([](const QString& szLocalFile, const QString& szTargetName) {
    return CTCorvelIntegration::SaveFileToInternet(CTVersionUtils::CorvelServerID(), szTargetName, szLocalFile);
  });
  // A new country or language in the about box may call for another build.
  TFrm_AboutBox::SetUpgradeOpener([](QWidget* pOwner) { TFrmUpgrade::Upgrade(pOwner, false, false); });
}

void TDlgSelect::ShowAboutBox() {
  TDlgForm::Load();
  const QString title = TBaseMsg::GetUnicodeString(kMsgProgramTitle);
  const QString dataVersion =
      v_session ? CTAboutInfo::DataVersionText(v_session->DataVersion(), CTVersionUtils::ConfigurationName())
                : QString();
  Guarded(this, [&] {
    TFrm_AboutBox box(this, title, dataVersion, [title](QWidget* pOwner) { TFrm_Disclaimer::Execute(pOwner, title); });
    box.Execute();
  });
}

QPushButton* TDlgSelect::NewOnlineInfoButton(QWidget* pParent, const char* szName) {
  auto* button = new QPushButton(TBaseMsg::Tr(QStringLiteral("Consult online information")), pParent);
  button->setObjectName(QString::fromLatin1(szName));
  button->setToolTip(TBaseMsg::Tr(QStringLiteral("Shows the online information about the selected device")));
  button->hide();
  connect(button, &QPushButton::clicked, this, [this] { Btn_OnlineInfoClick(); });
  return button;
}

void TDlgSelect::ShowOnlineInfoButtons() {
  v_onlineKeyword = CurrentHRX() ? CTDeviceLinks::SeriesKeyword(Factory(), *CurrentHRX()) : QString();
  for (QPushButton* button : {Btn_ResultOnlineInfo, Btn_DBOnlineInfo})
    if (button) button->setVisible(!v_onlineKeyword.isEmpty());
}

void TDlgSelect::Btn_OnlineInfoClick() {
  if (!CurrentHRX() || v_onlineKeyword.isEmpty()) return;
  Guarded(this, [this] {
    TFrmDeviceLinks::ShowInformationAbout(this, Factory(), v_onlineKeyword, QString(), CTDeviceLinks::kBuildServer);
  });
}
