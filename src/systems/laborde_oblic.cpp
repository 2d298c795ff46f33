#include "systems/laborde_oblic.h"

#include <cmath>
#include <numbers>

#include "geodesy/sphere_gauss.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kPassesMax = 100;

// exp of the isometric latitude of phi on the ellipsoid of eccentricity e.
double ExpLatitudeIsometrique(double phi, double e) {
  const double s = std::sin(phi);
  return std::sqrt(std::pow((1 - e * s) / (1 + e * s), e) * (1 + s) / (1 - s));
}

}  // namespace

void TLabordeOblic::CalculeConstantes() {
  if (!Valide) return;
  const double e = Excentricite();
  const TSphereGauss sphere = SphereCourbure(Phi0.Valeur, DemiGrandAxe(), e);
  const double theta = Theta0.Valeur;
  k_.Rk = k0 * sphere.R;
  k_.Chi0 = sphere.Latitude;
  k_.Alpha = sphere.n1;
  k_.E0 = ExpLatitudeIsometrique(Phi0.Valeur, e);
  k_.Ac = (1 - std::cos(2 * theta)) / 12;
  k_.Bc = std::sin(2 * theta) / 12;
}

void TLabordeOblic::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const TConstantes& k = k_;
  const double E = ExpLatitudeIsometrique(phi, Excentricite());
  // Latitude and longitude on the sphere.
  const double chi =
      2 * std::atan(std::tan(kPi / 4 + k.Chi0 / 2) * std::pow(E / k.E0, k.Alpha)) - kPi / 2;
  const double L = k.Alpha * (lambda - Landa0.Valeur);
  // Transverse cylinder along the great circle through the centre.
  const double sc = std::sin(L) * std::cos(chi);
  const double u = 0.5 * std::log((1 + sc) / (1 - sc));
  double v = std::atan(std::tan(chi) / std::cos(L)) - k.Chi0;
  if (std::cos(L) < 0) v += kPi;
  // Cubic term: (Ac + i·Bc)·(u + i·v)³ written as P + i·Q with the sign of
  // the imaginary part folded in.
  const double P = u * (3 * v * v - u * u), Q = v * (v * v - 3 * u * u);
  X = X0 + k.Rk * (u + k.Ac * P + k.Bc * Q);
  Y = Y0 + k.Rk * (v - k.Bc * P + k.Ac * Q);
}

void TLabordeOblic::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const TConstantes& k = k_;
  const double e = Excentricite();
  const double xp = (X - X0) / k.Rk, yp = (Y - Y0) / k.Rk;
  VerifieFini(xp);
  VerifieFini(yp);
  // Newton's method on the cubic, from (x', y').
  double u = xp, v = yp;
  const double tolerance = 1e-5 / k.Rk;  // ten micrometres in the plane
  for (int passe = 0;; ++passe) {
    if (passe == kPassesMax) throw ErreurArithmetique(MessageNonConvergence);
    const double P = u * (3 * v * v - u * u), Q = v * (v * v - 3 * u * u);
    const double M = 3 * (v * v - u * u), N = 6 * u * v;
    const double f = 1 + k.Ac * M - k.Bc * N, g = k.Bc * M + k.Ac * N;
    const double rY = v - k.Bc * P + k.Ac * Q - yp;
    const double rX = u + k.Ac * P + k.Bc * Q - xp;
    const double d = f * f + g * g;
    const double du = -(rX * f - rY * g) / d, dv = -(rY * f + rX * g) / d;
    VerifieFini(du);
    VerifieFini(dv);
    u += du;
    v += dv;
    if (std::fabs(du) + std::fabs(dv) <= tolerance) break;
  }
  // Back to the sphere.
  const double s = std::exp(u), ch = (1 / s + s) / 2, sh = (s - 1 / s) / 2;
  const double q = std::sin(v + k.Chi0) / ch;
  const double chi = std::atan(q / std::sqrt(std::fabs(1 - q * q)));
  lambda = Landa0.Valeur + std::atan(sh / std::cos(v + k.Chi0)) / k.Alpha;
  // Back to the ellipsoid: the isometric latitude of chi on the sphere gives
  // Et on the ellipsoid, whose latitude is found by fixed point.
  const double Et =
      std::pow(std::tan(kPi / 4 + chi / 2) / std::tan(kPi / 4 + k.Chi0 / 2), 1 / k.Alpha) * k.E0;
  phi = chi;
  for (int passe = 0;; ++passe) {
    if (passe == kPassesMax) throw ErreurArithmetique(MessageNonConvergence);
    const double es = e * std::sin(phi);
    const double delta =
        2 * std::atan(std::pow((1 + es) / (1 - es), e / 2) * Et) - kPi / 2 - phi;
    VerifieFini(delta);
    phi += delta;
    if (std::fabs(delta) <= 1e-15) break;
  }
}

}  // namespace vestrel
