#pragma once
// CTCatalogueBuild: from the catalogue text to the embedded database file.
// Reads the text, builds the records in a fresh in-memory catalogue, lints
// them, writes the database through the engine's own writer (compressed
// behind CTFactory::kCompressionSignature, as the program reads it), and reloads the file
// with auto-correct off to prove that not one row would be dropped. The
// same build with the plain family scaled makes the catalogues of the
// benchmarks (Generate).

#include <QString>
#include <QStringList>

class CTCatalogueBuild {
 public:
  // Reads and lints the sources; the findings land in pProblems.
  static bool Lint(const QStringList& pSources, QStringList& pProblems);
  // Lints, then writes szOutFile atomically (nothing is written on a finding).
  static bool Build(const QStringList& pSources, const QString& szOutFile, QStringList& pProblems);
  // Build, with the plain heat-recovery family cloned to nUnits units
  // (CTCatalogueGenerator::Scale; 1 to CTCatalogueGenerator::kMaxUnits)
  // between the lint and the writing. pFamilyUnits, when given, receives
  // how many units the family counts in the file.
  static bool Generate(const QStringList& pSources, int nUnits, const QString& szOutFile, QStringList& pProblems,
                       int* pFamilyUnits = nullptr);
};
