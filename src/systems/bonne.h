#pragma once
// "Bonne": the equal-area pseudoconic projection on the sphere of radius a
// with the geodetic latitude taken as spherical latitude (Snyder, Map
// Projections - A Working Manual, USGS 1395, p. 138, eqs. 19-1 to 19-6).
// The parallels are arcs of circles centred at (X0, Y0); the standard
// parallel Phi0 has radius a·cot φ0 and must not be the equator.
#include "systems/projection.h"

namespace vestrel {

class TBonne : public TProjection {
 public:
  std::string Nature() const override { return "Bonne"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

  double X0 = 0;  // metres, easting of the central meridian
  double Y0 = 0;  // metres, northing of the common centre of the parallels
  TAngle Landa0;  // central meridian
  TAngle Phi0;    // standard parallel

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
  void CalculeConstantes() override;

 private:
  double rayonEquateur_ = 0;  // cot φ0 + φ0, the radius (in units of a) of the equator's circle
};

}  // namespace vestrel
