// The texts of the server scripts: the escaping of what we send and the
// attribute reader of what they answer. Apart from the transfers so that the
// fuzz target takes them without the network.

#include "online/CorvelIntegration.h"

#include "platform/XmlText.h"

QString CTCorvelIntegration::XMLSafeString(const QString& szStr) { return CTXmlText::XMLSafeString(szStr); }

namespace {

// The character of a reference's number: decimal, or hexadecimal after "x",
// "X" or "$"; 0 for no valid character.
char32_t ReferencedCharacter(const QString& szNumber) {
  bool ok = false;
  uint code = 0;
  if (szNumber.startsWith(QLatin1Char('x')) || szNumber.startsWith(QLatin1Char('X')) ||
      szNumber.startsWith(QLatin1Char('$')))
    code = szNumber.mid(1).toUInt(&ok, 16);
  else
    code = szNumber.toUInt(&ok, 10);
  if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return code;
}

}  // namespace

bool CTCorvelIntegration::GetXMLAttributeValue(const QString& szString, const QString& szKey, QString& szValue) {
  szValue.clear();
  const QString opening = szKey + QStringLiteral("=\"");
  const qsizetype at = szString.indexOf(opening);
  if (at < 0) return false;
  const qsizetype start = at + opening.size();
  const qsizetype end = szString.indexOf(QLatin1Char('"'), start);
  if (end < 0) return false;
  const QString raw = szString.mid(start, end - start);
  // One pass from left to right: what a reference stands for is never read
  // again, so a value escaped once reads back as it was ("&#38;#65;" is
  // "&#65;", not "A"). The first reference that does not read ends the
  // reading of references; "&amp;" is read to the end.
  QString value;
  value.reserve(raw.size());
  bool readReferences = true;
  qsizetype i = 0;
  while (i < raw.size()) {
    if (QStringView(raw).mid(i).startsWith(QLatin1String("&amp;"))) {
      value += QLatin1Char('&');
      i += 5;
      continue;
    }
    if (readReferences && QStringView(raw).mid(i).startsWith(QLatin1String("&#"))) {
      const qsizetype semicolon = raw.indexOf(QLatin1Char(';'), i + 2);
      const char32_t code = semicolon > i + 2 ? ReferencedCharacter(raw.mid(i + 2, semicolon - i - 2)) : 0;
      if (code != 0) {
        value += QString::fromUcs4(&code, 1);
        i = semicolon + 1;
        continue;
      }
      readReferences = false;
    }
    value += raw.at(i);
    ++i;
  }
  szValue = value;
  return true;
}

