#pragma once
// "Mercator sur sphère": the normal Mercator projection on the sphere of
// radius a with the geodetic latitude taken as spherical latitude (Snyder,
// Map Projections - A Working Manual, USGS 1395, p. 41, eqs. 7-1, 7-2, 7-4,
// 7-5). Longitudes are brought back between −π and π.
#include "systems/projection.h"

namespace vestrel {

class TMercator_sphere : public TProjection {
 public:
  std::string Nature() const override { return "Mercator sur sphère"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double X0 = 0;  // metres, easting of the central meridian
  double Y0 = 0;  // metres, northing of the equator
  TAngle Landa0;  // central meridian

  // x (radians) brought back between −π and π by whole turns; π itself
  // becomes −π and −π becomes π.
  static double ReduitLongitude(double x);

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0);
  }
};

}  // namespace vestrel
