#pragma once
// "Gauss Rosenmund": the oblique conformal cylinder of the Swiss grid. The
// ellipsoid is first mapped conformally onto the Gauss sphere of mean
// curvature at the latitude of origin, then the sphere onto a cylinder
// touching it along the great circle through the origin perpendicular to the
// origin's meridian (Rosenmund 1903; swisstopo, "Formulas and constants for
// the calculation of the Swiss conformal cylindrical projection", 2016).
// Exact formulas: the round trip keeps 1e-11 rad over the whole country and
// far beyond.
#include "geodesy/sphere_gauss.h"
#include "systems/projection.h"

namespace vestrel {

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
  void CalculeConstantes() override;

 private:
  TSphereGauss sphere_;  // of mean curvature at the latitude of origin
};

}  // namespace vestrel
