#pragma once
// "Gauss Laborde Bitangente": Gauss-Laborde on the sphere tangent to the
// ellipsoid along the parallel of origin (radius N(phi0), n1 = 1), the parallel
// keeping its latitude. Y0 is the northing of the sphere's equator on the
// central meridian.
#include "systems/laborde_reel.h"

namespace vestrel {

class TLaborde_bitan : public TLaborde_reel {
 public:
  std::string Nature() const override { return "Gauss Laborde Bitangente"; }

 protected:
  TSphereGauss Sphere(double phi0, double a, double e) const override;
};

}  // namespace vestrel
