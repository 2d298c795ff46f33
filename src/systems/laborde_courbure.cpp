#include "systems/laborde_courbure.h"

namespace vestrel {

TSphereGauss TLaborde_courbure::Sphere(double phi0, double a, double e) const {
  return SphereCourbure(phi0, a, e);
}

// Y0 is the northing of the origin, n2·chi0 north of the sphere's equator.
double TLaborde_courbure::OrdonneeEquateur(double n2, double latitude) const {
  return Y0 - n2 * latitude;
}

}  // namespace vestrel
