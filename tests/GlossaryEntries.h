#pragma once
// A glossary's entries as "term=translation", bucket by bucket in stored
// order: what glossary tests compare.

#include "i18n/UnicodeGlossary.h"

#include <QStringList>

inline QStringList GlossaryEntries(const CTUnicodeGlossary& glos) {
  QStringList entries;
  for (const auto& bucket : glos.AllLetterEntries())
    for (const auto& term : bucket) entries << term->v_term + u'=' + term->v_translation;
  return entries;
}
