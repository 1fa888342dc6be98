#include "i18n/UnicodeGlossary.h"

#include <QSet>
#include <algorithm>

bool CTUnicodeGlosTerm::GetTranslationIfEqualsTerm(QString& szTxt) const {
  if (szTxt != v_term) return false;
  szTxt = v_translation;
  return true;
}

bool CTUnicodeGlosTerm::TermLT(const CTUnicodeGlosTerm& t1, const CTUnicodeGlosTerm& t2) {
  return QStringView(t1.v_term).compare(t2.v_term, Qt::CaseSensitive) < 0;
}

// ---------------------------------------------------------------- buckets

int CTUnicodeGlossary::BucketOf(char16_t nCh) {
  if (nCh >= u'a' && nCh <= u'z') return nCh - u'a' + u'A';
  return nCh;
}

CTUnicodeGlossary::TLetterEntry& CTUnicodeGlossary::GetLetterEntry(char16_t nCh) {
  const size_t bucket = size_t(BucketOf(nCh));
  if (bucket >= v_letterEntries.size()) v_letterEntries.resize(bucket + 1);
  return v_letterEntries[bucket];
}

const CTUnicodeGlossary::TLetterEntry* CTUnicodeGlossary::FindLetterEntry(const QString& szTerm) const {
  if (szTerm.isEmpty()) return nullptr;
  const size_t bucket = size_t(BucketOf(szTerm.front().unicode()));
  return bucket < v_letterEntries.size() ? &v_letterEntries[bucket] : nullptr;
}

int CTUnicodeGlossary::EntryCount() const {
  size_t count = 0;
  for (const TLetterEntry& entry : v_letterEntries) count += entry.size();
  return int(count);
}

void CTUnicodeGlossary::SetTargetLanguage(unsigned nLangID) {
  if (nLangID == v_targetLanguage) return;
  v_targetLanguage = nLangID;
  v_changed = true;
}

int CTUnicodeGlossary::GetChangedDate() const {
  bool ok = false;
  const int date = v_languageNameOrChangedDate.toInt(&ok, 10);
  return ok ? date : 0;
}

void CTUnicodeGlossary::SetChangedDate(int nValue) { v_languageNameOrChangedDate = QString::number(nValue); }

void CTUnicodeGlossary::Sort() {
  for (TLetterEntry& entry : v_letterEntries)
    std::stable_sort(entry.begin(), entry.end(),
                     [](const auto& a, const auto& b) { return CTUnicodeGlosTerm::TermLT(*a, *b); });
}

void CTUnicodeGlossary::Purge() {
  v_letterEntries.clear();
  v_targetLanguage = 0;
  v_changed = false;
}

// ---------------------------------------------------------------- lookup

QStringList CTUnicodeGlossary::TranslationsFor(const QString& szTerm) const {
  QStringList translations;
  const TLetterEntry* entry = FindLetterEntry(szTerm);
  if (!entry) return translations;
  for (const auto& term : *entry)
    if (term->v_term == szTerm) translations << term->v_translation;
  return translations;
}

QString CTUnicodeGlossary::FindTranslationFor(const QString& szTerm) const {
  const TLetterEntry* entry = FindLetterEntry(szTerm);
  if (!entry) return {};
  for (const auto& term : *entry)
    if (term->v_term == szTerm) return term->v_translation;
  return {};
}

QString CTUnicodeGlossary::Translated(const QString& szText) const {
  const QStringList translations = TranslationsFor(szText);
  if (translations.size() != 1 || translations.front().isEmpty()) return szText;
  return translations.front();
}

bool CTUnicodeGlossary::FindTranslationFor(const QString& szText, bool bCaseSensitive, QString& szTranslation) const {
  if (szText.isEmpty()) return false;
  QStringList translations = TranslationsFor(szText);
  if (translations.isEmpty() && !bCaseSensitive) {
    // The first letter may differ in case beyond ASCII as well: every bucket.
    for (const TLetterEntry& entry : v_letterEntries)
      for (const auto& term : entry)
        if (term->v_term.compare(szText, Qt::CaseInsensitive) == 0) translations << term->v_translation;
  }
  if (translations.size() != 1 || translations.front().isEmpty()) return false;
  szTranslation = translations.front();
  return true;
}

bool CTUnicodeGlossary::TermExists(const QString& szTerm, const QString& szTranslation, bool& bIdentical) const {
  const QStringList translations = TranslationsFor(szTerm);
  bIdentical = translations.size() == 1 && translations.front() == szTranslation;
  return !translations.isEmpty();
}

QStringList CTUnicodeGlossary::Terms() const {
  QStringList terms;
  QSet<QString> seen;
  for (const TLetterEntry& entry : v_letterEntries)
    for (const auto& term : entry)
      if (!seen.contains(term->v_term)) {
        seen.insert(term->v_term);
        terms << term->v_term;
      }
  return terms;
}

bool CTUnicodeGlossary::HasUntranslatedTerms() const {
  for (const TLetterEntry& entry : v_letterEntries)
    for (const auto& term : entry)
      if (term->v_translation.isEmpty()) return true;
  return false;
}

// ---------------------------------------------------------------- changes

void CTUnicodeGlossary::AddTermNoNonsense(const QString& szTerm, const QString& szTranslation) {
  if (szTerm.isEmpty()) return;
  TLetterEntry& entry = GetLetterEntry(szTerm.front().unicode());
  for (const auto& term : entry) {
    if (term->v_term != szTerm) continue;
    if (szTranslation.isEmpty() || term->v_translation == szTranslation) return;
  }
  entry.push_back(std::make_unique<CTUnicodeGlosTerm>(szTerm, szTranslation));
  v_changed = true;
}

bool CTUnicodeGlossary::AddTermAndTranslation(const QString& szTerm, const QString& szTranslation,
                                              CTUnicodeGlosTerm** ppNewTerm) {
  const QString term = szTerm.trimmed();
  const QString translation = szTranslation.trimmed();
  if (term.isEmpty() || translation.isEmpty()) return false;
  if (TranslationsFor(term).contains(translation)) return false;
  TLetterEntry& entry = GetLetterEntry(term.front().unicode());
  entry.push_back(std::make_unique<CTUnicodeGlosTerm>(term, translation));
  v_changed = true;
  if (ppNewTerm) *ppNewTerm = entry.back().get();
  return true;
}

void CTUnicodeGlossary::UseTranslationsFrom(const CTUnicodeGlossary& glos, TNoTranslationFound nNotFound,
                                            TTranslatedEntries nTranslated) {
  for (TLetterEntry& entry : v_letterEntries) {
    TLetterEntry kept;
    kept.reserve(entry.size());
    for (auto& term : entry) {
      const bool bSkip = nTranslated == TTranslatedEntries::Keep && !term->v_translation.isEmpty();
      const QString translation = bSkip ? QString() : glos.FindTranslationFor(term->v_term);
      if (!translation.isEmpty())
        term->v_translation = translation;
      else if (!bSkip && nNotFound == TNoTranslationFound::RemoveEntry)
        continue;
      kept.push_back(std::move(term));
    }
    entry = std::move(kept);
  }
}

void CTUnicodeGlossary::RemoveUntranslatedTerms() {
  for (TLetterEntry& entry : v_letterEntries)
    std::erase_if(entry, [](const std::unique_ptr<CTUnicodeGlosTerm>& term) { return term->v_translation.isEmpty(); });
}

QString TranslatedText(const CTUnicodeGlossary* pGlos, const QString& szText) {
  return pGlos ? pGlos->Translated(szText) : szText;
}
