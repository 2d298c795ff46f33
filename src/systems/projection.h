#pragma once
// Single-zone coordinate systems.
#include "systems/ancetre.h"

namespace vestrel {

class TProjection : public TAncetre {
 public:
  // Latitude and longitude (radians, on the system's datum, longitude from
  // Greenwich) to easting and northing (metres), and back. A point that
  // cannot be converted raises an error; a floating-point fault is caught
  // by the caller's guard.
  virtual void GeoVersCarto(double phi, double lambda, double& X, double& Y) const = 0;
  virtual void CartoVersGeo(double X, double Y, double& phi, double& lambda) const = 0;
  // The same from the latitude and its tangent as well (|tan φ| < 1e150),
  // which spares the conformal kinds a trigonometric function; the others
  // use the latitude alone.
  virtual void GeoVersCartoTangente(double phi, double /*tangente*/, double lambda, double& X,
                                    double& Y) const {
    GeoVersCarto(phi, lambda, X, Y);
  }
};

}  // namespace vestrel
