#include "i18n/UnicodeGlossary.h"

bool CTUnicodeGlossary::FindTranslationFor(const QString& szText, bool bCaseSensitive, QString& szTranslation) const {
  const QStringList* translations = nullptr;
  auto it = v_terms.constFind(szText);
  if (it != v_terms.constEnd()) {
    translations = &it.value();
  } else if (!bCaseSensitive) {
    for (auto i = v_terms.constBegin(); i != v_terms.constEnd(); ++i)
      if (i.key().compare(szText, Qt::CaseInsensitive) == 0) {
        translations = &i.value();
        break;
      }
  }
  if (!translations || translations->size() != 1 || translations->first().isEmpty()) return false;
  szTranslation = translations->first();
  return true;
}

void CTUnicodeGlossary::AddTerm(const QString& szTerm, const QString& szTranslation) {
  auto it = v_terms.find(szTerm);
  if (it == v_terms.end()) {
    v_order.append(szTerm);
    it = v_terms.insert(szTerm, {});
  }
  if (!szTranslation.isEmpty() && !it->contains(szTranslation)) it->append(szTranslation);
}

void CTUnicodeGlossary::AddTermNoNonsense(const QString& szTerm) {
  if (v_terms.contains(szTerm)) return;
  v_order.append(szTerm);
  v_terms.insert(szTerm, {});
}
