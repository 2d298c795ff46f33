#pragma once
// "Lambert Conique Sécant": a Lambert cone secant along the standard
// parallels φ1 and φ2 (scale 1 on both), with the origin (Landa0, Phi0)
// placed at (X0, Y0) (IGN, NT/G 71, algorithm ALG0054):
//   n = ln[N(φ2)·cos φ2 / (N(φ1)·cos φ1)] / (L(φ1) − L(φ2)),
//   c = N(φ1)·cos φ1 / n · exp(n·L(φ1)),
//   apex at (X0, Y0 + c·exp(−n·L(φ0))), or at (X0, Y0) when φ0 is the pole.
// φ1 = φ2 has no cone (the tangent kind covers it).
#include "systems/lambert.h"

namespace vestrel {

class TLambert_sec : public TLambert {
 public:
  std::string Nature() const override { return "Lambert Conique Sécant"; }

  // The user's parameters. X0 and Y0 are the false origin, distinct from the
  // apex held by the cone (XSommet, YSommet).
  double X0 = 0;
  double Y0 = 0;
  TAngle Landa0;
  TAngle Phi0;
  TAngle Phi1;
  TAngle Phi2;

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("X0", X0).Reel("Y0", Y0);
    p.Angle("Landa0", Landa0).Angle("Phi0", Phi0).Angle("Phi1", Phi1).Angle("Phi2", Phi2);
  }
  void CalculeConstantes() override;
};

}  // namespace vestrel
