// The stereographic kinds.
#include <gtest/gtest.h>

#include <cmath>

#include "essais_projection.h"
#include "geodesy/geodesie.h"
#include "systems/stereographic.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using namespace essais;

const char* const kObliques[] = {"Stéréographique Courbure", "Stéréographique Equatoriale",
                                 "Stéréographique Bitangente"};

// The worked examples' origin: 46.8° N, 2.3° E, k0 = 0.99987, 600 km, 200 km.
std::unique_ptr<TProjection> Exemple(const std::string& nature,
                                     const TDatumEssai& datum = essais::Exemple()) {
  return Systeme(nature, datum, {0.99987, 600000, 200000}, {"2.3°", "46.8°"});
}
// The Dutch grid on Bessel 1841 (52°09'22.178'' N, 5°23'15.5'' E, k0 = 0.9999079).
std::unique_ptr<TProjection> PaysBas(const TDatumEssai& datum = Bessel()) {
  return Systeme("Stéréographique Courbure", datum, {0.9999079, 155000, 463000},
                 {"5°23'15.5''", "52°09'22.178''"});
}
// The polar stereographic of UPS.
std::unique_ptr<TProjection> Polaire(bool sud, const TDatumEssai& datum = essais::Exemple()) {
  return Systeme("Stéréographique Polaire", datum, {0.994, 2000000, 2000000}, {"0"}, {sud});
}

const TStereographic& Coeur(const TProjection& p) { return dynamic_cast<const TStereographic&>(p); }

TEST(Stereo, BitangenteAndEquatorialeWorkedExamples) {
  VerifiePoint(*Exemple("Stéréographique Bitangente"), 47.8, 3.3, 674908.116, 311645.488, 1e-3);
  auto equat = Exemple("Stéréographique Equatoriale");
  VerifiePoint(*equat, 47.8, 3.3, 674912.510, 311647.288, 1e-3);
  EXPECT_EQ(Coeur(*equat).PhiC.Texte, "51.78669981g");
}

TEST(Stereo, CourbureDerivesTheSphereOfMeanCurvature) {
  auto p = Exemple("Stéréographique Courbure");
  const TStereographic& k = Coeur(*p);
  EXPECT_NEAR(k.n1, 1.00073969083, 1e-11);
  EXPECT_NEAR(k.n2, 6378616.985, 1e-3);
  EXPECT_NEAR(k.c, 0.00305520424, 1e-11);
  EXPECT_NEAR(k.PhiC.Valeur / kDeg, 46.75492088, 1e-8);
}

TEST(Stereo, EachObliqueKindSendsItsOriginToTheFalseOrigin) {
  // Exactly for Bitangente; within the grades text of the centre's sphere
  // latitude for the two others ("%.8fg" for Equatoriale, ten decimals for Courbure).
  const double tolerances[] = {1e-4, 1e-3, 1e-6};
  for (const auto* datum : {&Grs80(), &Bessel()})
    for (int i = 0; i < 3; ++i) {
      auto p = Exemple(kObliques[i], *datum);
      double X, Y, phi, lambda;
      Aller(*p, 46.8, 2.3, X, Y);
      EXPECT_NEAR(X, 600000, 1e-6) << kObliques[i];
      EXPECT_NEAR(Y, 200000, tolerances[i]) << kObliques[i];
      Retour(*p, 600000, 200000, phi, lambda);
      EXPECT_EQ(lambda, 2.3) << kObliques[i];
    }
}

TEST(Stereo, CourbureAgreesWithTheObliqueStereographicOfProj) {
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +ellps=bessel +to +proj=sterea
  //   +lat_0=52.15616055555555 +lon_0=5.38763888888889 +k=0.9999079 +x_0=155000 +y_0=463000
  //   +ellps=bessel
  struct {
    double lambda, phi, X, Y;
  } const points[] = {
      {5.38763888888889, 52.15616055555555, 155000.0000, 463000.0000},
      {5.0, 52.0, 128383.4745, 445698.8043},
      {6.5, 53.2, 229323.3942, 579711.5976},
  };
  auto p = PaysBas();
  for (const auto& q : points) VerifiePoint(*p, q.phi, q.lambda, q.X, q.Y, 1e-3);
}

TEST(Stereo, PolaireWorkedExampleAndProj) {
  // The worked example on a = 6378137 m, e = 0.08181919106; PROJ on WGS84
  // (e differs by 2e-11) agrees to the tenth of a millimetre:
  // echo "<lon> <lat>" | cs2cs -f %.4f +proj=longlat +ellps=WGS84 +to +proj=stere +lat_0=90
  //   +lat_ts=90 +lon_0=0 +k_0=0.994 +x_0=2000000 +y_0=2000000 +ellps=WGS84   (and -90, -90)
  // gives 3320416.7474 632668.4313 for 73° N 44° E, 3320416.7474 3367331.5687 for 73° S.
  auto nord = Polaire(false), sud = Polaire(true);
  EXPECT_NEAR(Coeur(*nord).n2, 6318659.249, 1e-3);
  VerifiePoint(*nord, 73, 44, 3320416.747, 632668.431, 1e-3);
  VerifiePoint(*nord, 85, -100, 1452981.2545, 2096454.1638, 1e-3);
  VerifiePoint(*sud, -73, 44, 3320416.747, 3367331.569, 1e-3);
  VerifiePoint(*sud, -85, -100, 1452981.2545, 1903545.8362, 1e-3);
  // The opposite pole has no image.
  double X, Y;
  EXPECT_THROW(Aller(*nord, -90, 44, X, Y), ErreurArithmetique);
}

TEST(Stereo, PolaireAxesAndPoles) {
  for (bool estSud : {false, true}) {
    auto p =
        Systeme("Stéréographique Polaire", Grs80(), {0.994, 2000000, 2000000}, {"-45°"}, {estSud});
    const double pole = estSud ? -90 : 90;
    double X, Y;
    double phi, lambda;
    Aller(*p, pole, 12, X, Y);
    EXPECT_NEAR(X, 2000000, 1e-6);
    EXPECT_NEAR(Y, 2000000, 1e-6);
    Retour(*p, 2000000, 2000000, phi, lambda);
    EXPECT_EQ(phi, pole);
    EXPECT_EQ(lambda, -45);
    Aller(*p, estSud ? -70 : 70, -45, X, Y);
    EXPECT_NEAR(X, 2000000, 1e-6);
    if (estSud)
      EXPECT_GT(Y, 2000000);
    else
      EXPECT_LT(Y, 2000000);
  }
}

TEST(Stereo, CoreCentreAndItsLimits) {
  // The core with its constants given: 1.0007, 6380000 m, 0.003 at (3° E, 45° on the sphere).
  auto p =
      Systeme("Stéréographique", Grs80(), {1.0007, 6380000, 0.003, 500000, 300000}, {"3°", "45°"});
  const double e = Grs80().Datum()->Ellipsoide->E;
  const double phiC =
      LatitudeIsometriqueInverse((LatitudeIsometrique(45 * kDeg, 0) - 0.003) / 1.0007, e);
  double X, Y, phi, lambda;
  Aller(*p, phiC / kDeg, 3, X, Y);
  EXPECT_NEAR(X, 500000, 1e-6);
  EXPECT_NEAR(Y, 300000, 1e-6);
  Retour(*p, 500000, 300000, phi, lambda);
  EXPECT_EQ(lambda, 3);
  EXPECT_NEAR(phi * kDeg, phiC, 1e-12);
  // Straight north of the centre in the plane the turned longitude is pi:
  // the point is on the centre's meridian, and beyond the sphere's pole
  // it is 180° of sphere longitude away.
  Retour(*p, 500000, 301000, phi, lambda);
  EXPECT_NEAR(lambda, 3, 1e-9);
  EXPECT_GT(phi * kDeg, phiC);
  Retour(*p, 500000, 300000 + 7000000, phi, lambda);
  EXPECT_NEAR(lambda, 3 + 180 / 1.0007, 1e-9);
  AllersRetours(*p, 30, 60, -10, 16);
}

TEST(Stereo, TheCoreFollowsTheParametersOnlyWhileValid) {
  auto p = Exemple("Stéréographique Bitangente");
  const double n2 = Coeur(*p).n2;
  p->SetReel(0, 0.5);
  EXPECT_NEAR(Coeur(*p).n2, n2 / 0.99987 * 0.5, 1e-6);
  p->SetValide(false);
  p->SetReel(0, 1);
  EXPECT_NEAR(Coeur(*p).n2, n2 / 0.99987 * 0.5, 1e-6);
  p->SetValide(true);
  EXPECT_NEAR(Coeur(*p).n2, n2 / 0.99987, 1e-6);
  // A latitude text that does not parse, written while invalid, leaves the
  // old core in force silently when the system is validated.
  p->SetValide(false);
  EXPECT_THROW(p->SetAngle(1, "46.8"), ErreurConversion);
  p->SetValide(true);
  EXPECT_EQ(Coeur(*p).PhiC.Texte, "46.8°");

  auto polaire = Polaire(false);
  polaire->SetBooleen(0, true);
  EXPECT_EQ(Coeur(*polaire).PhiC.Texte, "-90°");
}

TEST(Stereo, ParameterTablesOfEachKind) {
  auto core = CreeProjection("Stéréographique");
  EXPECT_EQ(core->NbParametres(), 7);
  EXPECT_EQ(core->NomAngle(1), "PhiC");
  EXPECT_THROW(core->NomReel(5), ErreurIntervalle);
  for (const char* nature : kObliques) {
    auto p = CreeProjection(nature);
    EXPECT_EQ(p->Nature(), nature);
    EXPECT_EQ(p->NomParametre(0), "k0");
    EXPECT_EQ(p->NomParametre(4), "Phi0");
    EXPECT_THROW(p->NomReel(3), ErreurIntervalle);
    EXPECT_THROW(p->SetReel(3, 1), ErreurIntervalle);
    EXPECT_FALSE(p->Valide);
  }
  auto polaire = CreeProjection("Stéréographique Polaire");
  EXPECT_EQ(polaire->NbParametres(), 5);
  EXPECT_EQ(polaire->NomParametre(4), "Sud");
}

TEST(Stereo, RoundTripsOverTheUsefulAreaOnTwoEllipsoids) {
  for (const auto* datum : {&Grs80(), &Bessel()}) {
    for (const char* nature : kObliques) AllersRetours(*Exemple(nature, *datum), 38, 56, -7, 11);
    AllersRetours(*PaysBas(*datum), 50, 54, 2, 8);
    AllersRetours(*Polaire(false, *datum), 60, 89.9, -179, 179);
    AllersRetours(*Polaire(true, *datum), -89.9, -60, -179, 179);
  }
}

TEST(Stereo, RecordLineOfEachKind) {
  VerifieLigne(
      *Systeme("Stéréographique", Grs80(), {1.0007, 6380000, 0.003, 500000, 300000}, {"3°", "45°"}),
      Grs80(), 44, 4);
  for (const char* nature : kObliques) VerifieLigne(*Exemple(nature, Grs80()), Grs80(), 47.8, 3.3);
  VerifieLigne(*Polaire(true, Grs80()), Grs80(), -73, 44);
  VerifieLigne(*Polaire(false, Grs80()), Grs80(), 73, 44);
}

}  // namespace
}  // namespace vestrel
