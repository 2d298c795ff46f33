// "Bonne" and "Mercator sur sphère".
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "catalogue/donnee.h"
#include "essais_projection.h"
#include "systems/mercator_sphere.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {
namespace {

using essais::kDeg;
constexpr double kA = 6378137, kPi = std::numbers::pi;

// Bonne: the worked example, then PROJ's bonne on the sphere of radius a,
// whose y counts from the point (lon_0, lat_1), a·cot φ0 below our Y0.
//   cs2cs -f %.4f +proj=longlat +R=6378137 +to +proj=bonne +R=6378137
//     +lat_1=45 +lon_0=0
TEST(Bonne, ExempleEtOracle) {
  auto s = essais::Systeme("Bonne", essais::Sphere(), {0, 0}, {"0", "45°"});
  double X, Y;
  essais::Aller(*s, 50, 10, X, Y);
  EXPECT_NEAR(X, 713747.527, 1e-3);
  EXPECT_NEAR(Y, -5777619.506, 1e-3);
  essais::Aller(*s, 45, 0, X, Y);
  EXPECT_EQ(X, 0);
  EXPECT_NEAR(Y, -kA, 1e-6);
  s = essais::Systeme("Bonne", essais::Sphere(), {0, kA}, {"0", "45°"});
  essais::VerifiePoint(*s, 50, 10, 713747.5267, 600517.4942, 1e-3);
  essais::VerifiePoint(*s, 20, -30, -3077167.9816, -2250723.5911, 1e-3);
  essais::VerifiePoint(*s, -60, 100, 5478344.2434, -10837925.2165, 1e-3);
  essais::VerifieLigne(*s, essais::Sphere(), 50, 10);
}

TEST(Bonne, AllerRetour) {
  auto s = essais::Systeme("Bonne", essais::Grs80(), {500000, 1000000}, {"3°", "46.5°"});
  essais::AllersRetours(*s, -80, 80, -150, 150);
}

TEST(Bonne, ParalleleStandardSurLEquateur) {
  auto s = essais::Systeme("Bonne", essais::Grs80(), {0, 0}, {"0", "0"});
  double X, Y;
  EXPECT_THROW(essais::Aller(*s, 10, 10, X, Y), ErreurArithmetique);
}

// Mercator: the worked example and PROJ's merc on the sphere of radius a.
//   cs2cs -f %.4f +proj=longlat +R=6378137 +to +proj=merc +R=6378137 +lon_0=0
TEST(MercatorSphere, ExempleEtOracle) {
  auto s = essais::Systeme("Mercator sur sphère", essais::Sphere(), {0, 0}, {"0"});
  essais::VerifiePoint(*s, 45, 10, 1113194.9079, 5621521.4862, 1e-3);
  essais::VerifiePoint(*s, -60, -170, -18924313.4349, -8399737.8898, 1e-3);
  // 190° east is 170° west.
  double X, Y, X2, Y2;
  essais::Aller(*s, 10, 190, X, Y);
  EXPECT_NEAR(X, -18924313.4349, 1e-3);
  EXPECT_NEAR(Y, 1118889.9749, 1e-3);
  essais::Aller(*s, 33, 0, X, Y);
  essais::Aller(*s, -33, 0, X2, Y2);
  EXPECT_NEAR(Y, -Y2, 1e-8);
  essais::Aller(*s, 0, 0, X, Y);
  EXPECT_NEAR(Y, 0, 1e-9);
  essais::VerifieLigne(*s, essais::Sphere(), 45, 10);
}

TEST(MercatorSphere, ReductionDeLongitude) {
  EXPECT_EQ(TMercator_sphere::ReduitLongitude(0.5), 0.5);
  EXPECT_EQ(TMercator_sphere::ReduitLongitude(kPi), -kPi);
  EXPECT_EQ(TMercator_sphere::ReduitLongitude(-kPi), kPi);
  EXPECT_NEAR(TMercator_sphere::ReduitLongitude(3 * kPi / 2), -kPi / 2, 1e-15);
  EXPECT_NEAR(TMercator_sphere::ReduitLongitude(-5 * kPi / 2), -kPi / 2, 1e-15);
  EXPECT_NEAR(TMercator_sphere::ReduitLongitude(7.5 * kPi), -kPi / 2, 1e-14);
  // The inverse reduces the longitude itself, not the difference.
  auto s = essais::Systeme("Mercator sur sphère", essais::Sphere(), {100000, 0}, {"0"});
  double phi, lambda;
  essais::Retour(*s, 100000 + kA * 3 * kPi / 2, 0, phi, lambda);
  EXPECT_NEAR(lambda, -90, 1e-12);
  s->SetAngle(0, "170°");
  essais::Retour(*s, 100000 + kA * 20 * kDeg, 0, phi, lambda);
  EXPECT_NEAR(lambda, -170, 1e-12);
}

// The kinds of this family and of the oblique and New Zealand ones, read
// from data-file records and converted by the pipeline from WGS84 degrees.
TEST(PipelineProjections, ConversionDepuisUnFichierDeDonnees) {
  TDonnees donnees;
  TFlux fichier(
      "Projection \"Bonne\"=\"B\" \"\" \"WGS84\" 0 0 0 45°\r\n"
      "Projection \"Mercator sur sphère\"=\"M\" \"\" \"WGS84\" 0 0 0\r\n"
      "Projection \"New Zealand Map Grid\"=\"NZ\" \"\" \"WGS84\" 0 0 173° -41°\r\n"
      "Projection \"Gauss Laborde Oblique\"=\"GLO\" \"\" \"WGS84\" 0.9999 600000 200000 "
      "8° 46.5° 30°\r\n"
      "Projection \"Hotine\"=\"H\" \"\" \"WGS84\" 0.9999 600000 200000 8° 46.5° 30°\r\n"
      "Projection \"Hotine centré\"=\"HC\" \"\" \"WGS84\" 0.9999 600000 200000 "
      "8° 46.5° 30°\r\n");
  donnees.ChargeFlux(fichier);
  struct {
    const char *Nom, *Latitude, *Longitude, *X, *Y;
  } const cas[] = {{"B", "50°", "10°", "713747.527", "-5777619.506"},
                   {"M", "45°", "10°", "1113194.908", "5621521.486"},
                   {"NZ", "-41.5°", "174°", "83490.670", "-56002.496"},
                   {"GLO", "46.5°", "8°", "600000.000", "200000.000"},
                   {"H", "46.5°", "8°", "3413290.160", "5072761.494"},
                   {"HC", "46.5°", "8°", "600000.000", "200000.000"}};
  for (const auto& c : cas) {
    int32_t zone = 0;
    std::string X, Y;
    ASSERT_TRUE(donnees.ConvertirPoint("WGS84", c.Nom, c.Latitude, c.Longitude, 0, zone,
                                       uaDegres, X, Y));
    EXPECT_EQ(X, c.X) << c.Nom;
    EXPECT_EQ(Y, c.Y) << c.Nom;
  }
}

}  // namespace
}  // namespace vestrel
