#pragma once
// "Lambert Conique Oblique": a Lambert cone in oblique position on the
// conformal sphere of Gauss.
//
// 1. The ellipsoid is mapped conformally onto the sphere of Gauss at φC:
//      α = √(1 + e²·cos⁴φC/(1 − e²)),  radius R = a·√(1 − e²)/(1 − e²·sin²φC),
//      χC = arcsin(sin φC / α),
//      L(χ, 0) = α·(L(φ, e) − L(φC, e)) + L(χC, 0),  Λ = α·(λC − λ),
//    with L the isometric latitude: the centre (λC, φC) falls on (0, χC).
// 2. The sphere is turned by αC about the axis normal to the meridian Λ = 0:
//      sin χ' = cos αC·sin χ + sin αC·cos χ·cos Λ,
//      sin Λ' = cos χ·sin Λ / cos χ'.
// 3. A Lambert cone on that sphere, of exponent n = sin φ1, scaled by k0:
//      ρ = ρ1·[tan(π/4 + χC/2) / tan(π/4 + χ'/2)]ⁿ,  ρ1 = k0·R / tan φ1,
//      θ = n·Λ',  X = X0 + ρ·cos θ,  Y = Y0 + ρ·sin θ,
//    (X0, Y0) being the apex of the cone.
// Every step is conformal, so is the whole; the inverse undoes the steps
// exactly (the latitude on the ellipsoid iterates to 1e-11 rad). The oblique
// longitude Λ' is a principal arcsine: the useful area is the hemisphere
// |Λ'| < 90° around the central line.
#include "geodesy/sphere_gauss.h"
#include "systems/projection.h"

namespace vestrel {

class TLambert_oblic : public TProjection {
 public:
  std::string Nature() const override { return "Lambert Conique Oblique"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double k0 = 0;   // scale factor
  double X0 = 0;   // metres
  double Y0 = 0;   // metres
  TAngle LandaC;   // centre of the conformal sphere
  TAngle PhiC;
  TAngle Phi1;     // parallel of contact of the cone, on the oblique sphere
  TAngle AlphaC;   // tilt of the oblique axis

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0);
    p.Angle("LandaC", LandaC).Angle("PhiC", PhiC).Angle("Phi1", Phi1).Angle("AlphaC", AlphaC);
  }
  void CalculeConstantes() override;

 private:
  struct TConstantes {
    TSphereGauss sphere;  // of mean curvature at φC: α is its n1
    double LContact;      // L(χC, 0): reference of the cone's radius
    double n;             // exponent of the cone
    double rho1;          // radius of the cone at χ' = χC, metres
    double cosAlphaC, sinAlphaC;
  };
  TConstantes k_{};
};

}  // namespace vestrel
