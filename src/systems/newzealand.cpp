#include "systems/newzealand.h"

#include <array>
#include <cmath>
#include <numbers>

#include "tools/complexes.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {

namespace {

// Latitude difference (in 1e5 seconds of arc) to isometric-latitude
// difference, A1 to A10.
constexpr auto kA = std::to_array<double>({0.6399175073, -0.1358797613, 0.063294409, -0.02526853,
                                           0.0117879, -0.0055161, 0.0026906, -0.001333, 0.00067,
                                           -0.00034});
// The conformal polynomial, B1 to B6.
constexpr auto kB = std::to_array<TComplexe>({{0.7557853228, 0.0},
                                              {0.249204646, 0.003371507},
                                              {-0.001541739, 0.04105856},
                                              {-0.10162907, 0.01727609},
                                              {-0.26623489, -0.36249218},
                                              {-0.6870983, -1.1651967}});
// Isometric-latitude difference back to latitude difference, D1 to D9.
constexpr auto kD = std::to_array<double>({1.5627014243, 0.5185406398, -0.03333098, -0.1052906,
                                           -0.0368594, 0.007317, 0.0122, 0.00394, -0.0013});
// The counts of the published series: a coefficient lost or doubled fails here.
static_assert(kA.size() == 10 && kB.size() == 6 && kD.size() == 9);

// Radians to units of 100 000 seconds of arc.
constexpr double kRadiansVersUnites = 180.0 * 3600.0 * 1e-5 / std::numbers::pi;

// Σ c_n·x^n for n = 1 .. size, summed from n = 1 upwards.
template <size_t N>
double SerieReelle(const std::array<double, N>& c, double x) {
  double somme = 0, puissance = 1;
  for (double coefficient : c) {
    puissance *= x;
    somme += coefficient * puissance;
  }
  return somme;
}

}  // namespace

void TNewZealand::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const double a = DemiGrandAxe();
  const double dPsi = SerieReelle(kA, (phi - Phi0.Valeur) * kRadiansVersUnites);
  const TComplexe zeta{dPsi, lambda - Landa0.Valeur};
  TComplexe z, terme;
  CplxZero(z);
  for (int n = 1; n <= 6; ++n) {
    CplxPowerInt(zeta, n, terme);
    CplxMul(kB[n - 1], terme, terme);
    CplxAdd(z, terme, z);
  }
  X = X0 + a * z.Im;
  Y = Y0 + a * z.Re;
}

void TNewZealand::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double a = DemiGrandAxe();
  const TComplexe z{(Y - Y0) / a, (X - X0) / a};
  TComplexe zeta, terme;
  // Starting value Σ z^n, n = 1 .. 6.
  CplxZero(zeta);
  for (int n = 1; n <= 6; ++n) {
    CplxPowerInt(z, n, terme);
    CplxAdd(zeta, terme, zeta);
  }
  // Newton-Raphson on Σ B_n·ζ^n = z. The published algorithm stops after
  // two steps, which from this plain starting value leaves metres of error
  // at the edges of the grid (3.5 m at 47.3° S); the steps go on until the
  // correction is below 1e-15 rad (well under a micrometre), capped.
  constexpr int kPasMax = 30;
  for (int pas = 0;; ++pas) {
    if (pas == kPasMax) throw ErreurArithmetique(MessageNonConvergence);
    const TComplexe precedent = zeta;
    TComplexe numerateur = z, denominateur, coefficient;
    CplxZero(denominateur);
    for (int n = 1; n <= 6; ++n) {
      if (n >= 2) {
        CplxScale(kB[n - 1], n - 1, coefficient);
        CplxPowerInt(zeta, n, terme);
        CplxMul(coefficient, terme, terme);
        CplxAdd(numerateur, terme, numerateur);
      }
      CplxScale(kB[n - 1], n, coefficient);
      CplxPowerInt(zeta, n - 1, terme);
      CplxMul(coefficient, terme, terme);
      CplxAdd(denominateur, terme, denominateur);
    }
    CplxDiv(numerateur, denominateur, zeta);
    VerifieFini(zeta.Re);
    VerifieFini(zeta.Im);
    if (pas >= 1 && std::hypot(zeta.Re - precedent.Re, zeta.Im - precedent.Im) < 1e-15) break;
  }
  lambda = Landa0.Valeur + zeta.Im;
  phi = Phi0.Valeur + SerieReelle(kD, zeta.Re) / kRadiansVersUnites;
}

}  // namespace vestrel
