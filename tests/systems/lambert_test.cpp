// The Lambert conic kinds: the cone, the tangent and secant forms, the
// oblique cone on the conformal sphere.
#include <gtest/gtest.h>

#include <cmath>

#include "essai_systemes.h"
#include "geodesy/geodesie.h"
#include "systems/lambert.h"
#include "systems/lambert_oblic.h"
#include "systems/lambert_sec.h"
#include "systems/lambert_tan.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

using namespace vestrel;
using namespace vestrel::essai;

namespace {

// Lambert 93: GRS 80, origin 3° E 46°30' N at (700000, 6600000), standard
// parallels 44° and 49°.
constexpr const char* kLambert93 = "700000 6600000 3° 46°30' 44° 49°";
// Lambert II on Clarke 1880 IGN: tangent at 52 grades, central meridian of
// Paris, k0 = 0.99987742, origin at (600000, 2200000).
constexpr const char* kLambertII = "0.99987742 600000 2200000 2°20'14.025'' 52g";

TEST(LambertSecant, Lambert93ConstantsOfTheCone) {
  auto s = Systeme<TLambert_sec>("WGS84", kLambert93);
  EXPECT_NEAR(s->TLambert::n, 0.725607765053, 5e-13);
  EXPECT_NEAR(s->c, 11754255.426, 1e-3);
  EXPECT_NEAR(s->TLambert::Y0, 12655612.050, 1e-3);
  EXPECT_EQ(s->TLambert::X0, 700000);
  EXPECT_EQ(s->LandaC.Texte, "3°");
}

TEST(LambertSecant, AgreesWithProjOnLambert93) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +a=6378137 +e=0.08181919106 +to
  //   +proj=lcc +lat_1=44 +lat_2=49 +lat_0=46.5 +lon_0=3 +x_0=700000 +y_0=6600000
  //   +a=6378137 +e=0.08181919106
  auto s = Systeme<TLambert_sec>("WGS84", kLambert93);
  VerifiePoints(*s, {{3, 46.5, 700000.0000, 6600000.0000},
                     {1.0, 44.5, 541011.5827, 6379895.5593},
                     {5.5, 48.8, 883602.9346, 6858453.5437},
                     {-0.2, 47.0, 456909.7654, 6660457.2212},
                     {6.0, 45.0, 936341.2571, 6437909.1508}});
}

TEST(LambertTangent, AgreesWithProjOnLambertII) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +a=6378249.2 +b=6356515 +to
  //   +proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=2.337229166666667 +k_0=0.99987742
  //   +x_0=600000 +y_0=2200000 +a=6378249.2 +b=6356515
  auto s = Systeme<TLambert_tan>("NTF", kLambertII);
  VerifiePoints(*s, {{2.337229166666667, 46.8, 600000.0000, 2200000.0000},
                     {2.0, 46.0, 573876.6734, 2111137.3134},
                     {4.5, 48.5, 759870.6831, 2391215.8788},
                     {-0.5, 44.5, 374244.2761, 1948408.5127},
                     {5.3, 47.2, 824429.6072, 2248693.4936}});
}

TEST(Lambert, RoundTripsOnBothEllipsoids) {
  for (const char* datum : {"WGS84", "NTF"}) {
    SCOPED_TRACE(datum);
    AllersRetours(*Systeme<TLambert_sec>(datum, kLambert93), 40, 53, -6, 11);
    AllersRetours(*Systeme<TLambert_tan>(datum, kLambertII), 40, 53, -6, 11);
    // A southern cone (n < 0, c < 0).
    auto sud = Systeme<TLambert_sec>(datum, "500000 10000000 145° -37° -36° -38°");
    EXPECT_LT(sud->TLambert::n, 0);
    AllersRetours(*sud, -44, -28, 138, 152);
  }
}

TEST(LambertSecant, OriginAtThePoleIsTheApex) {
  auto s = Systeme<TLambert_sec>("WGS84", "0 0 0° 90° 70° 80°");
  EXPECT_EQ(s->TLambert::Y0, 0);
  double X, Y;
  s->GeoVersCarto(75 * Deg, 0, X, Y);
  EXPECT_EQ(X, 0);
  EXPECT_LT(Y, 0);
}

TEST(LambertSecant, EqualParallelsHaveNoConeAndSaySo) {
  // On reading: the line is refused.
  EXPECT_THROW(Systeme<TLambert_sec>("WGS84", "700000 6600000 3° 46°30' 45° 45°"),
               ErreurArithmetique);
  // On a valid system: the error is passed on, the cone stays as it was and
  // the system is no longer valid.
  auto s = Systeme<TLambert_sec>("WGS84", kLambert93);
  const double n = s->TLambert::n, c = s->c;
  EXPECT_THROW(s->SetAngle(3, "44°"), ErreurArithmetique);
  EXPECT_FALSE(s->Valide);
  EXPECT_EQ(s->TLambert::n, n);
  EXPECT_EQ(s->c, c);
  EXPECT_EQ(s->GetAngle(3), "44°");
}

TEST(LambertTangent, ScaleFactorRecomputesOnlyWhileValid) {
  auto s = Systeme<TLambert_tan>("NTF", kLambertII);
  const double c = s->c, apex = s->TLambert::Y0;
  s->SetReel(0, 1.0);
  EXPECT_NEAR(s->c, c / 0.99987742, 1e-6);
  EXPECT_GT(s->TLambert::Y0, apex);
  s->SetValide(false);
  s->SetReel(0, 0.99987742);
  EXPECT_NEAR(s->c, c / 0.99987742, 1e-6);
  s->SetValide(true);
  EXPECT_EQ(s->c, c);
  EXPECT_EQ(s->TLambert::Y0, apex);
  // The parallel of origin on the equator has no cone.
  EXPECT_THROW(s->SetAngle(1, "0"), ErreurArithmetique);
  EXPECT_FALSE(s->Valide);
}

TEST(Lambert, SingularPointsEndInAnArithmeticError) {
  auto s = Systeme<TLambert_sec>("WGS84", kLambert93);
  double X, Y;
  {
    GardeFlottante garde;
    s->GeoVersCarto(-90 * Deg, 3 * Deg, X, Y);
    EXPECT_THROW(garde.Verifie(), ErreurArithmetique);
  }
  {
    // On the apex's parallel line, beside the apex.
    GardeFlottante garde;
    s->CartoVersGeo(800000, s->TLambert::Y0, X, Y);
    EXPECT_THROW(garde.Verifie(), ErreurArithmetique);
  }
}

// ---- Oblique cone --------------------------------------------------------

// Centre 10° E 46° N, cone touching the oblique parallel 60°, axis tilted by
// 14°, k0 = 0.9999.
constexpr const char* kOblique = "0.9999 1000000 -4000000 10° 46° 60° 14°";

// Scales along the meridian and along the parallel at (φ, λ), and the cosine
// of the angle between their images (central differences).
struct TEchelles {
  double nord, est, cosinus;
};
TEchelles Echelles(const TProjection& p, double phi, double lambda, double a, double e) {
  const double h = 1e-5;
  const double N = GrandeNormale(phi, a, e);
  const double M = N * (1 - e * e) / (1 - e * e * std::sin(phi) * std::sin(phi));
  double x1, y1, x2, y2, x3, y3, x4, y4;
  p.GeoVersCarto(phi + h, lambda, x1, y1);
  p.GeoVersCarto(phi - h, lambda, x2, y2);
  p.GeoVersCarto(phi, lambda + h, x3, y3);
  p.GeoVersCarto(phi, lambda - h, x4, y4);
  const double nx = x1 - x2, ny = y1 - y2, ex = x3 - x4, ey = y3 - y4;
  const double dn = std::hypot(nx, ny), de = std::hypot(ex, ey);
  return {dn / (2 * h * M), de / (2 * h * N * std::cos(phi)), (nx * ex + ny * ey) / (dn * de)};
}

TEST(LambertOblique, IsConformal) {
  for (const char* datum : {"WGS84", "NTF"}) {
    auto s = Systeme<TLambert_oblic>(datum, kOblique);
    const TEllipsoide& el = *Catalogue().Datum(datum)->Ellipsoide;
    for (double phi : {38.0, 46.0, 53.0})
      for (double lambda : {1.0, 10.0, 21.0}) {
        SCOPED_TRACE(testing::Message() << datum << " " << phi << " " << lambda);
        const TEchelles k = Echelles(*s, phi * Deg, lambda * Deg, el.A, el.E);
        EXPECT_NEAR(k.nord / k.est, 1, 1e-8);
        EXPECT_NEAR(k.cosinus, 0, 1e-8);
      }
  }
}

TEST(LambertOblique, CentreFallsOnTheSphereLatitudeOfTheCentre) {
  // Without tilt the centre lies on the cone's central line at the radius
  // ρ1 = k0·R/tan φ1 from the apex, R the radius of the sphere of Gauss.
  auto s = Systeme<TLambert_oblic>("NTF", "0.9999 1000000 -4000000 10° 46° 60° 0°");
  const TEllipsoide& el = *Catalogue().Datum("NTF")->Ellipsoide;
  const double e2 = el.E * el.E, s2 = std::pow(std::sin(46 * Deg), 2);
  const double R = el.A * std::sqrt(1 - e2) / (1 - e2 * s2);
  double X, Y;
  s->GeoVersCarto(46 * Deg, 10 * Deg, X, Y);
  EXPECT_NEAR(X, 1000000 + 0.9999 * R / std::tan(60 * Deg), 1e-6);
  EXPECT_NEAR(Y, -4000000, 1e-6);
}

TEST(LambertOblique, RoundTripsOnBothEllipsoids) {
  for (const char* datum : {"WGS84", "NTF"}) {
    SCOPED_TRACE(datum);
    AllersRetours(*Systeme<TLambert_oblic>(datum, kOblique), 30, 62, -10, 30);
    // A cone opening southward.
    AllersRetours(*Systeme<TLambert_oblic>(datum, "1 0 0 -60° -35° -50° -10°"), -50, -20, -75, -45);
  }
}

// ---- Parameters and record line --------------------------------------------

TEST(Lambert, RecordLineReadsBack) {
  std::string ligne;
  auto s = Systeme<TLambert_sec>("WGS84", kLambert93);
  Ecriture(*s, ligne);
  EXPECT_EQ(ligne,
            "Projection \"Lambert Conique Sécant\"=\"Essai\" \"\" \"WGS84\" "
            "700000 6600000 3° 46°30' 44° 49°\r\n");
  EXPECT_EQ(LigneRelue(*s), ligne);
  const std::unique_ptr<TAncetre> autres[] = {
      Systeme<TLambert>("NTF", "0.725607765053 11754255.426 700000 12655612.05 2°20'14.025''"),
      Systeme<TLambert_tan>("NTF", kLambertII),
      Systeme<TLambert_oblic>("WGS84", kOblique)};
  for (const auto& autre : autres) {
    std::string l;
    Ecriture(*autre, l);
    EXPECT_EQ(LigneRelue(*autre), l);
  }
}

}  // namespace
