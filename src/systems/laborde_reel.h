#pragma once
// The Gauss-Laborde kinds given by their usual parameters (TSurSphere): each
// concrete kind chooses the sphere and where its Y0 lies; this class turns
// the choice into the core constants of TLaborde, whose conversions it keeps.
#include "systems/laborde.h"
#include "systems/sur_sphere.h"

namespace vestrel {

class TLaborde_reel : public TSurSphere<TLaborde> {
 protected:
  // The core's northing of the sphere's equator on the central meridian,
  // for a sphere of radius n2 (scale included) where the origin lies at
  // `latitude`. The kind's Y0 is that northing itself, unless a kind says
  // otherwise.
  virtual double OrdonneeEquateur(double /*n2*/, double /*latitude*/) const { return Y0; }
  void EcritNoyau(const TSphereGauss& sphere, double n2) override {
    SetParametres(Landa0.Texte, sphere.n1, n2, sphere.c, X0, OrdonneeEquateur(n2, sphere.Latitude));
  }
};

}  // namespace vestrel
