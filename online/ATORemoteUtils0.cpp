#include "online/ATORemoteUtils0.h"

#include "recdb/LZSS.h"
#include "recdb/LZSSSmallPhrase.h"

namespace {

constexpr char kFirstLetter = 'a';

QString Encode(const QString& szStr, bool bHighFirst) {
  const QByteArray bytes = CTATORemoteUtils0::Bytes(szStr);
  QByteArray out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const char high = static_cast<char>(kFirstLetter + b / 16);
    const char low = static_cast<char>(kFirstLetter + b % 16);
    out += bHighFirst ? high : low;
    out += bHighFirst ? low : high;
  }
  return QString::fromLatin1(out);
}

// 113 = 16 * 'a' + 'a' mod 256: the letters' offset in both halves at once.
QString Decode(const QString& szStr, bool bHighFirst) {
  const QByteArray letters = CTATORemoteUtils0::Bytes(szStr);
  QByteArray out;
  out.reserve(letters.size() / 2);
  for (qsizetype i = 0; i + 1 < letters.size(); i += 2) {
    const unsigned first = static_cast<unsigned char>(letters[i]);
    const unsigned second = static_cast<unsigned char>(letters[i + 1]);
    const unsigned value = bHighFirst ? first * 16 + second : first + second * 16;
    out += static_cast<char>((value + 256 - 113) % 256);
  }
  return QString::fromLatin1(out);
}

}  // namespace

QString CTATORemoteUtils0::EncodeString1(const QString& szStr) { return Encode(szStr, true); }
QString CTATORemoteUtils0::EncodeString2(const QString& szStr) { return Encode(szStr, false); }
QString CTATORemoteUtils0::DecodeString1(const QString& szStr) { return Decode(szStr, true); }
QString CTATORemoteUtils0::DecodeString2(const QString& szStr) { return Decode(szStr, false); }

QString CTATORemoteUtils0::CompressString1(const QString& szStr) { return Text(CTLZSSLogic::Compress(Bytes(szStr))); }
QString CTATORemoteUtils0::DecompressString1(const QString& szStr) { return Text(CTLZSSLogic::Expand(Bytes(szStr))); }
QString CTATORemoteUtils0::CompressString2(const QString& szStr) {
  return Text(CTLZSSSmallPhraseLogic::Compress(Bytes(szStr)));
}
QString CTATORemoteUtils0::DecompressString2(const QString& szStr) {
  return Text(CTLZSSSmallPhraseLogic::Expand(Bytes(szStr)));
}

QString CTATORemoteUtils0::PackProgramName(const QString& szFileName) {
  return EncodeString2(CompressString2(szFileName));
}
QString CTATORemoteUtils0::UnpackProgramName(const QString& szPacked) {
  return DecompressString2(DecodeString2(szPacked));
}
QString CTATORemoteUtils0::PackServiceText(const QString& szText) { return EncodeString1(CompressString1(szText)); }
QString CTATORemoteUtils0::UnpackServiceText(const QString& szPacked) {
  return DecompressString1(DecodeString1(szPacked));
}
