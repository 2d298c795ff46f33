#include "systems/hotine_centre.h"

#include <cmath>
#include <numbers>

namespace vestrel {

namespace {

constexpr double kPi = std::numbers::pi;

double Signe(double x) { return (x > 0) - (x < 0); }

// Snyder's t: tan(π/4 − φ/2) / ((1 − e·sin φ)/(1 + e·sin φ))^(e/2).
double FonctionT(double phi, double e) {
  const double es = e * std::sin(phi);
  return std::tan(kPi / 4 - phi / 2) / std::pow((1 - es) / (1 + es), e / 2);
}

}  // namespace

void THotineCentre::CalculeConstantes() {
  if (!Valide) return;
  const double a = DemiGrandAxe(), e = Excentricite();
  const double phiC = Phi0.Valeur, theta = Theta0.Valeur;
  TConstantes& k = k_;
  k.Base = ConstantesHotine(phiC, a, e);
  k.Base.A *= k0;
  const double A = k.Base.A, B = k.Base.B, D = k.Base.D;
  const double racine = std::sqrt(D * D - 1);
  const double F = D + Signe(phiC) * racine;
  k.E = F * std::pow(FonctionT(phiC, e), B);
  const double G = (F - 1 / F) / 2;
  const double gamma0 = std::asin(std::sin(theta) / D);
  k.CosGamma0 = std::cos(gamma0);
  k.SinGamma0 = std::sin(gamma0);
  k.Landa0p = Landa0.Valeur - std::asin(G * std::tan(gamma0)) / B;
  k.Uc = Signe(phiC) * (A / B) * std::atan(racine / std::cos(theta));
}

void THotineCentre::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const TConstantes& k = k_;
  const double A = k.Base.A, B = k.Base.B;
  const double Q = k.E / std::pow(FonctionT(phi, Excentricite()), B);
  const double S = (Q - 1 / Q) / 2, T = (Q + 1 / Q) / 2;
  const double BL = B * (lambda - k.Landa0p);
  const double V = std::sin(BL);
  const double U = (S * k.SinGamma0 - V * k.CosGamma0) / T;
  // (u, v): along and across the central line, u from the centre.
  const double v = A * std::log((1 - U) / (1 + U)) / (2 * B);
  const double u = (A / B) * std::atan((S * k.CosGamma0 + V * k.SinGamma0) / std::cos(BL)) - k.Uc;
  X = X0 + v * k.CosGamma0 + u * k.SinGamma0;
  Y = Y0 + u * k.CosGamma0 - v * k.SinGamma0;
}

void THotineCentre::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const TConstantes& k = k_;
  const double A = k.Base.A, B = k.Base.B;
  const double dx = X - X0, dy = Y - Y0;
  const double u = dy * k.CosGamma0 + dx * k.SinGamma0 + k.Uc;
  const double v = dx * k.CosGamma0 - dy * k.SinGamma0;
  const double Qp = std::exp(-B * v / A);
  const double Sp = (Qp - 1 / Qp) / 2, Tp = (Qp + 1 / Qp) / 2;
  const double Vp = std::sin(B * u / A);
  const double Up = (Vp * k.CosGamma0 + Sp * k.SinGamma0) / Tp;
  const double t = std::pow(k.E / std::sqrt((1 + Up) / (1 - Up)), 1 / B);
  const double chi = kPi / 2 - 2 * std::atan(t);
  phi = LatitudeDepuisConforme(chi, k.Base.C);
  lambda = k.Landa0p - std::atan((Sp * k.CosGamma0 - Vp * k.SinGamma0) / std::cos(B * u / A)) / B;
}

}  // namespace vestrel
