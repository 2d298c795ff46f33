#include "systems/stereo_polaire.h"

#include <cmath>

namespace vestrel {

// Snyder's rho = 2·a·k0·t/sqrt((1+e)^(1+e)·(1−e)^(1−e)) with t = exp(−L(phi, e)):
// the core's rho = 2·n2·exp(−L) gives n2 = a·k0/sqrt(1 − e²)·((1 − e)/(1 + e))^(e/2).
void TStereo_polaire::CalculeConstantes() {
  if (!Valide) return;
  const double a = DemiGrandAxe(), e = Excentricite();
  const double N2 = a * k0 / std::sqrt(1 - e * e) * std::pow((1 - e) / (1 + e), e / 2);
  SetParametres(Landa0.Texte, Sud ? "-90°" : "90°", 1, N2, 0, X0, Y0);
}

}  // namespace vestrel
