#include "systems/laborde_equatoriale.h"

#include <cmath>

#include "geodesy/geodesie.h"

namespace vestrel {

// phis, the sphere latitude of phi0, has the same isometric latitude; the
// radius makes the parallel phi0 (radius N·cos phi0 on the ellipsoid) k0
// times its image (radius n2·cos phis on the sphere).
TLaborde_reel::TConstantes TLaborde_equatoriale::Constantes(double phi0, double a, double e) const {
  const double phis = LatitudeIsometriqueInverse(LatitudeIsometrique(phi0, e), 0);
  TConstantes k;
  k.n1 = 1;
  k.n2 = k0 * GrandeNormale(phi0, a, e) * std::cos(phi0) / std::cos(phis);
  k.c = 0;
  k.Y0 = Y0;
  return k;
}

}  // namespace vestrel
