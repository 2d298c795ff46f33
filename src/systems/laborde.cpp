#include "systems/laborde.h"

#include <cmath>

#include "geodesy/geodesie.h"

namespace vestrel {

void TLaborde::SetParametres(const std::string& landaC, double N1, double N2, double C, double x0,
                             double y0) {
  n1 = N1;
  n2 = N2;
  c = C;
  XEquateur = x0;
  YEquateur = y0;
  LandaC.Ecrit(landaC);
}

void TLaborde::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const double Ls =
      c + n1 * LatitudeIsometrique(phi, Excentricite());  // isometric latitude on the sphere
  const double Lambda = n1 * (lambda - LandaC.Valeur);    // longitude on the sphere
  const double P = std::asin(std::sin(Lambda) / std::cosh(Ls));
  X = XEquateur + n2 * LatitudeIsometrique(P, 0);
  Y = YEquateur + n2 * std::atan(std::sinh(Ls) / std::cos(Lambda));
}

void TLaborde::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double u = (X - XEquateur) / n2, v = (Y - YEquateur) / n2;
  lambda = LandaC.Valeur + std::atan(std::sinh(u) / std::cos(v)) / n1;
  const double Ls = LatitudeIsometrique(std::asin(std::sin(v) / std::cosh(u)), 0);
  phi = LatitudeIsometriqueInverse((Ls - c) / n1, Excentricite());
}

}  // namespace vestrel
