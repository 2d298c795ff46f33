#pragma once
// "Lambert Conique Tangent": a Lambert cone tangent to the parallel of origin
// φ0 with the scale factor k0 there (IGN, NT/G 71, algorithm ALG0019):
//   n = sin φ0,  c = k0·N(φ0)·cot φ0·exp(n·L(φ0)),
//   apex at (X0, Y0 + k0·N(φ0)·cot φ0),
// so that the origin (Landa0, Phi0) falls on (X0, Y0). φ0 = 0 has no cone.
#include "systems/lambert.h"

namespace vestrel {

class TLambert_tan : public TLambert {
 public:
  std::string Nature() const override { return "Lambert Conique Tangent"; }

  // The user's parameters. X0 and Y0 are the false origin, distinct from the
  // apex held by the cone (XSommet, YSommet).
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
