#pragma once
// "Gauss Rosenmund": the oblique conformal cylinder of the Swiss grid. The
// ellipsoid is first mapped conformally onto the Gauss sphere of mean
// curvature at the latitude of origin, then the sphere onto a cylinder
// touching it along the great circle through the origin perpendicular to the
// origin's meridian (Rosenmund 1903; swisstopo, "Formulas and constants for
// the calculation of the Swiss conformal cylindrical projection", 2016).
// Exact formulas: the round trip keeps 1e-11 rad over the whole country and
// far beyond. No derived constants: the sphere is evaluated afresh from the
// parameters and the ellipsoid at every conversion.
#include "systems/projection.h"

namespace vestrel {

// The Gauss conformal sphere of mean curvature at the latitude phi0 (radians)
// of the ellipsoid (a, e):
//   alpha = sqrt(1 + e²·cos⁴phi0/(1 − e²))    ratio of the longitude differences
//   R     = a·sqrt(1 − e²)/(1 − e²·sin²phi0)   radius, metres (sqrt of M·N)
//   chi0  = asin(sin phi0/alpha)               latitude of phi0 on the sphere
//   K     = L(chi0, 0) − alpha·L(phi0, e)      so that L(chi, 0) = alpha·L(phi, e) + K
struct TSphereCourbure {
  double Alpha = 0;
  double R = 0;
  double Chi0 = 0;
  double K = 0;
};
TSphereCourbure SphereCourbure(double phi0, double a, double e);

class TRosenmund : public TProjection {
 public:
  std::string Nature() const override { return "Gauss Rosenmund"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double X0 = 0, Y0 = 0;  // metres, plane coordinates of the origin
  TAngle Landa0, Phi0;    // longitude and latitude of the origin

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
};

}  // namespace vestrel
