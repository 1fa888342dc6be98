// The database reader over arbitrary bytes, plain or compressed behind the
// signature. The first byte switches auto-correct; the rest is the file. A
// database that loads must write out, load again and write out the same.

#include "recdb/BaseFactory.h"
#include "recdb/DbTextSchema.h"
#include "recdb/MemDB.h"
#include "recdb/TableLink.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

// Curve (1) is the master of Point (2, ordered, cascading, required) and of
// Motor (3, one-to-one); Shape (4) is abstract with Circle (5) below it.
class Schema : public CTBaseFactory {
 public:
  Schema() : CTBaseFactory("ROZ", 100, 100) {
    auto* curve = new CTTableInfo(1, 0, "Curve", -1, false, false);
    CTDbObject::Initialize(curve, "ID");
    curve->AddFieldInfo(1, CTFieldInfo::CreateUnicodeString("Name", "", true), true);
    curve->AddFieldInfo(2, CTFieldInfo::CreateDouble("Value", 1.5));
    curve->AddFieldInfo(3, CTFieldInfo::CreateBinary("Blob"));
    AddTableInfo(curve);
    auto* point = new CTTableInfo(2, 0, "Point", -1, false, false);
    CTDbObject::Initialize(point, "ID");
    point->AddFieldInfo(1, CTFieldInfo::CreateInteger("Curve_CLS_REF"));
    point->AddFieldInfo(2, CTFieldInfo::CreateInteger("Curve_OBJ_REF"));
    point->AddFieldInfo(3, CTFieldInfo::CreateInteger("Order"));
    point->AddFieldInfo(4, CTFieldInfo::CreateCurrency("Price"));
    AddTableInfo(point);
    auto* motor = new CTTableInfo(3, 0, "Motor", -1, false, false);
    CTDbObject::Initialize(motor, "ID");
    motor->AddFieldInfo(1, CTFieldInfo::CreateInteger("Fan_CLS_REF"));
    motor->AddFieldInfo(2, CTFieldInfo::CreateInteger("Fan_OBJ_REF"));
    motor->AddFieldInfo(3, CTFieldInfo::CreateTGUID("Key"));
    AddTableInfo(motor);
    auto* shape = new CTTableInfo(4, 0, "Shape", -1, true, false);
    CTDbObject::Initialize(shape, "ID");
    shape->AddFieldInfo(1, CTFieldInfo::CreateBoolean("On"));
    AddTableInfo(shape);
    auto* circle = new CTTableInfo(5, 0, "Circle", 4, false, false);
    CTDbObject::Initialize(circle, "ID");
    circle->AddFieldInfo(2, CTFieldInfo::CreateTDateTime("When"));
    AddTableInfo(circle);
    AddLinkInfo(new CTTableLink(curve, 1, "", "", "", 2, 1, false, true, true, true));
    AddLinkInfo(new CTTableLink(curve, 2, "", "", "", 3, 1, true, true, false, false));
    ResolveStructure();
    AddDatabase("Fuzz");
  }
};

QByteArray Write(CTMemDbEngine& engine) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  if (!engine.WriteToStream(&buffer)) std::abort();
  return out;
}

bool Load(CTMemDbEngine& engine, const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  return engine.Load(&buffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static Schema schema;
  CTMemDbEngine::UseCompression(true);
  CTMemDbEngine::SetCompressionSignature("K7R");
  CTMemDbEngine::SetAutoCorrect((data[0] & 1) != 0);
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

  CTMemDbEngine engine(&schema, "Fuzz", QString(), false, 0);
  if (Load(engine, bytes)) {
    const QByteArray first = Write(engine);
    CTMemDbEngine again(&schema, "Fuzz", QString(), false, 0);
    if (!Load(again, first) || Write(again) != first) std::abort();
  }

  // The tool path: a schema read from the text itself.
  QByteArray plain;
  QString error;
  if (CTDbTextSchema::PlainText(bytes, "K7R", plain)) (void)CTDbTextSchema::BuildFactory(plain, error);
  return 0;
}
