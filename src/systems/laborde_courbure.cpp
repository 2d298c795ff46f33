#include "systems/laborde_courbure.h"

#include "systems/rosenmund.h"

namespace vestrel {

// n1 = alpha, n2 = k0·R, c = K of the sphere of mean curvature; the origin,
// at sphere latitude chi0, lies n2·chi0 north of the sphere's equator.
TLaborde_reel::TConstantes TLaborde_courbure::Constantes(double phi0, double a, double e) const {
  const TSphereCourbure s = SphereCourbure(phi0, a, e);
  TConstantes k;
  k.n1 = s.Alpha;
  k.n2 = k0 * s.R;
  k.c = s.K;
  k.Y0 = Y0 - k.n2 * s.Chi0;
  return k;
}

}  // namespace vestrel
