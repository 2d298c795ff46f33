#include "systems/stereo_courbure.h"

#include "tools/nombres.h"

namespace vestrel {

TSphereGauss TStereo_courbure::Sphere(double phi0, double a, double e) const {
  return SphereCourbure(phi0, a, e);
}

// Ten decimals of a grade: 1e-10 g is 0.01 mm on the ground.
std::string TStereo_courbure::TexteCentre(double latitude) const {
  return FormatF(latitude * RadiansVersGrades, 10) + "g";
}

}  // namespace vestrel
