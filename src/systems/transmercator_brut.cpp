#include "systems/transmercator_brut.h"

#include <cmath>

#include "geodesy/geodesie.h"
#include "tools/complexes.h"
#include "tools/erreurs.h"

namespace vestrel {

void TTransverseMercatorBrut::CalculeConstantes() {
  if (!Valide) return;
  CoefficientsMercatorTransverse(Excentricite(), Directs_);
  CoefficientsMercatorTransverseInverse(Excentricite(), Inverses_);
}

// sinh L and cosh L of the isometric latitude L = atanh(sin φ) − e·atanh(e·sin φ)
// come from the sine and cosine of φ and σ = sinh(e·atanh(e·sin φ)) (L itself
// is never needed): sinh L = (sin φ·√(1 + σ²) − σ)/cos φ and
// cosh L = (√(1 + σ²) − sin φ·σ)/cos φ. On the sphere, the point is
// z = ξ + iη with tan ξ = p = sinh L/cos Δλ and tanh η = q = sin Δλ/cosh L;
// the series needs sin 2ξ, cos 2ξ, sinh 2η and cosh 2η, rational in p and q:
// 2p/(1 + p²), (1 − p²)/(1 + p²), 2q/(1 − q²) and (1 + q²)/(1 − q²).
void TTransverseMercatorBrut::GeoVersCarto(double phi, double lambda, double& X,
                                           double& Y) const {
  const double e = Excentricite();
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  // Beyond the poles the isometric latitude is not defined.
  if (!(cosPhi > 0)) throw ErreurArithmetique("Opération en virgule flottante incorrecte");
  const double sigma = SinhExcentricite(sinPhi, e);
  const double racine = std::sqrt(1 + sigma * sigma);
  const double sinhL = (sinPhi * racine - sigma) / cosPhi;
  const double coshL = (racine - sinPhi * sigma) / cosPhi;
  const double dLambda = lambda - LandaC.Valeur;
  const double p = sinhL / std::cos(dLambda), q = std::sin(dLambda) / coshL;
  // η = atanh(sin(arcsin(sin Δλ / cosh L))) is exactly 0 on the central meridian.
  const TComplexe z{std::atan(p), std::atanh(q)};
  const double rp = 1 / (1 + p * p), rq = 1 / (1 - q * q);
  const TCoefficients& C = Directs_;
  const TComplexe S = SommeSinus(C, 2 * p * rp, 2 * rp - 1, 2 * q * rq, 2 * rq - 1);
  X = XEquateur + n * (C[0] * z.Im + S.Im);
  Y = YEquateur + n * (C[0] * z.Re + S.Re);
}

void TTransverseMercatorBrut::CartoVersGeo(double X, double Y, double& phi,
                                           double& lambda) const {
  const double e = Excentricite();
  const TCoefficients& D = Inverses_;
  TComplexe z;
  CplxScale(TComplexe{Y - YEquateur, X - XEquateur}, 1.0 / (n * D[0]), z);
  const TComplexe S = SommeSinus(D, z);
  const TComplexe xi{z.Re - S.Re, z.Im - S.Im};
  double sh, ch;
  SinhCosh(xi.Im, sh, ch);
  lambda = LandaC.Valeur + std::atan(sh / std::cos(xi.Re));
  phi = LatitudeIsometriqueInverse(std::atanh(std::sin(xi.Re) / ch), e);
}

void TTransverseMercatorBrut::ConstantesFuseau(double k0, double X0, bool sud,
                                               const std::string& meridien) {
  n = k0 * DemiGrandAxe();
  XEquateur = X0;
  YEquateur = sud ? 10000000.0 : 0.0;
  LandaC.Ecrit(meridien);
  TTransverseMercatorBrut::CalculeConstantes();
}

}  // namespace vestrel
