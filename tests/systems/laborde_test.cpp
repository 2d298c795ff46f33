// Gauss-Rosenmund and the Gauss-Laborde kinds.
#include <gtest/gtest.h>

#include <cmath>

#include "essais_projection.h"
#include "geodesy/geodesie.h"
#include "systems/laborde_reel.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using namespace essais;

// The Swiss grid's origin, the old Bern observatory, on Bessel 1841.
std::unique_ptr<TProjection> Suisse(const TDatumEssai& datum = Bessel()) {
  return Systeme("Gauss Rosenmund", datum, {600000, 200000}, {"7°26'22.5''", "46°57'08.66''"});
}

// The Réunion Gauss-Laborde (origin 21°07' S, 55°32' E, 160 km, 50 km).
std::unique_ptr<TProjection> Reunion(const std::string& nature,
                                     const TDatumEssai& datum = Grs80()) {
  return Systeme(nature, datum, {1, 160000, 50000}, {"55°32'", "-21°07'"});
}

const TLaborde& Coeur(const TProjection& p) { return dynamic_cast<const TLaborde&>(p); }

TEST(Laborde, RosenmundAgreesWithTheSwissObliqueMercatorOfProj) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +ellps=bessel +to +proj=somerc
  //   +lat_0=46.95240555555556 +lon_0=7.439583333333333 +k_0=1 +x_0=600000 +y_0=200000
  //   +ellps=bessel
  struct {
    double lambda, phi, X, Y;
  } const points[] = {
      {7.439583333333333, 46.95240555555556, 600000.0000, 200000.0000},
      {7.0, 46.5, 566259.6654, 149807.8029},
      {8.5, 47.5, 679887.0940, 261413.3223},
      {6.1, 46.2, 496614.7072, 117250.9072},
  };
  auto p = Suisse();
  for (const auto& q : points) VerifiePoint(*p, q.phi, q.lambda, q.X, q.Y, 1e-3);
}

TEST(Laborde, CourbureAgreesWithTheGaussSchreiberMercatorOfProj) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +ellps=GRS80 +to +proj=gstmerc
  //   +lat_0=-21.11666666666667 +lon_0=55.53333333333333 +k_0=1 +x_0=160000 +y_0=50000 +ellps=GRS80
  struct {
    double lambda, phi, X, Y;
  } const points[] = {
      {55.53333333333333, -21.11666666666667, 160000.0000, 50000.0000},
      {55.3, -21.0, 135740.1895, 62899.3723},
      {55.8, -21.4, 187650.9743, 18605.7404},
  };
  auto p = Reunion("Gauss Laborde Courbure");
  for (const auto& q : points) VerifiePoint(*p, q.phi, q.lambda, q.X, q.Y, 1e-3);
}

TEST(Laborde, CourbureDerivesTheSphereOfMeanCurvature) {
  // Same sphere as the stereographic one on the same origin: n1 = 1.00073969083,
  // n2 = 6378616.985 m, c = 0.00305520424, chi0 = 46.75492088°.
  auto p =
      Systeme("Gauss Laborde Courbure", Exemple(), {0.99987, 600000, 200000}, {"2.3°", "46.8°"});
  const TLaborde& k = Coeur(*p);
  EXPECT_NEAR(k.n1, 1.00073969083, 1e-11);
  EXPECT_NEAR(k.n2, 6378616.985, 1e-3);
  EXPECT_NEAR(k.c, 0.00305520424, 1e-11);
  EXPECT_NEAR((200000 - k.Y0) / k.n2 / kDeg, 46.75492088, 1e-8);
  EXPECT_EQ(k.X0, 600000);
  EXPECT_EQ(k.LandaC.Texte, "2.3°");
}

TEST(Laborde, EachKindPlacesItsOriginByItsOwnRule) {
  for (const auto* datum : {&Grs80(), &Bessel()}) {
    const double phi0 = 46.8 * kDeg, e = datum->Datum()->Ellipsoide->E;
    const double phis = LatitudeIsometriqueInverse(LatitudeIsometrique(phi0, e), 0);
    struct {
      const char* nature;
      double latitudeSphere;
    } const kinds[] = {
        {"Gauss Laborde Courbure", 0},  // Y0 is the origin itself
        {"Gauss Laborde Bitangente", phi0},
        {"Gauss Laborde Equatoriale", phis},
    };
    for (const auto& kind : kinds) {
      auto p = Systeme(kind.nature, *datum, {0.99987, 600000, 200000}, {"2.3°", "46.8°"});
      double X, Y;
      Aller(*p, 46.8, 2.3, X, Y);
      EXPECT_NEAR(X, 600000, 1e-6) << kind.nature;  // on the central meridian
      EXPECT_NEAR(Y, 200000 + Coeur(*p).n2 * kind.latitudeSphere, 1e-4) << kind.nature;
    }
  }
}

TEST(Laborde, CoreSendsTheSphereEquatorOnTheCentralMeridianToItsOrigin) {
  auto p = Systeme("Gauss Laborde", Grs80(), {1.0007, 6380000, 0.003, 500000, -4000000}, {"3°"});
  // Ls = 0 where L(phi, e) = -c/n1.
  const double phi = LatitudeIsometriqueInverse(-0.003 / 1.0007, Grs80().Datum()->Ellipsoide->E);
  double X, Y;
  Aller(*p, phi / kDeg, 3, X, Y);
  EXPECT_NEAR(X, 500000, 1e-6);
  EXPECT_NEAR(Y, -4000000, 1e-6);
  AllersRetours(*p, 30, 60, -3, 9);
}

TEST(Laborde, OnASphereTheThreeKindsShareOneSphere) {
  auto courbure = Systeme("Gauss Laborde Courbure", Sphere(), {0.9996, 1e6, 2e6}, {"10°", "40°"});
  auto bitan = Systeme("Gauss Laborde Bitangente", Sphere(), {0.9996, 1e6, 2e6}, {"10°", "40°"});
  auto equat = Systeme("Gauss Laborde Equatoriale", Sphere(), {0.9996, 1e6, 2e6}, {"10°", "40°"});
  for (const auto* p : {courbure.get(), bitan.get(), equat.get()}) {
    EXPECT_NEAR(Coeur(*p).n1, 1, 1e-15);
    EXPECT_NEAR(Coeur(*p).c, 0, 1e-15);
    EXPECT_NEAR(Coeur(*p).n2, 0.9996 * 6378137, 1e-6);
  }
  const double n2 = Coeur(*bitan).n2;
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

TEST(Laborde, TheCoreFollowsTheParametersOnlyWhileValid) {
  auto p = Reunion("Gauss Laborde Bitangente");
  const double n2 = Coeur(*p).n2;
  p->SetReel(0, 0.5);
  EXPECT_NEAR(Coeur(*p).n2, n2 / 2, 1e-6);

  p->SetValide(false);
  p->SetReel(0, 1);
  EXPECT_NEAR(Coeur(*p).n2, n2 / 2, 1e-6);
  // A latitude text that does not parse, written while invalid: the parser's
  // error, then validation keeps the old core without a word.
  EXPECT_THROW(p->SetAngle(1, "douze"), ErreurConversion);
  p->SetValide(true);
  EXPECT_TRUE(p->Valide);
  EXPECT_NEAR(Coeur(*p).n2, n2 / 2, 1e-6);
  EXPECT_EQ(p->GetAngle(1), "douze");
}

TEST(Laborde, ACoreNeverValidatedFailsArithmetically) {
  auto p = CreeProjection("Gauss Laborde Equatoriale");
  p->Datum = Grs80().Datum();
  double X, Y;
  EXPECT_THROW(Retour(*p, 1000, 1000, X, Y), ErreurArithmetique);
}

TEST(Laborde, ParameterTablesOfEachKind) {
  auto core = CreeProjection("Gauss Laborde");
  EXPECT_EQ(core->NbReel(), 5);
  EXPECT_EQ(core->NomReel(4), "Y0");
  EXPECT_EQ(core->NomAngle(0), "LandaC");
  EXPECT_THROW(core->NomReel(5), ErreurIntervalle);
  EXPECT_THROW(core->GetAngle(1), ErreurIntervalle);
  auto rosenmund = CreeProjection("Gauss Rosenmund");
  EXPECT_EQ(rosenmund->NomParametre(3), "Phi0");
  EXPECT_THROW(rosenmund->NomReel(2), ErreurIntervalle);
  for (const char* nature :
       {"Gauss Laborde Courbure", "Gauss Laborde Equatoriale", "Gauss Laborde Bitangente"}) {
    auto p = CreeProjection(nature);
    EXPECT_EQ(p->Nature(), nature);
    EXPECT_EQ(p->NbParametres(), 5);
    EXPECT_EQ(p->NomParametre(0), "k0");
    EXPECT_EQ(p->NomParametre(4), "Phi0");
    EXPECT_THROW(p->NomReel(3), ErreurIntervalle);
  }
}

TEST(Laborde, RoundTripsOverTheUsefulAreaOnTwoEllipsoids) {
  for (const auto* datum : {&Grs80(), &Bessel()}) {
    AllersRetours(*Suisse(*datum), 45.5, 48, 5.5, 10.7);
    for (const char* nature :
         {"Gauss Laborde Courbure", "Gauss Laborde Equatoriale", "Gauss Laborde Bitangente"}) {
      AllersRetours(*Reunion(nature, *datum), -22.5, -20, 54, 57);
      // A wide band on a mid-latitude origin.
      AllersRetours(*Systeme(nature, *datum, {0.99987, 600000, 200000}, {"2.3°", "46.8°"}), 38, 56,
                    -7, 11);
    }
  }
}

TEST(Laborde, RecordLineOfEachKind) {
  VerifieLigne(*Suisse(), Bessel(), 46.5, 7);
  VerifieLigne(
      *Systeme("Gauss Laborde", Grs80(), {1.0007, 6380000, 0.003, 500000, -4000000}, {"3°"}),
      Grs80(), 45, 4);
  // The derived kinds store their own parameters; the core is recomputed on reading.
  for (const char* nature :
       {"Gauss Laborde Courbure", "Gauss Laborde Equatoriale", "Gauss Laborde Bitangente"})
    VerifieLigne(*Reunion(nature), Grs80(), -21, 55.3);
}

}  // namespace
}  // namespace vestrel
