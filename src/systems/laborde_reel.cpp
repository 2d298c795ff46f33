#include "systems/laborde_reel.h"

#include <cmath>

#include "geodesy/geodesie.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {

TSphereGauss SphereCourbure(double phi0, double a, double e) {
  const double e2 = e * e;
  const double s = std::sin(phi0), c = std::cos(phi0);
  TSphereGauss sphere;
  sphere.n1 = std::sqrt(1 + e2 * c * c * c * c / (1 - e2));
  sphere.R = a * std::sqrt(1 - e2) / (1 - e2 * s * s);
  sphere.Latitude = std::asin(s / sphere.n1);
  sphere.c = LatitudeIsometrique(sphere.Latitude, 0) - sphere.n1 * LatitudeIsometrique(phi0, e);
  return sphere;
}

TSphereGauss SphereBitangente(double phi0, double a, double e) {
  TSphereGauss sphere;
  sphere.n1 = 1;
  sphere.R = GrandeNormale(phi0, a, e);
  sphere.c = LatitudeIsometrique(phi0, 0) - LatitudeIsometrique(phi0, e);
  sphere.Latitude = phi0;
  return sphere;
}

TSphereGauss SphereEquatoriale(double phi0, double a, double e) {
  TSphereGauss sphere;
  sphere.n1 = 1;
  sphere.c = 0;
  sphere.Latitude = LatitudeIsometriqueInverse(LatitudeIsometrique(phi0, e), 0);
  sphere.R = GrandeNormale(phi0, a, e) * std::cos(phi0) / std::cos(sphere.Latitude);
  return sphere;
}

void TLaborde_reel::CalculeConstantes() {
  if (!Valide) return;
  try {
    GardeFlottante garde;
    const TSphereGauss s = Sphere(TexteVersAngle(Phi0.Texte), DemiGrandAxe(), Excentricite());
    const double n2 = k0 * s.R;
    const double y0 = OrdonneeEquateur(n2, s.Latitude);
    if (garde.Faute()) return;  // nothing written: the core stays as it was
    SetParametres(Landa0.Texte, s.n1, n2, s.c, X0, y0);
  } catch (const Erreur&) {
    // An unparsable text: the core keeps what it had.
  }
}

}  // namespace vestrel
