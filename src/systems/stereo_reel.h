#pragma once
// The oblique stereographic kinds given by their usual parameters
// (TSurSphere): each concrete kind chooses the sphere and writes the centre's
// latitude on it (TexteCentre); this class turns the choice into the core
// constants of TStereographic, whose conversions it keeps.
#include "systems/stereographic.h"
#include "systems/sur_sphere.h"

namespace vestrel {

class TStereo_reel : public TSurSphere<TStereographic> {
 protected:
  // The angle text handed to the core for the centre, the origin's latitude
  // (radians) on the sphere.
  virtual std::string TexteCentre(double latitude) const = 0;
  void EcritNoyau(const TSphereGauss& sphere, double n2) override {
    SetParametres(Landa0.Texte, TexteCentre(sphere.Latitude), sphere.n1, n2, sphere.c, X0, Y0);
  }
};

}  // namespace vestrel
