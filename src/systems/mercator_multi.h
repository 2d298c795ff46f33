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
// Each zone is a "Transverse Mercator" system. The zones a point can fall in
// (±1 to ±NombreZones()) are built with the constants, when they are at most
// 512 a hemisphere; any other zone is built for the call that names it.
#include <cstdint>
#include <memory>
#include <vector>

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

  // The zone system of that number: one of those built with the constants,
  // or one built for the call.
  std::shared_ptr<const TTransverseMercator> Zone(int32_t zone) const;
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
  // Builds the zones ±1 to ±NombreZones() while the system is valid.
  void CalculeConstantes() override;

 private:
  std::shared_ptr<const TTransverseMercator> ConstruitZone(int32_t zone) const;
  // The zone among those built with the constants, or none.
  const std::shared_ptr<const TTransverseMercator>* ZonePrete(int32_t zone) const;
  // Converts through the zone, built for the call when it is not ready.
  template <class Conversion>
  void DansZone(int32_t zone, Conversion conversion) const;

  // Zone i is nord_[i − 1], zone −i is sud_[i − 1].
  std::vector<std::shared_ptr<const TTransverseMercator>> nord_, sud_;
};

}  // namespace vestrel
