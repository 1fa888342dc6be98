#include "recdb/ClDdbVersionInfo.h"

#include "i18n/BaseMsgMan.h"
#include "recdb/DbMessages.h"

Cls_DdbVersionInfo::Cls_DdbVersionInfo(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_DdbVersionInfo::DefineTable(CTBaseFactory& factory, int nDbID) {
  auto* table = new CTTableInfo(kClassID, nDbID, QStringLiteral("DdbVersionInfo"), -1, false, false);
  Initialize(table, QStringLiteral("DVI_ID"));
  table->AddFieldInfo(DVI_DataRegion, CTFieldInfo::CreateInteger(QStringLiteral("DVI_DataRegion"), 0));
  table->AddFieldInfo(DVI_DbVersion, CTFieldInfo::CreateUnicodeString(QStringLiteral("DVI_DbVersion")));
  table->AddFieldInfo(DVI_DataVersion, CTFieldInfo::CreateUnicodeString(QStringLiteral("DVI_DataVersion")));
  table->AddFieldInfo(DVI_ApplicationFlags, CTFieldInfo::CreateInteger(QStringLiteral("DVI_ApplicationFlags"), 0));
  table->AddFieldInfo(DVI_MaxPercentageOUBasket,
                      CTFieldInfo::CreateInteger(QStringLiteral("DVI_MaxPercentageOUBasket"), 120));
  table->AddFieldInfo(DVI_MinPercentageOUBasket,
                      CTFieldInfo::CreateInteger(QStringLiteral("DVI_MinPercentageOUBasket"), 80));
  factory.AddTableInfo(table);
  factory.RegisterClass(kClassID, [](int nObjID, CTBaseFactory* f) { return new Cls_DdbVersionInfo(nObjID, f); });
}

std::unique_ptr<Cls_DdbVersionInfo> Cls_DdbVersionInfo::GetVersionRecord(CTBaseFactory* pFactory,
                                                                          bool bCreateWhenMissing) {
  if (!pFactory || !pFactory->IsConnected()) return nullptr;
  std::unique_ptr<CTDbObject> row = GetUniqueRecord(kClassID, false, pFactory);
  if (auto* version = dynamic_cast<Cls_DdbVersionInfo*>(row.get())) {
    row.release();
    return std::unique_ptr<Cls_DdbVersionInfo>(version);
  }
  if (!bCreateWhenMissing) return nullptr;
  return std::make_unique<Cls_DdbVersionInfo>(0, pFactory);
}

int Cls_DdbVersionInfo::VersionNumber(const QString& szVersion) {
  QString digits = szVersion;
  digits.remove(QLatin1Char('.'));
  bool ok = false;
  const int n = digits.toInt(&ok);
  return ok ? n : 0;
}

QString Cls_DdbVersionInfo::VersionText(int nVersion) {
  return QStringLiteral("%1.%2.%3").arg(nVersion / 100).arg(nVersion / 10 % 10).arg(nVersion % 10);
}

bool Cls_DdbVersionInfo::CheckVersion(CTBaseFactory* pFactory, const QString& szVersion, bool bFlagErrors) {
  const std::unique_ptr<Cls_DdbVersionInfo> row = GetVersionRecord(pFactory, true);
  if (!row) return false;
  const QString expected = NormalizeVersion(szVersion);
  const QString stored = NormalizeVersion(row->GetDbVersion());
  if (expected == stored) return true;
  if (bFlagErrors) {
    CTDbMessages::Load();
    const QString logical = pFactory->DatabaseCount() > 0 ? pFactory->GetLogicalName(0) : QString();
    TBaseMsg::DisplayError(nullptr, CTDbMessages::kIncorrectVersion,
                           logical + QLatin1Char(' ') + expected + QStringLiteral(" <> ") + stored);
  }
  return false;
}

QString Cls_DdbVersionInfo::GetNorvaneVersion(CTBaseFactory* pFactory) {
  const auto row = GetVersionRecord(pFactory, true);
  return row ? row->GetDataVersion().trimmed() : QString();
}

void Cls_DdbVersionInfo::GetNorvaneVersionEx(CTBaseFactory* pFactory, QString& szVersion, int& nRegion) {
  const auto row = GetVersionRecord(pFactory, true);
  szVersion = row ? row->GetDataVersion().trimmed() : QString();
  nRegion = row ? row->GetDataRegion() : 0;
}

void Cls_DdbVersionInfo::SetNorvaneVersion(CTBaseFactory* pFactory, const QString& szNewVersion) {
  if (auto row = GetVersionRecord(pFactory, false)) {
    row->SetDataVersion(szNewVersion.trimmed());
    row->Update();
  }
}

int Cls_DdbVersionInfo::GetRegion(CTBaseFactory* pFactory) {
  const auto row = GetVersionRecord(pFactory, false);
  return row ? row->GetDataRegion() : 0;
}

int Cls_DdbVersionInfo::GetAppFlags(CTBaseFactory* pFactory) {
  const auto row = GetVersionRecord(pFactory, true);
  return row ? row->GetApplicationFlags() : 0;
}

void Cls_DdbVersionInfo::SetAppFlags(CTBaseFactory* pFactory, int nFlags) {
  if (auto row = GetVersionRecord(pFactory, false)) {
    row->SetApplicationFlags(nFlags);
    row->Update();
  }
}

int Cls_DdbVersionInfo::GetMinPercOUBasket(CTBaseFactory* pFactory) {
  const auto row = GetVersionRecord(pFactory, true);
  if (!row) return 100;
  const int stored = row->GetMinPercentageOUBasket();
  return stored != 0 ? stored : 80;
}

void Cls_DdbVersionInfo::SetMinPercOUBasket(CTBaseFactory* pFactory, int nPerc) {
  if (auto row = GetVersionRecord(pFactory, false)) {
    row->SetMinPercentageOUBasket(nPerc);
    row->Update();
  }
}

int Cls_DdbVersionInfo::GetMaxPercOUBasket(CTBaseFactory* pFactory) {
  const auto row = GetVersionRecord(pFactory, true);
  if (!row) return 100;
  const int stored = row->GetMaxPercentageOUBasket();
  return stored != 0 ? stored : 120;
}

void Cls_DdbVersionInfo::SetMaxPercOUBasket(CTBaseFactory* pFactory, int nPerc) {
  if (auto row = GetVersionRecord(pFactory, false)) {
    row->SetMaxPercentageOUBasket(nPerc);
    row->Update();
  }
}
