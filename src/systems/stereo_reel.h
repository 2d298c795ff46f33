#pragma once
// The oblique stereographic kinds given by their usual parameters: scale
// factor k0, false origin X0, Y0, longitude and latitude of origin. Each
// concrete kind chooses the sphere (Sphere) and writes the centre's latitude
// on it (TexteCentre); this class turns the
// choice into the core constants of TStereographic, whose conversions it
// keeps. The core is recomputed after every parameter write while the system
// is valid; a computation that fails (a latitude text that does not parse, a
// singular latitude) leaves the core as it was and is not reported.
#include "systems/laborde_reel.h"
#include "systems/stereographic.h"

namespace vestrel {

class TStereo_reel : public TStereographic {
 public:
  TAngle Landa0;          // longitude of origin
  TAngle Phi0;            // latitude of origin on the ellipsoid
  double k0 = 0;          // scale factor at the origin
  double X0 = 0, Y0 = 0;  // metres, the kind's own false origin, copied into the core

 protected:
  virtual TSphereGauss Sphere(double phi0, double a, double e) const = 0;
  // The angle text handed to the core for the centre, the origin's latitude
  // (radians) on the sphere.
  virtual std::string TexteCentre(double latitude) const = 0;

  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
  void CalculeConstantes() override;
};

}  // namespace vestrel
