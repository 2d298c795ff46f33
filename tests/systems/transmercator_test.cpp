// The Transverse Mercator kinds: the series, the usual parameters, UTM and
// MTM zones.
#include <gtest/gtest.h>

#include "essai_systemes.h"
#include "systems/mtm.h"
#include "systems/transmercator.h"
#include "systems/transmercator_brut.h"
#include "systems/utm.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

using namespace vestrel;
using namespace vestrel::essai;

namespace {

// Central meridian 2° W, origin 49° N at (400000, -100000), k0 = 0.9996012717.
constexpr const char* kTransverse = "0.9996012717 400000 -100000 -2° 49°";

TEST(UTM, Zone31WorkedPoint) {
  auto s = Systeme<TUTM>("WGS84", "31 0");
  double X, Y, phi, lambda;
  s->GeoVersCarto(45 * Deg, 5 * Deg, X, Y);
  EXPECT_NEAR(X, 657630.641, 5e-4);
  EXPECT_NEAR(Y, 4984896.171, 5e-4);
  s->CartoVersGeo(657630.641, 4984896.171, phi, lambda);
  // echo "657630.641 4984896.171" | cs2cs -f %.10f +proj=utm +zone=31
  //   +a=6378137 +e=0.08181919106 +to +proj=longlat +a=6378137 +e=0.08181919106
  EXPECT_NEAR(phi / Deg, 44.9999999987, 1e-9);
  EXPECT_NEAR(lambda / Deg, 5.0000000034, 1e-9);
}

TEST(UTM, AgreesWithProj) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +a=6378137 +e=0.08181919106 +to
  //   +proj=utm +zone=31 [+south] +a=6378137 +e=0.08181919106
  VerifiePoints(*Systeme<TUTM>("WGS84", "31 0"), {{5, 45, 657630.6407, 4984896.1711},
                                                  {0.5, 50, 320842.1358, 5541625.7497},
                                                  {3.2, 0.5, 522254.1964, 55265.3761},
                                                  {5.9, 70, 610660.4649, 7768505.4522}});
  VerifiePoints(*Systeme<TUTM>("WGS84", "31 1"), {{4.9, -33, 677503.4210, 6347109.7620},
                                                  {1.0, -0.5, 277412.9863, 9944701.0509}});
}

TEST(TransverseMercator, AgreesWithProj) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat <ellipsoid> +to +proj=tmerc
  //   +lat_0=49 +lon_0=-2 +k_0=0.9996012717 +x_0=400000 +y_0=-100000 <ellipsoid>
  // with <ellipsoid> +a=6378137 +e=0.08181919106, then +a=6378249.2 +b=6356515.
  VerifiePoints(*Systeme<TTransverseMercator>("WGS84", kTransverse),
                {{-2, 49, 400000.0000, -100000.0000},
                 {-4.5, 50.5, 222707.8084, 69755.2651},
                 {0.8, 52.0, 592203.3058, 237284.9798},
                 {-3.0, 56.0, 337633.2905, 679076.0208}});
  VerifiePoints(*Systeme<TTransverseMercator>("NTF", kTransverse),
                {{-2, 49, 400000.0000, -100000.0000}, {-4.5, 50.5, 222698.9064, 69755.9911}});
  // The origin itself to 1e-5 m.
  VerifiePoints(*Systeme<TTransverseMercator>("NTF", kTransverse), {{-2, 49, 400000, -100000}},
                1e-5);
}

TEST(MTM, AgreesWithProj) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +a=6378137 +e=0.08181919106 +to
  //   +proj=tmerc +lon_0=-73.5 +k_0=0.9999 +x_0=304800 +y_0=0 +a=6378137 +e=0.08181919106
  VerifiePoints(*Systeme<Tmtm>("WGS84", "8 0"), {{-73.5, 45.5, 304800.0000, 5040008.6581},
                                                 {-72.0, 46.8, 419296.7551, 5185587.3992}});
}

TEST(TransverseMercator, RoundTripsWithinThreeDegreesOnBothEllipsoids) {
  for (const char* datum : {"WGS84", "NTF"}) {
    SCOPED_TRACE(datum);
    AllersRetours(*Systeme<TTransverseMercator>(datum, kTransverse), -80, 80, -5, 1);
    AllersRetours(*Systeme<TUTM>(datum, "31 1"), -80, 80, 0, 6);
    AllersRetours(*Systeme<Tmtm>(datum, "3 0"), -80, 80, -61.5, -55.5);
    AllersRetours(*Systeme<TTransverseMercatorBrut>(datum, "6378000 0 0 10°"), -80, 80, 7, 13);
  }
}

TEST(TransverseMercator, CentralMeridianMapsOnTheFalseEasting) {
  auto s = Systeme<TTransverseMercator>("NTF", kTransverse);
  double X, Y;
  s->GeoVersCarto(37.3 * Deg, -2 * Deg, X, Y);
  EXPECT_EQ(X, 400000);
}

TEST(UTM, ZoneRules) {
  struct {
    const char* ligne;
    const char* meridien;
  } cas[] = {{"0 0", "-183°"}, {"1 0", "-177°"}, {"31 0", "3°"}, {"60 0", "177°"}};
  for (const auto& c : cas) {
    auto s = Systeme<TUTM>("WGS84", c.ligne);
    EXPECT_EQ(s->LandaC.Texte, c.meridien);
    EXPECT_EQ(s->X0, 500000);
    EXPECT_DOUBLE_EQ(s->n, 0.9996 * DemiGrandAxeWGS84);
  }
  EXPECT_EQ(Systeme<Tmtm>("WGS84", "3 0")->LandaC.Texte, "-58°30'");
  EXPECT_EQ(Systeme<Tmtm>("WGS84", "8 0")->LandaC.Texte, "-73°30'");
  EXPECT_EQ(Systeme<Tmtm>("WGS84", "8 0")->X0, 304800);
}

TEST(UTM, SouthernHemisphereAddsTheFalseNorthing) {
  auto nord = Systeme<TUTM>("WGS84", "31 0");
  auto sud = Systeme<TUTM>("WGS84", "31 1");
  EXPECT_EQ(sud->Y0, 10000000);
  double Xn, Yn, Xs, Ys;
  nord->GeoVersCarto(-20 * Deg, 4 * Deg, Xn, Yn);
  sud->GeoVersCarto(-20 * Deg, 4 * Deg, Xs, Ys);
  EXPECT_EQ(Xs, Xn);
  EXPECT_NEAR(Ys - Yn, 10000000, 1e-8);
  EXPECT_EQ(Systeme<Tmtm>("WGS84", "8 1")->Y0, 10000000);
}

TEST(UTM, ZoneWritesRecomputeAtOnce) {
  auto s = Systeme<TUTM>("WGS84", "31 0");
  s->SetEntier(0, 32);
  EXPECT_EQ(s->LandaC.Texte, "9°");
  s->SetBooleen(0, true);
  EXPECT_EQ(s->Y0, 10000000);
  // Zone numbers far out of the grid do not overflow.
  s->SetEntier(0, 2147483647);
  EXPECT_EQ(s->LandaC.Texte, "12884901699°");
  // The central meridian is not a parameter of the zone kinds.
  EXPECT_THROW(s->GetAngle(0), ErreurIntervalle);
  EXPECT_TRUE(s->Valide);
  EXPECT_THROW(s->SetReel(0, 1), ErreurIntervalle);
  EXPECT_FALSE(s->Valide);
}

TEST(TransverseMercator, UnfilledSystemCannotConvert) {
  TUTM s;
  s.Datum = Catalogue().Datum("WGS84");
  EXPECT_EQ(s.n, 0);
  EXPECT_THROW(
      {
        GardeFlottante garde;
        double phi = 0;
        double lambda = 0;
        s.CartoVersGeo(500000, 5000000, phi, lambda);
        garde.Verifie();
      },
      ErreurArithmetique);
}

TEST(TransverseMercator, RecordLines) {
  auto utm = Systeme<TUTM>("WGS84", "31 1");
  std::string ligne;
  Ecriture(*utm, ligne);
  EXPECT_EQ(ligne, "Projection \"UTM Fuseau\"=\"Essai\" \"\" \"WGS84\" 31 1\r\n");
  const std::unique_ptr<TAncetre> systemes[] = {
      std::move(utm), Systeme<TTransverseMercatorBrut>("NTF", "6375000.5 500000 -1000 1.5g"),
      Systeme<TTransverseMercator>("NTF", kTransverse), Systeme<Tmtm>("WGS84", "8 0")};
  for (const auto& s : systemes) {
    std::string l;
    Ecriture(*s, l);
    EXPECT_EQ(LigneRelue(*s), l);
  }
}

}  // namespace
