#include "systems/transmercator_brut.h"

#include <cmath>

#include "geodesy/geodesie.h"
#include "tools/complexes.h"

namespace vestrel {

const TTransverseMercatorBrut::TSeries& TTransverseMercatorBrut::Series(double e) const {
  if (e != series_.e) {
    CoefficientsMercatorTransverse(e, series_.Directs);
    CoefficientsMercatorTransverseInverse(e, series_.Inverses);
    series_.e = e;
  }
  return series_;
}

void TTransverseMercatorBrut::GeoVersCarto(double phi, double lambda, double& X,
                                           double& Y) const {
  const double e = Excentricite();
  const double L = LatitudeIsometrique(phi, e);
  const double dLambda = lambda - LandaC.Valeur;
  // The isometric latitude on the sphere, ln tan(π/4 + P/2), is written
  // atanh(sin P): exactly 0 on the central meridian.
  const double P = std::asin(std::sin(dLambda) / std::cosh(L));
  const TComplexe z{std::atan(std::sinh(L) / std::cos(dLambda)), std::atanh(std::sin(P))};
  const TCoefficients& C = Series(e).Directs;
  TComplexe Z, terme;
  CplxScale(z, n * C[0], Z);
  for (int k = 1; k <= 4; ++k) {
    TComplexe arg;
    CplxScale(z, 2.0 * k, arg);
    CplxSin(arg, terme);
    CplxScale(terme, n * C[k], terme);
    CplxAdd(Z, terme, Z);
  }
  X = X0 + Z.Im;
  Y = Y0 + Z.Re;
}

void TTransverseMercatorBrut::CartoVersGeo(double X, double Y, double& phi,
                                           double& lambda) const {
  const double e = Excentricite();
  const TCoefficients& D = Series(e).Inverses;
  TComplexe z;
  CplxScale(TComplexe{Y - Y0, X - X0}, 1.0 / (n * D[0]), z);
  TComplexe xi = z, terme;
  for (int k = 1; k <= 4; ++k) {
    TComplexe arg;
    CplxScale(z, 2.0 * k, arg);
    CplxSin(arg, terme);
    CplxScale(terme, -D[k], terme);
    CplxAdd(xi, terme, xi);
  }
  lambda = LandaC.Valeur + std::atan(std::sinh(xi.Im) / std::cos(xi.Re));
  const double P = std::asin(std::sin(xi.Re) / std::cosh(xi.Im));
  phi = LatitudeIsometriqueInverse(std::atanh(std::sin(P)), e);
}

void TTransverseMercatorBrut::ConstantesFuseau(double k0, double X0, bool sud,
                                               const std::string& meridien) {
  n = k0 * DemiGrandAxe();
  this->X0 = X0;
  Y0 = sud ? 10000000.0 : 0.0;
  LandaC.Ecrit(meridien);
}

}  // namespace vestrel
