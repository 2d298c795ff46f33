#include "systems/stereo_bitan.h"

namespace vestrel {

TSphereGauss TStereo_bitan::Sphere(double phi0, double a, double e) const {
  return SphereBitangente(phi0, a, e);
}

// The origin keeps its latitude on the sphere: the user's own text.
std::string TStereo_bitan::TexteCentre(double /*latitude*/) const { return Phi0.Texte; }

}  // namespace vestrel
