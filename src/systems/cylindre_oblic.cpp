#include "systems/cylindre_oblic.h"

#include <cmath>

#include "geodesy/sphere_gauss.h"

namespace vestrel {

TCylindreOblic::TConstantesHotine TCylindreOblic::ConstantesHotine(double phiC, double a,
                                                                   double e) {
  const double e2 = e * e, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
  const double s = std::sin(phiC), c = std::cos(phiC);
  // B and A/B are the exponent and the radius of the sphere of mean
  // curvature at φc.
  const TSphereGauss sphere = SphereCourbure(phiC, a, e);
  TConstantesHotine k;
  k.B = sphere.n1;
  k.A = k.B * sphere.R;
  k.D = k.B * std::sqrt(1 - e2) / (c * std::sqrt(1 - e2 * s * s));
  const double a2 = e2 / 2 + 5 * e4 / 24 + e6 / 12 + 13 * e8 / 360;
  const double a4 = 7 * e4 / 48 + 29 * e6 / 240 + 811 * e8 / 11520;
  const double a6 = 7 * e6 / 120 + 81 * e8 / 1120;
  const double a8 = 4279 * e8 / 161280;
  k.C = {2 * (a2 - 2 * a4 + 3 * a6 - 4 * a8), 8 * (a4 - 4 * a6 + 10 * a8), 32 * (a6 - 6 * a8),
         128 * a8};
  return k;
}

double TCylindreOblic::LatitudeDepuisConforme(double chi, const std::array<double, 4>& c) {
  const double cc = std::cos(chi), c2 = cc * cc;
  return chi + std::sin(chi) * cc * (c[0] + c2 * (c[1] + c2 * (c[2] + c2 * c[3])));
}

}  // namespace vestrel
