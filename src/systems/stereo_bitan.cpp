#include "systems/stereo_bitan.h"

#include "geodesy/geodesie.h"

namespace vestrel {

TStereo_reel::TConstantes TStereo_bitan::Constantes(double phi0, double a, double e) const {
  TConstantes k;
  k.n1 = 1;
  k.n2 = k0 * GrandeNormale(phi0, a, e);
  k.c = LatitudeIsometrique(phi0, 0) - LatitudeIsometrique(phi0, e);
  k.PhiC = Phi0.Texte;
  return k;
}

}  // namespace vestrel
