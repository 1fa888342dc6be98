#pragma once
// A small schema and a map-backed engine for the record-model tests.
//
//   1 Polynomial (ID, Name*, Value)            master of an ordered, cascading link
//   2 Shape      (ID, Name*)        abstract
//   3 Circle     (ID, Name*, Radius) derived from Shape
//   4 Point      (ID, Curve class, Curve id, Order, X)  refers to a Polynomial
//   5 Motor      (ID, Fan class, Fan id)    one-to-one, required, not cascading
//   6 Note       (ID, Curve class, Curve id, Text)      optional, not cascading
// 101 DdbVersionInfo

#include "recdb/BaseFactory.h"
#include "recdb/ClDdbVersionInfo.h"
#include "recdb/DbObject.h"
#include "recdb/TableLink.h"

#include <map>
#include <memory>

namespace testschema {

constexpr int kPolynomial = 1;
constexpr int kShape = 2;
constexpr int kCircle = 3;
constexpr int kPoint = 4;
constexpr int kPointCurveRef = 1;  // class id at 1, object id at 2, order at 3
constexpr int kMotor = 5;
constexpr int kNote = 6;
constexpr int kRef = 1;  // the reference pair of Motor and Note

class MapEngine : public CTDbEngine {
 public:
  using CTDbEngine::CTDbEngine;
  using CTDbEngine::SetCapability;

  bool Connect(const QString&, const QString&, bool) override { return v_connected = connectAnswer; }
  QString GetTypeString() const override { return "Map"; }
  bool WriteToStream(QIODevice* pStream) override {
    for (auto& [cls, rows] : v_rows)
      for (auto& [id, values] : rows) {
        if (failWriteAfterBytes >= 0 && pStream->pos() >= failWriteAfterBytes) throw std::runtime_error("disk full");
        values->WriteTo(pStream);
      }
    return true;
  }
  bool ObjectExists(int nClsID, int nObjID) override { return v_rows[nClsID].count(nObjID) > 0; }
  bool GetBinaryValue(CTDbObject*, int, QIODevice*) override { return false; }
  void SetBinaryValue(CTDbObject*, int, QIODevice*) override {}
  ObjectList<CTDbObject> AllObjects(int nClsID, const CTDbObjectProgressIndicator& pCallback = {}) override {
    ObjectList<CTDbObject> list(true);
    for (auto& [id, values] : v_rows[nClsID]) {
      list.Add(GetFactory()->CreateObject(nClsID, id));
      if (pCallback) pCallback(list.Last());
    }
    return list;
  }
  void PurgeTable(int nClsID) override { v_rows[nClsID].clear(); }
  void ReadRecord(CTDbObject* pObj) override {
    auto& rows = v_rows[pObj->TableIndex()];
    auto it = rows.find(pObj->GetID());
    if (it == rows.end()) throw CTDbException(excRecNotFound);
    pObj->Values().CopyValues(*it->second, 0, true, true);
  }
  void InsertRecord(CTDbObject* pObj) override {
    if (IsReadOnly()) throw CTDbException(excReadOnly, pObj->TableInfo()->TableName());
    auto& rows = v_rows[pObj->TableIndex()];
    if (pObj->GetID() == 0) pObj->SetID(rows.empty() ? 1 : rows.rbegin()->first + 1);
    if (rows.count(pObj->GetID())) throw CTDbException(excIDUsed, QString::number(pObj->GetID()));
    rows[pObj->GetID()] = std::make_unique<CTValueList>(pObj->Values());
    NotifyModified(true, pObj->TableIndex(), pObj->GetID(), pObj->GetName(), kUpdateInserted);
  }
  void RemoveRecord(CTDbObject* pObj) override {
    if (!v_rows[pObj->TableIndex()].erase(pObj->GetID())) throw CTDbException(excRecNotFound);
  }
  void UpdateRecord(CTDbObject* pObj) override {
    auto& rows = v_rows[pObj->TableIndex()];
    auto it = rows.find(pObj->GetID());
    if (it == rows.end()) throw CTDbException(excRecNotFound);
    it->second = std::make_unique<CTValueList>(pObj->Values());
  }
  void UpdateRelation(CTDbObject* pObj, int, int, int) override { UpdateRecord(pObj); }
  bool IsUniqueValue(CTDbObject* pObj, int nFieldIx, bool bIgnoreCase, const QString& szText) override {
    for (auto& [id, values] : v_rows[pObj->TableIndex()])
      if (id != pObj->GetID() &&
          values->GetUnicodeStringValue(nFieldIx).compare(szText, bIgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
        return false;
    return true;
  }
  std::unique_ptr<CTDbObject> GetRelatedRecord(CTDbObject* pObj, int nFieldIx) override {
    int cls = 0, id = 0;
    pObj->GetRefValues(nFieldIx, cls, id);
    return GetFactory()->SafeCreateObject(cls, id);
  }
  ObjectList<CTDbObject> GetReferringRecords(CTDbObject* pObj, int nClsID, bool& bUnsorted, bool bFirstOnly,
                                             const CTRecordFilter& pFilter, const QStringList&, int nFieldIx) override {
    bUnsorted = true;
    ObjectList<CTDbObject> list(true);
    for (auto& [id, values] : v_rows[nClsID]) {
      int cls = 0, ref = 0;
      values->GetRefValues(nFieldIx, cls, ref);
      if (cls != pObj->TableIndex() || ref != pObj->GetID()) continue;
      if (pFilter && !pFilter(*values)) continue;
      list.Add(GetFactory()->CreateObject(nClsID, id));
      if (bFirstOnly) break;
    }
    return list;
  }

  bool connectAnswer = true;
  qint64 failWriteAfterBytes = -1;
  std::map<int, std::map<int, std::unique_ptr<CTValueList>>> v_rows;
};

// The record class of Polynomial, with its name column.
class Polynomial : public CTDbObject {
 public:
  explicit Polynomial(int nObjID = 0, CTBaseFactory* pFactory = nullptr) : CTDbObject(kPolynomial, nObjID, pFactory) {}
  ~Polynomial() override { ++destroyed; }
  QString GetName() const override { return GetUntranslatedStringValue(1); }
  void SetName(const QString& s) override { SetUnicodeStringValue(1, s); }
  static inline int destroyed = 0;
};

class Factory : public CTBaseFactory {
 public:
  Factory() : CTBaseFactory("ROZ", 100, 100) {
    auto* poly = new CTTableInfo(kPolynomial, 0, "Polynomial", -1, false, false);
    CTDbObject::Initialize(poly, "ID");
    poly->AddFieldInfo(1, CTFieldInfo::CreateUnicodeString("Name", "", true), true);
    poly->AddFieldInfo(2, CTFieldInfo::CreateDouble("Value", 1.5));
    AddTableInfo(poly);

    auto* shape = new CTTableInfo(kShape, 0, "Shape", -1, true, true);
    CTDbObject::Initialize(shape, "ID");
    shape->AddFieldInfo(1, CTFieldInfo::CreateUnicodeString("Name"), true);
    AddTableInfo(shape);
    auto* circle = new CTTableInfo(kCircle, 0, "Circle", kShape, false, true);
    CTDbObject::Initialize(circle, "ID");
    circle->AddFieldInfo(2, CTFieldInfo::CreateDouble("Radius"));
    AddTableInfo(circle);

    auto* point = new CTTableInfo(kPoint, 0, "Point", -1, false, false);
    CTDbObject::Initialize(point, "ID");
    point->AddFieldInfo(1, CTFieldInfo::CreateInteger("Curve_CLS_REF"));
    point->AddFieldInfo(2, CTFieldInfo::CreateInteger("Curve_OBJ_REF"));
    point->AddFieldInfo(3, CTFieldInfo::CreateInteger("Curve_Order"));
    point->AddFieldInfo(4, CTFieldInfo::CreateDouble("X"));
    AddTableInfo(point);
    AddLinkInfo(new CTTableLink(poly, 1, "PolyPoints", "", "", kPoint, kPointCurveRef, false, true, true, true));

    auto* motor = new CTTableInfo(kMotor, 0, "Motor", -1, false, false);
    CTDbObject::Initialize(motor, "ID");
    motor->AddFieldInfo(1, CTFieldInfo::CreateInteger("Fan_CLS_REF"));
    motor->AddFieldInfo(2, CTFieldInfo::CreateInteger("Fan_OBJ_REF"));
    AddTableInfo(motor);
    AddLinkInfo(new CTTableLink(poly, 2, "FanMotor", "", "", kMotor, kRef, true, true, false, false));

    auto* note = new CTTableInfo(kNote, 0, "Note", -1, false, false);
    CTDbObject::Initialize(note, "ID");
    note->AddFieldInfo(1, CTFieldInfo::CreateInteger("Curve_CLS_REF"));
    note->AddFieldInfo(2, CTFieldInfo::CreateInteger("Curve_OBJ_REF"));
    note->AddFieldInfo(3, CTFieldInfo::CreateUnicodeString("Text"));
    AddTableInfo(note);
    AddLinkInfo(new CTTableLink(poly, 3, "CurveNotes", "", "", kNote, kRef, false, false, false, false));

    Cls_DdbVersionInfo::DefineTable(*this, 0);

    ResolveStructure();
    RegisterClass(kPolynomial, [](int id, CTBaseFactory* f) { return new Polynomial(id, f); });
    AddDatabase("TestDb");
  }
  MapEngine* Engine() const { return static_cast<MapEngine*>(GetEngine(0)); }
};

// Registers the map engine for the life of a test; the engine it creates
// can be adjusted through fnSetUp.
class EngineRegistration {
 public:
  explicit EngineRegistration(std::function<void(MapEngine&)> fnSetUp = {}) {
    CTBaseFactory::RegisterEngine("MapEngine", [fnSetUp](CTBaseFactory* f, const QString& logical, QString& name, bool&,
                                                         const QString& required, const QString&, bool readOnly, int,
                                                         bool, std::unique_ptr<CTDbEngine>& created) {
      if (!required.isEmpty() && required.compare("MapEngine", Qt::CaseInsensitive) != 0) return false;
      auto engine = std::make_unique<MapEngine>(f, logical, name, readOnly);
      if (fnSetUp) fnSetUp(*engine);
      created = std::move(engine);
      return true;
    });
  }
  ~EngineRegistration() { CTBaseFactory::UnregisterEngine("MapEngine"); }
};

}  // namespace testschema
