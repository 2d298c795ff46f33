#pragma once
// The Gauss-Laborde kinds given by their usual parameters: scale factor k0,
// false origin X0, Y0, longitude and latitude of origin. Each concrete kind
// chooses the sphere (Constantes); this class turns the choice into the core
// constants of TLaborde, whose conversions it keeps. The core is recomputed
// after every parameter write while the system is valid; a computation that
// fails (a latitude text that does not parse, a singular latitude) leaves the
// core as it was and is not reported.
#include "systems/laborde.h"

namespace vestrel {

class TLaborde_reel : public TLaborde {
 public:
  TAngle Landa0;          // longitude of origin
  TAngle Phi0;            // latitude of origin
  double k0 = 0;          // scale factor on the sphere's latitude of origin
  double X0 = 0, Y0 = 0;  // metres, the kind's own false origin (distinct from the core's)

 protected:
  // The constants of the core for a latitude of origin phi0 (radians) on
  // the ellipsoid (a, e); Y0 is the core's ordinate.
  struct TConstantes {
    double n1 = 0, n2 = 0, c = 0, Y0 = 0;
  };
  virtual TConstantes Constantes(double phi0, double a, double e) const = 0;

  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
  void CalculeConstantes() override;
};

}  // namespace vestrel
