// The Transverse Mercator zone kinds beyond their reference points
// (data/transmercator.txt): the UTM and MTM zone rules; the multi-zone grid's
// zone choice, zone systems and hemispheres.
#include <gtest/gtest.h>

#include <limits>

#include "essais_projection.h"
#include "systems/mercator_multi.h"
#include "systems/transmercator_brut.h"
#include "tools/erreurs.h"

using namespace vestrel;
using namespace vestrel::essais;

namespace {

// Central meridian and false origin of each zone; zone numbers far out of
// the grid do not overflow.
TEST(UTM, ZoneRules) {
  struct {
    const char *nature, *ligne, *meridien;
    double X0, Y0;
  } const cas[] = {{"UTM Fuseau", "0 0", "-183°", 500000, 0},  {"UTM Fuseau", "1 0", "-177°", 500000, 0},
                   {"UTM Fuseau", "31 0", "3°", 500000, 0},    {"UTM Fuseau", "60 0", "177°", 500000, 0},
                   {"MTM Fuseau", "3 0", "-58°30'", 304800, 0}, {"MTM Fuseau", "8 0", "-73°30'", 304800, 0},
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
  // Far zones are built for the call and cost no memory.
  double phi, lambda;
  s->CartoVersGeo(1000000, 500000, 0, phi, lambda);
  s->CartoVersGeo(-1000000, 500000, 0, phi, lambda);
  EXPECT_EQ(s->Zone(-1000000)->Y0, 10000000);
  EXPECT_EQ(s->Zone(1000000)->Y0, 0);
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
