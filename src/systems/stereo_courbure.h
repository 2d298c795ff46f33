#pragma once
// "Stéréographique Courbure": the oblique stereographic projection of the
// Gauss sphere of mean curvature at the latitude of origin (the "double"
// stereographic of several national grids: Netherlands, Romania, New
// Brunswick). The centre is the origin's image chi0 on that sphere, so the
// origin falls on (X0, Y0); chi0 goes to the core as a grades text of ten
// decimals (1e-10 g, 0.01 mm on the ground).
#include "systems/stereo_reel.h"

namespace vestrel {

class TStereo_courbure : public TStereo_reel {
 public:
  std::string Nature() const override { return "Stéréographique Courbure"; }

 protected:
  TSphereGauss Sphere(double phi0, double a, double e) const override;
  std::string TexteCentre(double latitude) const override;
};

}  // namespace vestrel
