#include "online/ATORemoteUtils0.h"

#include <gtest/gtest.h>

namespace {

using U = CTATORemoteUtils0;

TEST(StringCodecs, LetterFormsOfOneByte) {
  // 0x4A: high half 4 -> 'e', low half 10 -> 'k'.
  EXPECT_EQ(U::EncodeString1(QStringLiteral("J")), QStringLiteral("ek"));
  EXPECT_EQ(U::EncodeString2(QStringLiteral("J")), QStringLiteral("ke"));
  EXPECT_EQ(U::DecodeString1(QStringLiteral("ek")), QStringLiteral("J"));
  EXPECT_EQ(U::DecodeString2(QStringLiteral("ke")), QStringLiteral("J"));
  // "é" is the byte 0xE9 of ISO 8859-1, the other four are ASCII.
  EXPECT_EQ(U::EncodeString1(QString::fromUtf8("é<\"&\n")), QStringLiteral("ojdmcccgak"));
}

TEST(StringCodecs, DecodersUndoTheirEncodersOnEveryByte) {
  QString all;
  for (int b = 0; b < 256; ++b) all += QChar(b);
  EXPECT_EQ(U::DecodeString1(U::EncodeString1(all)), all);
  EXPECT_EQ(U::DecodeString2(U::EncodeString2(all)), all);
}

TEST(StringCodecs, ForeignLettersDecodeWithoutFailing) {
  // A last unpaired letter is dropped; any pair gives some byte.
  EXPECT_EQ(U::DecodeString1(QStringLiteral("eke")), QStringLiteral("J"));
  EXPECT_EQ(U::DecodeString1(QStringLiteral("Z9!~")).size(), 2);
  EXPECT_TRUE(U::DecodeString2(QString()).isEmpty());
}

TEST(StringCodecs, PackingsOnTheWire) {
  // Both coders write "A" as 1 01000001, then the end marker: A0 80 00;
  // the standard coder writes "AB" as A0 D0 80 00.
  EXPECT_EQ(U::PackProgramName(QStringLiteral("A")), QStringLiteral("akaiaa"));
  EXPECT_EQ(U::PackServiceText(QStringLiteral("AB")), QStringLiteral("kanaiaaa"));
  EXPECT_EQ(U::UnpackServiceText(QStringLiteral("kanaiaaa")), QStringLiteral("AB"));
  const QString name = QStringLiteral("Aerolith.exe");
  EXPECT_EQ(U::UnpackProgramName(U::PackProgramName(name)), name);
  const QString path = QStringLiteral("manuals/de/Aerolith Handbuch \xE4\xF6\xFC.pdf");
  EXPECT_EQ(U::UnpackServiceText(U::PackServiceText(path)), path);
}

TEST(StringCodecs, DamagedPackedTextsExpandToWhatCouldBeRead) {
  const QString packed = U::PackServiceText(QStringLiteral("release notes, release notes"));
  EXPECT_TRUE(U::UnpackServiceText(packed.left(packed.size() / 2)).startsWith(QStringLiteral("rel")));
  EXPECT_TRUE(U::UnpackServiceText(QStringLiteral("zzzzzzzz")).size() < 64);
}

}  // namespace
