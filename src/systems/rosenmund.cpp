#include "systems/rosenmund.h"

#include <cmath>

#include "geodesy/geodesie.h"

namespace vestrel {

void TRosenmund::CalculeConstantes() {
  if (!Valide) return;
  sphere_ = SphereCourbure(Phi0.Valeur, DemiGrandAxe(), Excentricite());
}

void TRosenmund::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const TSphereGauss& s = sphere_;
  // Ellipsoid to sphere.
  const double chi = LatitudeSurSphere(s, phi, Excentricite());
  const double Lambda = s.n1 * (lambda - Landa0.Valeur);
  // Sphere turned so that the origin lies on the equator of the oblique
  // frame, its meridian along the frame's central meridian: l is the oblique
  // longitude, b the oblique latitude.
  const double sinChi0 = std::sin(s.Latitude), cosChi0 = std::cos(s.Latitude);
  const double l =
      std::atan(std::sin(Lambda) / (sinChi0 * std::tan(chi) + cosChi0 * std::cos(Lambda)));
  const double b = std::asin(cosChi0 * std::sin(chi) - sinChi0 * std::cos(chi) * std::cos(Lambda));
  X = X0 + s.R * l;
  Y = Y0 + s.R * LatitudeIsometrique(b, 0);
}

void TRosenmund::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const TSphereGauss& s = sphere_;
  const double l = (X - X0) / s.R;
  const double b = LatitudeIsometriqueInverse((Y - Y0) / s.R, 0);
  const double sinChi0 = std::sin(s.Latitude), cosChi0 = std::cos(s.Latitude);
  const double chi = std::asin(cosChi0 * std::sin(b) + sinChi0 * std::cos(b) * std::cos(l));
  const double Lambda = std::atan(std::sin(l) / (cosChi0 * std::cos(l) - sinChi0 * std::tan(b)));
  lambda = Landa0.Valeur + Lambda / s.n1;
  phi = LatitudeSurEllipsoide(s, chi, Excentricite());
}

}  // namespace vestrel
