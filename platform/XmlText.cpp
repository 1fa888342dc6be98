#include "platform/XmlText.h"

#include <algorithm>

namespace {

bool IsXmlChar(char32_t cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
         (cp >= 0x10000 && cp <= 0x10FFFF);
}

}  // namespace

QString CTXmlText::XMLSafeString(const QString& szStr) {
  QString out;
  out.reserve(szStr.size());
  for (qsizetype i = 0; i < szStr.size(); ++i) {
    // One code point; a lone surrogate counts as U+FFFF, which XML does not allow.
    char32_t cp = szStr.at(i).unicode();
    if (QChar::isHighSurrogate(cp) && i + 1 < szStr.size() && szStr.at(i + 1).isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(szStr.at(i), szStr.at(i + 1));
      ++i;
    } else if (QChar::isSurrogate(cp)) {
      cp = 0xFFFF;
    }
    if (cp >= 32 && cp <= 126 && cp != '<' && cp != '"' && cp != '&')
      out += QChar(static_cast<char16_t>(cp));
    else if (IsXmlChar(cp))
      out += QStringLiteral("&#%1;").arg(static_cast<uint>(cp));
  }
  return out;
}

QString CTXmlText::ReplaceCharacterRefs(const QString& szStr) {
  static const std::pair<const char*, char16_t> kNamed[] = {
      {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}};
  constexpr qsizetype kLongestReference = 10;  // "&#1114111;"
  QString out;
  out.reserve(szStr.size());
  qsizetype i = 0;
  while (i < szStr.size()) {
    const QChar c = szStr.at(i);
    const qsizetype end = c == u'&' ? szStr.indexOf(u';', i + 1) : -1;
    if (end < 0 || end - i > kLongestReference) {
      out += c;
      ++i;
      continue;
    }
    const QStringView name = QStringView(szStr).mid(i + 1, end - i - 1);
    bool replaced = false;
    for (const auto& [text, ch] : kNamed)
      if (name == QLatin1String(text)) {
        out += QChar(ch);
        replaced = true;
      }
    if (!replaced && name.startsWith(u'#') && name.size() > 1) {
      bool ok = false;
      const uint cp = name.mid(1).toUInt(&ok, 10);
      const bool digitsOnly = std::all_of(name.begin() + 1, name.end(), [](QChar d) { return d.isDigit(); });
      if (ok && digitsOnly && IsXmlChar(cp)) {
        const char32_t code = cp;
        out += QString::fromUcs4(&code, 1);
        replaced = true;
      }
    }
    if (replaced) {
      i = end + 1;
    } else {
      out += c;  // not a reference: the text stays as it is
      ++i;
    }
  }
  return out;
}

