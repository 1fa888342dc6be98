#pragma once
// CTCorvelIntegration: the program's transfers with its download server and
// the questions it asks the program-information service.
//
// Wire rules shared by every request:
//   - URL: "http://" host [":" port, unless 80] "/" relative URL; a mirror
//     set to HTTPS gives "https://" host [":" port, unless 443] "/" ...
//   - Query values are percent-encoded (Query); "/" and "." stay as they are,
//     so "file=docs/manual.pdf" goes out as it reads.
//   - Byte texts of the server are ISO 8859-1: each byte one character.
//   - The program is "Aerolith.exe" on the wire, whatever the local
//     executable is called.
// Nothing here raises or shows a message: failures answer false, none, 0 or
// a result code, and the windows word them.

#include <QByteArray>
#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>


class CTCorvelSvc;

// Bytes of the running download and the size the server announced.
using CTCorvelDownloadProgressIndicator = std::function<void(quint32 nProgress, quint32 nProgressMax)>;

// The filter between the transfer's progress and the caller's indicator: a
// call passes only when both counts are above 0 and the received count does
// not exceed the announced one.
class CTMyBSClass {
 public:
  explicit CTMyBSClass(CTCorvelDownloadProgressIndicator progIndic) : v_progIndic(std::move(progIndic)) {}
  void OnProgress(qint64 ulProgress, qint64 ulProgressMax) const;

 private:
  CTCorvelDownloadProgressIndicator v_progIndic;
};

class CTCorvelIntegration {
 public:
  static constexpr const char* kProgramFileName = "Aerolith.exe";
  static constexpr qint64 kMaxStringAnswer = 4 * 1024 * 1024;
  static constexpr int kStringTimeoutMs = 5000;     // string downloads, whole
  static constexpr int kDownloadIdleMs = 15000;     // file transfers, without a byte
  static constexpr qint64 kMaxFileSize = 0xFFFFFFFFLL;  // sizes travel as 32-bit counts

  // Results of GetFileFromInternet.
  enum TFileResult { kFileOk = 0, kFileFailed = 1, kFileMissing = 2, kFileSizeDiffers = 3 };

  // --- URLs ---
  static QString MakeCompleteHttpURL(const QString& szServerName, int nServerHttpPort, const QString& szRelativeURL);
  // The same for a scheme, "http" or "https"; the port is written unless it
  // is the scheme's own.
  static QString MakeCompleteURL(const QString& szScheme, const QString& szServerName, int nPort,
                                 const QString& szRelativeURL);
  // The URL of a relative URL on a server number's server; empty when the
  // number has no server.
  static QString ServerURL(int nServerID, const QString& szRelativeURL);
  // "name=value&..." with every value percent-encoded.
  static QString Query(std::initializer_list<std::pair<const char*, QString>> values);

  // --- transfers ---
  // The answer of a server script as text, byte per character. False and an
  // empty text on any failure (no server, not 2xx, over 4 MiB, over 5 s).
  static bool GetStringFromInternet(int nCorvelServerID, const QString& szScriptRelativeURL, QString& szReadStr);
  // Fetches a server-relative file into szLocalFileName through the download
  // script. The file is written aside and takes its name only when whole and
  // of the expected size (nExpectedSize 0 takes any size); otherwise the
  // local file is left as it was. nFoundSize is the count of bytes received.
  static TFileResult GetFileFromInternet(int nCorvelServerID, const QString& szFileRelativeURL,
                                         const QString& szLocalFileName, quint32 nExpectedSize, quint32& nFoundSize,
                                         const CTCorvelDownloadProgressIndicator& pProgIndic = {});
  // Posts a file to the server's receiving script under a plain target name;
  // true only when the server answered 200. An empty or unreadable file is
  // false.
  static bool SaveFileToInternet(int nCorvelServerID, const QString& szFileRelativeURL,
                                 const QString& szLocalFileName);

  // --- texts of the server scripts ---
  static QString XMLSafeString(const QString& szStr);
  // The value of the first szKey="..." in the text, "&amp;" and numeric
  // references resolved; false and empty when there is none.
  static bool GetXMLAttributeValue(const QString& szString, const QString& szKey, QString& szValue);

  // --- structure versions carried as resources ---
  static QString GetCentralDbStructureVersionFromResource();
  static QString GetCompanyDbStructureVersionFromResource();
  // The rule on the resource's bytes: at most 200 bytes; the text after the
  // last blank, cut at the first line end (CR or LF) from its second
  // character on.
  static QString StructureVersionFromText(const QByteArray& arText);

  // --- questions to the program-information service (none value on failure) ---
  // The forms without a program number ask the service for it first; a
  // caller with several questions asks IdentifyProgram once and passes the
  // number on, so that each question costs one exchange.
  static int IdentifyProgram();  // the service's number of this program; 0 unknown
  // Over a client the caller made (on another thread, say), so that its
  // later questions share the client's deadline.
  static int IdentifyProgram(CTCorvelSvc& service);
  static int HasUpgrades(int nLanguageID, int nProgramVersion, int nDataVersion, int nGlossaryDate);
  // The server-relative path of the user's manual in a language.
  static bool HasUsersManual(int nLanguageID, QString& szFileName);
  static bool HasUsersManual(int nProgramID, int nLanguageID, QString& szFileName);
  // The release notes as the service holds them (rich text or plain text;
  // a view shows them through CTRTFReader::ReadRichOrPlain).
  static bool ReleaseNotes(QByteArray& arNotes);
  static bool ReleaseNotes(int nProgramID, QByteArray& arNotes);
};
