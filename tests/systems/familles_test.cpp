// The projection kinds beyond their reference points (data/*.txt): the
// Lambert cones (parameters without a cone, the apex, the oblique cone's
// conformality), the Gauss-Laborde and stereographic cores,
// "Mercator sur sphère", "Bonne" and "New Zealand Map Grid"; the UTM and MTM
// zone rules, the multi-zone grid's zone choice, zone systems and hemispheres.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "essais_projection.h"
#include "geodesy/geodesie.h"
#include "systems/lambert_sec.h"
#include "systems/mercator_multi.h"
#include "systems/transmercator_brut.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using namespace essais;
constexpr double kA = 6378137, kPi = std::numbers::pi;

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

// The apex is the image of the pole only.
TEST(Lambert, TheApexHasNoInverse) {
  auto s = Systeme<TLambert_sec>("Lambert Conique Sécant", "WGS84", kLambert93);
  double phi, lambda;
  EXPECT_THROW(Retour(*s, s->XSommet, s->YSommet, phi, lambda), ErreurArithmetique);
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
}

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

// Central meridian and false origin of zones the reference points leave
// out: a zone west of the grid, a southern MTM zone; zone numbers far out of
// the grid do not overflow.
TEST(UTM, ZoneRules) {
  struct {
    const char *nature, *ligne, *meridien;
    double X0, Y0;
  } const cas[] = {{"UTM Fuseau", "0 0", "-183°", 500000, 0},
                   {"MTM Fuseau", "8 1", "-73°30'", 304800, 10000000},
                   {"UTM Fuseau", "2147483647 1", "12884901699°", 500000, 10000000}};
  for (const auto& c : cas) {
    auto s = Systeme<TTransverseMercatorBrut>(c.nature, "WGS84", c.ligne);
    EXPECT_EQ(s->LandaC.Texte, c.meridien) << c.nature << " " << c.ligne;
    EXPECT_EQ(s->XEquateur, c.X0);
    EXPECT_EQ(s->YEquateur, c.Y0);
  }
}

// A UTM-like grid: zone 1 centred on 177° W, zones of 6°.
constexpr const char* kGrille = "0.9996 500000 0 10000000 -177° 6°";

int32_t ZoneDe(const TMultipleMercator& s, double phi, double lambda) {
  double X, Y;
  int32_t zone = 12345;
  s.GeoVersCarto(phi * kDeg, lambda * kDeg, X, Y, zone);
  return zone;
}

TEST(MercatorMultiple, ZoneChoice) {
  auto s = Systeme<TMultipleMercator>("Transverse Mercator Multiple", "WGS84", kGrille);
  // Latitude, longitude, zone: the equator is northern, the western edge
  // included, a point on an edge in the eastern zone.
  const double cas[][3] = {{48, 2 + 1.0 / 3, 31}, {-48, 2 + 1.0 / 3, -31}, {0, 2 + 1.0 / 3, 31},
                           {10, -179, 1},  {10, 179, 60}, {10, 181, 1}, {10, -180, 1},
                           {10, 0, 31},    {10, 6, 32},   {10, -1e-7, 30}};
  for (const auto& c : cas) EXPECT_EQ(ZoneDe(*s, c[0], c[1]), c[2]) << c[0] << " " << c[1];
  // Numbered westward.
  auto ouest = Systeme<TMultipleMercator>("Transverse Mercator Multiple", "WGS84", "0.9996 500000 0 10000000 -177° -6°");
  for (auto [lambda, zone] : {std::pair{-177, 1}, {177, 2}, {-171, 60}}) EXPECT_EQ(ZoneDe(*ouest, 10, lambda), zone);
}

TEST(MercatorMultiple, ZonesAreTransverseMercatorSystems) {
  auto s = Systeme<TMultipleMercator>("Transverse Mercator Multiple", "WGS84", kGrille);
  // Zone 0 is southern, centred one step west of zone 1.
  EXPECT_NEAR(s->Zone(0)->Landa0.Valeur, -183 * kDeg, 1e-10);
  EXPECT_EQ(s->Zone(0)->Y0, 10000000);
  EXPECT_EQ(s->Zone(31), s->Zone(31));  // built with the constants
}

TEST(MercatorMultiple, WithoutStepOrFiniteLongitudeThereIsNoZone) {
  TMultipleMercator fraiche;
  fraiche.Datum = Catalogue().TrouveDatum("WGS84");
  EXPECT_THROW(ZoneDe(fraiche, 10, 10), ErreurArithmetique);
  auto s = Systeme<TMultipleMercator>("Transverse Mercator Multiple", "WGS84", kGrille);
  EXPECT_THROW(ZoneDe(*s, 10, std::numeric_limits<double>::infinity()), ErreurArithmetique);
  EXPECT_THROW(ZoneDe(*s, 10, std::numeric_limits<double>::quiet_NaN()), ErreurArithmetique);
  // A step so small that the zone number leaves the integers.
  auto fine = Systeme<TMultipleMercator>("Transverse Mercator Multiple", "WGS84", "0.9996 500000 0 10000000 -177° 0.0000001°");
  EXPECT_THROW(ZoneDe(*fine, 10, 170), ErreurArithmetique);
}

}  // namespace
}  // namespace vestrel
