#pragma once
// "MTM Fuseau": one zone of the Modified Transverse Mercator grid of three
// degrees. Zone `Fuseau` has the central meridian −(3·Fuseau + 49.5)°
// (zone 3: 58°30' west, zone 8: 73°30' west), the scale factor 0.9999, the
// false easting 304 800 m and, in the southern hemisphere (`Sud`), the false
// northing 10 000 000 m.
#include <cstdint>

#include "systems/transmercator_brut.h"

namespace vestrel {

class Tmtm : public TTransverseMercatorBrut {
 public:
  std::string Nature() const override { return "MTM Fuseau"; }

  int32_t Fuseau = 0;
  bool Sud = false;

 protected:
  void DecritParametres(TParametres& p) override { p.Entier("Fuseau", Fuseau).Booleen("Sud", Sud); }
  void CalculeConstantes() override;
};

}  // namespace vestrel
