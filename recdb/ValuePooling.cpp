#include "recdb/ValuePooling.h"

#include <mutex>

namespace {

std::mutex& PoolMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

template <typename T, int kTypeCode>
CTPooled<T, kTypeCode>* CTPooled<T, kTypeCode>::s_head = nullptr;
template <typename T, int kTypeCode>
int CTPooled<T, kTypeCode>::s_count = 0;

template <typename T, int kTypeCode>
CTPooled<T, kTypeCode>* CTPooled<T, kTypeCode>::ObtainValue() {
  {
    std::lock_guard<std::mutex> guard(PoolMutex());
    if (CTPooled* head = s_head) {
      s_head = static_cast<CTPooled*>(head->v_nextValue);
      --s_count;
      head->Reset();
      return head;
    }
  }
  return new CTPooled();
}

template <typename T, int kTypeCode>
void CTPooled<T, kTypeCode>::Recycle() {
  Reset();  // a pooled box holds no text or bytes
  std::lock_guard<std::mutex> guard(PoolMutex());
  v_nextValue = s_head;
  s_head = this;
  ++s_count;
}

template class CTPooled<bool, vtBoolean>;
template class CTPooled<std::int32_t, vtInteger>;
template class CTPooled<double, vtDouble>;
template class CTPooled<std::int64_t, vtCurrency>;
template class CTPooled<double, vtDateTime>;
template class CTPooled<QString, vtUnicodeString>;
template class CTPooled<TGUID, vtGUID>;
template class CTPooled<QByteArray, vtBinary>;

namespace {

template <typename P>
void ReleasePool() {
  CTPooledValue* p = nullptr;
  {
    std::lock_guard<std::mutex> guard(PoolMutex());
    p = P::s_head;
    P::s_head = nullptr;
    P::s_count = 0;
  }
  while (p) {
    CTPooledValue* next = p->v_nextValue;
    delete p;
    p = next;
  }
}

}  // namespace

// Needs access to the heads; a friend of every instantiation through the base.
void CTPooledValue::ReleaseAllPools() {
  ReleasePool<CTPooledBoolean>();
  ReleasePool<CTPooledInteger>();
  ReleasePool<CTPooledDouble>();
  ReleasePool<CTPooledCurrency>();
  ReleasePool<CTPooledDateTime>();
  ReleasePool<CTPooledString>();
  ReleasePool<CTPooledGUID>();
  ReleasePool<CTPooledBinary>();
}

int CTPooledValue::PooledCount() {
  std::lock_guard<std::mutex> guard(PoolMutex());
  return CTPooledBoolean::s_count + CTPooledInteger::s_count + CTPooledDouble::s_count +
         CTPooledCurrency::s_count + CTPooledDateTime::s_count + CTPooledString::s_count +
         CTPooledGUID::s_count + CTPooledBinary::s_count;
}
