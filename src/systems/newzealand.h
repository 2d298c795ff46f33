#pragma once
// "New Zealand Map Grid": a conformal projection written as a complex
// polynomial of degree 6 in ζ = Δψ + i·Δλ, Δψ the isometric-latitude
// difference from the origin given by a real series in the latitude
// difference (Reilly, "A conformal mapping projection with minimum scale
// error", Survey Review 22 (168), 1973; LINZ, OSG technical report 4.1).
// Only the semi-major axis of the ellipsoid enters. The inverse takes a plain
// starting value and Newton-Raphson steps until the step falls below 1e-15
// rad (at most 30, past which it raises ErreurArithmetique). The published
// method stops after two steps, which leaves metres of error at the far
// south-west of the grid (3.5 m at 47.3° S); iterated, the polynomial is
// inverted to well under a micrometre everywhere on the grid.
#include "systems/projection.h"

namespace vestrel {

class TNewZealand : public TProjection {
 public:
  std::string Nature() const override { return "New Zealand Map Grid"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double X0 = 0, Y0 = 0;  // metres, false easting and northing
  TAngle Landa0;          // longitude of origin
  TAngle Phi0;            // latitude of origin

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
};

}  // namespace vestrel
