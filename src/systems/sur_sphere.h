#pragma once
// The kinds built on a Gauss conformal sphere and given by their usual
// parameters: scale factor k0, false origin X0, Y0, longitude and latitude of
// origin. The Gauss-Laborde kinds (over the core TLaborde) and the oblique
// stereographic kinds (over the core TStereographic) share this class: each
// concrete kind chooses the sphere (Sphere), its family writes the sphere
// into the core's constants (EcritNoyau), whose conversions it keeps. The
// core is recomputed after every parameter write while the system is valid;
// a computation that fails (a singular latitude) clears the validity and is
// passed on.
#include "geodesy/sphere_gauss.h"
#include "systems/ancetre.h"

namespace vestrel {

template <class TNoyau>
class TSurSphere : public TNoyau {
 public:
  TAngle Landa0;          // longitude of origin
  TAngle Phi0;            // latitude of origin on the ellipsoid
  double k0 = 0;          // scale factor at the origin's image on the sphere
  double X0 = 0, Y0 = 0;  // metres, the kind's own false origin

 protected:
  virtual TSphereGauss Sphere(double phi0, double a, double e) const = 0;
  // The core's constants for that sphere, its radius times k0 being n2.
  virtual void EcritNoyau(const TSphereGauss& sphere, double n2) = 0;

  void DecritParametres(TParametres& p) override {
    p.Reel("k0", k0).Reel("X0", X0).Reel("Y0", Y0).Angle("Landa0", Landa0).Angle("Phi0", Phi0);
  }
  void CalculeConstantes() override {
    if (!this->Valide) return;
    // From the text: a latitude whose last write did not read fails here
    // instead of leaving its previous value in force.
    const TSphereGauss sphere =
        Sphere(TexteVersAngle(Phi0.Texte), this->DemiGrandAxe(), this->Excentricite());
    EcritNoyau(sphere, k0 * sphere.R);
  }
};

}  // namespace vestrel
