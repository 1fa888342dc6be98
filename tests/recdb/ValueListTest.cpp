#include "recdb/ValueList.h"

#include "recdb/DbException.h"
#include "recdb/TableLink.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

// A model that owns its field infos.
struct Model {
  Model() : fields(true) {}
  Model& Add(CTFieldInfo* f) {
    fields.Add(f);
    return *this;
  }
  ObjectList<CTFieldInfo> fields;
};

struct Input {
  explicit Input(const QByteArray& text) : bytes(text), buffer(&bytes), io((buffer.open(QIODevice::ReadOnly), &buffer)) {}
  QByteArray bytes;
  QBuffer buffer;
  CTStreamIO io;
};

std::vector<int> Identity(int n) {
  std::vector<int> map;
  for (int i = 0; i < n; ++i) map.push_back(i);
  return map;
}

TEST(ValueList, NewListsTakeColumnDefaults) {
  Model m;
  m.Add(CTFieldInfo::CreateInteger("ID", 7))
      .Add(CTFieldInfo::CreateBoolean("On", true))
      .Add(CTFieldInfo::CreateDouble("D", 2.5))
      .Add(CTFieldInfo::CreateCurrency("C", 12345))
      .Add(CTFieldInfo::CreateUnicodeString("S", "text"))
      .Add(CTFieldInfo::CreateTGUID("G"))
      .Add(CTFieldInfo::CreateBinary("B"));
  CTValueList values(&m.fields, false);
  EXPECT_EQ(values.GetIntegerValue(0), 7);
  EXPECT_TRUE(values.GetBooleanValue(1));
  EXPECT_EQ(values.GetDoubleValue(2), 2.5);
  EXPECT_EQ(values.GetCurrencyValue(3), 12345);
  EXPECT_EQ(values.GetDoubleValue(3), 1.2345);
  EXPECT_EQ(values.GetUnicodeStringValue(4), "text");
  EXPECT_TRUE(values.GetTGUIDValue(5).isNull());
  EXPECT_TRUE(values.GetBinaryBytes(6).isEmpty());

  CTValueList bare(&m.fields, true);
  EXPECT_EQ(bare.GetIntegerValue(0), 0);
  EXPECT_EQ(bare.GetUnicodeStringValue(4), "");

  EXPECT_THROW(values.GetIntegerValue(7), std::out_of_range);
  EXPECT_THROW(values.GetDoubleValue(0), CTDbException);  // an Integer field
  EXPECT_THROW(values.GetUnicodeStringValue(2), CTDbException);
}

TEST(ValueList, LineLayoutOfEachType) {
  Model m;
  m.Add(CTFieldInfo::CreateInteger("ID")).Add(CTFieldInfo::CreateUnicodeString("Version"));
  CTValueList values(&m.fields, false);
  values.SetIntegerValue(0, 1);
  values.SetUnicodeStringValue(1, "14.3");
  EXPECT_EQ(values.ToLine(), "2 1 10 4 14.3 \r\n");

  values.SetUnicodeStringValue(1, "a\\b");
  EXPECT_EQ(values.ToLine(), "2 1 10 5 a\\5Cb \r\n");
  values.SetUnicodeStringValue(1, QString(QChar(0xE9)));
  EXPECT_EQ(values.ToLine(), "2 1 10 6 \\C3\\A9 \r\n");
  values.SetUnicodeStringValue(1, "");
  EXPECT_EQ(values.ToLine(), "2 1 10 0  \r\n");

  Model n;
  n.Add(CTFieldInfo::CreateBoolean("B"))
      .Add(CTFieldInfo::CreateDouble("D"))
      .Add(CTFieldInfo::CreateCurrency("C"))
      .Add(CTFieldInfo::CreateBinary("Bin"))
      .Add(CTFieldInfo::CreateTGUID("G"));
  CTValueList v(&n.fields, false);
  v.SetBooleanValue(0, true);
  v.SetDoubleValue(1, 1.5e-7);
  v.SetCurrencyValue(2, -25000);  // -2.5
  v.SetBinaryBytes(3, QByteArray("\x01\xff", 2));
  v.SetTGUIDValue(4, QUuid("{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}"));
  EXPECT_EQ(v.ToLine(), "0 1 4 1.5E-7 6 -2.5 8 6 \\01\\FF 9 38 {0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9} \r\n");
}

TEST(ValueList, FormatsDoublesInGeneralFormat) {
  EXPECT_EQ(CTValueList::FormatDouble(0.1 + 0.2), "0.3");  // 15 significant digits
  EXPECT_EQ(CTValueList::FormatDouble(123456789012345.0), "123456789012345");
  EXPECT_EQ(CTValueList::FormatDouble(1e15), "1E15");
  EXPECT_EQ(CTValueList::FormatDouble(0.00001), "0.00001");
  EXPECT_EQ(CTValueList::FormatDouble(-2.5, ','), "-2,5");
}

TEST(ValueList, EveryTypeRoundTripsThroughItsLine) {
  Model m;
  m.Add(CTFieldInfo::CreateInteger("ID"))
      .Add(CTFieldInfo::CreateBoolean("On"))
      .Add(CTFieldInfo::CreateDouble("D"))
      .Add(CTFieldInfo::CreateCurrency("C"))
      .Add(CTFieldInfo::CreateTDateTime("T"))
      .Add(CTFieldInfo::CreateUnicodeString("S"))
      .Add(CTFieldInfo::CreateTGUID("G"))
      .Add(CTFieldInfo::CreateBinary("B"));
  CTValueList out(&m.fields, false);
  out.SetIntegerValue(0, -2147483647 - 1);
  out.SetBooleanValue(1, true);
  out.SetDoubleValue(2, -1234.56789012345);
  out.SetCurrencyValue(3, 9223372036854);  // 922337203.6854
  out.SetTDateTimeValue(4, 46000.5);
  out.SetUnicodeStringValue(5, QStringLiteral("Zuluft\t°C \\ ✓\r\n\"x\""));
  out.SetTGUIDValue(6, QUuid::createUuid());
  out.SetBinaryBytes(7, QByteArray("\x00\\ \xff", 4));
  Input in(out.ToLine() + out.ToLine());
  for (int line = 0; line < 2; ++line) {
    CTValueList back(&m.fields, true);
    ASSERT_TRUE(back.ReadFrom(in.io, Identity(8))) << line;
    EXPECT_TRUE(back.SameValues(out)) << back.ToLine().toStdString();
  }
}

TEST(ValueList, ReadConvertsStoredTypesToTheCurrentColumn) {
  Model m;
  m.Add(CTFieldInfo::CreateInteger("I")).Add(CTFieldInfo::CreateInteger("J")).Add(CTFieldInfo::CreateUnicodeString("S"));
  // Stored doubles 2.5 and 3.5 into Integer fields round half to even; a
  // stored Integer into a text field becomes its decimal text.
  Input in("4 2.5 4 3.5 2 7 \r\n");
  CTValueList values(&m.fields, true);
  ASSERT_TRUE(values.ReadFrom(in.io, Identity(3)));
  EXPECT_EQ(values.GetIntegerValue(0), 2);
  EXPECT_EQ(values.GetIntegerValue(1), 4);
  EXPECT_EQ(values.GetUnicodeStringValue(2), "7");

  // A currency keeps 4 decimals, rounded half to even as writing would.
  Model c;
  c.Add(CTFieldInfo::CreateCurrency("C"));
  Input currency("6 -0.12345 ");
  CTValueList money(&c.fields, true);
  ASSERT_TRUE(money.ReadFrom(currency.io, Identity(1)));
  EXPECT_EQ(money.GetCurrencyValue(0), -1234);

  // A dropped column is read and discarded; a column not in the file keeps its value.
  Input dropped("10 3 abc 2 9 ");
  CTValueList other(&m.fields, false);
  other.SetIntegerValue(1, 55);
  ASSERT_TRUE(other.ReadFrom(dropped.io, {-1, 0}));
  EXPECT_EQ(other.GetIntegerValue(0), 9);
  EXPECT_EQ(other.GetIntegerValue(1), 55);
}

struct BadLine {
  const char* text;
  const char* why;
};
class ValueListRefuses : public testing::TestWithParam<BadLine> {};
TEST_P(ValueListRefuses, MalformedOrIncompatibleLines) {
  Model m;
  m.Add(CTFieldInfo::CreateInteger("I")).Add(CTFieldInfo::CreateUnicodeString("S"));
  Input in(GetParam().text);
  CTValueList values(&m.fields, true);
  EXPECT_FALSE(values.ReadFrom(in.io, Identity(2))) << GetParam().why;
}
INSTANTIATE_TEST_SUITE_P(
    ValueList, ValueListRefuses,
    testing::Values(BadLine{"0 1 10 1 a ", "a stored Boolean cannot fill an Integer"},
                    BadLine{"3 1 10 1 a ", "type code 3 does not exist"},
                    BadLine{"2 99999999999 10 1 a ", "integer overflow"},
                    BadLine{"2 12x 10 1 a ", "digits must end at white space"},
                    BadLine{"2 1 10 9 abc", "text cut off by the end of the data"},
                    BadLine{"2 1 10 2147483647 abc", "huge announced length, little data"},
                    BadLine{"2 1 10 -5 abc ", "negative length"},
                    BadLine{"2 1 10 4 \\ZZx ", "escape with non-hexadecimal digits"},
                    BadLine{"2 1 8 3 \\01 ", "bytes into a text column"},
                    BadLine{"2 1", "line ends early"}));

TEST(ValueList, TokenReaders) {
  Input ints("  -12\r\n");
  EXPECT_EQ(CTValueList::ReadAnInt(ints.io), -12);
  EXPECT_EQ(ints.io.ReadChar(), '\n');  // the CR went with the number
  EXPECT_EQ(CTValueList::ReadAnInt(ints.io), 0);  // end of data

  Input doubles("abc 1.5 1E400 -1E400 1E-400 NAN 1,5 ");
  EXPECT_EQ(CTValueList::ReadADouble(doubles.io), -1);
  EXPECT_EQ(CTValueList::ReadADouble(doubles.io), 1.5);
  EXPECT_EQ(CTValueList::ReadADouble(doubles.io), DBL_MAX);
  EXPECT_EQ(CTValueList::ReadADouble(doubles.io), -DBL_MAX);
  EXPECT_EQ(CTValueList::ReadADouble(doubles.io), 0.0);
  EXPECT_TRUE(std::isnan(CTValueList::ReadADouble(doubles.io)));
  EXPECT_EQ(CTValueList::ReadADouble(doubles.io), -1);  // "," is not the separator here

  Input comma("1,5 ");
  EXPECT_EQ(CTValueList::ReadADouble(comma.io, ','), 1.5);
  Input longToken(QByteArray(70, '1') + " 2 ");
  EXPECT_EQ(CTValueList::ReadADouble(longToken.io), -1);
  EXPECT_EQ(CTValueList::ReadADouble(longToken.io), 2);  // the long token was consumed whole
}

TEST(ValueList, CopyValues) {
  Model a, b;
  a.Add(CTFieldInfo::CreateInteger("ID")).Add(CTFieldInfo::CreateInteger("Ref_CLS")).Add(CTFieldInfo::CreateInteger("Ref_OBJ"))
      .Add(CTFieldInfo::CreateUnicodeString("S")).Add(CTFieldInfo::CreateBinary("B"));
  b.Add(CTFieldInfo::CreateInteger("ID")).Add(CTFieldInfo::CreateInteger("X")).Add(CTFieldInfo::CreateDouble("Y"));
  // A field that carries a link: the reference pair is copied only with relations.
  CTTableLink link(nullptr, 1, "", "", "", 0, 1, false, false, false, false);
  a.fields.Item(1)->SetRefTo(&link);

  CTValueList from(&a.fields, false), to(&a.fields, false);
  from.SetIntegerValue(0, 5);
  from.SetIntegerValue(1, 9);
  from.SetIntegerValue(2, 3);
  from.SetUnicodeStringValue(3, "copied");
  from.SetBinaryBytes(4, "bytes");
  to.CopyValues(from, 0, false, false);
  EXPECT_EQ(to.GetIntegerValue(0), 5);
  EXPECT_EQ(to.GetIntegerValue(1), 0);
  EXPECT_EQ(to.GetIntegerValue(2), 0);
  EXPECT_EQ(to.GetUnicodeStringValue(3), "copied");
  EXPECT_TRUE(to.GetBinaryBytes(4).isEmpty());
  to.CopyValues(from, 1, true, true);
  EXPECT_EQ(to.GetIntegerValue(2), 3);
  EXPECT_EQ(to.GetBinaryBytes(4), "bytes");

  // Models whose third field differs in type: nothing at all is copied.
  CTValueList other(&b.fields, false);
  other.SetIntegerValue(0, 77);
  to.CopyValues(other, 0, true, true);
  EXPECT_EQ(to.GetIntegerValue(0), 5);
}

TEST(ValueList, SafeString) {
  EXPECT_EQ(CTValueList::SafeString(QStringLiteral("a\\b\tc\x7f")), "a\\5Cb\\09c\\7F");
  EXPECT_EQ(CTValueList::SafeString(QStringLiteral("é")), "\\E9");
}

}  // namespace
