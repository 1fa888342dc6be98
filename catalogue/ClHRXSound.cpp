#include "catalogue/ClHRXSound.h"

#include "catalogue/ClHRX.h"
#include "catalogue/RecordCast.h"

namespace {
const char* const kBandFields[Cls_HRXSound::kBandCount] = {"SND_63",   "SND_125",  "SND_250",  "SND_500",
                                                           "SND_1000", "SND_2000", "SND_4000", "SND_8000"};
}

Cls_HRXSound::Cls_HRXSound(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_HRXSound::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("SND_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(SND_HRX_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("SND_HRX_CLS_REF")));
  pTblInfo->AddFieldInfo(SND_HRX_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("SND_HRX_OBJ_REF")));
  pTblInfo->AddFieldInfo(SND_Path, CTFieldInfo::CreateInteger(QStringLiteral("SND_Path")));
  for (int band = 0; band < kBandCount; ++band)
    pTblInfo->AddFieldInfo(SND_63 + band, CTFieldInfo::CreateDouble(QString::fromLatin1(kBandFields[band])));
}

std::unique_ptr<Cls_HRX> Cls_HRXSound::GetHRX() { return RecordAs<Cls_HRX>(GetRelationByIx(SND_HRX_CLS_REF)); }

std::array<double, Cls_HRXSound::kBandCount> Cls_HRXSound::GetBands() const {
  std::array<double, kBandCount> bands{};
  for (int band = 0; band < kBandCount; ++band) bands[band] = GetDoubleValue(SND_63 + band);
  return bands;
}
