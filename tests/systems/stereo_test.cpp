// The stereographic kinds beyond their reference points (data/stereo.txt):
// the derived spheres, the poles, the core's centre.
#include <gtest/gtest.h>

#include <cmath>

#include "essais_projection.h"
#include "geodesy/geodesie.h"
#include "systems/stereographic.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using namespace essais;

const TStereographic& Coeur(const TProjection& p) { return dynamic_cast<const TStereographic&>(p); }

TEST(Stereo, PolaireAxesAndPoles) {
  for (bool estSud : {false, true}) {
    auto p = Systeme("Stéréographique Polaire", "WGS84",
                     std::string("0.994 2000000 2000000 -45° ") + (estSud ? "1" : "0"));
    const double pole = estSud ? -90 : 90;
    double X, Y, phi, lambda;
    Aller(*p, pole, 12, X, Y);
    EXPECT_NEAR(X, 2000000, 1e-6);
    EXPECT_NEAR(Y, 2000000, 1e-6);
    Retour(*p, 2000000, 2000000, phi, lambda);
    EXPECT_EQ(phi, pole);
    EXPECT_EQ(lambda, -45);
    Aller(*p, estSud ? -70 : 70, -45, X, Y);
    EXPECT_NEAR(X, 2000000, 1e-6);
    if (estSud)
      EXPECT_GT(Y, 2000000);
    else
      EXPECT_LT(Y, 2000000);
    // The hemisphere flag recomputes the centre at once.
    if (!estSud) {
      p->SetBooleen(0, true);
      EXPECT_EQ(Coeur(*p).PhiC.Texte, "-90°");
    }
  }
}

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
