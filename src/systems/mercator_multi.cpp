#include "systems/mercator_multi.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "tools/erreurs.h"

namespace vestrel {

namespace {
// Zones built with the constants, per hemisphere: a grid of 6° has 60, one
// of 3° 120; a finer grid builds its zones as the points name them.
constexpr int32_t kZonesPretes = 512;
}  // namespace

void TMultipleMercator::CalculeConstantes() {
  nord_.clear();
  sud_.clear();
  if (!Valide) return;
  const int32_t nombre = NombreZones();
  if (nombre > kZonesPretes) return;
  for (int32_t i = 1; i <= nombre; ++i) {
    nord_.push_back(ConstruitZone(i));
    sud_.push_back(ConstruitZone(-i));
  }
}

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

std::shared_ptr<const TTransverseMercator> TMultipleMercator::ConstruitZone(int32_t zone) const {
  // Northern zones get their central meridian in degrees, minutes and
  // seconds, southern zones in grades.
  const bool nord = zone >= 1;
  const double indice = nord ? zone : -static_cast<double>(zone);
  const double meridien = (indice - 1) * Pas.Valeur + LandaFuseau0.Valeur;
  auto systeme = std::make_shared<TTransverseMercator>();
  systeme->Datum = Datum;
  systeme->SetReel(0, k0);
  systeme->SetReel(1, X0);
  systeme->SetReel(2, nord ? Y0Nord : Y0Sud);
  systeme->SetAngle(0, nord ? AngleVersDMS(meridien) : AngleVersGrades(meridien));
  systeme->SetAngle(1, "0°");
  systeme->SetValide(true);
  return systeme;
}

const std::shared_ptr<const TTransverseMercator>* TMultipleMercator::ZonePrete(
    int32_t zone) const {
  const auto& pretes = zone >= 1 ? nord_ : sud_;
  const int64_t indice = zone >= 1 ? int64_t{zone} - 1 : -int64_t{zone} - 1;
  if (indice < 0 || indice >= static_cast<int64_t>(pretes.size())) return nullptr;
  return &pretes[static_cast<size_t>(indice)];
}

std::shared_ptr<const TTransverseMercator> TMultipleMercator::Zone(int32_t zone) const {
  if (const auto* prete = ZonePrete(zone)) return *prete;
  return ConstruitZone(zone);
}

template <class Conversion>
void TMultipleMercator::DansZone(int32_t zone, Conversion conversion) const {
  if (const auto* prete = ZonePrete(zone)) return conversion(**prete);
  conversion(*ConstruitZone(zone));
}

void TMultipleMercator::GeoVersCarto(double phi, double lambda, double& X, double& Y,
                                     int32_t& zone) const {
  zone = ChoixZone(phi, lambda);
  DansZone(zone, [&](const TTransverseMercator& z) { z.GeoVersCarto(phi, lambda, X, Y); });
}

void TMultipleMercator::GeoVersCartoDansZone(int32_t zone, double phi, double lambda, double& X,
                                             double& Y) const {
  DansZone(zone, [&](const TTransverseMercator& z) { z.GeoVersCarto(phi, lambda, X, Y); });
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
  DansZone(zone, [&](const TTransverseMercator& z) { z.CartoVersGeo(X, Y, phi, lambda); });
}

}  // namespace vestrel
