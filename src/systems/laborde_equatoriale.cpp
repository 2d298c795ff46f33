#include "systems/laborde_equatoriale.h"

namespace vestrel {

TSphereGauss TLaborde_equatoriale::Sphere(double phi0, double a, double e) const {
  return SphereEquatoriale(phi0, a, e);
}

}  // namespace vestrel
