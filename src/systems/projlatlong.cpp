#include "systems/projlatlong.h"

namespace vestrel {

void TProj_LatLonj::GeoVersCarto(double phi, double lambda, double& X, double& Y) const {
  const double a = DemiGrandAxe();
  X = a * lambda;
  Y = a * phi;
}

void TProj_LatLonj::CartoVersGeo(double X, double Y, double& phi, double& lambda) const {
  const double a = DemiGrandAxe();
  lambda = X / a;
  phi = Y / a;
}

}  // namespace vestrel
