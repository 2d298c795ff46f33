#include "geodesy/sphere_gauss.h"

#include <cmath>

#include "geodesy/geodesie.h"

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

double LatitudeSurSphere(const TSphereGauss& sphere, double phi, double e) {
  return LatitudeIsometriqueInverse(sphere.n1 * LatitudeIsometrique(phi, e) + sphere.c, 0);
}

double LatitudeSurEllipsoide(const TSphereGauss& sphere, double chi, double e) {
  return LatitudeIsometriqueInverse((LatitudeIsometrique(chi, 0) - sphere.c) / sphere.n1, e);
}

}  // namespace vestrel
