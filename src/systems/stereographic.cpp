#include "systems/stereographic.h"

#include <cmath>
#include <numbers>

#include "geodesy/geodesie.h"

namespace vestrel {

namespace {
// Below this distance (metres) from the centre the turned longitude is 0.
constexpr double kRayonCentre = 1e-11;

// A pole of the ellipsoid is the same pole of the sphere. Through the
// isometric latitude the south pole would take the logarithm of tan 0 and
// fail, although it is the centre of the south polar kind.
bool EstPole(double phi) { return std::fabs(phi) == std::numbers::pi / 2; }
}  // namespace

void TStereographic::SetParametres(const std::string& landaC, const std::string& phiC, double N1,
                                   double N2, double C, double x0, double y0) {
  n1 = N1;
  n2 = N2;
  c = C;
  XCentre = x0;
  YCentre = y0;
  LandaC.Ecrit(landaC);
  PhiC.Ecrit(phiC);
}

void TStereographic::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const double Lambda = n1 * (lambda - LandaC.Valeur);
  const double phis = EstPole(phi) ? phi
                                   : LatitudeIsometriqueInverse(
                                         c + n1 * LatitudeIsometrique(phi, Excentricite()), 0);
  double x, y, z, xp, yp, zp;
  SphereVersCartesien(Lambda, phis, x, y, z);
  // The centre (0, PhiC) turned onto the pole (0, 0, 1).
  RotationY(x, y, z, std::numbers::pi / 2 - PhiC.Valeur, xp, yp, zp);
  X = XCentre + 2 * n2 * yp / (1 + zp);
  Y = YCentre - 2 * n2 * xp / (1 + zp);
}

void TStereographic::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double u = X - XCentre, v = -(Y - YCentre);
  const double rho = std::hypot(u, v);
  // Longitude in the turned frame: 2·atan(u/(v + rho)) by the half-angle
  // formula, that is atan2(u, v), which also gives its limit pi straight
  // north of the centre (u = 0, v < 0) where the quotient has no value.
  const double Lambdap = rho >= kRayonCentre ? std::atan2(u, v) : 0;
  const double psi = std::numbers::pi / 2 - 2 * std::atan(rho / (2 * n2));
  double x, y, z, xp, yp, zp, Lambda, phis;
  SphereVersCartesien(Lambdap, psi, x, y, z);
  RotationY(x, y, z, PhiC.Valeur - std::numbers::pi / 2, xp, yp, zp);
  CartesienVersSphere(xp, yp, zp, Lambda, phis);
  lambda = LandaC.Valeur + Lambda / n1;
  phi = EstPole(phis)
            ? phis
            : LatitudeIsometriqueInverse((LatitudeIsometrique(phis, 0) - c) / n1, Excentricite());
}

}  // namespace vestrel
