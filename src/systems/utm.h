#pragma once
// "UTM Fuseau": one zone of the Universal Transverse Mercator grid. Zone
// `Fuseau` has the central meridian 6·Fuseau − 183° (zone 31: 3° east), the
// scale factor 0.9996, the false easting 500 000 m and, in the southern
// hemisphere (`Sud`), the false northing 10 000 000 m. No range is enforced
// on the zone number: zone 0 is centred on −183°.
#include <cstdint>

#include "systems/transmercator_brut.h"

namespace vestrel {

class TUTM : public TTransverseMercatorBrut {
 public:
  std::string Nature() const override { return "UTM Fuseau"; }

  int32_t Fuseau = 0;
  bool Sud = false;

 protected:
  void DecritParametres(TParametres& p) override { p.Entier("Fuseau", Fuseau).Booleen("Sud", Sud); }
  void CalculeConstantes() override;
};

}  // namespace vestrel
