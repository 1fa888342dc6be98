#pragma once
// CTUnicodeGlossary: English terms with their translations, for translating
// catalogue texts and forms at run time.

#include <QHash>
#include <QString>
#include <QStringList>

class CTUnicodeGlossary {
 public:
  virtual ~CTUnicodeGlossary() = default;

  // A translation is used only when the term has exactly one non-empty one.
  virtual bool FindTranslationFor(const QString& szText, bool bCaseSensitive, QString& szTranslation) const;
  void AddTerm(const QString& szTerm, const QString& szTranslation);
  // Adds a term without translation unless the term is already there.
  void AddTermNoNonsense(const QString& szTerm);
  bool HasTerm(const QString& szTerm) const { return v_terms.contains(szTerm); }
  int TermCount() const { return static_cast<int>(v_order.size()); }
  QStringList Terms() const { return v_order; }

 private:
  QHash<QString, QStringList> v_terms;  // term -> its translations (may be empty)
  QStringList v_order;                  // terms in the order they were added
};
