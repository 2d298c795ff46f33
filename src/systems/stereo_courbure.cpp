#include "systems/stereo_courbure.h"

#include "systems/rosenmund.h"
#include "tools/nombres.h"

namespace vestrel {

TStereo_reel::TConstantes TStereo_courbure::Constantes(double phi0, double a, double e) const {
  const TSphereCourbure s = SphereCourbure(phi0, a, e);
  TConstantes k;
  k.n1 = s.Alpha;
  k.n2 = k0 * s.R;
  k.c = s.K;
  k.PhiC = FormatF(s.Chi0 * RadiansVersGrades, 10) + "g";
  return k;
}

}  // namespace vestrel
