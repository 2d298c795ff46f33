#include "systems/stereo_equatoriale.h"

namespace vestrel {

TSphereGauss TStereo_equatoriale::Sphere(double phi0, double a, double e) const {
  return SphereEquatoriale(phi0, a, e);
}

std::string TStereo_equatoriale::TexteCentre(double latitude) const {
  return AngleVersGrades(latitude);
}

}  // namespace vestrel
