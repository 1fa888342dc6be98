#pragma once
// Named data resources of the program (the embedded catalogue, its reference
// version, glossaries, bitmaps), carried by Qt's resource system under the
// prefix ":/aerolith/data/". resources/ embeds them; a test may embed its own.

#include <QByteArray>
#include <QString>

#include <optional>

class CTResources {
 public:
  static QString PathOf(const QString& szName);
  static bool Exists(const QString& szName);
  // The whole resource, or none when no resource has that name.
  static std::optional<QByteArray> Data(const QString& szName);
};
