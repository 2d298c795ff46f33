// "Bonne", "Mercator sur sphère" and "New Zealand Map Grid" beyond their reference
// points (data/bonne_mercator.txt, data/nzmg.txt).
#include <gtest/gtest.h>

#include <numbers>

#include "essais_projection.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using namespace essais;
constexpr double kA = 6378137, kPi = std::numbers::pi;

// The inverse reduces the longitude itself, not the difference (the forward
// reduction: data/bonne_mercator.txt).
TEST(MercatorSphere, ReductionDeLongitude) {
  auto s = Systeme("Mercator sur sphère", "Sphère", "100000 0 0");
  double phi, lambda;
  Retour(*s, 100000 + kA * 3 * kPi / 2, 0, phi, lambda);
  EXPECT_NEAR(lambda, -90, 1e-12);
  s->SetAngle(0, "170°");
  Retour(*s, 100000 + kA * 20 * kDeg, 0, phi, lambda);
  EXPECT_NEAR(lambda, -170, 1e-12);
}

// The standard parallel on the equator has no circles: refused when written.
TEST(Bonne, EquateurRefuse) {
  auto s = Systeme("Bonne", "WGS84", "0 0 0° 45°");
  EXPECT_THROW(s->SetAngle(1, "0°"), ErreurArithmetique);
  EXPECT_FALSE(s->Valide);
}

TEST(NouvelleZelande, OrigineExacte) {
  const auto s = Systeme("New Zealand Map Grid", "WGS84", "0 0 173° -41°");
  double X, Y, phi, lambda;
  s->GeoVersCarto(-41 * kDeg, 173 * kDeg, X, Y);
  EXPECT_EQ(X, 0);
  EXPECT_EQ(Y, 0);
  s->CartoVersGeo(0, 0, phi, lambda);
  EXPECT_EQ(phi, -41 * kDeg);
  EXPECT_EQ(lambda, 173 * kDeg);
}

}  // namespace
}  // namespace vestrel
