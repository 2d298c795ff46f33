// The Lambert conic kinds, beyond their reference points (data/lambert.txt):
// parameters without a cone, the apex, the oblique cone's conformality.
#include <gtest/gtest.h>

#include <numbers>

#include <cmath>

#include "essais_projection.h"
#include "geodesy/geodesie.h"
#include "systems/lambert_sec.h"
#include "tools/erreurs.h"

using namespace vestrel;
using namespace vestrel::essais;

namespace {

constexpr const char* kLambert93 = "700000 6600000 3° 46°30' 44° 49°";

TEST(LambertSecant, EqualParallelsHaveNoConeAndSaySo) {
  // On reading: the line is refused.
  EXPECT_THROW(Systeme("Lambert Conique Sécant", "WGS84", "700000 6600000 3° 46°30' 45° 45°"),
               ErreurArithmetique);
  // On a valid system: the error is passed on, the cone stays as it was and
  // the system is no longer valid.
  auto s = Systeme<TLambert_sec>("Lambert Conique Sécant", "WGS84", kLambert93);
  const double n = s->TLambert::n, c = s->c;
  EXPECT_THROW(s->SetAngle(3, "44°"), ErreurArithmetique);
  EXPECT_FALSE(s->Valide);
  EXPECT_EQ(s->TLambert::n, n);
  EXPECT_EQ(s->c, c);
  EXPECT_EQ(s->GetAngle(3), "44°");
  // The tangent cone on the equator is no cone either.
  auto t = Systeme("Lambert Conique Tangent", "NTF", "0.99987742 600000 2200000 2°20'14.025'' 52g");
  EXPECT_THROW(t->SetAngle(1, "0"), ErreurArithmetique);
  EXPECT_FALSE(t->Valide);
}

TEST(Lambert, TheApexHasNoInverse) {
  // The apex is the image of the pole only; beside it, on its parallel line,
  // lies a point 90° of cone angle from the central meridian.
  auto s = Systeme<TLambert_sec>("Lambert Conique Sécant", "WGS84", kLambert93);
  double phi, lambda;
  EXPECT_THROW(Retour(*s, s->XSommet, s->YSommet, phi, lambda), ErreurArithmetique);
  Retour(*s, s->XSommet + 100000, s->YSommet, phi, lambda);
  EXPECT_NEAR(lambda, (s->LandaC.Valeur + std::numbers::pi / 2 / s->TLambert::n) * 180 / std::numbers::pi, 1e-9);
}

// Centre 10° E 46° N, cone touching the oblique parallel 60°, k0 = 0.9999.
TEST(LambertOblique, IsConformal) {
  const double h = 1e-5;
  for (const char* datum : {"WGS84", "NTF"}) {
    auto s = Systeme("Lambert Conique Oblique", datum, "0.9999 1000000 -4000000 10° 46° 60° 14°");
    const TEllipsoide& el = *Catalogue().TrouveDatum(datum)->Ellipsoide;
    for (double phi : {38.0, 46.0, 53.0})
      for (double lambda : {1.0, 10.0, 21.0}) {
        SCOPED_TRACE(testing::Message() << datum << " " << phi << " " << lambda);
        // Scales along the meridian and the parallel, and the angle between
        // their images, by central differences.
        const double f = phi * kDeg, l = lambda * kDeg, e2 = el.E * el.E;
        const double N = GrandeNormale(f, el.A, el.E);
        const double M = N * (1 - e2) / (1 - e2 * std::sin(f) * std::sin(f));
        double x1, y1, x2, y2, x3, y3, x4, y4;
        s->GeoVersCarto(f + h, l, x1, y1);
        s->GeoVersCarto(f - h, l, x2, y2);
        s->GeoVersCarto(f, l + h, x3, y3);
        s->GeoVersCarto(f, l - h, x4, y4);
        const double dn = std::hypot(x1 - x2, y1 - y2), de = std::hypot(x3 - x4, y3 - y4);
        EXPECT_NEAR((dn / M) / (de / (N * std::cos(f))), 1, 1e-8);
        EXPECT_NEAR(((x1 - x2) * (x3 - x4) + (y1 - y2) * (y3 - y4)) / (dn * de), 0, 1e-8);
      }
  }
}

TEST(LambertOblique, CentreFallsOnTheSphereLatitudeOfTheCentre) {
  // Without tilt the centre lies on the cone's central line at the radius
  // ρ1 = k0·R/tan φ1 from the apex, R the radius of the sphere of Gauss.
  auto s = Systeme("Lambert Conique Oblique", "NTF", "0.9999 1000000 -4000000 10° 46° 60° 0°");
  const TEllipsoide& el = *Catalogue().TrouveDatum("NTF")->Ellipsoide;
  const double e2 = el.E * el.E, s2 = std::pow(std::sin(46 * kDeg), 2);
  const double R = el.A * std::sqrt(1 - e2) / (1 - e2 * s2);
  double X, Y;
  Aller(*s, 46, 10, X, Y);
  EXPECT_NEAR(X, 1000000 + 0.9999 * R / std::tan(60 * kDeg), 1e-6);
  EXPECT_NEAR(Y, -4000000, 1e-6);
}

}  // namespace
