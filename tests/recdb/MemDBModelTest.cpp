// Random inserts, updates, removals (with cascades), transactions, undo and
// redo against the in-memory engine and a plain model of what the database
// should hold; after every step the two must agree and the referrer lists
// must be sound.

#include "TestSchema.h"

#include "recdb/MemDB.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace testschema;

namespace {

struct Row {
  int refCls = 0;
  int refId = 0;
  double value = 0;
  bool operator==(const Row&) const = default;
};
using Key = std::pair<int, int>;  // class, id
using State = std::map<Key, Row>;

class Model {
 public:
  explicit Model(unsigned seed) : v_rng(seed) {
    CTMemDbEngine::RegisterEngine();
    v_factory.SetRequiredEngineType(0, CTMemDbEngine::ClassName());
    EXPECT_TRUE(v_factory.Connect());
    v_engine = dynamic_cast<CTMemDbEngine*>(v_factory.GetEngine(0));
    CTDbObject::SetDefaultFactory(&v_factory);
  }
  ~Model() {
    CTDbObject::SetDefaultFactory(nullptr);
    CTBaseFactory::UnregisterEngine(CTMemDbEngine::ClassName());
  }

  std::string Trace() const {
    std::string t;
    for (const std::string& s : v_trace) t += s + "; ";
    return t;
  }

  void Step() {
    const int op = Pick(12);
    v_trace.push_back("op" + std::to_string(op));
    if (v_trace.size() > 12) v_trace.erase(v_trace.begin());
    if (op == 10) return Undo();
    if (op == 11) return Redo();
    const bool inTransaction = Pick(8) != 0;
    if (!inTransaction) v_trace.back() += "(no transaction)";
    const State before = v_state;
    if (inTransaction) {
      v_engine->StartTransaction(1, 1, true, 0, 0);
      v_redo.clear();
    }
    const Outcome outcome = Write(op);
    if (inTransaction) {
      v_engine->EndTransaction();
      if (outcome == kWritten) {  // an undo step, even when the values came out the same
        v_undo.push_back(before);
        if (v_undo.size() > 5) v_undo.erase(v_undo.begin());
      }
    } else if (outcome != kNotAsked) {
      // A write outside a transaction ends the undo history, even one the
      // engine then refuses.
      v_undo.clear();
      v_redo.clear();
    }
  }

  void Check(int step) {
    ASSERT_EQ(v_engine->TopLayer()->Depth(), int(v_undo.size())) << "undo steps at step " << step << " after " << Trace();
    for (int cls : {kPolynomial, kPoint, kNote}) {
      ObjectList<CTDbObject> rows = CTDbObject::GetAllRecords(cls, false);
      State seen;
      for (const CTDbObject* r : rows)
        seen[{cls, r->GetID()}] = cls == kPolynomial ? Row{0, 0, r->GetDoubleValue(2)}
                                                     : Row{r->GetIntegerValue(1), r->GetIntegerValue(2), 0};
      State expected;
      for (const auto& [key, row] : v_state)
        if (key.first == cls) expected[key] = row;
      ASSERT_EQ(seen, expected) << "class " << cls << " at step " << step << " after " << Trace();
    }
    const QStringList broken = v_engine->CheckReferrerInvariant();
    ASSERT_TRUE(broken.isEmpty()) << "step " << step << ": " << broken.join("; ").toStdString();
    for (const auto& [key, row] : v_state) {
      if (key.first != kPolynomial) continue;
      std::set<int> points;
      for (const auto& [k, r] : v_state)
        if (k.first == kPoint && r.refId == key.second) points.insert(k.second);
      std::set<int> found;
      for (const CTDbObject* p : Polynomial(key.second).GetRelatedByIx(kPoint, kPointCurveRef)) found.insert(p->GetID());
      ASSERT_EQ(found, points) << "referrers of polynomial " << key.second << " at step " << step;
    }
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(v_rng); }
  // An existing row of the class, or an id that does not exist.
  int AnyId(int cls) {
    std::vector<int> ids;
    for (const auto& [key, row] : v_state)
      if (key.first == cls) ids.push_back(key.second);
    if (ids.empty() || Pick(6) == 0) return 1000 + Pick(50);
    return ids[static_cast<std::size_t>(Pick(int(ids.size())))];
  }
  bool Exists(int cls, int id) const { return v_state.count({cls, id}) > 0; }

  enum Outcome { kNotAsked, kRefused, kWritten };
  Outcome Write(int op) {
    switch (op) {
      case 0:
      case 1: {
        Polynomial p;
        p.SetDoubleValue(2, Pick(100));
        p.Insert();
        EXPECT_EQ(p.GetStatus(), CTDbObject::kStatusStored);
        EXPECT_FALSE(Exists(kPolynomial, p.GetID()));
        v_state[{kPolynomial, p.GetID()}] = {0, 0, p.GetDoubleValue(2)};
        break;
      }
      case 2:
      case 3:
      case 4: {  // a point needs its polynomial
        const int target = AnyId(kPolynomial);
        Polynomial master(target);
        CTDbObject point(kPoint);
        point.SetRelationByIx(kPointCurveRef, &master);
        point.Insert();
        EXPECT_EQ(point.GetStatus() == CTDbObject::kStatusStored, Exists(kPolynomial, target));
        if (!point.IsStored()) return kRefused;
        v_state[{kPoint, point.GetID()}] = {kPolynomial, target, 0};
        break;
      }
      case 5: {  // a note may point anywhere
        const int target = AnyId(kPolynomial);
        CTDbObject note(kNote);
        note.SetIntegerValue(1, kPolynomial);
        note.SetIntegerValue(2, target);
        note.Insert();
        v_state[{kNote, note.GetID()}] = {kPolynomial, target, 0};
        break;
      }
      case 6: {  // move a point to another polynomial
        const int id = AnyId(kPoint);
        if (!Exists(kPoint, id)) return kNotAsked;
        const int target = AnyId(kPolynomial);
        CTDbObject point(kPoint, id);
        Polynomial master(target);
        point.SetRelationByIx(kPointCurveRef, &master);
        if (!Exists(kPolynomial, target)) return kRefused;
        v_state[{kPoint, id}].refId = target;
        break;
      }
      case 7: {
        const int id = AnyId(kPolynomial);
        if (!Exists(kPolynomial, id)) return kNotAsked;
        Polynomial p(id);
        p.SetDoubleValue(2, 100 + Pick(100));
        p.Update();
        v_state[{kPolynomial, id}].value = p.GetDoubleValue(2);
        break;
      }
      case 8: {  // removing a polynomial takes its points along; notes keep their reference
        const int id = AnyId(kPolynomial);
        if (!Exists(kPolynomial, id)) return kNotAsked;
        Polynomial(id).Remove();
        v_state.erase({kPolynomial, id});
        for (auto it = v_state.begin(); it != v_state.end();)
          it = it->first.first == kPoint && it->second.refId == id ? v_state.erase(it) : std::next(it);
        break;
      }
      case 9: {
        const int cls = Pick(2) ? kPoint : kNote;
        const int id = AnyId(cls);
        if (!Exists(cls, id)) return kNotAsked;
        CTDbObject(cls, id).Remove();
        v_state.erase({cls, id});
        break;
      }
    }
    return kWritten;
  }

  void Undo() {
    const int code = v_engine->Undo();
    if (v_undo.empty()) {
      ASSERT_EQ(code, 0);
      return;
    }
    v_redo.push_back(v_state);
    v_state = v_undo.back();
    v_undo.pop_back();
  }

  void Redo() {
    v_engine->Redo();
    if (v_redo.empty()) return;
    v_undo.push_back(v_state);
    v_state = v_redo.back();
    v_redo.pop_back();
  }

  std::mt19937 v_rng;
  Factory v_factory;
  CTMemDbEngine* v_engine = nullptr;
  State v_state;
  std::vector<State> v_undo, v_redo;
  std::vector<std::string> v_trace;
};

TEST(MemDbModel, RandomOperationsKeepTheEngineAndItsReferrersInStepWithTheModel) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    Model model(seed);
    for (int step = 0; step < 500; ++step) {
      model.Step();
      model.Check(step);
      if (testing::Test::HasFatalFailure()) {
        ADD_FAILURE() << "seed " << seed;
        return;
      }
    }
  }
}

}  // namespace
