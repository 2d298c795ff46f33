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
  // Converts to the plane in the zone it is handed, whatever the point.
  virtual void GeoVersCartoDansZone(int32_t zone, double phi, double lambda, double& X,
                                    double& Y) const = 0;
  // The zones are 1 to N and -1 to -N; 0 when any number is a zone.
  virtual int32_t NombreZones() const { return 0; }
};

}  // namespace vestrel
