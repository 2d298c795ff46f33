#include "systems/mercator_sphere.h"

#include <cmath>
#include <numbers>

namespace vestrel {

namespace {
constexpr double kPi = std::numbers::pi;
}

double TMercator_sphere::ReduitLongitude(double x) {
  const double k = std::trunc(x / kPi);
  if (k == 0) return x;
  // Half-turn count rounded away from zero to a whole turn count.
  const double m = std::trunc(k > 0 ? (k + 1) / 2 : (k - 1) / 2);
  return x - 2 * m * kPi;
}

void TMercator_sphere::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const double a = DemiGrandAxe();
  X = X0 + a * ReduitLongitude(lambda - Landa0.Valeur);
  Y = Y0 + a * std::log(std::tan(kPi / 4 + phi / 2));
}

void TMercator_sphere::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double a = DemiGrandAxe();
  lambda = ReduitLongitude(Landa0.Valeur + (X - X0) / a);
  phi = kPi / 2 - 2 * std::atan(std::exp(-(Y - Y0) / a));
}

}  // namespace vestrel
