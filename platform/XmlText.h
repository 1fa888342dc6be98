#pragma once
// CTXmlText: the one escaping of text for XML that every writer of ours
// uses (spreadsheets, glossaries, the translation approval, the texts sent
// to the download server).
//
// XMLSafeString keeps printable ASCII (0x20 to 0x7E) except '"', '&' and
// '<', and writes every other character as "&#" + its code point in
// decimal + ";" ("a<b" -> "a&#60;b", "é" -> "&#233;", a pair of surrogates
// -> one reference). A character XML does not allow (a control character
// other than tab, LF and CR, a lone surrogate, U+FFFE/U+FFFF) is left out:
// no XML reader would accept its reference.

#include <QString>

class CTXmlText {
 public:
  static QString XMLSafeString(const QString& szStr);
  // The inverse: "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and "&#N;"
  // (also above U+FFFF). A reference that does not parse to a character XML
  // allows is kept as it stands.
  static QString ReplaceCharacterRefs(const QString& szStr);
};
