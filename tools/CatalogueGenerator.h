#pragma once
// CTCatalogueGenerator: scaled catalogues for benchmarks
// (CTCatalogueBuild::Generate, "aerolith-catalogue generate"). The plain
// heat-recovery family (units of type 0) of a catalogue is cloned across
// sizes until it counts the number of units asked for; everything else stays
// as it is. A clone of size factor f moves f times the airflow of its
// model: airflow range, nominal airflow and fan power times f, every airflow
// curve stretched along the airflow axis (c(q) = c_model(q / f)), duct
// diameter times sqrt(f). The output is the same for the same count.

class CTBaseFactory;

class CTCatalogueGenerator {
 public:
  static constexpr int kMaxUnits = 1000000;

  // Adds clones to the connected, writable catalogue until its type-0 family
  // counts nUnits (at most kMaxUnits); answers how many units the family
  // counts then: never fewer than it had, and 0 when it has no unit to clone.
  static int Scale(CTBaseFactory& pFactory, int nUnits);
};
