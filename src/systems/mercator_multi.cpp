#include "systems/mercator_multi.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "tools/erreurs.h"

namespace vestrel {

void TMultipleMercator::CalculeConstantes() { Zones.clear(); }

int32_t TMultipleMercator::ChoixZone(double phi, double lambda) const {
  const double p = Pas.Valeur;
  if (p == 0) throw ErreurArithmetique("Opération en virgule flottante incorrecte");
  // Longitude from the western edge of zone 1, in the numbering direction,
  // brought into [0, 2π).
  constexpr double tour = 2 * std::numbers::pi;
  double t = std::fmod((lambda - LandaFuseau0.Valeur + p / 2) * (p > 0 ? 1 : -1), tour);
  if (!std::isfinite(t)) throw ErreurArithmetique("Opération en virgule flottante incorrecte");
  if (t < 0) t += tour;
  if (t >= tour) t = 0;
  // A point on a zone's western edge belongs to it: the few units in the
  // last place that the radians lose there must not send it west.
  double quotient = t / std::fabs(p);
  if (std::fabs(quotient - std::round(quotient)) < 1e-9) quotient = std::round(quotient);
  const double numero = std::trunc(quotient) + 1;
  if (numero > std::numeric_limits<int32_t>::max())
    throw ErreurArithmetique("Débordement de virgule flottante");
  const auto zone = static_cast<int32_t>(numero);
  return phi < 0 ? -zone : zone;
}

const TTransverseMercator& TMultipleMercator::Zone(int32_t zone) const {
  // Zones follow the datum's ellipsoid: they are rebuilt when it changes.
  const double a = DemiGrandAxe(), e = Excentricite();
  if (Datum != DatumZones || a != AZones || e != EZones) {
    Zones.clear();
    DatumZones = Datum;
    AZones = a;
    EZones = e;
  }
  // A batch of points may name any number of zones: the cache keeps memory
  // flat by starting afresh past a thousand of them.
  constexpr size_t kZonesMax = 1024;
  if (Zones.size() >= kZonesMax && !Zones.count(zone)) Zones.clear();
  auto& systeme = Zones[zone];
  if (!systeme) {
    // Northern zones get their central meridian in degrees, minutes and
    // seconds, southern zones in grades.
    const bool nord = zone >= 1;
    const double indice = nord ? zone : -static_cast<double>(zone);
    const double meridien = (indice - 1) * Pas.Valeur + LandaFuseau0.Valeur;
    auto nouveau = std::make_unique<TTransverseMercator>();
    nouveau->Datum = Datum;
    nouveau->SetReel(0, k0);
    nouveau->SetReel(1, X0);
    nouveau->SetReel(2, nord ? Y0Nord : Y0Sud);
    nouveau->SetAngle(0, nord ? AngleVersDMS(meridien) : AngleVersGrades(meridien));
    nouveau->SetAngle(1, "0°");
    nouveau->SetValide(true);
    systeme = std::move(nouveau);
  }
  return *systeme;
}

void TMultipleMercator::GeoVersCarto(double phi, double lambda, double& X, double& Y,
                                     int32_t& zone) const {
  zone = ChoixZone(phi, lambda);
  Zone(zone).GeoVersCarto(phi, lambda, X, Y);
}

void TMultipleMercator::GeoVersCartoDansZone(int32_t zone, double phi, double lambda, double& X,
                                             double& Y) const {
  Zone(zone).GeoVersCarto(phi, lambda, X, Y);
}

int32_t TMultipleMercator::NombreZones() const {
  // The same tolerance as ChoixZone: a step that divides the turn to a few
  // units in the last place gives that many zones.
  constexpr double tour = 2 * std::numbers::pi;
  const double pas = std::fabs(Pas.Valeur);
  if (!(pas > tour / std::numeric_limits<int32_t>::max())) return 0;
  const double nombre = std::ceil(tour / pas - 1e-9);
  return static_cast<int32_t>(nombre);
}

void TMultipleMercator::CartoVersGeo(int32_t zone, double X, double Y, double& phi,
                                     double& lambda) const {
  Zone(zone).CartoVersGeo(X, Y, phi, lambda);
}

}  // namespace vestrel
