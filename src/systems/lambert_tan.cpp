#include "systems/lambert_tan.h"

#include <cmath>

#include "geodesy/geodesie.h"
#include "tools/flottant.h"

namespace vestrel {

void TLambert_tan::CalculeConstantes() {
  if (!Valide) return;
  // The cone is written only when it is whole: a singular set of
  // parameters leaves it as it was and the fault goes to the caller.
  GardeFlottante garde;
  const double e = Excentricite();
  const double phi0 = Phi0.Valeur;
  const double rayon0 = k0 * GrandeNormale(phi0, DemiGrandAxe(), e) / std::tan(phi0);
  const double n0 = std::sin(phi0);
  garde.Verifie();
  n = n0;
  c = rayon0 * std::exp(n0 * LatitudeIsometrique(phi0, e));
  XSommet = X0;
  YSommet = Y0 + rayon0;
  LandaC.Ecrit(Landa0.Texte);
}

}  // namespace vestrel
