#pragma once
// The message service. Every text shown outside a form's own captions is a
// numbered message: a number is resolved by the first registered range that
// holds it, and $1, $2, ... are replaced by parameters. Dialogs are shown
// through a presenter, so this library needs no GUI: the program installs a
// Qt presenter, the command line and tests their own.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

using MM_ObtainStringFunc = std::function<QString(int nMsgNr)>;

// One registered range of message numbers, bounds inclusive.
struct CTStringObtain {
  int v_minIx = 0;
  int v_maxIx = -1;
  MM_ObtainStringFunc v_func;
};

// Kinds of message dialog; the values are those the message table's users pass.
enum TMsgDlgType : int {
  mtError = 16,
  mtConfirmation = 32,
  mtWarning = 48,
  mtInformation = 64,
};

// Buttons of a message dialog; a button set has bit (1 << button) per button.
enum TMsgDlgBtn : int {
  mbYes = 0,
  mbNo = 1,
  mbOK = 2,
  mbCancel = 3,
  mbAbort = 4,
  mbRetry = 5,
  mbIgnore = 6,
  mbAll = 7,
  mbNoToAll = 8,
  mbYesToAll = 9,
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons MsgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
  TMsgDlgButtons set = 0;
  for (TMsgDlgBtn b : buttons) set |= 1u << b;
  return set;
}
constexpr bool HasButton(TMsgDlgButtons set, TMsgDlgBtn b) { return (set >> b) & 1u; }

// Modal results of the dialogs.
enum TModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 12,
  mrNoToAll = 13,
  mrYesToAll = 14,
};
int ModalResultOf(TMsgDlgBtn button);

// Input rules of the text-input dialog.
struct CTEditRules {
  bool bEditAllowEmpty = false;
  bool bEditNumericOnly = false;
  bool bEditIntegerOnly = false;
  bool bEditAllowNegative = false;
  bool bEditAllowZero = false;
};

// Everything a presenter needs to show one dialog; texts are resolved already.
struct CTMessageRequest {
  QObject* pParent = nullptr;
  int v_dlgType = mtInformation;
  TMsgDlgButtons v_dlgBtns = 0;
  int v_msgNr = 0;
  QStringList v_params;
  QString v_text;  // the resolved message
  // input dialog only
  bool v_forEdit = false;
  int v_captionMsgNr = 0;
  QStringList v_captionParams;
  QString v_captionText;
  QString v_defaultValue;
  CTEditRules v_rules;
};

class CTUnicodeGlossary;

class IMessagePresenter {
 public:
  virtual ~IMessagePresenter() = default;
  // Shows a message dialog modally and answers its modal result.
  virtual int ShowMessage(const CTMessageRequest& request) = 0;
  // Shows the input dialog; true with the trimmed text when closed with OK.
  virtual bool EditString(const CTMessageRequest& request, QString& szEditedValue) = 0;
};

class TBaseMsg {
 public:
  // The pseudo-number whose text is its parameters, one per line.
  static constexpr int kLinesMsgNr = -100;

  // --- texts ---
  // Messages and the program's other texts are shown translated through the
  // interface glossary when it has exactly one translation of the English
  // text (placeholders are replaced afterwards); none: English.
  static void SetInterfaceGlossary(const CTUnicodeGlossary* pGlossary);
  static const CTUnicodeGlossary* InterfaceGlossary();
  static QString Tr(const QString& szText);
  // The same for a literal of the source, read as UTF-8.
  static QString Tr(const char* szText) { return Tr(QString::fromUtf8(szText)); }
  static QString GetUnicodeString(int nMsgNr, const QStringList& pParams = {});
  static QString GetUnicodeString(int nMsgNr, const QString& szParam);
  // Replaces $1, $2, ... $A ... (parameter numbers in upper-case hexadecimal)
  // in parameter order.
  static QString ReplaceParams(QString szText, const QStringList& pParams);
  // Registers a range in front of the others unless a bound lies in a range
  // already registered; answers whether it was registered.
  static bool AddObtainStringFunc(MM_ObtainStringFunc pFunc, int nMinMsgNr, int nMaxMsgNr);

  // --- dialogs (never throw; without a presenter they go to the fallback) ---
  static void SetPresenter(IMessagePresenter* pPresenter);
  static IMessagePresenter* Presenter();

  static int DisplayQuestion(QObject* pParent, int nMsgNr, TMsgDlgButtons pButtons);
  static int DisplayQuestion(QObject* pParent, int nMsgNr, const QStringList& pParams, TMsgDlgButtons pButtons);
  static int DisplayQuestion(QObject* pParent, int nMsgNr, const QString& szParam, TMsgDlgButtons pButtons);
  static int DisplayQuestion(QObject* pParent, const QString& szMessage, TMsgDlgButtons pButtons);
  static int DisplayQuestion(QObject* pParent, const QStringList& pMessageLines, TMsgDlgButtons pButtons);

  static void DisplayError(QObject* pParent, int nMsgNr, const QStringList& pParams = {});
  static void DisplayError(QObject* pParent, int nMsgNr, const QString& szParam);
  static void DisplayError(QObject* pParent, const QString& szMessage);
  static void DisplayError(QObject* pParent, const QStringList& pMessageLines);
  static void DisplayWarning(QObject* pParent, int nMsgNr, const QStringList& pParams = {});
  static void DisplayWarning(QObject* pParent, int nMsgNr, const QString& szParam);
  static void DisplayWarning(QObject* pParent, const QString& szMessage);
  static void DisplayWarning(QObject* pParent, const QStringList& pMessageLines);
  static void DisplayHint(QObject* pParent, int nMsgNr, const QStringList& pParams = {});
  static void DisplayHint(QObject* pParent, int nMsgNr, const QString& szParam);
  static void DisplayHint(QObject* pParent, const QString& szMessage);
  static void DisplayHint(QObject* pParent, const QStringList& pMessageLines);

  static bool DisplayEditString(QObject* pParent, int nCaptionMsgNr, int nMsgNr, const QString& szDefaultValue,
                                QString& szEditedValue, bool bEditAllowEmpty, bool bEditNumericOnly,
                                bool bEditIntegerOnly, bool bEditAllowNegative, bool bEditAllowZero);
  static bool DisplayEditString(QObject* pParent, int nCaptionMsgNr, const QStringList& pCaptionParams,
                                int nMsgNr, const QStringList& pParams, const QString& szDefaultValue,
                                QString& szEditedValue, const CTEditRules& rules);

  // Rules of the input dialog: whether OK may be pressed for this text, and
  // the message number that refuses it on OK (0 when it is accepted).
  static bool EditOkEnabled(const QString& szText, const CTEditRules& rules);
  static int CheckEditValue(const QString& szText, const CTEditRules& rules);

  // --- numbers (independent of the process locale) ---
  // The decimal separator of numbers shown to the user; "." unless the
  // locale choice sets another.
  static QChar DecimalSeparator();
  static void SetDecimalSeparator(QChar cSeparator);

  static double Str2Number(const QString& szValue);
  static QString Number2Str(double nValue, int nPrecision);
  static QString Number2FmtStr(double nValue, int nWidth, int nDigits);
  static QString CheckNumber(const QString& szValue);
  static QString ReducedFileName(const QString& szFileName);

  // Strict conversion of a number text with "." or "," as separator;
  // false for anything that is not a finite number.
  static bool TryParseNumber(const QString& szValue, double& nValue);
  // General format with nPrecision significant digits and "." as separator:
  // plain notation while the exponent lies in -5 .. nPrecision - 1, else
  // mantissa, "E", exponent ("1.5E-7", "1E20"); "NAN", "INF", "-INF".
  static QString FormatGeneral(double nValue, int nPrecision);
  // Fixed notation with nDigits decimals, rounded half to even, "." as
  // separator, never "-0".
  static QString FormatFixed(double nValue, int nDigits);
  // The same with the decimal separator of numbers shown to the user: for
  // the screen and documents, never for files read by programs.
  static QString FormatShown(double nValue, int nDigits) { return Number2FmtStr(nValue, 0, nDigits); }

 private:
  static int Show(QObject* pParent, int nType, TMsgDlgButtons pButtons, int nMsgNr, const QStringList& pParams);
};
