// The stereographic kinds beyond their reference points (data/stereo.txt):
// the core's centre.
#include <gtest/gtest.h>

#include <cmath>

#include "essais_projection.h"
#include "geodesy/geodesie.h"
#include "systems/stereographic.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using namespace essais;

TEST(Stereo, CoreCentreAndItsLimits) {
  // The core with its constants given: 1.0007, 6380000 m, 0.003 at (3° E, 45° on the sphere).
  auto p = Systeme("Stéréographique", "WGS84", "1.0007 6380000 0.003 500000 300000 3° 45°");
  const double phiC = LatitudeIsometriqueInverse(
      (LatitudeIsometrique(45 * kDeg, 0) - 0.003) / 1.0007, ExcentriciteWGS84);
  double X, Y, phi, lambda;
  Aller(*p, phiC / kDeg, 3, X, Y);
  EXPECT_NEAR(X, 500000, 1e-6);
  EXPECT_NEAR(Y, 300000, 1e-6);
  Retour(*p, 500000, 300000, phi, lambda);
  EXPECT_EQ(lambda, 3);
  EXPECT_NEAR(phi * kDeg, phiC, 1e-12);
  // Straight north of the centre in the plane the turned longitude is pi:
  // the point is on the centre's meridian, and beyond the sphere's pole
  // it is 180° of sphere longitude away.
  Retour(*p, 500000, 301000, phi, lambda);
  EXPECT_NEAR(lambda, 3, 1e-9);
  EXPECT_GT(phi * kDeg, phiC);
  Retour(*p, 500000, 300000 + 7000000, phi, lambda);
  EXPECT_NEAR(lambda, 3 + 180 / 1.0007, 1e-9);
}

}  // namespace
}  // namespace vestrel
