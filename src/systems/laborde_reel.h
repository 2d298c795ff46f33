#pragma once
// The Gauss-Laborde kinds given by their usual parameters: scale factor k0,
// false origin X0, Y0, longitude and latitude of origin. Each concrete kind
// chooses the sphere (Sphere); this class turns the choice into the core
// constants of TLaborde, whose conversions it keeps. The core is recomputed
// after every parameter write while the system is valid; a computation that
// fails (a latitude text that does not parse, a singular latitude) leaves the
// core as it was and is not reported.
#include "systems/laborde.h"

namespace vestrel {

// A Gauss conformal sphere chosen for a latitude of origin phi0 on the
// ellipsoid (a, e): isometric latitude L(phis, 0) = c + n1·L(phi, e),
// longitudes multiplied by n1, radius R (metres), and the origin's latitude
// on the sphere. Shared by the Gauss-Laborde, Rosenmund and stereographic kinds.
struct TSphereGauss {
  double n1 = 0, R = 0, c = 0;
  double Latitude = 0;  // radians
};
// Mean curvature at phi0: n1 = sqrt(1 + e²·cos⁴phi0/(1 − e²)),
// R = a·sqrt(1 − e²)/(1 − e²·sin²phi0) = sqrt(M·N), Latitude = chi0 =
// asin(sin phi0/n1), c = L(chi0, 0) − n1·L(phi0, e).
TSphereGauss SphereCourbure(double phi0, double a, double e);
// Tangent along the parallel phi0, which keeps its latitude: n1 = 1,
// R = N(phi0), c = L(phi0, 0) − L(phi0, e).
TSphereGauss SphereBitangente(double phi0, double a, double e);
// Keeping the isometric latitude (n1 = 1, c = 0): phi0 goes to
// phis = L⁻¹(L(phi0, e), 0); R = N(phi0)·cos phi0/cos phis keeps the
// length of the parallel phi0.
TSphereGauss SphereEquatoriale(double phi0, double a, double e);

class TLaborde_reel : public TLaborde {
 public:
  TAngle Landa0;          // longitude of origin
  TAngle Phi0;            // latitude of origin
  double k0 = 0;          // scale factor on the sphere's latitude of origin
  double X0 = 0, Y0 = 0;  // metres, the kind's own false origin (distinct from the core's)

 protected:
  virtual TSphereGauss Sphere(double phi0, double a, double e) const = 0;
  // The core's Y0, northing of the sphere's equator on the central meridian,
  // for a sphere of radius n2 (scale included) where the origin lies at
  // `latitude`. The kind's Y0 is that northing itself, unless a kind says
  // otherwise.
  virtual double OrdonneeEquateur(double /*n2*/, double /*latitude*/) const { return Y0; }

  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
  void CalculeConstantes() override;
};

}  // namespace vestrel
