#pragma once
// CTCatalogueGenerator: scaled catalogues for benchmarks. The plain
// heat-recovery family (units of type 0) of the embedded catalogue is cloned
// across sizes until it counts the number of units asked for; everything else
// stays as it is. A clone of size factor f moves f times the airflow of its
// model: airflow range, nominal airflow and fan power times f, every airflow
// curve stretched along the airflow axis (c(q) = c_model(q / f)), duct
// diameter times sqrt(f). The output is the same for the same count.

#include <QString>

class CTBaseFactory;

class CTCatalogueGenerator {
 public:
  static constexpr int kMaxUnits = 1000000;

  // Adds clones to the connected, writable catalogue until its type-0 family
  // counts nUnits; answers how many were added (0 when the family is already
  // that large or has no unit to clone).
  static int Scale(CTBaseFactory& pFactory, int nUnits);

  // Reads the embedded catalogue ("Device_Database"; the program linking this
  // must embed it), scales it to nUnits and writes it, compressed as the
  // program reads it, to szOutFile. False with szError set on any failure.
  static bool Generate(int nUnits, const QString& szOutFile, QString& szError);
};
