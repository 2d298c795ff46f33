#pragma once
// "Stéréographique Bitangente": the stereographic projection of the sphere
// tangent to the ellipsoid along the parallel of origin (radius N(phi0),
// n1 = 1), on which the origin keeps its latitude: the centre is the origin.
#include "systems/stereo_reel.h"

namespace vestrel {

class TStereo_bitan : public TStereo_reel {
 public:
  std::string Nature() const override { return "Stéréographique Bitangente"; }

 protected:
  TSphereGauss Sphere(double phi0, double a, double e) const override;
  std::string TexteCentre(double latitude) const override;
};

}  // namespace vestrel
