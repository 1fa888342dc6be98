#pragma once
// CTUnicodeGlossary: English terms with their translations into one target
// language, for translating catalogue texts and forms at run time.
//
// Entries live in buckets by the first UTF-16 code unit of their term; the
// lower-case ASCII letters a..z share the buckets of A..Z, no other
// character is folded. Terms are compared exactly (code unit by code unit),
// so "Close" and "close" share a bucket and are different terms. A term may
// have several entries, one per translation, in the order they were added;
// an entry with an empty translation is an untranslated term.
//
// Which translation is shown: a text with exactly one entry, and that
// entry's translation not empty, is shown translated (Translated); any other
// text, including a term with two translations, is shown as it is.

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

class CTUnicodeGlosTerm {
 public:
  CTUnicodeGlosTerm(QString szTerm, QString szTranslation)
      : v_term(std::move(szTerm)), v_translation(std::move(szTranslation)) {}

  // When szTxt equals the term, replaces it by the translation and answers true.
  bool GetTranslationIfEqualsTerm(QString& szTxt) const;
  // Code-unit order of the terms.
  static bool TermLT(const CTUnicodeGlosTerm& t1, const CTUnicodeGlosTerm& t2);

  QString v_term;         // the English text
  QString v_translation;  // empty while untranslated
};

class CTUnicodeGlossary {
 public:
  using TLetterEntry = std::vector<std::unique_ptr<CTUnicodeGlosTerm>>;

  // What UseTranslationsFrom does with an entry the other glossary cannot translate.
  enum class TNoTranslationFound { KeepEntry, RemoveEntry };
  // Whether UseTranslationsFrom fills entries that already have a translation.
  enum class TTranslatedEntries { Refill, Keep };

  CTUnicodeGlossary() = default;
  CTUnicodeGlossary(const CTUnicodeGlossary&) = delete;
  CTUnicodeGlossary& operator=(const CTUnicodeGlossary&) = delete;
  CTUnicodeGlossary(CTUnicodeGlossary&&) = default;
  CTUnicodeGlossary& operator=(CTUnicodeGlossary&&) = default;

  // Language id (Windows LCID) of the translations; 0 when unknown. Setting
  // another value marks the glossary changed.
  unsigned GetTargetLanguage() const { return v_targetLanguage; }
  void SetTargetLanguage(unsigned nLangID);
  // The language text read as a decimal integer, 0 when it is not one.
  int GetChangedDate() const;
  void SetChangedDate(int nValue);

  // The bucket of a character code (a..z folded to A..Z).
  static int BucketOf(char16_t nCh);
  const std::vector<TLetterEntry>& AllLetterEntries() const { return v_letterEntries; }
  // Bucket nCh, growing the bucket list up to it when needed.
  TLetterEntry& GetLetterEntry(char16_t nCh);
  int EntryCount() const;

  // Orders every bucket by term; the entries of one term keep their order.
  void Sort();
  // Destroys every entry; target language 0, not changed.
  void Purge();

  // The translations of every entry of szTerm, in stored order (empty ones
  // included); none for an empty term.
  QStringList TranslationsFor(const QString& szTerm) const;
  // The first translation of szTerm, or empty.
  QString FindTranslationFor(const QString& szTerm) const;
  // Catalogue texts: the translation when the text has exactly one entry and
  // its translation is not empty. When bCaseSensitive is false and no entry
  // has the text exactly, the entries equal to it ignoring letter case are
  // taken instead, under the same rule.
  bool FindTranslationFor(const QString& szText, bool bCaseSensitive, QString& szTranslation) const;
  // The translation of a text shown to the user, or the text itself.
  QString Translated(const QString& szText) const;

  // Adds the pair unless the term is empty, or one of its entries already has
  // this translation, or the translation is empty and the term is present.
  void AddTermNoNonsense(const QString& szTerm, const QString& szTranslation = QString());
  // The same as AddTermNoNonsense.
  void AddTerm(const QString& szTerm, const QString& szTranslation) { AddTermNoNonsense(szTerm, szTranslation); }
  // Adds the pair with blanks trimmed from both ends of both texts, unless
  // either is then empty or the term already has this translation. Answers
  // whether it was added, and then the new entry in *ppNewTerm when asked.
  bool AddTermAndTranslation(const QString& szTerm, const QString& szTranslation,
                             CTUnicodeGlosTerm** ppNewTerm = nullptr);
  // True when szTerm has at least one entry; bIdentical only when it has
  // exactly one and that one's translation is szTranslation.
  bool TermExists(const QString& szTerm, const QString& szTranslation, bool& bIdentical) const;
  // The distinct terms, bucket by bucket in stored order.
  QStringList Terms() const;

  // Gives every entry the first translation glos has for its term; an entry
  // for which glos has none (or only an empty one) is kept as it is or
  // removed. The changed mark stays as it was.
  void UseTranslationsFrom(const CTUnicodeGlossary& glos, TNoTranslationFound nNotFound,
                           TTranslatedEntries nTranslated);
  bool HasUntranslatedTerms() const;
  // Removes the entries without translation; the others keep their order.
  void RemoveUntranslatedTerms();

  bool v_changed = false;               // set by additions and a new target language; cleared by Purge
  QString v_fileName;                   // the file last loaded or saved
  QString v_languageNameOrChangedDate;  // second cell of a glossary file's first row

 private:
  const TLetterEntry* FindLetterEntry(const QString& szTerm) const;

  unsigned v_targetLanguage = 0;
  std::vector<TLetterEntry> v_letterEntries;  // index: BucketOf the term's first code unit
};

// The translation of szText by pGlos, or szText when there is no glossary.
QString TranslatedText(const CTUnicodeGlossary* pGlos, const QString& szText);
