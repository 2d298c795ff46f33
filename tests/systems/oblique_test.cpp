// "Gauss Laborde Oblique", "Hotine", "Hotine centré".
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "essais_projection.h"
#include "systems/hotine.h"
#include "systems/hotine_centre.h"
#include "systems/laborde_oblic.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using essais::kDeg;
using essais::TDatumEssai;

constexpr double kAClarke = 6378249.2, kEClarke = 0.08248325676;

// A system filled as the record reader fills it.
void Remplit(TAncetre& s, const TDatumEssai& d, const std::vector<double>& reels,
             const std::vector<std::string>& angles) {
  s.SetValide(false);
  s.Datum = d.Datum();
  s.Nom = "Essai " + s.Nature();
  for (size_t i = 0; i < reels.size(); ++i) s.SetReel(static_cast<int>(i), reels[i]);
  for (size_t i = 0; i < angles.size(); ++i) s.SetAngle(static_cast<int>(i), angles[i]);
  s.SetValide(true);
}

// Centre 46.5° N, 8° E, central line at azimuth 30°, k0 = 0.9999, plane
// origin (600000, 200000).
void RemplitSuisse(TCylindreOblic& s, const TDatumEssai& d) {
  Remplit(s, d, {0.9999, 600000, 200000}, {"8°", "46.5°", "30°"});
}

TEST(CylindreOblique, ParametresCommunsAuxTroisNatures) {
  TLabordeOblic laborde;
  THotine hotine;
  THotineCentre centre;
  EXPECT_EQ(laborde.Nature(), "Gauss Laborde Oblique");
  EXPECT_EQ(hotine.Nature(), "Hotine");
  EXPECT_EQ(centre.Nature(), "Hotine centré");
  for (TCylindreOblic* s : {static_cast<TCylindreOblic*>(&laborde),
                            static_cast<TCylindreOblic*>(&hotine),
                            static_cast<TCylindreOblic*>(&centre)}) {
    EXPECT_EQ(s->NbParametres(), 6);
    EXPECT_EQ(s->NomParametre(0), "k0");
    EXPECT_EQ(s->NomParametre(2), "Y0");
    EXPECT_EQ(s->NomParametre(3), "Landa0");
    EXPECT_EQ(s->NomParametre(5), "Theta0");
    EXPECT_EQ(CreeProjection(s->Nature())->Nature(), s->Nature());
  }
  EXPECT_FALSE(CreeProjection("Cylindrique oblique"));
}

// Gauss Laborde Oblique once accepted an unparsable angle or a bad index in
// silence and then converted with the previous value: it raises like its
// siblings now.
TEST(CylindreOblique, LabordeObliqueSignaleLesAnglesFautifs) {
  TDatumEssai grs("GRS 80", 6378137, 0.0818191910428158);
  TLabordeOblic s;
  RemplitSuisse(s, grs);
  EXPECT_THROW(s.SetAngle(3, "1°"), ErreurIntervalle);
  EXPECT_FALSE(s.Valide);
  s.SetValide(true);
  double X, Y;
  s.GeoVersCarto(47 * kDeg, 9 * kDeg, X, Y);
  EXPECT_THROW(s.SetAngle(1, "quarante"), ErreurConversion);
  EXPECT_FALSE(s.Valide);
  EXPECT_EQ(s.GetAngle(1), "quarante");
  EXPECT_DOUBLE_EQ(s.Phi0.Valeur, 46.5 * kDeg);
  // A good write afterwards is taken at the next conversion.
  s.SetAngle(1, "47°");
  double X2, Y2;
  s.GeoVersCarto(47 * kDeg, 9 * kDeg, X2, Y2);
  EXPECT_NEAR(Y2 - Y, -(0.5 * kDeg) * 6.37e6, 3000);
}

TEST(CylindreOblique, OrigineDuPlan) {
  TDatumEssai grs("GRS 80", 6378137, 0.0818191910428158);
  TLabordeOblic laborde;
  THotine hotine;
  THotineCentre centre;
  RemplitSuisse(laborde, grs);
  RemplitSuisse(hotine, grs);
  RemplitSuisse(centre, grs);
  double X, Y, phi, lambda;
  // Gauss Laborde Oblique: the centre is the plane origin, both ways.
  laborde.GeoVersCarto(46.5 * kDeg, 8 * kDeg, X, Y);
  EXPECT_NEAR(X, 600000, 1e-9);
  EXPECT_NEAR(Y, 200000, 1e-9);
  laborde.CartoVersGeo(600000, 200000, phi, lambda);
  EXPECT_NEAR(phi, 46.5 * kDeg, 1e-14);
  EXPECT_NEAR(lambda, 8 * kDeg, 1e-14);
  // Hotine centré: the centre falls on (X0, Y0) within a micrometre.
  centre.GeoVersCarto(46.5 * kDeg, 8 * kDeg, X, Y);
  EXPECT_NEAR(X, 600000, 1e-6);
  EXPECT_NEAR(Y, 200000, 1e-6);
  // Hotine: (X0, Y0) is the natural origin on the aposphere's equator, so
  // the centre lies thousands of kilometres away.
  hotine.GeoVersCarto(46.5 * kDeg, 8 * kDeg, X, Y);
  EXPECT_GT(std::hypot(X - 600000, Y - 200000), 5e6);
}

// The three kinds, on GRS 80 and Clarke 1880, over ±2° of latitude and ±3°
// of longitude around the centre.
TEST(CylindreOblique, AllerRetourAutourDeLaLigneCentrale) {
  for (const auto& [a, e] : {std::pair{6378137.0, 0.0818191910428158},
                             std::pair{kAClarke, kEClarke}}) {
    TDatumEssai datum("Essai", a, e);
    TLabordeOblic laborde;
    THotine hotine;
    THotineCentre centre;
    for (TCylindreOblic* s : {static_cast<TCylindreOblic*>(&laborde),
                              static_cast<TCylindreOblic*>(&hotine),
                              static_cast<TCylindreOblic*>(&centre)}) {
      Remplit(*s, datum, {0.9996, 500000, 300000}, {"-20°", "52°", "-65°"});
      essais::AllersRetours(*s, 50, 54, -23, -17);
    }
  }
}

// The kept constants follow parameter writes and the datum's ellipsoid: the
// result after each change equals that of a system filled afresh.
template <class T>
void VerifieCache() {
  TDatumEssai grs("GRS 80", 6378137, 0.0818191910428158);
  TDatumEssai clarke("Clarke 1880 IGN", kAClarke, kEClarke);
  const double phi = 47.2 * kDeg, lambda = 9.1 * kDeg;
  auto attendu = [&](const TDatumEssai& d, double k0) {
    T frais;
    Remplit(frais, d, {k0, 600000, 200000}, {"8°", "46.5°", "30°"});
    double X, Y;
    frais.GeoVersCarto(phi, lambda, X, Y);
    return std::pair{X, Y};
  };
  T s;
  RemplitSuisse(s, grs);
  double X, Y;
  s.GeoVersCarto(phi, lambda, X, Y);
  EXPECT_EQ(std::pair(X, Y), attendu(grs, 0.9999));
  s.SetReel(0, 0.9990);
  s.GeoVersCarto(phi, lambda, X, Y);
  EXPECT_EQ(std::pair(X, Y), attendu(grs, 0.9990));
  // Another ellipsoid under the same datum.
  grs.ellipsoides[0]->A = kAClarke;
  grs.ellipsoides[0]->E = kEClarke;
  s.GeoVersCarto(phi, lambda, X, Y);
  EXPECT_EQ(std::pair(X, Y), attendu(clarke, 0.9990));
  // The inverse uses the same constants.
  double phi2, lambda2;
  s.CartoVersGeo(X, Y, phi2, lambda2);
  EXPECT_NEAR(phi2, phi, 1e-12);
  EXPECT_NEAR(lambda2, lambda, 1e-12);
}

TEST(CylindreOblique, LeCacheDeLabordeObliqueSuitParametresEtEllipsoide) {
  VerifieCache<TLabordeOblic>();
}
TEST(CylindreOblique, LeCacheDeHotineCentreSuitParametresEtEllipsoide) {
  VerifieCache<THotineCentre>();
}

struct TPointPlan {
  double Lon, Lat, X, Y;
};

void VerifieOracle(const TProjection& s, std::initializer_list<TPointPlan> points) {
  for (const TPointPlan& p : points) essais::VerifiePoint(s, p.Lat, p.Lon, p.X, p.Y, 1e-3);
}

// "Hotine" turns its plane by Theta0 and counts u from the natural origin:
// PROJ's omerc with +no_uoff and the rectified angle set to alpha.
//   cs2cs -f %.4f +proj=longlat +ellps=GRS80 +to +proj=omerc +ellps=GRS80
//     +lat_0=46.5 +lonc=8 +alpha=30 +gamma=30 +k_0=0.9999 +x_0=600000
//     +y_0=200000 +no_uoff
//   cs2cs -f %.4f +proj=longlat +ellps=GRS80 +to +proj=omerc +ellps=GRS80
//     +lat_0=52 +lonc=20 +alpha=-65 +gamma=-65 +k_0=0.9998 +x_0=500000
//     +y_0=300000 +no_uoff
TEST(CylindreOblique, HotineCommeOmercDepuisLOrigineNaturelle) {
  TDatumEssai grs("GRS 80", 6378137, 0.0818191910428158);
  THotine s;
  RemplitSuisse(s, grs);
  VerifieOracle(s, {{8, 46.5, 3413290.1602, 5072761.4940},
                    {8.5, 46.8, 3451455.8648, 5106228.5189},
                    {7.3, 46.1, 3359169.4535, 5028541.8854},
                    {9, 47.2, 3489053.4579, 5151053.8033}});
  Remplit(s, grs, {0.9998, 500000, 300000}, {"20°", "52°", "-65°"});
  VerifieOracle(s, {{20, 52, -6738766.8718, 3675492.4279},
                    {20.6, 52.4, -6697935.9004, 3720161.1942},
                    {19.2, 51.7, -6794064.7787, 3642423.6032}});
}

// "Hotine centré": PROJ's omerc with the rectified angle gamma = γ0 =
// asin(sin alpha / D) (20.14919472875221° and -33.946651411542625° here).
//   cs2cs -f %.4f +proj=longlat +ellps=GRS80 +to +proj=omerc +ellps=GRS80
//     +lat_0=46.5 +lonc=8 +alpha=30 +gamma=20.14919472875221 +k_0=0.9999
//     +x_0=600000 +y_0=200000
//   cs2cs -f %.4f +proj=longlat +ellps=GRS80 +to +proj=omerc +ellps=GRS80
//     +lat_0=52 +lonc=20 +alpha=-65 +gamma=-33.946651411542625 +k_0=0.9998
//     +x_0=500000 +y_0=300000
TEST(CylindreOblique, HotineCentreCommeOmerc) {
  TDatumEssai grs("GRS 80", 6378137, 0.0818191910428158);
  THotineCentre s;
  RemplitSuisse(s, grs);
  VerifieOracle(s, {{8, 46.5, 600000.0000, 200000.0000},
                    {8.5, 46.8, 631877.3656, 239503.1180},
                    {7.3, 46.1, 554242.4501, 147173.1951},
                    {9, 47.2, 661251.7880, 290099.8415}});
  Remplit(s, grs, {0.9998, 500000, 300000}, {"20°", "52°", "-65°"});
  VerifieOracle(s, {{20, 52, 500000.0000, 300000.0000},
                    {20.6, 52.4, 558021.1339, 317205.0845},
                    {19.2, 51.7, 435568.8922, 300195.0047}});
}

TEST(CylindreOblique, LigneDEnregistrement) {
  TDatumEssai grs("GRS 80", 6378137, 0.0818191910428158);
  TLabordeOblic laborde;
  THotine hotine;
  THotineCentre centre;
  Remplit(laborde, grs, {1, 400000, 800000}, {"46.8°", "-18.9°", "18.9°"});
  Remplit(hotine, grs, {0.99964, 0, 0}, {"115°", "4°", "53.31582047908623°"});
  Remplit(centre, grs, {0.9998, 500000.25, 300000}, {"20°", "52.5g", "-65°"});
  essais::VerifieLigne(laborde, grs, -18, 47);
  essais::VerifieLigne(hotine, grs, 4.5, 115.5);
  essais::VerifieLigne(centre, grs, 52, 20.5);
}

}  // namespace
}  // namespace vestrel
