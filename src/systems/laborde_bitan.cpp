#include "systems/laborde_bitan.h"

namespace vestrel {

TSphereGauss TLaborde_bitan::Sphere(double phi0, double a, double e) const {
  return SphereBitangente(phi0, a, e);
}

}  // namespace vestrel
