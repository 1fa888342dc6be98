// The embedded data of the program. Linking aerolith_resources brings the
// data in; EmbeddedData::Ensure() keeps the resource registration from being
// dropped by the linker in programs that reach the data only by name.

#include "resources/EmbeddedData.h"

#include <QtGlobal>

void EmbeddedData::Ensure() {
  Q_INIT_RESOURCE(aerolith_data);
  Q_INIT_RESOURCE(aerolith_pictures);
}
