#pragma once
// CTValueList: the field values of one record, and their text form (one line
// of a database file).
//
// Storage: one integer per field in field order. Boolean and Integer fields
// hold their value there; Double, Currency and TDateTime fields an index into
// v_dblValues (Currency as its decimal value); Binary, TGUID and
// UnicodeString fields an index into v_ptrValues, boxes from the value pools.
//
// Record line: for every field, its type code, a space, the value text, a
// space; CR LF at the end. Texts and bytes are escaped and prefixed by the
// length of their escaped form:
//
//   ID 1, version "14.3"     ->  "2 1 10 4 14.3 \r\n"
//   text "a\b"               ->  "10 5 a\5Cb "
//   text "é"                 ->  "10 6 \C3\A9 "
//   empty text               ->  "10 0  "
//   GUID                     ->  "9 38 {0A1B...} "
//   bytes 01 FF              ->  "8 6 \01\FF "

#include "recdb/FieldInfo.h"
#include "recdb/ObjList.h"
#include "recdb/StreamIO.h"

#include <QIODevice>

#include <cstdint>
#include <vector>

class CTValueList {
 public:
  using Model = ObjectList<CTFieldInfo>;

  // Every field of pModel (no empty slots) gets its column default, or zero
  // and empty with bNoInitValues.
  CTValueList(const Model* pModel, bool bNoInitValues);
  CTValueList(const CTValueList& other);
  CTValueList& operator=(const CTValueList&) = delete;
  ~CTValueList();

  const Model* GetModel() const { return v_model; }
  int NumberOfValues() const { return static_cast<int>(v_intValues.size()); }
  int FieldType(int nIx) const;

  // Getters and setters throw std::out_of_range for an index outside the
  // list and CTDbException(excTypeError) for a field of another storage kind.
  bool GetBooleanValue(int nIx) const;
  std::int32_t GetIntegerValue(int nIx) const;
  void GetRefValues(int nIx, std::int32_t& nClsID, std::int32_t& nObjID) const;
  double GetDoubleValue(int nIx) const;
  std::int64_t GetCurrencyValue(int nIx) const;  // x 10000
  double GetTDateTimeValue(int nIx) const;
  QString GetUnicodeStringValue(int nIx) const;
  TGUID GetTGUIDValue(int nIx) const;
  QByteArray GetBinaryBytes(int nIx) const;
  // Writes the stored bytes to the stream at its position.
  void GetBinaryValue(int nIx, QIODevice* pStream) const;

  void SetBooleanValue(int nIx, bool bValue);
  void SetIntegerValue(int nIx, std::int32_t nValue);
  void SetDoubleValue(int nIx, double nValue);
  void SetCurrencyValue(int nIx, std::int64_t nValue);  // x 10000
  void SetTDateTimeValue(int nIx, double nValue);
  void SetUnicodeStringValue(int nIx, const QString& szValue);
  void SetTGUIDValue(int nIx, const TGUID& gValue);
  void SetBinaryBytes(int nIx, const QByteArray& arValue);
  // Reads Size() bytes from the stream's position; a missing, empty or short
  // stream leaves the stored bytes as they were.
  void SetBinaryValue(int nIx, QIODevice* pStream);

  // Copies fields nFromIx.. from a list of the same model, or of another
  // model when the shared first fields agree in type (else nothing). Reference
  // pairs only with bAlsoRelations, binaries only with bBinariesAlso.
  void CopyValues(const CTValueList& pFromList, int nFromIx, bool bAlsoRelations, bool bBinariesAlso);

  // Field-by-field equality of values (texts and bytes by value).
  bool SameValues(const CTValueList& other) const;

  // --- text form ---
  void WriteTo(QIODevice* pStream, QChar cDecimalSeparator = QLatin1Char('.')) const;
  QByteArray ToLine(QChar cDecimalSeparator = QLatin1Char('.')) const;
  // Reads one line whose stored fields map to fields of this list:
  // arStoredToCurrent[i] is the current index of stored field i, or -1 when
  // that column is gone (its value is read and dropped). False when the line
  // is malformed, ends early, or holds a value the target cannot take.
  bool ReadFrom(CTStreamIO& pIO, const std::vector<int>& arStoredToCurrent, QChar cDecimalSeparator = QLatin1Char('.'));

  // Token readers. ReadAnInt answers 0 at the end of the data or for a
  // malformed number; ReadAnIntChecked says whether a well-formed number in
  // range, ended by white space or the end, was read.
  static std::int32_t ReadAnInt(CTStreamIO& pIO);
  static bool ReadAnIntChecked(CTStreamIO& pIO, std::int32_t& nValue);
  // -1 for text that is not a number; the largest finite double for one too large.
  static double ReadADouble(CTStreamIO& pIO, QChar cDecimalSeparator = QLatin1Char('.'));
  // Reads "n escaped" text into bytes; false when it is cut off or malformed.
  static bool ReadEscaped(CTStreamIO& pIO, QByteArray& arBytes);
  static QByteArray Escape(const QByteArray& arBytes, bool bEscapeAll);
  // General format, 15 significant digits.
  static QByteArray FormatDouble(double nValue, QChar cDecimalSeparator = QLatin1Char('.'));
  // Characters below 32, above 126 and the backslash as "\" + hexadecimal code.
  static QString SafeString(const QString& aStr);
  static QString GuidToString(const TGUID& gValue);
  static TGUID GuidFromString(const QString& szText);  // zero GUID for text that does not parse

 private:
  const CTFieldInfo* Field(int nIx) const;
  void CheckIndex(int nIx) const;
  template <typename P>
  P* Box(int nIx) const;
  std::int32_t DoubleSlot(int nIx) const;
  std::int32_t& IntSlot(int nIx);

  std::vector<std::int32_t> v_intValues;
  std::vector<double> v_dblValues;
  std::vector<CTPooledValue*> v_ptrValues;  // owned boxes
  const Model* v_model;
};
