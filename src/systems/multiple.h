#pragma once
// Multi-zone coordinate systems: numbered zones, negative south of the
// equator.
#include <cstdint>

#include "systems/ancetre.h"

namespace vestrel {

class TMultiple : public TAncetre {
 public:
  // Chooses the zone of the point and writes it back (the zone passed in is
  // ignored).
  virtual void GeoVersCarto(double phi, double lambda, double& X, double& Y,
                            int32_t& zone) const = 0;
  // Converts in the zone it is handed.
  virtual void CartoVersGeo(int32_t zone, double X, double Y, double& phi,
                            double& lambda) const = 0;
};

}  // namespace vestrel
