#pragma once
// "Stéréographique Equatoriale": the stereographic projection of the sphere
// that keeps the ellipsoid's isometric latitude (n1 = 1, c = 0), its radius
// chosen so that the scale is k0 along the parallel of origin. The centre is
// the origin's image phis on that sphere, handed to the core as a grades text
// ("%.8fg", about 1 mm).
#include "systems/stereo_reel.h"

namespace vestrel {

class TStereo_equatoriale : public TStereo_reel {
 public:
  std::string Nature() const override { return "Stéréographique Equatoriale"; }

 protected:
  TSphereGauss Sphere(double phi0, double a, double e) const override;
  std::string TexteCentre(double latitude) const override;
};

}  // namespace vestrel
