#pragma once
// "Gauss Laborde Equatoriale": Gauss-Laborde on the sphere that keeps the
// ellipsoid's isometric latitude (n1 = 1, c = 0), its radius chosen so that
// the scale is k0 on the parallel of origin. Y0 is the northing of the
// sphere's equator on the central meridian.
#include "systems/laborde_reel.h"

namespace vestrel {

class TLaborde_equatoriale : public TLaborde_reel {
 public:
  std::string Nature() const override { return "Gauss Laborde Equatoriale"; }

 protected:
  TSphereGauss Sphere(double phi0, double a, double e) const override;
};

}  // namespace vestrel
