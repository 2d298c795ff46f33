#pragma once
// "Gauss Laborde Courbure": Gauss-Laborde on the sphere of mean curvature at
// the latitude of origin (the Gauss-Schreiber transverse Mercator of the
// Réunion grid). Y0 is the northing of the origin itself.
#include "systems/laborde_reel.h"

namespace vestrel {

class TLaborde_courbure : public TLaborde_reel {
 public:
  std::string Nature() const override { return "Gauss Laborde Courbure"; }

 protected:
  TSphereGauss Sphere(double phi0, double a, double e) const override;
  double OrdonneeEquateur(double n2, double latitude) const override;
};

}  // namespace vestrel
