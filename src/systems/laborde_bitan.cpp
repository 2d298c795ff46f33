#include "systems/laborde_bitan.h"

#include "geodesy/geodesie.h"

namespace vestrel {

TLaborde_reel::TConstantes TLaborde_bitan::Constantes(double phi0, double a, double e) const {
  TConstantes k;
  k.n1 = 1;
  k.n2 = k0 * GrandeNormale(phi0, a, e);
  k.c = LatitudeIsometrique(phi0, 0) - LatitudeIsometrique(phi0, e);
  k.Y0 = Y0;
  return k;
}

}  // namespace vestrel
