#pragma once
// "Projection Latitude/Longitude": a plate carrée on the sphere of radius a,
// X = a·λ, Y = a·φ. No parameters.
#include "systems/projection.h"

namespace vestrel {

class TProj_LatLonj : public TProjection {
 public:
  std::string Nature() const override { return "Projection Latitude/Longitude"; }
  void GeoVersCarto(double phi, double lambda, double& X, double& Y) const override;
  void CartoVersGeo(double X, double Y, double& phi, double& lambda) const override;

 protected:
  void DecritParametres(TParametres&) override {}
};

}  // namespace vestrel
