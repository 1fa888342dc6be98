#include "app/FrameAirConditions.h"

#include "app/FrameAirProps.h"
#include "selection/ResultTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

TFrm_AirConditions::TFrm_AirConditions(QWidget* pParent)
    : QWidget(pParent), Box_PsychroPoints(new QGroupBox(QStringLiteral("Psychrometric Points"), this)) {
  Box_PsychroPoints->setObjectName(QStringLiteral("Box_PsychroPoints"));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(Box_PsychroPoints);
  auto* grid = new QGridLayout(Box_PsychroPoints);
  const auto make = [&](const char* name, int row, int column) {
    auto* point = new TFrm_AirProps(Box_PsychroPoints);
    point->setObjectName(QString::fromLatin1(name));
    grid->addWidget(point, row, column);
    return point;
  };
  // The air paths side by side: outdoor air in on the left, room air out on the right.
  Frm_RAProps = make("Frm_RAProps", 0, 0);
  Frm_OAProps = make("Frm_OAProps", 0, 1);
  Frm_EAProps = make("Frm_EAProps", 1, 0);
  Frm_VIProps = make("Frm_VIProps", 1, 1);
  Frm_SAProps = make("Frm_SAProps", 2, 0);
  Frm_VOProps = make("Frm_VOProps", 2, 1);
  Frm_HIProps = make("Frm_HIProps", 3, 0);
  Frm_CIProps = make("Frm_CIProps", 3, 1);
  grid->setRowStretch(4, 1);
}

TFrm_AirProps* TFrm_AirConditions::Point(const QString& szName) const {
  return findChild<TFrm_AirProps*>(QStringLiteral("Frm_%1Props").arg(szName));
}

void TFrm_AirConditions::SetupWindow(const QString& StrRA, const QString& StrEA, const QString& StrOA,
                                     const QString& StrSA, const QString& StrVI, const QString& StrVO,
                                     const QString& StrCI, const QString& StrHI) {
  Frm_RAProps->SetupWindow(StrRA);
  Frm_EAProps->SetupWindow(StrEA);
  Frm_OAProps->SetupWindow(StrOA);
  Frm_SAProps->SetupWindow(StrSA);
  Frm_VIProps->SetupWindow(StrVI);
  Frm_VOProps->SetupWindow(StrVO);
  Frm_CIProps->SetupWindow(StrCI);
  Frm_HIProps->SetupWindow(StrHI);
}

void TFrm_AirConditions::ClearFields() {
  for (TFrm_AirProps* p : findChildren<TFrm_AirProps*>()) p->ClearFields();
}

void TFrm_AirConditions::SetFamily(int DeviceFamily, bool HasHumidifier, bool IsCooling) {
  const LTFamilyLayout layout = CTResultTexts::Layout(DeviceFamily, HasHumidifier, IsCooling);
  TFrm_AirProps* const frames[kPointCount] = {Frm_RAProps, Frm_OAProps, Frm_EAProps, Frm_SAProps,
                                              Frm_VIProps, Frm_VOProps, Frm_CIProps, Frm_HIProps};
  for (int i = 0; i < kPointCount; ++i) frames[i]->setVisible(layout.points[std::size_t(i)]);
  ClearFields();
}

void TFrm_AirConditions::SetPsychroVals(const TAir& Air, double DeltaEnthalpy, const ALPsychroSet& s) {
  const std::pair<TFrm_AirProps*, const RepPsychroPoint*> points[] = {
      {Frm_RAProps, &s.RA}, {Frm_OAProps, &s.OA}, {Frm_EAProps, &s.EA}, {Frm_SAProps, &s.SA},
      {Frm_VIProps, &s.VI}, {Frm_VOProps, &s.VO}, {Frm_CIProps, &s.CI}, {Frm_HIProps, &s.HI}};
  for (const auto& [frame, point] : points)
    if (!frame->isHidden()) frame->FillFields(Air, DeltaEnthalpy, *point);
}

void TFrm_AirConditions::GetPsychroStrings(QStringList& RA, QStringList& OA, QStringList& EA, QStringList& SA,
                                           QStringList& VI, QStringList& VO, QStringList& CI, QStringList& HI) const {
  const auto strings = [](const TFrm_AirProps* p) { return p->isHidden() ? QStringList() : p->GetStrings(); };
  RA = strings(Frm_RAProps);
  OA = strings(Frm_OAProps);
  EA = strings(Frm_EAProps);
  SA = strings(Frm_SAProps);
  VI = strings(Frm_VIProps);
  VO = strings(Frm_VOProps);
  CI = strings(Frm_CIProps);
  HI = strings(Frm_HIProps);
}
