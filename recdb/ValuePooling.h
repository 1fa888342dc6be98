#pragma once
// Boxed values that live on the heap: column defaults and the string, GUID
// and binary values of records. Freed boxes go back to a free list of their
// class and are handed out again, so loading and dropping records does not
// allocate and free a box per value. One mutex guards all free lists.

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <cstdint>

// Value type codes of fields.
enum CTValueType : int {
  vtBoolean = 0,
  vtInteger = 2,
  vtDouble = 4,
  vtCurrency = 6,
  vtDateTime = 7,
  vtBinary = 8,
  vtGUID = 9,
  vtUnicodeString = 10,
};
// Single-byte text; occurs only in database files and reads like vtUnicodeString.
constexpr int vtAnsiString = 5;

using TGUID = QUuid;

class CTPooledValue {
 public:
  virtual ~CTPooledValue() = default;
  // Clears the value and the free-list link; answers this box.
  virtual CTPooledValue* Reset() = 0;
  // Puts the box on its class's free list (or frees it when pools are off).
  virtual void Recycle() = 0;
  virtual int TypeCode() const = 0;
  // A new box of the same class with the same value.
  virtual CTPooledValue* Clone() const = 0;

  // Frees every box on every free list.
  static void ReleaseAllPools();
  // Boxes currently waiting on the free lists (all classes).
  static int PooledCount();

  CTPooledValue* v_nextValue = nullptr;
};

template <typename T, int kTypeCode>
class CTPooled final : public CTPooledValue {
 public:
  // A reset box of this class, from the free list when one is there.
  static constexpr int kType = kTypeCode;

  static CTPooled* ObtainValue();

  CTPooledValue* Reset() override {
    v_value = T{};
    v_nextValue = nullptr;
    return this;
  }
  void Recycle() override;
  int TypeCode() const override { return kTypeCode; }
  CTPooledValue* Clone() const override {
    CTPooled* p = ObtainValue();
    p->v_value = v_value;
    return p;
  }

  T v_value{};

  // The free list of this class, threaded through v_nextValue; guarded by
  // the pool mutex.
  static CTPooled* s_head;
  static int s_count;
};

using CTPooledBoolean = CTPooled<bool, vtBoolean>;
using CTPooledInteger = CTPooled<std::int32_t, vtInteger>;
using CTPooledDouble = CTPooled<double, vtDouble>;
using CTPooledCurrency = CTPooled<std::int64_t, vtCurrency>;  // fixed point, value x 10000
using CTPooledDateTime = CTPooled<double, vtDateTime>;
using CTPooledString = CTPooled<QString, vtUnicodeString>;
using CTPooledGUID = CTPooled<TGUID, vtGUID>;
using CTPooledBinary = CTPooled<QByteArray, vtBinary>;
