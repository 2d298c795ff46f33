#include "systems/rosenmund.h"

#include <cmath>

#include "geodesy/geodesie.h"

namespace vestrel {

TSphereCourbure SphereCourbure(double phi0, double a, double e) {
  const double e2 = e * e;
  const double s = std::sin(phi0), c = std::cos(phi0);
  TSphereCourbure sphere;
  sphere.Alpha = std::sqrt(1 + e2 * c * c * c * c / (1 - e2));
  sphere.R = a * std::sqrt(1 - e2) / (1 - e2 * s * s);
  sphere.Chi0 = std::asin(s / sphere.Alpha);
  sphere.K = LatitudeIsometrique(sphere.Chi0, 0) - sphere.Alpha * LatitudeIsometrique(phi0, e);
  return sphere;
}

void TRosenmund::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const TSphereCourbure s = SphereCourbure(Phi0.Valeur, DemiGrandAxe(), Excentricite());
  // Ellipsoid to sphere.
  const double chi = LatitudeIsometriqueInverse(s.Alpha * LatitudeIsometrique(phi, Excentricite()) + s.K, 0);
  const double Lambda = s.Alpha * (lambda - Landa0.Valeur);
  // Sphere turned so that the origin lies on the equator of the oblique
  // frame, its meridian along the frame's central meridian: l is the oblique
  // longitude, b the oblique latitude.
  const double sinChi0 = std::sin(s.Chi0), cosChi0 = std::cos(s.Chi0);
  const double l = std::atan(std::sin(Lambda) /
                             (sinChi0 * std::tan(chi) + cosChi0 * std::cos(Lambda)));
  const double b = std::asin(cosChi0 * std::sin(chi) - sinChi0 * std::cos(chi) * std::cos(Lambda));
  X = X0 + s.R * l;
  Y = Y0 + s.R * LatitudeIsometrique(b, 0);
}

void TRosenmund::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const TSphereCourbure s = SphereCourbure(Phi0.Valeur, DemiGrandAxe(), Excentricite());
  const double l = (X - X0) / s.R;
  const double b = LatitudeIsometriqueInverse((Y - Y0) / s.R, 0);
  const double sinChi0 = std::sin(s.Chi0), cosChi0 = std::cos(s.Chi0);
  const double chi = std::asin(cosChi0 * std::sin(b) + sinChi0 * std::cos(b) * std::cos(l));
  const double Lambda = std::atan(std::sin(l) / (cosChi0 * std::cos(l) - sinChi0 * std::tan(b)));
  lambda = Landa0.Valeur + Lambda / s.Alpha;
  phi = LatitudeIsometriqueInverse((LatitudeIsometrique(chi, 0) - s.K) / s.Alpha, Excentricite());
}

}  // namespace vestrel
