#pragma once
// "Transverse Mercator Multiple": transverse Mercator zones of equal width
// `Pas` whose central meridians follow each other from `LandaFuseau0` (the
// centre of zone 1), with the scale factor k0, the false easting X0 and one
// false northing per hemisphere, as in UTM-like grids.
//
// Zone numbers: n ≥ 1 is a northern zone, n ≤ 0 the southern zone of index
// −n (zones n and −n share their central meridian; zone 0 is centred on
// LandaFuseau0 − Pas). Converting to the plane chooses the zone from the
// longitude (the equator belongs to the north); converting back uses the
// zone it is handed, whatever its number.
//
// Each zone is a "Transverse Mercator" system built on first use and kept.
// Writing a parameter, changing the datum or its ellipsoid starts the zones
// afresh.
#include <cstdint>
#include <map>
#include <memory>

#include "systems/multiple.h"
#include "systems/transmercator.h"

namespace vestrel {

class TMultipleMercator : public TMultiple {
 public:
  std::string Nature() const override { return "Transverse Mercator Multiple"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y,
                    int32_t& zone) const override;
  void CartoVersGeo(int32_t zone, double X, double Y, double& phi,
                    double& lambda) const override;
  void GeoVersCartoDansZone(int32_t zone, double phi, double lambda, double& X,
                            double& Y) const override;
  // As many zones as `Pas` fits in a full turn, the last one possibly
  // narrower (the numbers ChoixZone can give); any number when `Pas` is 0.
  int32_t NombreZones() const override;

  // The zone system of that number, built on first use.
  const TTransverseMercator& Zone(int32_t zone) const;
  // The number of the zone holding the point (radians). Raises
  // ErreurArithmetique when `Pas` is 0 or the number is out of reach.
  int32_t ChoixZone(double phi, double lambda) const;

  double k0 = 0;
  double X0 = 0;       // metres
  double Y0Nord = 0;   // metres
  double Y0Sud = 0;    // metres
  TAngle LandaFuseau0;
  TAngle Pas;

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0Nord", Y0Nord).Reel("Y0Sud", Y0Sud);
    p.Angle("LandaFuseau0", LandaFuseau0).Angle("Pas", Pas);
  }
  // Forgets the zones built so far.
  void CalculeConstantes() override;

 private:
  // The zones by number, and what they were built on.
  mutable std::map<int32_t, std::unique_ptr<TTransverseMercator>> Zones;
  mutable const TDatum* DatumZones = nullptr;
  mutable double AZones = 0, EZones = 0;
};

}  // namespace vestrel
