#include "online/ReleaseManifest.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>

#include <openssl/evp.h>

#include <memory>

namespace {

using Problem = TReleaseProblem;

constexpr const char* kFormatLine = "aerolith-release-manifest 1";
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 9999;
constexpr int kMaxRelease = 9999;

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '.' || c == '_' || c == '-';
}

// Exactly nBytes raw bytes written as 2 nBytes lower-case hex digits.
bool ReadHex(const QByteArray& arText, qsizetype nBytes, QByteArray& arOut) {
  if (arText.size() != 2 * nBytes) return false;
  for (const char c : arText)
    if (!IsLowerHex(c)) return false;
  arOut = QByteArray::fromHex(arText);
  return arOut.size() == nBytes;
}

// A whole number from 1 to nMax in decimal without a leading zero.
bool ReadCount(const QByteArray& arText, qint64 nMax, qint64& nOut) {
  if (arText.isEmpty() || arText.size() > 10 || arText.front() == '0') return false;
  qint64 n = 0;
  for (const char c : arText) {
    if (!IsDigit(c)) return false;
    n = n * 10 + (c - '0');
  }
  if (n > nMax) return false;
  nOut = n;
  return true;
}

// "M.m.p" as the program numbers its versions: 7.3.0 is 730.
bool ReadRelease(const QByteArray& arText, int& nOut) {
  const QList<QByteArray> parts = arText.split('.');
  if (parts.size() != 3) return false;
  const QByteArray& major = parts[0];
  if (major.isEmpty() || major.size() > 2 || (major.size() == 2 && major.front() == '0')) return false;
  for (const char c : major)
    if (!IsDigit(c)) return false;
  if (parts[1].size() != 1 || !IsDigit(parts[1][0]) || parts[2].size() != 1 || !IsDigit(parts[2][0])) return false;
  const int n = major.toInt() * 100 + (parts[1][0] - '0') * 10 + (parts[2][0] - '0');
  if (n < 1 || n > kMaxRelease) return false;
  nOut = n;
  return true;
}

QByteArray ReleaseText(int nRelease) {
  return QByteArray::number(nRelease / 100) + '.' + QByteArray::number(nRelease / 10 % 10) + '.' +
         QByteArray::number(nRelease % 10);
}

// Walks the text line by line; every line is bounded before it is taken.
class CTLineReader {
 public:
  explicit CTLineReader(const QByteArray& arText) : m_text(arText) {}

  bool AtEnd() const { return m_nPos >= m_text.size(); }
  int LineNumber() const { return m_nLine; }
  qsizetype Position() const { return m_nPos; }

  // The next line without its LF; false with the reason when it has none
  // within the bound, or holds a byte the format does not allow.
  bool Next(QByteArray& arLine, QString& szProblem) {
    ++m_nLine;
    const qsizetype nLeft = m_text.size() - m_nPos;
    const qsizetype nEnd = m_text.indexOf('\n', m_nPos);
    if (nEnd < 0 && nLeft >= CTReleaseManifest::kMaxLineBytes) {
      szProblem = QStringLiteral("the line is longer than %1 bytes").arg(CTReleaseManifest::kMaxLineBytes);
      return false;
    }
    if (nEnd < 0) {
      szProblem = QStringLiteral("the line does not end with a line feed");
      return false;
    }
    if (nEnd + 1 - m_nPos > CTReleaseManifest::kMaxLineBytes) {
      szProblem = QStringLiteral("the line is longer than %1 bytes").arg(CTReleaseManifest::kMaxLineBytes);
      return false;
    }
    arLine = m_text.mid(m_nPos, nEnd - m_nPos);
    for (const char c : arLine) {
      if (c == '\r') {
        szProblem = QStringLiteral("a carriage return (lines end with a line feed alone)");
        return false;
      }
      if (c < 0x20 || c > 0x7e) {
        szProblem = QStringLiteral("a byte that is not printable ASCII");
        return false;
      }
    }
    m_nPos = nEnd + 1;
    return true;
  }

 private:
  const QByteArray& m_text;
  qsizetype m_nPos = 0;
  int m_nLine = 0;
};

// "word value": the value when the line starts with the word and a blank.
bool Field(const QByteArray& arLine, const char* szWord, QByteArray& arValue) {
  const QByteArray prefix = QByteArray(szWord) + ' ';
  if (!arLine.startsWith(prefix)) return false;
  arValue = arLine.mid(prefix.size());
  return true;
}

LTReleaseRefusal Malformed(int nLine, const QString& szDetail) {
  LTReleaseRefusal refusal;
  refusal.problem = Problem::kMalformed;
  refusal.nLine = nLine;
  refusal.szDetail = szDetail;
  return refusal;
}

LTReleaseRefusal Unsigned() {
  LTReleaseRefusal refusal;
  refusal.problem = Problem::kUnsigned;
  return refusal;
}

// "file SIZE SHA256 NAME"
bool ReadFileLine(const QByteArray& arValue, LTReleaseFile& file, QString& szProblem) {
  const QList<QByteArray> parts = arValue.split(' ');
  if (parts.size() != 3) {
    szProblem = QStringLiteral("a file line holds a size, a SHA-256 and a name, one blank apart");
    return false;
  }
  // An empty versions list offers nothing, and is a file all the same.
  const bool empty = parts[0] == "0";
  if (empty) file.nSize = 0;
  if (!empty && !ReadCount(parts[0], CTReleaseManifest::kMaxFileSize, file.nSize)) {
    szProblem = QStringLiteral("the size is not a whole number from 0 to %1").arg(CTReleaseManifest::kMaxFileSize);
    return false;
  }
  if (!ReadHex(parts[1], 32, file.arSha256)) {
    szProblem = QStringLiteral("the SHA-256 is not 64 lower-case hex digits");
    return false;
  }
  file.szName = QString::fromLatin1(parts[2]);
  if (!CTReleaseManifest::IsValidName(file.szName)) {
    szProblem = QStringLiteral("the name is not a plain path below the release folder");
    return false;
  }
  return true;
}

struct EvpKeyFree {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
};
struct EvpMdCtxFree {
  void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
};

}  // namespace

const LTReleaseFile* LTReleaseManifest::Find(const QString& szName) const {
  for (const LTReleaseFile& file : files)
    if (file.szName == szName) return &file;
  return nullptr;
}

LTReleaseRefusal CTReleaseManifest::Read(const QByteArray& arText, LTReleaseManifest& manifest) {
  manifest = LTReleaseManifest();
  if (arText.size() > kMaxBytes) return Malformed(0, QStringLiteral("the manifest is larger than %1 bytes").arg(kMaxBytes));
  CTLineReader reader(arText);
  QByteArray line, value;
  QString problem;
  const auto next = [&]() { return reader.Next(line, problem); };

  if (!next()) return Malformed(reader.LineNumber(), problem);
  if (line != kFormatLine) return Malformed(reader.LineNumber(), QStringLiteral("not a release manifest of format 1"));

  if (!next()) return Malformed(reader.LineNumber(), problem);
  if (!Field(line, "program", value) || !IsValidProgram(QString::fromLatin1(value)))
    return Malformed(reader.LineNumber(), QStringLiteral("\"program\" and a plain file name expected"));
  manifest.szProgram = QString::fromLatin1(value);

  if (!next()) return Malformed(reader.LineNumber(), problem);
  if (!Field(line, "release", value) || !ReadRelease(value, manifest.nRelease))
    return Malformed(reader.LineNumber(), QStringLiteral("\"release\" and a version such as 7.3.0 expected"));

  if (!next()) return Malformed(reader.LineNumber(), problem);
  if (!Field(line, "issued", value) || !ReadTime(value, manifest.nIssued))
    return Malformed(reader.LineNumber(), QStringLiteral("\"issued\" and a time such as 2026-05-01T09:30:00Z expected"));

  if (!next()) return Malformed(reader.LineNumber(), problem);
  if (!Field(line, "expires", value) || !ReadTime(value, manifest.nExpires))
    return Malformed(reader.LineNumber(), QStringLiteral("\"expires\" and a time such as 2026-10-28T09:30:00Z expected"));
  if (manifest.nExpires <= manifest.nIssued)
    return Malformed(reader.LineNumber(), QStringLiteral("the manifest expires before it was issued"));

  // The file lines, then the key line; a text that ends at either is unsigned.
  for (;;) {
    if (reader.AtEnd()) return manifest.files.empty() ? Malformed(reader.LineNumber() + 1, QStringLiteral("no file line")) : Unsigned();
    if (!next()) return Malformed(reader.LineNumber(), problem);
    if (!Field(line, "file", value)) break;
    if (int(manifest.files.size()) >= kMaxFiles)
      return Malformed(reader.LineNumber(), QStringLiteral("more than %1 files").arg(kMaxFiles));
    LTReleaseFile file;
    if (!ReadFileLine(value, file, problem)) return Malformed(reader.LineNumber(), problem);
    if (!manifest.files.empty() && !(manifest.files.back().szName.toLatin1() < file.szName.toLatin1()))
      return Malformed(reader.LineNumber(), QStringLiteral("the names are not in ascending order, or one comes twice"));
    manifest.files.push_back(std::move(file));
  }
  if (manifest.files.empty()) return Malformed(reader.LineNumber(), QStringLiteral("no file line"));
  if (!manifest.Find(ListName(manifest.szProgram)))
    return Malformed(reader.LineNumber(), QStringLiteral("the versions list %1 is not among the files").arg(ListName(manifest.szProgram)));

  if (!Field(line, "key", value) || !ReadHex(value, kKeyIdBytes, manifest.arKeyId))
    return Malformed(reader.LineNumber(), QStringLiteral("\"file\" or \"key\" and 16 lower-case hex digits expected"));
  manifest.nSignedBytes = reader.Position();

  if (reader.AtEnd()) {
    manifest.arKeyId.clear();
    return Unsigned();
  }
  if (!next()) return Malformed(reader.LineNumber(), problem);
  if (!Field(line, "signature", value) || !ReadHex(value, kSignatureBytes, manifest.arSignature))
    return Malformed(reader.LineNumber(), QStringLiteral("\"signature\" and 128 lower-case hex digits expected"));
  if (!reader.AtEnd()) return Malformed(reader.LineNumber() + 1, QStringLiteral("text after the signature"));
  return {};
}

LTReleaseRefusal CTReleaseManifest::Check(const QByteArray& arText, const LTReleaseExpectation& expected,
                                          const std::vector<LTReleaseKey>& keys, LTReleaseManifest& manifest) {
  LTReleaseRefusal refusal = Read(arText, manifest);
  refusal.szFile = expected.szProgram.isEmpty() ? QString() : ManifestName(expected.szProgram);
  if (!refusal.Ok()) return refusal;

  const LTReleaseKey* signer = nullptr;
  for (const LTReleaseKey& key : keys)
    if (key.arPublic.size() == kPublicKeyBytes && KeyId(key.arPublic) == manifest.arKeyId) signer = &key;
  if (signer == nullptr) {
    refusal.problem = Problem::kUnknownKey;
    refusal.arKeyId = manifest.arKeyId;
    return refusal;
  }
  if (!VerifySignature(signer->arPublic, arText.left(manifest.nSignedBytes), manifest.arSignature)) {
    refusal.problem = Problem::kBadSignature;
    return refusal;
  }
  // From here on the manifest says what its signer wrote.
  if (!expected.szProgram.isEmpty() && manifest.szProgram.compare(expected.szProgram, Qt::CaseInsensitive) != 0) {
    refusal.problem = Problem::kOtherProgram;
    refusal.szDetail = manifest.szProgram;
    return refusal;
  }
  if (expected.nNow >= manifest.nExpires) {
    refusal.problem = Problem::kExpired;
    refusal.nExpires = manifest.nExpires;
    return refusal;
  }
  if (expected.nInstalledVersion > 0 && manifest.nRelease < expected.nInstalledVersion) {
    refusal.problem = Problem::kRolledBack;
    refusal.nRelease = manifest.nRelease;
    refusal.nInstalled = expected.nInstalledVersion;
    return refusal;
  }
  return {};
}

LTReleaseRefusal CTReleaseManifest::CheckFile(const LTReleaseManifest& manifest, const QString& szName,
                                              const QByteArray& arBytes) {
  LTReleaseRefusal refusal;
  refusal.szFile = szName;
  const LTReleaseFile* file = manifest.Find(szName);
  if (file == nullptr) {
    refusal.problem = Problem::kNotInRelease;
  } else if (arBytes.size() != file->nSize ||
             QCryptographicHash::hash(arBytes, QCryptographicHash::Sha256) != file->arSha256) {
    refusal.problem = Problem::kFileDiffers;
  }
  return refusal;
}

LTReleaseRefusal CTReleaseManifest::CheckLocalFile(const LTReleaseManifest& manifest, const QString& szName,
                                                   const QString& szPath) {
  LTReleaseRefusal refusal;
  refusal.szFile = szName;
  const LTReleaseFile* file = manifest.Find(szName);
  if (file == nullptr) {
    refusal.problem = Problem::kNotInRelease;
    return refusal;
  }
  QFile local(szPath);
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!local.open(QIODevice::ReadOnly) || local.size() != file->nSize || !hash.addData(&local) ||
      hash.result() != file->arSha256)
    refusal.problem = Problem::kFileDiffers;
  return refusal;
}

QByteArray CTReleaseManifest::SignedText(const LTReleaseManifest& manifest) {
  QByteArray text;
  text += QByteArray(kFormatLine) + '\n';
  text += "program " + manifest.szProgram.toLatin1() + '\n';
  text += "release " + ReleaseText(manifest.nRelease) + '\n';
  text += "issued " + TimeText(manifest.nIssued).toLatin1() + '\n';
  text += "expires " + TimeText(manifest.nExpires).toLatin1() + '\n';
  for (const LTReleaseFile& file : manifest.files)
    text += "file " + QByteArray::number(file.nSize) + ' ' + file.arSha256.toHex() + ' ' + file.szName.toLatin1() + '\n';
  text += "key " + manifest.arKeyId.toHex() + '\n';
  return text;
}

QByteArray CTReleaseManifest::Text(const LTReleaseManifest& manifest) {
  return SignedText(manifest) + "signature " + manifest.arSignature.toHex() + '\n';
}

bool CTReleaseManifest::VerifySignature(const QByteArray& arPublic, const QByteArray& arMessage,
                                        const QByteArray& arSignature) {
  if (arPublic.size() != kPublicKeyBytes || arSignature.size() != kSignatureBytes) return false;
  const std::unique_ptr<EVP_PKEY, EvpKeyFree> key(EVP_PKEY_new_raw_public_key(
      EVP_PKEY_ED25519, nullptr, reinterpret_cast<const unsigned char*>(arPublic.constData()), size_t(arPublic.size())));
  const std::unique_ptr<EVP_MD_CTX, EvpMdCtxFree> context(EVP_MD_CTX_new());
  if (!key || !context) return false;
  // Ed25519 hashes the message itself: no digest is named.
  if (EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1) return false;
  return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(arSignature.constData()),
                          size_t(arSignature.size()), reinterpret_cast<const unsigned char*>(arMessage.constData()),
                          size_t(arMessage.size())) == 1;
}

QByteArray CTReleaseManifest::KeyId(const QByteArray& arPublic) {
  return QCryptographicHash::hash(arPublic, QCryptographicHash::Sha256).left(kKeyIdBytes);
}

QString CTReleaseManifest::ListName(const QString& szProgram) {
  return QStringLiteral("versions/") + szProgram + QStringLiteral(".txt");
}

QString CTReleaseManifest::ManifestName(const QString& szProgram) {
  return QStringLiteral("versions/") + szProgram + QStringLiteral(".manifest");
}

QString CTReleaseManifest::DownloadName(const QString& szServerPath) {
  QString path = szServerPath;
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return QStringLiteral("files/") + path;
}

bool CTReleaseManifest::IsValidName(const QString& szName) {
  if (szName.isEmpty() || szName.size() > kMaxNameBytes) return false;
  for (const QString& segment : szName.split(QLatin1Char('/'))) {
    if (segment.isEmpty() || segment.startsWith(QLatin1Char('.'))) return false;
    for (const QChar c : segment)
      if (c.unicode() > 0x7e || !IsNameCharacter(char(c.unicode()))) return false;
  }
  return true;
}

bool CTReleaseManifest::IsValidProgram(const QString& szProgram) {
  return szProgram.size() <= kMaxProgramBytes && !szProgram.contains(QLatin1Char('/')) && IsValidName(szProgram);
}

QString CTReleaseManifest::TimeText(qint64 nSeconds) {
  return QDateTime::fromSecsSinceEpoch(nSeconds, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

bool CTReleaseManifest::ReadTime(const QByteArray& arText, qint64& nSeconds) {
  // YYYY-MM-DDTHH:MM:SSZ, every place fixed.
  static const char kPattern[] = "dddd-dd-ddTdd:dd:ddZ";
  if (arText.size() != qsizetype(sizeof(kPattern) - 1)) return false;
  for (qsizetype i = 0; i < arText.size(); ++i) {
    const char want = kPattern[i];
    if (want == 'd' ? !IsDigit(arText[i]) : arText[i] != want) return false;
  }
  const auto number = [&](int nFrom, int nLength) { return arText.mid(nFrom, nLength).toInt(); };
  const QDate date(number(0, 4), number(5, 2), number(8, 2));
  const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
  if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear || hour > 23 || minute > 59 || second > 59)
    return false;
  nSeconds = QDateTime(date, QTime(hour, minute, second), Qt::UTC).toSecsSinceEpoch();
  return true;
}
