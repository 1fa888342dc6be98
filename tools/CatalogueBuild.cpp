#include "tools/CatalogueBuild.h"

#include "catalogue/Factory.h"
#include "recdb/DbException.h"
#include "recdb/ElemDbObject.h"
#include "recdb/MemDB.h"
#include "tools/CatalogueGenerator.h"
#include "tools/CatalogueLint.h"
#include "tools/CatalogueSource.h"

#include <QFile>
#include <QSaveFile>

#include <functional>
#include <memory>

namespace {

// The engine settings of a build, restored afterwards. The row maps take
// the program's capacity, which a generated catalogue of many units needs.
class EngineSettings {
 public:
  EngineSettings(bool bCompress, bool bAutoCorrect)
      : v_compression(CTMemDbEngine::UseCompression(bCompress)),
        v_signature(CTMemDbEngine::CompressionSignature()),
        v_autoCorrect(CTMemDbEngine::GetAutoCorrect()),
        v_rowMapCapacity(CTElemDbObjectMap::GetTableSize()) {
    CTMemDbEngine::SetCompressionSignature(CTFactory::kCompressionSignature);
    CTMemDbEngine::SetAutoCorrect(bAutoCorrect);
    CTElemDbObjectMap::SetTableSize(CTFactory::kRowMapCapacity);
    CTMemDbEngine::RegisterEngine();
  }
  ~EngineSettings() {
    CTMemDbEngine::UseCompression(v_compression);
    CTMemDbEngine::SetCompressionSignature(v_signature);
    CTMemDbEngine::SetAutoCorrect(v_autoCorrect);
    CTElemDbObjectMap::SetTableSize(v_rowMapCapacity);
  }

 private:
  bool v_compression;
  QString v_signature;
  bool v_autoCorrect;
  int v_rowMapCapacity;
};

// A catalogue factory on the in-memory engine; szFile empty: an empty database.
std::unique_ptr<CTFactory> OpenCatalogue(const QString& szFile) {
  auto factory = std::make_unique<CTFactory>();
  factory->SetRequiredEngineType(0, CTMemDbEngine::ClassName());
  factory->SetDatabaseName(0, szFile);
  if (!factory->Connect()) return nullptr;
  return factory;
}

bool ReadAndLint(const QStringList& pSources, CTFactory& pFactory, CTCatalogueSource& pSource, QStringList& pProblems) {
  for (const QString& path : pSources) pSource.AddPath(path);
  if (pSource.Problems().isEmpty()) pSource.Build(pFactory);
  pProblems << pSource.Problems();
  if (!pProblems.isEmpty()) return false;
  pProblems << CTCatalogueLint::Check(pFactory, [&](int c, int o) { return pSource.WhereIs(c, o); });
  return pProblems.isEmpty();
}

int TotalRows(CTFactory& pFactory) {
  int rows = 0;
  CTDbEngine* engine = pFactory.GetEngine(0);
  for (const CTTableInfo* t : pFactory.Tables())
    if (t && !t->IsAbstract()) rows += engine->CountObjects(t->GetTableIndex());
  return rows;
}

// Reads, lints, runs fnBeforeWrite on the linted catalogue, writes szOutFile
// and proves that it loads every row.
bool BuildAndWrite(const QStringList& pSources, const QString& szOutFile, QStringList& pProblems,
                   const std::function<void(CTFactory&)>& fnBeforeWrite) {
  EngineSettings settings(true, false);
  try {
    std::unique_ptr<CTFactory> factory = OpenCatalogue(QString());
    if (!factory) {
      pProblems << QStringLiteral("cannot open an empty catalogue");
      return false;
    }
    CTCatalogueSource source;
    if (!ReadAndLint(pSources, *factory, source, pProblems)) return false;
    if (fnBeforeWrite) fnBeforeWrite(*factory);
    const int rowsBuilt = TotalRows(*factory);

    QSaveFile file(szOutFile);
    if (!file.open(QIODevice::WriteOnly) || !factory->GetEngine(0)->WriteToStream(&file) || !file.commit()) {
      pProblems << QStringLiteral("cannot write %1: %2").arg(szOutFile, file.errorString());
      return false;
    }

    // The file must load as the program loads it, with auto-correct off,
    // and keep every row.
    std::unique_ptr<CTFactory> reloaded = OpenCatalogue(szOutFile);
    if (!reloaded) {
      pProblems << QStringLiteral("%1 does not load back").arg(szOutFile);
      QFile::remove(szOutFile);
      return false;
    }
    const int rowsLoaded = TotalRows(*reloaded);
    if (rowsLoaded != rowsBuilt) {
      pProblems << QStringLiteral("%1 loads %2 rows of the %3 written").arg(szOutFile).arg(rowsLoaded).arg(rowsBuilt);
      QFile::remove(szOutFile);
      return false;
    }
    return true;
  } catch (const CTDbException& e) {
    pProblems << e.Message();
    return false;
  }
}

}  // namespace

bool CTCatalogueBuild::Lint(const QStringList& pSources, QStringList& pProblems) {
  EngineSettings settings(false, false);
  std::unique_ptr<CTFactory> factory = OpenCatalogue(QString());
  if (!factory) {
    pProblems << QStringLiteral("cannot open an empty catalogue");
    return false;
  }
  CTCatalogueSource source;
  try {
    return ReadAndLint(pSources, *factory, source, pProblems);
  } catch (const CTDbException& e) {
    pProblems << e.Message();
    return false;
  }
}

bool CTCatalogueBuild::Build(const QStringList& pSources, const QString& szOutFile, QStringList& pProblems) {
  return BuildAndWrite(pSources, szOutFile, pProblems, {});
}

bool CTCatalogueBuild::Generate(const QStringList& pSources, int nUnits, const QString& szOutFile,
                                QStringList& pProblems, int* pFamilyUnits) {
  if (nUnits < 1 || nUnits > CTCatalogueGenerator::kMaxUnits) {
    pProblems << QStringLiteral("the number of units must be a whole number from 1 to %1")
                     .arg(CTCatalogueGenerator::kMaxUnits);
    return false;
  }
  int familyUnits = 0;
  const bool ok = BuildAndWrite(pSources, szOutFile, pProblems,
                                [&](CTFactory& factory) { familyUnits = CTCatalogueGenerator::Scale(factory, nUnits); });
  if (ok && pFamilyUnits) *pFamilyUnits = familyUnits;
  return ok;
}
