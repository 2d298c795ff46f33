#include "systems/lambert.h"

#include <cmath>

#include "geodesy/geodesie.h"

namespace vestrel {

namespace {

void Cone(const TLambert& l, double L, double lambda, double& X, double& Y) {
  const double R = l.c * std::exp(-l.n * L);
  const double gamma = l.n * (lambda - l.LandaC.Valeur);
  X = l.XSommet + R * std::sin(gamma);
  Y = l.YSommet - R * std::cos(gamma);
}

}  // namespace

void TLambert::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  Cone(*this, LatitudeIsometrique(phi, Excentricite()), lambda, X, Y);
}

void TLambert::GeoVersCartoTangente(double, double tangente, double lambda, double& X,
                                    double& Y) const {
  Cone(*this, LatitudeIsometriqueTangente(tangente, Excentricite()), lambda, X, Y);
}

void TLambert::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double dX = X - XSommet, dY = Y - YSommet;
  const double R = std::sqrt(dX * dX + dY * dY);
  // The full-circle arc tangent holds the cone angle beyond ±90° (polar
  // cones, far from the central meridian). For a southern cone (c < 0) the
  // image of a point lies on the far side of the apex: both sides of the
  // quotient change sign.
  const double s = c < 0 ? -1.0 : 1.0;
  const double gamma = ArcTangente2(s * dX, s * (YSommet - Y));
  lambda = LandaC.Valeur + gamma / n;
  phi = LatitudeIsometriqueInverse(-std::log(std::fabs(R / c)) / n, Excentricite());
}

}  // namespace vestrel
