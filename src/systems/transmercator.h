#pragma once
// "Transverse Mercator": the transverse Mercator projection given by its
// usual parameters: the central meridian Landa0, the latitude of origin Phi0,
// the scale factor k0 on the central meridian, and the false origin
// (X0, Y0), image of (Landa0, Phi0). The constants of the series are
//   n = k0·a,  easting of the equator crossing X0,
//   northing of the equator crossing Y0 − k0·a·M(φ0),
// M being the meridian arc from the equator divided by a.
#include "systems/transmercator_brut.h"

namespace vestrel {

class TTransverseMercator : public TTransverseMercatorBrut {
 public:
  std::string Nature() const override { return "Transverse Mercator"; }

  // The user's parameters. X0 and Y0 are the false origin, distinct from the
  // constants of the series (XEquateur, YEquateur).
  double k0 = 0;
  double X0 = 0;
  double Y0 = 0;
  TAngle Landa0;
  TAngle Phi0;

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
  void CalculeConstantes() override;
};

}  // namespace vestrel
