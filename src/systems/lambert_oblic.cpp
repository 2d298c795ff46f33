#include "systems/lambert_oblic.h"

#include <cmath>

#include "geodesy/geodesie.h"
#include "geodesy/sphere_gauss.h"

namespace vestrel {

void TLambert_oblic::CalculeConstantes() {
  if (!Valide) return;
  TConstantes& k = k_;
  k.sphere = SphereCourbure(PhiC.Valeur, DemiGrandAxe(), Excentricite());
  k.LContact = LatitudeIsometrique(k.sphere.Latitude, 0);
  k.n = std::sin(Phi1.Valeur);
  k.rho1 = k0 * k.sphere.R / std::tan(Phi1.Valeur);
  k.cosAlphaC = std::cos(AlphaC.Valeur);
  k.sinAlphaC = std::sin(AlphaC.Valeur);
}

void TLambert_oblic::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const TConstantes& k = k_;
  // Conformal sphere.
  const double chi = LatitudeSurSphere(k.sphere, phi, Excentricite());
  const double Lambda = k.sphere.n1 * (LandaC.Valeur - lambda);
  // Oblique position.
  const double chiP = std::asin(k.cosAlphaC * std::sin(chi) +
                                k.sinAlphaC * std::cos(chi) * std::cos(Lambda));
  const double LambdaP = std::asin(std::cos(chi) * std::sin(Lambda) / std::cos(chiP));
  // Cone.
  const double theta = k.n * LambdaP;
  const double rho = k.rho1 * std::exp(-k.n * (LatitudeIsometrique(chiP, 0) - k.LContact));
  X = X0 + rho * std::cos(theta);
  Y = Y0 + rho * std::sin(theta);
}

void TLambert_oblic::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const TConstantes& k = k_;
  // Cone: ρ carries the sign of n (a cone opening southward has ρ < 0).
  const double signe = k.n < 0 ? -1.0 : 1.0;
  const double dX = signe * (X - X0), dY = signe * (Y - Y0);
  const double rho = signe * std::sqrt(dX * dX + dY * dY);
  const double LambdaP = std::atan2(dY, dX) / k.n;
  const double chiP = LatitudeIsometriqueInverse(k.LContact - std::log(rho / k.rho1) / k.n, 0);
  // Back from the oblique position: the point in the turned frame, then
  // turned by −αC.
  const double xP = std::cos(chiP) * std::cos(LambdaP);
  const double yP = std::cos(chiP) * std::sin(LambdaP);
  const double zP = std::sin(chiP);
  const double x = k.cosAlphaC * xP + k.sinAlphaC * zP;
  const double z = k.cosAlphaC * zP - k.sinAlphaC * xP;
  const double chi = std::atan2(z, std::sqrt(x * x + yP * yP));
  const double Lambda = std::atan2(yP, x);
  // Back from the conformal sphere.
  lambda = LandaC.Valeur - Lambda / k.sphere.n1;
  phi = LatitudeSurEllipsoide(k.sphere, chi, Excentricite());
}

}  // namespace vestrel
