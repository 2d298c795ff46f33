// The Gauss-Laborde and stereographic kinds beyond their reference points
// (data/laborde.txt, data/stereo.txt): the cores, the sphere.
#include <gtest/gtest.h>

#include "essais_projection.h"
#include "geodesy/geodesie.h"

namespace vestrel {
namespace {

using namespace essais;

// The cores with their constants given (n1 = 1.0007, n2 = 6380000 m,
// c = 0.003, central meridian 3° E) send the point whose sphere latitude is
// that of their centre, (L(φ, e) + c)/n1 = Ls, on the central meridian, to
// their origin and back: the Gauss-Laborde sphere's equator, the
// stereographic sphere's 45°.
TEST(Coeurs, LeCentreDeLaSphereVaALOrigine) {
  const struct {
    const char *Nature, *Parametres;
    double Ls;
  } cas[] = {{"Gauss Laborde", "1.0007 6380000 0.003 500000 300000 3°", 0},
             {"Stéréographique", "1.0007 6380000 0.003 500000 300000 3° 45°",
              LatitudeIsometrique(45 * kDeg, 0)}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Nature);
    auto p = Systeme(c.Nature, "WGS84", c.Parametres);
    const double phiC = LatitudeIsometriqueInverse((c.Ls - 0.003) / 1.0007, ExcentriciteWGS84);
    double X, Y, phi, lambda;
    Aller(*p, phiC / kDeg, 3, X, Y);
    EXPECT_NEAR(X, 500000, 1e-6);
    EXPECT_NEAR(Y, 300000, 1e-6);
    Retour(*p, 500000, 300000, phi, lambda);
    EXPECT_EQ(lambda, 3);
    EXPECT_NEAR(phi * kDeg, phiC, 1e-12);
  }
  // Straight north of the stereographic centre in the plane the turned
  // longitude is pi: beyond the sphere's pole the point is 180° of sphere
  // longitude away from the centre's meridian.
  auto p = Systeme("Stéréographique", "WGS84", "1.0007 6380000 0.003 500000 300000 3° 45°");
  double phi, lambda;
  Retour(*p, 500000, 300000 + 7000000, phi, lambda);
  EXPECT_NEAR(lambda, 3 + 180 / 1.0007, 1e-9);
}

TEST(Laborde, OnASphereTheThreeKindsShareOneSphere) {
  const char* const parametres = "0.9996 1000000 2000000 10° 40°";
  auto courbure = Systeme("Gauss Laborde Courbure", "Sphère", parametres);
  auto bitan = Systeme("Gauss Laborde Bitangente", "Sphère", parametres);
  auto equat = Systeme("Gauss Laborde Equatoriale", "Sphère", parametres);
  const double n2 = 0.9996 * 6378137;  // k0 times the sphere's radius
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
