#pragma once
// "Lambert Conique": the Lambert conformal conic projection of the ellipsoid,
// given by the constants of its cone (IGN, NT/G 71 "Projection cartographique
// conique conforme de Lambert", algorithms ALG0003 and ALG0004):
//   R = c·exp(−n·L(φ)),  γ = n·(λ − λC),  X = X0 + R·sin γ,  Y = Y0 − R·cos γ
// with L the isometric latitude. (X0, Y0) is the image of the pole (the apex
// of the cone), held in XSommet, YSommet. Exact formulas; the inverse latitude iterates to 1e-11 rad.
//
// The tangent and secant kinds derive from this class and compute n, c, the
// apex and the central meridian from the user's parameters.
#include "systems/projection.h"

namespace vestrel {

class TLambert : public TProjection {
 public:
  std::string Nature() const override { return "Lambert Conique"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void GeoVersCartoTangente(double phi, double tangente, double lambda, double& X,
                            double& Y) const override;
  // The angle γ is the full-circle arc tangent of (X − X0, Y0 − Y), both
  // signs turned for a southern cone (c < 0): every γ within ±π comes back,
  // polar cones and points far from the central meridian included.
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  // The cone.
  double n = 0;       // exponent
  double c = 0;       // radius constant, metres
  double XSommet = 0;  // apex easting, metres (parameter "X0")
  double YSommet = 0;  // apex northing, metres (parameter "Y0")
  TAngle LandaC;      // central meridian

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("n", n).Reel("c", c).Reel("X0", XSommet).Reel("Y0", YSommet).Angle("LandaC", LandaC);
  }
};

}  // namespace vestrel
