#pragma once
// CTATORemoteUtils0: the string codecs with which texts travel to and from
// the program-information service. Every codec works on bytes; texts become
// bytes as ISO 8859-1 (one byte per character, a character above U+00FF
// becomes '?') and bytes become texts the same way back.
//
// Letter codes, two lower-case letters per byte b:
//   EncodeString1   'a' + b / 16, 'a' + b % 16      0x4A -> "ek"
//   EncodeString2   'a' + b % 16, 'a' + b / 16      0x4A -> "ke"
// The decoders take any pair (c1, c2) as (c1 * 16 + c2 - 113) mod 256 (the
// first form) or (c1 + c2 * 16 - 113) mod 256 (the second), so they undo the
// encoders; a last unpaired character is dropped.
//
// The compressors pack with the record database's LZSS coders: form 1 the
// standard coder, form 2 the small-phrase coder. A packed text that is cut
// or damaged expands to what could be read before the damage.
//
// The program's name for the service is EncodeString2(CompressString2(file
// name)); the service's texts are unpacked with
// DecompressString1(DecodeString1(text)).

#include <QByteArray>
#include <QString>

class CTATORemoteUtils0 {
 public:
  static QString EncodeString1(const QString& szStr);
  static QString EncodeString2(const QString& szStr);
  static QString DecodeString1(const QString& szStr);
  static QString DecodeString2(const QString& szStr);
  static QString CompressString1(const QString& szStr);
  static QString DecompressString1(const QString& szStr);
  static QString CompressString2(const QString& szStr);
  static QString DecompressString2(const QString& szStr);

  // The two packings used on the wire.
  static QString PackProgramName(const QString& szFileName);  // EncodeString2(CompressString2(..))
  static QString UnpackProgramName(const QString& szPacked);
  static QString PackServiceText(const QString& szText);  // EncodeString1(CompressString1(..))
  static QString UnpackServiceText(const QString& szPacked);

  // Bytes as the codecs see them: ISO 8859-1 both ways.
  static QByteArray Bytes(const QString& szStr) { return szStr.toLatin1(); }
  static QString Text(const QByteArray& arBytes) { return QString::fromLatin1(arBytes); }
};
