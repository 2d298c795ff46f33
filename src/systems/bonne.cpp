#include "systems/bonne.h"

#include <cmath>

namespace vestrel {

void TBonne::CalculeConstantes() {
  if (!Valide) return;
  rayonEquateur_ = 1 / std::tan(Phi0.Valeur) + Phi0.Valeur;
}

void TBonne::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const double a = DemiGrandAxe();
  const double rho = rayonEquateur_ - phi;
  const double E = std::cos(phi) * (lambda - Landa0.Valeur) / rho;
  X = X0 + a * rho * std::sin(E);
  Y = Y0 - a * rho * std::cos(E);
}

// South of the equator (φ0 < 0) the circles' radii ρ are negative: ρ and E
// take the sign of φ0, as in Snyder, "Map Projections: A Working Manual",
// (19-3) to (19-5); a plain √(x² + y²) would send every southern point
// elsewhere.
void TBonne::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double a = DemiGrandAxe();
  const double signe = Phi0.Valeur < 0 ? -1.0 : 1.0;
  const double x = signe * (X - X0) / a, y = -signe * (Y - Y0) / a;
  const double rho = signe * std::hypot(x, y);
  const double E = std::atan2(x, y);
  phi = rayonEquateur_ - rho;
  lambda = Landa0.Valeur + E * rho / std::cos(phi);
}

}  // namespace vestrel
