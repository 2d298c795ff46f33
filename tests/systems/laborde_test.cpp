// Gauss-Rosenmund and the Gauss-Laborde kinds beyond their reference points
// (data/laborde.txt): the origin rule of each kind, the core, the sphere.
#include <gtest/gtest.h>

#include <cmath>

#include "essais_projection.h"
#include "geodesy/geodesie.h"
#include "systems/laborde.h"

namespace vestrel {
namespace {

using namespace essais;

const TLaborde& Coeur(const TProjection& p) { return dynamic_cast<const TLaborde&>(p); }

TEST(Laborde, CoreSendsTheSphereEquatorOnTheCentralMeridianToItsOrigin) {
  auto p = Systeme("Gauss Laborde", "WGS84", "1.0007 6380000 0.003 500000 -4000000 3°");
  // Ls = 0 where L(phi, e) = -c/n1.
  const double phi = LatitudeIsometriqueInverse(-0.003 / 1.0007, ExcentriciteWGS84);
  double X, Y;
  Aller(*p, phi / kDeg, 3, X, Y);
  EXPECT_NEAR(X, 500000, 1e-6);
  EXPECT_NEAR(Y, -4000000, 1e-6);
}

TEST(Laborde, OnASphereTheThreeKindsShareOneSphere) {
  const char* const parametres = "0.9996 1000000 2000000 10° 40°";
  auto courbure = Systeme("Gauss Laborde Courbure", "Sphère", parametres);
  auto bitan = Systeme("Gauss Laborde Bitangente", "Sphère", parametres);
  auto equat = Systeme("Gauss Laborde Equatoriale", "Sphère", parametres);
  for (const auto* p : {courbure.get(), bitan.get(), equat.get()}) {
    EXPECT_NEAR(Coeur(*p).n1, 1, 1e-15);
    EXPECT_NEAR(Coeur(*p).c, 0, 1e-15);
    EXPECT_NEAR(Coeur(*p).n2, 0.9996 * 6378137, 1e-6);
  }
  const double n2 = Coeur(*bitan).n2;
  for (double phi : {35.0, 40.0, 47.5})
    for (double lambda : {6.0, 10.0, 13.0}) {
      double Xc, Yc, Xb, Yb, Xe, Ye;
      Aller(*courbure, phi, lambda, Xc, Yc);
      Aller(*bitan, phi, lambda, Xb, Yb);
      Aller(*equat, phi, lambda, Xe, Ye);
      EXPECT_NEAR(Xb, Xe, 1e-6);
      EXPECT_NEAR(Yb, Ye, 1e-6);
      EXPECT_NEAR(Xc, Xb, 1e-6);
      EXPECT_NEAR(Yc, Yb - n2 * 40 * kDeg, 1e-6);
    }
}

}  // namespace
}  // namespace vestrel
