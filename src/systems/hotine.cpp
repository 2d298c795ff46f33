#include "systems/hotine.h"

#include <cmath>

#include "geodesy/geodesie.h"

namespace vestrel {

void THotine::CalculeConstantes() {
  if (!Valide) return;
  const double e = Excentricite();
  const double phiC = Phi0.Valeur;
  TConstantes& k = k_;
  k.Base = ConstantesHotine(phiC, DemiGrandAxe(), e);
  const double B = k.Base.B, D = k.Base.D;
  k.H = k0 * k.Base.A / B;
  // ln F with F = D ± sqrt(D² - 1), the sign of the centre's latitude: the
  // central line of a southern centre lies on the other branch.
  const double argD = std::copysign(std::acosh(D), phiC);
  k.LnE = argD - B * LatitudeIsometrique(phiC, e);
  k.SinGamma0 = std::sin(Theta0.Valeur) / D;
  k.CosGamma0 = std::sqrt(1 - k.SinGamma0 * k.SinGamma0);
  k.Landa0p = Landa0.Valeur - std::asin(std::sinh(argD) * k.SinGamma0 / k.CosGamma0) / B;
}

void THotine::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const TConstantes& k = k_;
  const double B = k.Base.B;
  const double L = B * (k.Landa0p - lambda);
  const double W = B * LatitudeIsometrique(phi, Excentricite()) + k.LnE;
  const double S = std::sinh(W), T = std::cosh(W);
  const double sinL = std::sin(L);
  // (u, v): along and across the central line, from the natural origin.
  const double u = k.H * std::atan((S * k.CosGamma0 - sinL * k.SinGamma0) / std::cos(L));
  const double v = k.H / 2 *
                   std::log((T - S * k.SinGamma0 - sinL * k.CosGamma0) /
                            (T + S * k.SinGamma0 + sinL * k.CosGamma0));
  const double ct = std::cos(Theta0.Valeur), st = std::sin(Theta0.Valeur);
  X = X0 + v * ct + u * st;
  Y = Y0 + u * ct - v * st;
}

void THotine::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const TConstantes& k = k_;
  const double B = k.Base.B;
  const double ct = std::cos(Theta0.Valeur), st = std::sin(Theta0.Valeur);
  const double dx = X - X0, dy = Y - Y0;
  const double v = ct * dx - st * dy, u = st * dx + ct * dy;
  const double S = std::sinh(v / k.H), T = std::cosh(v / k.H), V = std::sin(u / k.H);
  // Isometric latitude on the aposphere, then the conformal latitude.
  const double w = (0.5 * std::log((T - S * k.SinGamma0 + V * k.CosGamma0) /
                                   (T + S * k.SinGamma0 - V * k.CosGamma0)) -
                    k.LnE) /
                   B;
  const double ew = std::exp(w);
  const double chi = 2 * std::atan((ew - 1) / (ew + 1));
  phi = LatitudeDepuisConforme(chi, k.Base.C);
  lambda = k.Landa0p + std::atan((S * k.CosGamma0 + V * k.SinGamma0) / std::cos(u / k.H)) / B;
}

}  // namespace vestrel
