#include "systems/lambert_sec.h"

#include <cmath>
#include <numbers>

#include "geodesy/geodesie.h"
#include "tools/flottant.h"

namespace vestrel {

void TLambert_sec::CalculeConstantes() {
  if (!Valide) return;
  // The cone is written only when it is whole: a singular set of
  // parameters leaves it as it was and the fault goes to the caller.
  GardeFlottante garde;
  const double a = DemiGrandAxe(), e = Excentricite();
  const double phi1 = Phi1.Valeur, phi2 = Phi2.Valeur, phi0 = Phi0.Valeur;
  const double parallele1 = GrandeNormale(phi1, a, e) * std::cos(phi1);
  const double parallele2 = GrandeNormale(phi2, a, e) * std::cos(phi2);
  const double L1 = LatitudeIsometrique(phi1, e);
  const double n0 = std::log(parallele2 / parallele1) / (L1 - LatitudeIsometrique(phi2, e));
  const double c0 = parallele1 / n0 * std::exp(n0 * L1);
  // At the pole the origin is the apex itself.
  const bool pole = std::fabs(phi0 - std::numbers::pi / 2) < ToleranceIteration;
  const double apex = pole ? Y0 : Y0 + c0 * std::exp(-n0 * LatitudeIsometrique(phi0, e));
  garde.Verifie();
  n = n0;
  c = c0;
  XSommet = X0;
  YSommet = apex;
  LandaC.Ecrit(Landa0.Texte);
}

}  // namespace vestrel
