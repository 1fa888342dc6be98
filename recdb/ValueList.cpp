#include "recdb/ValueList.h"

#include "i18n/BaseMsgMan.h"
#include "recdb/DbException.h"

#include <QStringDecoder>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr int kMaxDoubleToken = 63;  // bytes of one number token

int HexDigit(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

const char kHex[] = "0123456789ABCDEF";

}  // namespace

// ---------------------------------------------------------------- construction

CTValueList::CTValueList(const Model* pModel, bool bNoInitValues) : v_model(pModel) {
  if (!v_model) CTDbException::RaiseExc(excDbStructure);
  const int count = v_model->Count();
  for (int i = 0; i < count; ++i)
    if (!v_model->Item(i)) CTDbException::RaiseExc(excDbStructure);
  v_intValues.assign(static_cast<std::size_t>(count), 0);
  for (int i = 0; i < count; ++i) {
    const CTFieldInfo* field = v_model->Item(i);
    const int type = field->GetType();
    if (CTFieldInfo::IsDoubleBacked(type)) {
      v_intValues[i] = static_cast<std::int32_t>(v_dblValues.size());
      v_dblValues.push_back(0.0);
    } else if (CTFieldInfo::IsBoxed(type)) {
      v_intValues[i] = static_cast<std::int32_t>(v_ptrValues.size());
      CTPooledValue* box = type == vtBinary ? static_cast<CTPooledValue*>(CTPooledBinary::ObtainValue())
                           : type == vtGUID ? static_cast<CTPooledValue*>(CTPooledGUID::ObtainValue())
                                            : static_cast<CTPooledValue*>(CTPooledString::ObtainValue());
      v_ptrValues.push_back(box);
    }
    if (bNoInitValues) continue;
    switch (type) {
      case vtBoolean: v_intValues[i] = field->GetBooleanDftValue() ? 1 : 0; break;
      case vtInteger: v_intValues[i] = field->GetIntegerDftValue(); break;
      case vtDouble: v_dblValues[v_intValues[i]] = field->GetDoubleDftValue(); break;
      case vtCurrency: v_dblValues[v_intValues[i]] = double(field->GetCurrencyDftValue()) / 10000.0; break;
      case vtDateTime: v_dblValues[v_intValues[i]] = field->GetTDateTimeDftValue(); break;
      case vtUnicodeString:
        static_cast<CTPooledString*>(v_ptrValues[v_intValues[i]])->v_value = field->GetUnicodeStringDftValue();
        break;
      default: break;  // GUID zero, binary empty
    }
  }
}

CTValueList::CTValueList(const CTValueList& other)
    : v_intValues(other.v_intValues), v_dblValues(other.v_dblValues), v_model(other.v_model) {
  v_ptrValues.reserve(other.v_ptrValues.size());
  for (const CTPooledValue* p : other.v_ptrValues) v_ptrValues.push_back(p->Clone());
}

CTValueList::~CTValueList() {
  for (CTPooledValue* p : v_ptrValues) p->Recycle();
}

// ---------------------------------------------------------------- access

void CTValueList::CheckIndex(int nIx) const {
  if (nIx < 0 || nIx >= NumberOfValues())
    throw std::out_of_range("field index " + std::to_string(nIx) + " outside the value list");
}

const CTFieldInfo* CTValueList::Field(int nIx) const {
  CheckIndex(nIx);
  return v_model->Item(nIx);
}

int CTValueList::FieldType(int nIx) const { return Field(nIx)->GetType(); }

std::int32_t& CTValueList::IntSlot(int nIx) {
  if (!CTFieldInfo::IsIntBacked(Field(nIx)->GetType())) CTDbException::RaiseExc(excTypeError);
  return v_intValues[nIx];
}

std::int32_t CTValueList::DoubleSlot(int nIx) const {
  if (!CTFieldInfo::IsDoubleBacked(Field(nIx)->GetType())) CTDbException::RaiseExc(excTypeError);
  return v_intValues[nIx];
}

template <typename P>
P* CTValueList::Box(int nIx) const {
  if (Field(nIx)->GetType() != P::kType) CTDbException::RaiseExc(excTypeError);
  return static_cast<P*>(v_ptrValues[v_intValues[nIx]]);
}

bool CTValueList::GetBooleanValue(int nIx) const {
  return const_cast<CTValueList*>(this)->IntSlot(nIx) != 0;
}
std::int32_t CTValueList::GetIntegerValue(int nIx) const { return const_cast<CTValueList*>(this)->IntSlot(nIx); }
void CTValueList::GetRefValues(int nIx, std::int32_t& nClsID, std::int32_t& nObjID) const {
  nClsID = GetIntegerValue(nIx);
  nObjID = GetIntegerValue(nIx + 1);
}
double CTValueList::GetDoubleValue(int nIx) const { return v_dblValues[DoubleSlot(nIx)]; }
std::int64_t CTValueList::GetCurrencyValue(int nIx) const {
  return static_cast<std::int64_t>(std::llround(v_dblValues[DoubleSlot(nIx)] * 10000.0));
}
double CTValueList::GetTDateTimeValue(int nIx) const { return v_dblValues[DoubleSlot(nIx)]; }
QString CTValueList::GetUnicodeStringValue(int nIx) const { return Box<CTPooledString>(nIx)->v_value; }
TGUID CTValueList::GetTGUIDValue(int nIx) const { return Box<CTPooledGUID>(nIx)->v_value; }
QByteArray CTValueList::GetBinaryBytes(int nIx) const { return Box<CTPooledBinary>(nIx)->v_value; }
void CTValueList::GetBinaryValue(int nIx, QIODevice* pStream) const {
  const QByteArray& bytes = Box<CTPooledBinary>(nIx)->v_value;
  if (pStream && !bytes.isEmpty()) pStream->write(bytes);
}

void CTValueList::SetBooleanValue(int nIx, bool bValue) { IntSlot(nIx) = bValue ? 1 : 0; }
void CTValueList::SetIntegerValue(int nIx, std::int32_t nValue) { IntSlot(nIx) = nValue; }
void CTValueList::SetDoubleValue(int nIx, double nValue) { v_dblValues[DoubleSlot(nIx)] = nValue; }
void CTValueList::SetCurrencyValue(int nIx, std::int64_t nValue) {
  v_dblValues[DoubleSlot(nIx)] = double(nValue) / 10000.0;
}
void CTValueList::SetTDateTimeValue(int nIx, double nValue) { v_dblValues[DoubleSlot(nIx)] = nValue; }
void CTValueList::SetUnicodeStringValue(int nIx, const QString& szValue) { Box<CTPooledString>(nIx)->v_value = szValue; }
void CTValueList::SetTGUIDValue(int nIx, const TGUID& gValue) { Box<CTPooledGUID>(nIx)->v_value = gValue; }
void CTValueList::SetBinaryBytes(int nIx, const QByteArray& arValue) { Box<CTPooledBinary>(nIx)->v_value = arValue; }

void CTValueList::SetBinaryValue(int nIx, QIODevice* pStream) {
  CTPooledBinary* box = Box<CTPooledBinary>(nIx);
  if (!pStream || !pStream->isReadable()) return;
  const qint64 size = pStream->size();
  if (size <= 0 || size - pStream->pos() < size) return;
  const QByteArray bytes = pStream->read(size);
  if (bytes.size() != size) return;
  box->v_value = bytes;
}

// ---------------------------------------------------------------- copying

void CTValueList::CopyValues(const CTValueList& pFromList, int nFromIx, bool bAlsoRelations, bool bBinariesAlso) {
  int count = NumberOfValues();
  if (pFromList.v_model != v_model) {
    count = std::min(count, pFromList.NumberOfValues());
    for (int i = 0; i < count; ++i)
      if (v_model->Item(i)->GetType() != pFromList.v_model->Item(i)->GetType()) return;
  }
  for (int i = std::max(0, nFromIx); i < count; ++i) {
    const CTFieldInfo* field = v_model->Item(i);
    if (field->GetRefTo() && !bAlsoRelations) {
      ++i;  // the object id goes with its class id
      continue;
    }
    switch (field->GetType()) {
      case vtBoolean:
      case vtInteger: v_intValues[i] = pFromList.v_intValues[i]; break;
      case vtDouble:
      case vtCurrency:
      case vtDateTime: v_dblValues[v_intValues[i]] = pFromList.v_dblValues[pFromList.v_intValues[i]]; break;
      case vtUnicodeString: SetUnicodeStringValue(i, pFromList.GetUnicodeStringValue(i)); break;
      case vtGUID: SetTGUIDValue(i, pFromList.GetTGUIDValue(i)); break;
      case vtBinary:
        if (bBinariesAlso) SetBinaryBytes(i, pFromList.GetBinaryBytes(i));
        break;
      default: break;
    }
  }
}

bool CTValueList::SameValues(const CTValueList& other) const {
  if (NumberOfValues() != other.NumberOfValues()) return false;
  for (int i = 0; i < NumberOfValues(); ++i) {
    const int type = FieldType(i);
    if (type != other.FieldType(i)) return false;
    bool same = true;
    switch (type) {
      case vtBoolean:
      case vtInteger: same = v_intValues[i] == other.v_intValues[i]; break;
      case vtDouble:
      case vtCurrency:
      case vtDateTime: {
        const double a = v_dblValues[v_intValues[i]], b = other.v_dblValues[other.v_intValues[i]];
        same = a == b || (std::isnan(a) && std::isnan(b));
        break;
      }
      case vtUnicodeString: same = GetUnicodeStringValue(i) == other.GetUnicodeStringValue(i); break;
      case vtGUID: same = GetTGUIDValue(i) == other.GetTGUIDValue(i); break;
      case vtBinary: same = GetBinaryBytes(i) == other.GetBinaryBytes(i); break;
      default: break;
    }
    if (!same) return false;
  }
  return true;
}

// ---------------------------------------------------------------- writing

QByteArray CTValueList::Escape(const QByteArray& arBytes, bool bEscapeAll) {
  QByteArray out;
  out.reserve(arBytes.size() * (bEscapeAll ? 3 : 1));
  for (char ch : arBytes) {
    const auto c = static_cast<std::uint8_t>(ch);
    if (bEscapeAll || c < 0x20 || c > 0x7E || c == '\\') {
      out.append('\\');
      out.append(kHex[c >> 4]);
      out.append(kHex[c & 15]);
    } else {
      out.append(ch);
    }
  }
  return out;
}

QByteArray CTValueList::FormatDouble(double nValue, QChar cDecimalSeparator) {
  QByteArray text = TBaseMsg::FormatGeneral(nValue, 15).toLatin1();
  if (cDecimalSeparator != QLatin1Char('.')) text.replace('.', cDecimalSeparator.toLatin1());
  return text;
}

QString CTValueList::GuidToString(const TGUID& gValue) { return gValue.toString(QUuid::WithBraces).toUpper(); }

TGUID CTValueList::GuidFromString(const QString& szText) {
  const QString trimmed = szText.trimmed();
  if (trimmed.size() != 38 || !trimmed.startsWith(QLatin1Char('{'))) return TGUID();
  return TGUID::fromString(trimmed);  // null for text that does not parse
}

QByteArray CTValueList::ToLine(QChar cDecimalSeparator) const {
  QByteArray line;
  for (int i = 0; i < NumberOfValues(); ++i) {
    const int type = FieldType(i);
    line.append(QByteArray::number(type));
    line.append(' ');
    switch (type) {
      case vtBoolean: line.append(v_intValues[i] ? '1' : '0'); break;
      case vtInteger: line.append(QByteArray::number(v_intValues[i])); break;
      case vtDouble:
      case vtDateTime: line.append(FormatDouble(v_dblValues[v_intValues[i]], cDecimalSeparator)); break;
      case vtCurrency: {
        const double value = std::nearbyint(v_dblValues[v_intValues[i]] * 10000.0) / 10000.0;
        line.append(FormatDouble(value, cDecimalSeparator));
        break;
      }
      case vtBinary:
      case vtGUID:
      case vtUnicodeString: {
        const QByteArray escaped = type == vtBinary ? Escape(GetBinaryBytes(i), true)
                                   : type == vtGUID ? GuidToString(GetTGUIDValue(i)).toLatin1()
                                                    : Escape(GetUnicodeStringValue(i).toUtf8(), false);
        line.append(QByteArray::number(escaped.size()));
        line.append(' ');
        line.append(escaped);
        break;
      }
      default: break;
    }
    line.append(' ');
  }
  line.append("\r\n");
  return line;
}

void CTValueList::WriteTo(QIODevice* pStream, QChar cDecimalSeparator) const {
  if (pStream) pStream->write(ToLine(cDecimalSeparator));
}

QString CTValueList::SafeString(const QString& aStr) {
  QString out;
  out.reserve(aStr.size());
  for (QChar c : aStr) {
    const char16_t u = c.unicode();
    if (u < 32 || u > 126 || u == u'\\')
      out += QLatin1Char('\\') + QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    else
      out += c;
  }
  return out;
}

// ---------------------------------------------------------------- reading

bool CTValueList::ReadAnIntChecked(CTStreamIO& pIO, std::int32_t& nValue) {
  std::uint8_t c = pIO.ReadChar();
  while (c != 0 && c <= 32) c = pIO.ReadChar();
  bool negative = false;
  if (c == '-') {
    negative = true;
    c = pIO.ReadChar();
  }
  std::int64_t value = 0;
  int digits = 0;
  while (c >= '0' && c <= '9') {
    value = value * 10 + (c - '0');
    if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1) return false;  // overflow
    ++digits;
    c = pIO.ReadChar();
  }
  // The terminator (consumed) must be white space or the end of the data.
  if (digits == 0 || c > 32) return false;
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return false;
  nValue = static_cast<std::int32_t>(value);
  return true;
}

std::int32_t CTValueList::ReadAnInt(CTStreamIO& pIO) {
  std::int32_t value = 0;
  return ReadAnIntChecked(pIO, value) ? value : 0;
}

double CTValueList::ReadADouble(CTStreamIO& pIO, QChar cDecimalSeparator) {
  std::uint8_t c = pIO.ReadChar();
  while (c != 0 && c <= 32) c = pIO.ReadChar();
  char token[kMaxDoubleToken + 1];
  int n = 0;
  bool tooLong = false;
  while (c > 32) {
    if (n < kMaxDoubleToken) token[n++] = static_cast<char>(c);
    else tooLong = true;  // the rest of the token is consumed, the number refused
    c = pIO.ReadChar();
  }
  if (n == 0 || tooLong) return -1;
  const char sep = cDecimalSeparator.toLatin1();
  std::string text(token, static_cast<std::size_t>(n));
  if (text == "NAN") return std::numeric_limits<double>::quiet_NaN();
  if (text == "INF") return std::numeric_limits<double>::infinity();
  if (text == "-INF") return -std::numeric_limits<double>::infinity();
  for (char& ch : text) {
    if (ch == sep) ch = '.';
    else if (ch == '.' && sep != '.') return -1;
    if (!(std::isdigit(static_cast<unsigned char>(ch)) || ch == '.' || ch == '-' || ch == '+' || ch == 'e' || ch == 'E'))
      return -1;
  }
  std::size_t start = text[0] == '+' ? 1 : 0;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  if (end != text.data() + text.size()) return -1;
  if (ec == std::errc::result_out_of_range) {
    const auto e = text.find_first_of("eE");
    const bool tiny = e != std::string::npos && e + 1 < text.size() && text[e + 1] == '-';
    if (tiny) return 0.0;
    return text[start] == '-' ? -DBL_MAX : DBL_MAX;
  }
  if (ec != std::errc()) return -1;
  return value;
}

bool CTValueList::ReadEscaped(CTStreamIO& pIO, QByteArray& arBytes) {
  arBytes.clear();
  std::int32_t n = 0;
  if (!ReadAnIntChecked(pIO, n) || n < 0) return false;
  // The text grows only with bytes that really arrive.
  while (n > 0) {
    if (pIO.Eof()) return false;
    const std::uint8_t c = pIO.ReadChar();
    if (c == '\\' && n > 2) {
      if (pIO.Eof()) return false;
      const int hi = HexDigit(pIO.ReadChar());
      if (pIO.Eof()) return false;
      const int lo = HexDigit(pIO.ReadChar());
      if (hi < 0 || lo < 0) return false;
      arBytes.append(static_cast<char>(hi * 16 + lo));
      n -= 3;
    } else {
      arBytes.append(static_cast<char>(c));
      n -= 1;
    }
  }
  return true;
}

namespace {

QString DecodeUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  return decoder.hasError() ? QString() : text;
}

std::int32_t DoubleToInteger(double value) {
  const double rounded = std::nearbyint(value);  // halves to even
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
    return -1;
  return static_cast<std::int32_t>(rounded);
}

// A currency holds 4 decimals; more in a file are rounded away on reading,
// as writing would.
double ToCurrencyPrecision(double value) { return std::nearbyint(value * 10000.0) / 10000.0; }

}  // namespace

bool CTValueList::ReadFrom(CTStreamIO& pIO, const std::vector<int>& arStoredToCurrent, QChar cDecimalSeparator) {
  for (int target : arStoredToCurrent) {
    std::int32_t code = 0;
    if (!ReadAnIntChecked(pIO, code) || code < 0) return false;
    code &= 0x7F;
    if (target >= NumberOfValues()) return false;
    const int type = target >= 0 ? FieldType(target) : -1;
    switch (code) {
      case vtBoolean:
      case vtInteger: {
        std::int32_t value = 0;
        if (!ReadAnIntChecked(pIO, value)) return false;
        if (target < 0) break;
        if (code == vtBoolean) {
          if (type != vtBoolean) return false;
          v_intValues[target] = value != 0 ? 1 : 0;
        } else if (type == vtInteger) {
          v_intValues[target] = value;
        } else if (CTFieldInfo::IsDoubleBacked(type)) {
          v_dblValues[v_intValues[target]] = value;
        } else if (type == vtUnicodeString) {
          SetUnicodeStringValue(target, QString::number(value));
        } else {
          return false;
        }
        break;
      }
      case vtDouble:
      case vtCurrency:
      case vtDateTime: {
        const double value = ReadADouble(pIO, cDecimalSeparator);
        if (target < 0) break;
        if (type == vtInteger) v_intValues[target] = DoubleToInteger(value);
        else if (type == vtCurrency) v_dblValues[v_intValues[target]] = ToCurrencyPrecision(value);
        else if (CTFieldInfo::IsDoubleBacked(type)) v_dblValues[v_intValues[target]] = value;
        else return false;
        break;
      }
      case vtAnsiString:
      case vtUnicodeString:
      case vtBinary:
      case vtGUID: {
        QByteArray bytes;
        if (!ReadEscaped(pIO, bytes)) return false;
        if (target < 0) break;
        if (code == vtBinary) {
          if (type != vtBinary) return false;  // bytes have no defined meaning as text
          SetBinaryBytes(target, bytes);
        } else if (code == vtGUID) {
          if (type == vtGUID) SetTGUIDValue(target, GuidFromString(QString::fromLatin1(bytes)));
          else if (type == vtUnicodeString) SetUnicodeStringValue(target, QString::fromLatin1(bytes));
          else return false;
        } else {
          const QString text = DecodeUtf8(bytes);
          if (type == vtUnicodeString) SetUnicodeStringValue(target, text);
          else if (type == vtGUID) SetTGUIDValue(target, GuidFromString(text));
          else return false;
        }
        break;
      }
      default: return false;
    }
  }
  return true;
}
