#include "systems/bonne.h"

#include <cmath>

namespace vestrel {

namespace {
// cot φ0 + φ0, the radius (in units of a) of the equator's circle.
double RayonEquateur(double phi0) { return 1 / std::tan(phi0) + phi0; }
}  // namespace

void TBonne::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const double a = DemiGrandAxe();
  const double rho = RayonEquateur(Phi0.Valeur) - phi;
  const double E = std::cos(phi) * (lambda - Landa0.Valeur) / rho;
  X = X0 + a * rho * std::sin(E);
  Y = Y0 - a * rho * std::cos(E);
}

void TBonne::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double a = DemiGrandAxe();
  const double x = (X - X0) / a, y = -(Y - Y0) / a;
  const double rho = std::hypot(x, y);
  const double E = std::atan2(x, y);
  phi = RayonEquateur(Phi0.Valeur) - rho;
  lambda = Landa0.Valeur + E * rho / std::cos(phi);
}

}  // namespace vestrel
