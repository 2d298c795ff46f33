// "Bonne" and "Mercator sur sphère".
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "essai_systeme.h"
#include "systems/bonne.h"
#include "systems/mercator_sphere.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {
namespace {

using essai::kDeg;
using essai::TEssaiDatum;
constexpr double kA = 6378137, kPi = std::numbers::pi;

struct TPointPlan {
  double Lon, Lat, X, Y;
};

// Bonne: the worked example and PROJ's bonne on the sphere of radius a,
// whose y counts from the point (lon_0, lat_1), a·cot φ0 below our Y0.
//   cs2cs -f %.4f +proj=longlat +R=6378137 +to +proj=bonne +R=6378137
//     +lat_1=45 +lon_0=0
TEST(Bonne, ExempleEtOracle) {
  TEssaiDatum sphere(kA, 0);
  TBonne s;
  essai::Remplit(s, sphere, {0, 0}, {"0", "45°"});
  double X, Y;
  s.GeoVersCarto(50 * kDeg, 10 * kDeg, X, Y);
  EXPECT_NEAR(X, 713747.527, 1e-3);
  EXPECT_NEAR(Y, -5777619.506, 1e-3);
  s.GeoVersCarto(45 * kDeg, 0, X, Y);
  EXPECT_EQ(X, 0);
  EXPECT_NEAR(Y, -kA, 1e-6);
  s.Y0 = kA;
  for (const TPointPlan& p : {TPointPlan{10, 50, 713747.5267, 600517.4942},
                              TPointPlan{-30, 20, -3077167.9816, -2250723.5911},
                              TPointPlan{100, -60, 5478344.2434, -10837925.2165}}) {
    s.GeoVersCarto(p.Lat * kDeg, p.Lon * kDeg, X, Y);
    EXPECT_NEAR(X, p.X, 1e-3);
    EXPECT_NEAR(Y, p.Y, 1e-3);
  }
  essai::VerifieRelecture(s, sphere);
}

TEST(Bonne, AllerRetour) {
  TEssaiDatum datum(kA, essai::kEGrs80);
  TBonne s;
  essai::Remplit(s, datum, {500000, 1000000}, {"3°", "46.5°"});
  for (double lat = -80; lat <= 80; lat += 20)
    for (double lon = -150; lon <= 150; lon += 50) {
      double X, Y, phi, lambda;
      s.GeoVersCarto(lat * kDeg, lon * kDeg, X, Y);
      s.CartoVersGeo(X, Y, phi, lambda);
      EXPECT_NEAR(phi / kDeg, lat, 1e-9);
      EXPECT_NEAR(lambda / kDeg, lon, 1e-9);
    }
}

TEST(Bonne, ParalleleStandardSurLEquateur) {
  TEssaiDatum datum(kA, essai::kEGrs80);
  TBonne s;
  essai::Remplit(s, datum, {0, 0}, {"0", "0"});
  GardeFlottante garde;
  double X, Y;
  s.GeoVersCarto(10 * kDeg, 10 * kDeg, X, Y);
  EXPECT_THROW(garde.Verifie(), ErreurArithmetique);
}

// Mercator: the worked example and PROJ's merc on the sphere of radius a.
//   cs2cs -f %.4f +proj=longlat +R=6378137 +to +proj=merc +R=6378137 +lon_0=0
TEST(MercatorSphere, ExempleEtOracle) {
  TEssaiDatum sphere(kA, 0);
  TMercator_sphere s;
  essai::Remplit(s, sphere, {0, 0}, {"0"});
  for (const TPointPlan& p : {TPointPlan{10, 45, 1113194.9079, 5621521.4862},
                              TPointPlan{-170, -60, -18924313.4349, -8399737.8898},
                              TPointPlan{190, 10, -18924313.4349, 1118889.9749}}) {
    double X, Y, phi, lambda;
    s.GeoVersCarto(p.Lat * kDeg, p.Lon * kDeg, X, Y);
    EXPECT_NEAR(X, p.X, 1e-3);
    EXPECT_NEAR(Y, p.Y, 1e-3);
    s.CartoVersGeo(X, Y, phi, lambda);
    EXPECT_NEAR(phi / kDeg, p.Lat, 1e-12);
    EXPECT_NEAR(lambda / kDeg, std::remainder(p.Lon, 360), 1e-12);
  }
  double X, Y, X2, Y2;
  s.GeoVersCarto(33 * kDeg, 0, X, Y);
  s.GeoVersCarto(-33 * kDeg, 0, X2, Y2);
  EXPECT_NEAR(Y, -Y2, 1e-8);
  s.GeoVersCarto(0, 0, X, Y);
  EXPECT_NEAR(Y, 0, 1e-9);
  essai::VerifieRelecture(s, sphere);
}

TEST(MercatorSphere, ReductionDeLongitude) {
  EXPECT_EQ(TMercator_sphere::ReduitLongitude(0.5), 0.5);
  EXPECT_EQ(TMercator_sphere::ReduitLongitude(kPi), -kPi);
  EXPECT_EQ(TMercator_sphere::ReduitLongitude(-kPi), kPi);
  EXPECT_NEAR(TMercator_sphere::ReduitLongitude(3 * kPi / 2), -kPi / 2, 1e-15);
  EXPECT_NEAR(TMercator_sphere::ReduitLongitude(-5 * kPi / 2), -kPi / 2, 1e-15);
  EXPECT_NEAR(TMercator_sphere::ReduitLongitude(7.5 * kPi), -kPi / 2, 1e-14);
  // The inverse reduces the longitude itself, not the difference.
  TEssaiDatum sphere(kA, 0);
  TMercator_sphere s;
  essai::Remplit(s, sphere, {100000, 0}, {"0"});
  double phi, lambda;
  s.CartoVersGeo(100000 + kA * 3 * kPi / 2, 0, phi, lambda);
  EXPECT_NEAR(lambda, -kPi / 2, 1e-15);
  s.SetAngle(0, "170°");
  s.CartoVersGeo(100000 + kA * 20 * kDeg, 0, phi, lambda);
  EXPECT_NEAR(lambda / kDeg, -170, 1e-12);
}

}  // namespace
}  // namespace vestrel
