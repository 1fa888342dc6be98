#include "i18n/BaseMsgMan.h"

#include "i18n/UnicodeGlossary.h"

#include <QTextStream>

#include <charconv>
#include <cmath>
#include <list>

namespace {

// The service's own texts, numbers -1 to -12 (entry -n - 1).
const char* const kServiceStrings[] = {
    "File $1 not found",
    "Unable to open file $1",
    "Unable to create file $1",
    "Read-only",
    "File has changed. Save changes first?",
    "$1 is not a valid integer number",
    "$1 is not a valid non-negative number",
    "$1 is not a valid positive number",
    "Uninstall",
    "$1 successfully uninstalled",
    "Are you sure you want to uninstall $1?",
    "You need administrator rights to uninstall $1. Only the user preferences are removed",
};
constexpr int kServiceCount = int(std::size(kServiceStrings));

// The registered ranges, searched from the front. The service's own range is
// there from the first use on.
std::list<CTStringObtain>& Ranges() {
  static std::list<CTStringObtain> ranges = [] {
    std::list<CTStringObtain> list;
    list.push_back({-kServiceCount, -1, [](int nMsgNr) {
                      return QString::fromUtf8(kServiceStrings[-nMsgNr - 1]);
                    }});
    return list;
  }();
  return ranges;
}

QChar g_decimalSeparator = QLatin1Char('.');

// Answers without a GUI: the message goes to the standard error stream and a
// question takes its most cautious answer.
class CTConsolePresenter final : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest& request) override {
    QTextStream err(stderr);
    const char* kind = request.v_dlgType == mtError     ? "Error"
                       : request.v_dlgType == mtWarning ? "Warning"
                                                        : "Information";
    if (request.v_dlgType != mtConfirmation) err << kind << ": ";
    err << request.v_text << Qt::endl;
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbAbort, mbIgnore, mbOK})
      if (HasButton(request.v_dlgBtns, b)) return ModalResultOf(b);
    return mrCancel;
  }
  bool EditString(const CTMessageRequest&, QString& szEditedValue) override {
    szEditedValue.clear();
    return false;
  }
};

IMessagePresenter* g_presenter = nullptr;

}  // namespace

int ModalResultOf(TMsgDlgBtn button) {
  switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
  }
  return mrNone;
}

// ---------------------------------------------------------------- texts

QString TBaseMsg::ReplaceParams(QString szText, const QStringList& pParams) {
  for (int i = 0; i < pParams.size(); ++i)
    szText.replace(QLatin1Char('$') + QString::number(i + 1, 16).toUpper(), pParams.at(i));
  return szText;
}

namespace {
const CTUnicodeGlossary* g_interfaceGlossary = nullptr;
}

void TBaseMsg::SetInterfaceGlossary(const CTUnicodeGlossary* pGlossary) { g_interfaceGlossary = pGlossary; }
const CTUnicodeGlossary* TBaseMsg::InterfaceGlossary() { return g_interfaceGlossary; }
QString TBaseMsg::Tr(const QString& szText) { return TranslatedText(g_interfaceGlossary, szText); }

QString TBaseMsg::GetUnicodeString(int nMsgNr, const QStringList& pParams) {
  if (nMsgNr == kLinesMsgNr) return pParams.join(QStringLiteral("\r\n"));
  for (const CTStringObtain& range : Ranges()) {
    if (nMsgNr < range.v_minIx || nMsgNr > range.v_maxIx) continue;
    return ReplaceParams(Tr(range.v_func(nMsgNr)), pParams);
  }
  return {};
}

QString TBaseMsg::GetUnicodeString(int nMsgNr, const QString& szParam) {
  return GetUnicodeString(nMsgNr, QStringList{szParam});
}

bool TBaseMsg::AddObtainStringFunc(MM_ObtainStringFunc pFunc, int nMinMsgNr, int nMaxMsgNr) {
  for (const CTStringObtain& range : Ranges()) {
    const auto inside = [&](int n) { return n >= range.v_minIx && n <= range.v_maxIx; };
    if (inside(nMinMsgNr) || inside(nMaxMsgNr)) return false;
  }
  Ranges().push_front({nMinMsgNr, nMaxMsgNr, std::move(pFunc)});
  return true;
}

// ---------------------------------------------------------------- dialogs

void TBaseMsg::SetPresenter(IMessagePresenter* pPresenter) { g_presenter = pPresenter; }

IMessagePresenter* TBaseMsg::Presenter() {
  static CTConsolePresenter console;
  return g_presenter ? g_presenter : &console;
}

int TBaseMsg::Show(QObject* pParent, int nType, TMsgDlgButtons pButtons, int nMsgNr, const QStringList& pParams) {
  CTMessageRequest request;
  request.pParent = pParent;
  request.v_dlgType = nType;
  request.v_dlgBtns = pButtons;
  request.v_msgNr = nMsgNr;
  request.v_params = pParams;
  request.v_text = GetUnicodeString(nMsgNr, pParams);
  return Presenter()->ShowMessage(request);
}

int TBaseMsg::DisplayQuestion(QObject* pParent, int nMsgNr, TMsgDlgButtons pButtons) {
  return Show(pParent, mtConfirmation, pButtons, nMsgNr, {});
}
int TBaseMsg::DisplayQuestion(QObject* pParent, int nMsgNr, const QStringList& pParams, TMsgDlgButtons pButtons) {
  return Show(pParent, mtConfirmation, pButtons, nMsgNr, pParams);
}
int TBaseMsg::DisplayQuestion(QObject* pParent, int nMsgNr, const QString& szParam, TMsgDlgButtons pButtons) {
  return Show(pParent, mtConfirmation, pButtons, nMsgNr, {szParam});
}
int TBaseMsg::DisplayQuestion(QObject* pParent, const QString& szMessage, TMsgDlgButtons pButtons) {
  return Show(pParent, mtConfirmation, pButtons, kLinesMsgNr, {szMessage});
}
int TBaseMsg::DisplayQuestion(QObject* pParent, const QStringList& pMessageLines, TMsgDlgButtons pButtons) {
  return Show(pParent, mtConfirmation, pButtons, kLinesMsgNr, pMessageLines);
}

#define AEROLITH_DISPLAY_FORMS(Name, Type)                                                \
  void TBaseMsg::Name(QObject* pParent, int nMsgNr, const QStringList& pParams) {         \
    Show(pParent, Type, MsgButtons({mbOK}), nMsgNr, pParams);                             \
  }                                                                                       \
  void TBaseMsg::Name(QObject* pParent, int nMsgNr, const QString& szParam) {             \
    Show(pParent, Type, MsgButtons({mbOK}), nMsgNr, {szParam});                           \
  }                                                                                       \
  void TBaseMsg::Name(QObject* pParent, const QString& szMessage) {                       \
    Show(pParent, Type, MsgButtons({mbOK}), kLinesMsgNr, {szMessage});                    \
  }                                                                                       \
  void TBaseMsg::Name(QObject* pParent, const QStringList& pMessageLines) {               \
    Show(pParent, Type, MsgButtons({mbOK}), kLinesMsgNr, pMessageLines);                  \
  }
AEROLITH_DISPLAY_FORMS(DisplayError, mtError)
AEROLITH_DISPLAY_FORMS(DisplayWarning, mtWarning)
AEROLITH_DISPLAY_FORMS(DisplayHint, mtInformation)
#undef AEROLITH_DISPLAY_FORMS

bool TBaseMsg::DisplayEditString(QObject* pParent, int nCaptionMsgNr, int nMsgNr, const QString& szDefaultValue,
                                 QString& szEditedValue, bool bEditAllowEmpty, bool bEditNumericOnly,
                                 bool bEditIntegerOnly, bool bEditAllowNegative, bool bEditAllowZero) {
  return DisplayEditString(pParent, nCaptionMsgNr, {}, nMsgNr, {}, szDefaultValue, szEditedValue,
                           {bEditAllowEmpty, bEditNumericOnly, bEditIntegerOnly, bEditAllowNegative,
                            bEditAllowZero});
}

bool TBaseMsg::DisplayEditString(QObject* pParent, int nCaptionMsgNr, const QStringList& pCaptionParams,
                                 int nMsgNr, const QStringList& pParams, const QString& szDefaultValue,
                                 QString& szEditedValue, const CTEditRules& rules) {
  CTMessageRequest request;
  request.pParent = pParent;
  request.v_dlgBtns = MsgButtons({mbOK, mbCancel});
  request.v_msgNr = nMsgNr;
  request.v_params = pParams;
  request.v_text = GetUnicodeString(nMsgNr, pParams);
  request.v_forEdit = true;
  request.v_captionMsgNr = nCaptionMsgNr;
  request.v_captionParams = pCaptionParams;
  request.v_captionText = GetUnicodeString(nCaptionMsgNr, pCaptionParams);
  request.v_defaultValue = szDefaultValue;
  request.v_rules = rules;
  QString szValue;
  if (!Presenter()->EditString(request, szValue)) {
    szEditedValue.clear();
    return false;
  }
  szEditedValue = szValue.trimmed();
  return true;
}

bool TBaseMsg::EditOkEnabled(const QString& szText, const CTEditRules& rules) {
  return rules.bEditAllowEmpty || !szText.trimmed().isEmpty();
}

int TBaseMsg::CheckEditValue(const QString& szText, const CTEditRules& rules) {
  if (!rules.bEditNumericOnly || !rules.bEditIntegerOnly) return 0;
  const QString szTrimmed = szText.trimmed();
  bool bInteger = false;
  szTrimmed.toLongLong(&bInteger);
  if (!bInteger) return -6;
  const double nValue = Str2Number(szTrimmed);
  if (!rules.bEditAllowNegative && nValue < 0) return rules.bEditAllowZero ? -7 : -8;
  if (!rules.bEditAllowZero && nValue == 0) return -8;
  return 0;
}

// ---------------------------------------------------------------- numbers

QChar TBaseMsg::DecimalSeparator() { return g_decimalSeparator; }
void TBaseMsg::SetDecimalSeparator(QChar cSeparator) { g_decimalSeparator = cSeparator; }

bool TBaseMsg::TryParseNumber(const QString& szValue, double& nValue) {
  // Accepted: [sign] digits [sep digits] [(e|E) [sign] digits], with at least
  // one digit in the mantissa.
  QByteArray text = szValue.trimmed().toLatin1();
  for (char& c : text)
    if (c == ',') c = '.';
  if (text.startsWith('+')) text.remove(0, 1);
  if (text.isEmpty()) return false;
  for (char c : text)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return false;  // keeps "inf" and "nan" out
  double value = 0;
  const auto [end, ec] = std::from_chars(text.constData(), text.constData() + text.size(), value);
  if (ec != std::errc() || end != text.constData() + text.size() || !std::isfinite(value)) return false;
  nValue = value;
  return true;
}

double TBaseMsg::Str2Number(const QString& szValue) {
  QString szText = szValue.trimmed();
  szText.replace(QLatin1Char(' '), QLatin1Char('0'));
  double nValue = 0;
  return TryParseNumber(szText, nValue) ? nValue : 0.0;
}

namespace {

QString WithSeparator(QString szText) {
  const qsizetype i = szText.indexOf(QLatin1Char('.'));
  if (i >= 0) szText[i] = TBaseMsg::DecimalSeparator();
  return szText;
}

bool IsNegativeZeroText(const QString& szText) {
  if (!szText.startsWith(QLatin1Char('-'))) return false;
  for (QChar c : szText.mid(1))
    if (c != QLatin1Char('0') && c != QLatin1Char('.')) return false;
  return true;
}

}  // namespace

QString TBaseMsg::FormatFixed(double nValue, int nDigits) {
  if (!std::isfinite(nValue)) return std::isnan(nValue) ? QStringLiteral("NAN") : nValue > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  nDigits = std::clamp(nDigits, 0, 30);
  // to_chars rounds the exact binary value, ties to even, and ignores the
  // process locale.
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, nValue, std::chars_format::fixed, nDigits);
  QString szText = QString::fromLatin1(buf, res.ptr - buf);
  if (IsNegativeZeroText(szText)) szText.remove(0, 1);
  return szText;
}

QString TBaseMsg::Number2FmtStr(double nValue, int nWidth, int nDigits) {
  QString szText;
  if (nDigits >= 0 || !std::isfinite(nValue)) {
    szText = FormatFixed(nValue, nDigits);
  } else {
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, nValue, std::chars_format::scientific, std::min(-nDigits, 17));
    szText = QString::fromLatin1(buf, res.ptr - buf).toUpper();
  }
  return WithSeparator(szText).rightJustified(nWidth, QLatin1Char(' '));
}

QString TBaseMsg::Number2Str(double nValue, int nPrecision) { return WithSeparator(FormatGeneral(nValue, nPrecision)); }

QString TBaseMsg::FormatGeneral(double nValue, int nPrecision) {
  if (!std::isfinite(nValue)) return FormatFixed(nValue, 0);
  nPrecision = std::clamp(nPrecision, 1, 17);
  if (nValue == 0) return QStringLiteral("0");
  // Round to nPrecision significant digits first, then choose the notation:
  // fixed while the integer digits fit in the precision and the value is not
  // tiny, else scientific; trailing zeros go.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, nValue, std::chars_format::scientific, nPrecision - 1);
  const QString szSci = QString::fromLatin1(buf, res.ptr - buf);
  const qsizetype e = szSci.indexOf(QLatin1Char('e'));
  const int nExponent = szSci.mid(e + 1).toInt();
  const double nRounded = szSci.toDouble();
  QString szText;
  if (nExponent < nPrecision && std::fabs(nRounded) >= 1e-5) {
    szText = FormatFixed(nRounded, std::max(0, nPrecision - 1 - nExponent));
    if (szText.contains(QLatin1Char('.'))) {
      while (szText.endsWith(QLatin1Char('0'))) szText.chop(1);
      if (szText.endsWith(QLatin1Char('.'))) szText.chop(1);
    }
  } else {
    QString szMantissa = szSci.left(e);
    if (szMantissa.contains(QLatin1Char('.'))) {
      while (szMantissa.endsWith(QLatin1Char('0'))) szMantissa.chop(1);
      if (szMantissa.endsWith(QLatin1Char('.'))) szMantissa.chop(1);
    }
    szText = szMantissa + QLatin1Char('E') + QString::number(nExponent);
  }
  return szText;
}

QString TBaseMsg::CheckNumber(const QString& szValue) {
  const QChar sep = DecimalSeparator();
  QString szOut;
  bool bSeenSinceStart = false;  // digit, sign, separator or exponent since the start or the exponent letter
  bool bSeenDigit = false;
  bool bSeenSeparator = false;
  bool bSeenExponent = false;
  for (QChar c : szValue) {
    if (c == QLatin1Char(' ')) continue;
    if (c == sep) c = QLatin1Char('.');
    if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
      szOut += bSeenSinceStart ? QLatin1Char('0') : c;
      bSeenSinceStart = true;
    } else if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
      const bool bAccept = !bSeenSeparator && !bSeenExponent;
      szOut += bAccept ? sep : QLatin1Char('0');
      bSeenSeparator = true;
      bSeenSinceStart = true;
    } else if (c.isDigit() && c.unicode() < 128) {
      szOut += c;
      bSeenDigit = true;
      bSeenSinceStart = true;
    } else if (c == QLatin1Char('D') || c == QLatin1Char('E') || c == QLatin1Char('d') || c == QLatin1Char('e')) {
      if (bSeenExponent || !bSeenDigit) {
        szOut += QLatin1Char('0');
        bSeenSinceStart = true;
      } else {
        szOut += QLatin1Char('E');
        bSeenExponent = true;
        bSeenSinceStart = false;  // a sign may follow the exponent letter
      }
    } else {
      szOut += QLatin1Char('0');
      bSeenDigit = true;
      bSeenSinceStart = true;
    }
  }
  return szOut;
}

QString TBaseMsg::ReducedFileName(const QString& szFileName) {
  // Windows paths use "\", ours "/": the first separator found is the one used.
  const qsizetype firstBack = szFileName.indexOf(QLatin1Char('\\'));
  const qsizetype firstSlash = szFileName.indexOf(QLatin1Char('/'));
  qsizetype first = firstBack;
  if (first < 0 || (firstSlash >= 0 && firstSlash < first)) first = firstSlash;
  if (szFileName.size() <= 30 || first < 0) return szFileName;
  const QChar sep = szFileName.at(first);
  QString szResult = szFileName.left(first + 1);
  const qsizetype next = szFileName.indexOf(sep, first + 1);
  const qsizetype last = szFileName.lastIndexOf(sep);
  if (next >= 0) szResult += szFileName.mid(first + 1, next - first);
  return szResult + QStringLiteral("...") + sep + szFileName.mid(last + 1);
}
