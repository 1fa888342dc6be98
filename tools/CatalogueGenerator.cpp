#include "tools/CatalogueGenerator.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClDeviceDocumentation.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXEcoCurve.h"
#include "catalogue/ClHRXEcodesign.h"
#include "catalogue/ClHRXSound.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kPlainFamily = 0;
constexpr double kSizeStep = 0.05;  // each round of clones is 5 % larger than the last

// A model unit with its dependent records, read once.
struct Model {
  std::unique_ptr<Cls_HRX> unit;
  ObjectList<Cls_HRXSpeed> speeds;
  ObjectList<Cls_HRXPolynomial> curves;
  ObjectList<Cls_DevOptCombination> options;
  ObjectList<Cls_DevPSAllowed> supplies;
  std::unique_ptr<Cls_DeviceDocumentation> documentation;
  std::unique_ptr<Cls_HRXEcodesign> ecodesign;
  ObjectList<Cls_HRXEcoCurve> ecoCurves;
  ObjectList<Cls_HRXSound> sounds;
};

// c(q) = c_model(q / f): coefficient a_i becomes a_i / f^i; the range
// stretches by f.
void StretchAlongAirflow(Cls_Polynomial& curve, double f) {
  static constexpr int kCoefficients[] = {Cls_Polynomial::POL_A0, Cls_Polynomial::POL_A1, Cls_Polynomial::POL_A2,
                                          Cls_Polynomial::POL_A3, Cls_Polynomial::POL_A4, Cls_Polynomial::POL_A5,
                                          Cls_Polynomial::POL_A6, Cls_Polynomial::POL_A7};
  double scale = 1;
  for (const int ix : kCoefficients) {
    curve.SetDoubleValue(ix, curve.GetDoubleValue(ix) / scale);
    scale *= f;
  }
  curve.SetArgumentLow(curve.GetArgumentLow() * f);
  curve.SetArgumentHigh(curve.GetArgumentHigh() * f);
}

template <typename T>
std::unique_ptr<T> CloneOf(CTBaseFactory& pFactory, const T& pModel) {
  std::unique_ptr<T> copy = RecordAs<T>(std::unique_ptr<CTDbObject>(pFactory.CreateObject(pModel.TableIndex(), 0)));
  copy->CopyData(pModel, true, 1);
  return copy;
}

void AddClone(CTBaseFactory& pFactory, const Model& m, double f, int nSerial) {
  std::unique_ptr<Cls_HRX> unit = CloneOf(pFactory, *m.unit);
  unit->SetName(QStringLiteral("%1-G%2").arg(m.unit->GetName()).arg(nSerial, 6, 10, QLatin1Char('0')));
  unit->SetMinAirflow(std::round(m.unit->GetMinAirflow() * f));
  unit->SetMaxAirflow(std::round(m.unit->GetMaxAirflow() * f));
  unit->SetNomAirflow(std::round(m.unit->GetNomAirflow() * f));
  unit->SetDuctDiam(std::round(m.unit->GetDuctDiam() * std::sqrt(f)));
  unit->Insert();

  for (const Cls_HRXSpeed* model : m.speeds) {
    std::unique_ptr<Cls_HRXSpeed> speed = CloneOf(pFactory, *model);
    StretchAlongAirflow(*speed, f);
    speed->SetSelect2(model->GetPowerInput() * f);
    speed->SetHRX(unit.get());
    speed->Insert();
  }
  for (const Cls_HRXPolynomial* model : m.curves) {
    std::unique_ptr<Cls_HRXPolynomial> curve = CloneOf(pFactory, *model);
    if (model->GetType() <= 2) StretchAlongAirflow(*curve, f);  // efficiencies over airflow
    curve->SetHRX(unit.get());
    curve->Insert();
  }
  for (const Cls_DevOptCombination* model : m.options) {
    std::unique_ptr<Cls_DevOptCombination> option = CloneOf(pFactory, *model);
    option->SetDevice(unit.get());
    option->Insert();
  }
  for (const Cls_DevPSAllowed* model : m.supplies) {
    std::unique_ptr<Cls_DevPSAllowed> supply = CloneOf(pFactory, *model);
    supply->SetDevice(unit.get());
    supply->Insert();
  }
  if (m.documentation) {
    std::unique_ptr<Cls_DeviceDocumentation> documentation = CloneOf(pFactory, *m.documentation);
    documentation->SetDevice(unit.get());
    documentation->Insert();
  }
  // A unit f times as large passes f times the air through f times the face
  // area: its curves stretch along airflow, its pressures stay, and its sound
  // power rises by 10 lg f.
  if (m.ecodesign) {
    std::unique_ptr<Cls_HRXEcodesign> eco = CloneOf(pFactory, *m.ecodesign);
    for (const int ix : {Cls_HRXEcodesign::ECO_NomAirflow, Cls_HRXEcodesign::ECO_SoundAirflow, Cls_HRXEcodesign::ECO_FaceArea})
      eco->SetDoubleValue(ix, m.ecodesign->GetDoubleValue(ix) * f);
    eco->SetHRX(unit.get());
    eco->Insert();
  }
  for (const Cls_HRXEcoCurve* model : m.ecoCurves) {
    std::unique_ptr<Cls_HRXEcoCurve> curve = CloneOf(pFactory, *model);
    StretchAlongAirflow(*curve, f);
    curve->SetHRX(unit.get());
    curve->Insert();
  }
  for (const Cls_HRXSound* model : m.sounds) {
    std::unique_ptr<Cls_HRXSound> sound = CloneOf(pFactory, *model);
    for (int band = 0; band < Cls_HRXSound::kBandCount; ++band)
      sound->SetDoubleValue(Cls_HRXSound::SND_63 + band, model->GetDoubleValue(Cls_HRXSound::SND_63 + band) + 10 * std::log10(f));
    sound->SetHRX(unit.get());
    sound->Insert();
  }
}

}  // namespace

int CTCatalogueGenerator::Scale(CTBaseFactory& pFactory, int nUnits) {
  std::vector<Model> models;
  ObjectList<Cls_HRX> units = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, &pFactory));
  for (int i = 0; i < units.Count(); ++i) {
    if (units.Item(i)->GetType() != kPlainFamily) continue;
    Model m;
    m.unit.reset(units.Extract(i--));
    m.speeds = m.unit->GetAllHRXSpeed();
    m.curves = m.unit->GetAllHRXPolynomial();
    m.options = m.unit->GetAllDevOptCombination();
    m.supplies = m.unit->GetAllDevPSAllowed();
    m.documentation = m.unit->GetTheDeviceDocumentation();
    m.ecodesign = m.unit->GetTheHRXEcodesign();
    m.ecoCurves = m.unit->GetAllHRXEcoCurve();
    m.sounds = m.unit->GetAllHRXSound();
    models.push_back(std::move(m));
  }
  // The same clones in the same order for the same catalogue and count.
  std::sort(models.begin(), models.end(), [](const Model& a, const Model& b) { return a.unit->GetID() < b.unit->GetID(); });
  const int family = int(models.size());
  const int wanted = std::min(nUnits, kMaxUnits) - family;
  if (models.empty() || wanted <= 0) return family;
  for (int serial = 0; serial < wanted; ++serial) {
    const int round = serial / family + 1;
    AddClone(pFactory, models[std::size_t(serial) % models.size()], 1 + kSizeStep * round, serial + 1);
  }
  return family + wanted;
}
