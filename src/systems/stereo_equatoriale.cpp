#include "systems/stereo_equatoriale.h"

#include <cmath>

#include "geodesy/geodesie.h"

namespace vestrel {

TStereo_reel::TConstantes TStereo_equatoriale::Constantes(double phi0, double a, double e) const {
  const double phis = LatitudeIsometriqueInverse(LatitudeIsometrique(phi0, e), 0);
  TConstantes k;
  k.n1 = 1;
  k.n2 = k0 * GrandeNormale(phi0, a, e) * std::cos(phi0) / std::cos(phis);
  k.c = 0;
  k.PhiC = AngleVersGrades(phis);
  return k;
}

}  // namespace vestrel
