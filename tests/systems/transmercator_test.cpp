// The Transverse Mercator kinds beyond their reference points
// (data/transmercator.txt): zone rules, hemispheres, zone writes.
#include <gtest/gtest.h>

#include "essais_projection.h"
#include "systems/transmercator_brut.h"
#include "systems/utm.h"
#include "tools/erreurs.h"

using namespace vestrel;
using namespace vestrel::essais;

namespace {

// The series coefficients are computed with the constants: a change of
// datum is followed once the system is valid again, both ways.
TEST(TransverseMercator, SeriesFollowAChangeOfEllipsoid) {
  auto s = Systeme<TTransverseMercatorBrut>("Transverse Mercator Brut", "WGS84",
                                            "6375585.7452 500000 0 3°");
  auto surNTF = Systeme<TTransverseMercatorBrut>("Transverse Mercator Brut", "NTF",
                                                 "6375585.7452 500000 0 3°");
  double X, Y, X2, Y2, X3, Y3, phi, lambda, phiNTF, lambdaNTF;
  Aller(*s, 45, 5, X, Y);
  s->Datum = Catalogue().TrouveDatum("NTF");
  s->SetValide(true);
  Aller(*s, 45, 5, X2, Y2);
  Aller(*surNTF, 45, 5, X3, Y3);
  EXPECT_EQ(X2, X3);
  EXPECT_EQ(Y2, Y3);
  Retour(*s, X, Y, phi, lambda);
  Retour(*surNTF, X, Y, phiNTF, lambdaNTF);
  EXPECT_EQ(phi, phiNTF);
  EXPECT_EQ(lambda, lambdaNTF);
  s->Datum = Catalogue().TrouveDatum("WGS84");
  s->SetValide(true);
  Aller(*s, 45, 5, X3, Y3);
  EXPECT_EQ(X3, X);
  EXPECT_EQ(Y3, Y);
}

TEST(UTM, ZoneRules) {
  struct {
    const char *nature, *ligne, *meridien;
    double X0, Y0;
  } const cas[] = {{"UTM Fuseau", "0 0", "-183°", 500000, 0},  {"UTM Fuseau", "1 0", "-177°", 500000, 0},
                   {"UTM Fuseau", "31 0", "3°", 500000, 0},    {"UTM Fuseau", "60 0", "177°", 500000, 0},
                   {"MTM Fuseau", "3 0", "-58°30'", 304800, 0}, {"MTM Fuseau", "8 0", "-73°30'", 304800, 0},
                   {"MTM Fuseau", "8 1", "-73°30'", 304800, 10000000}};
  for (const auto& c : cas) {
    auto s = Systeme<TTransverseMercatorBrut>(c.nature, "WGS84", c.ligne);
    EXPECT_EQ(s->LandaC.Texte, c.meridien) << c.nature << " " << c.ligne;
    EXPECT_EQ(s->XEquateur, c.X0);
    EXPECT_EQ(s->YEquateur, c.Y0);
  }
  EXPECT_DOUBLE_EQ(Systeme<TUTM>("UTM Fuseau", "WGS84", "31 0")->n, 0.9996 * DemiGrandAxeWGS84);
}

TEST(UTM, ZoneWritesRecomputeAtOnce) {
  auto s = Systeme<TUTM>("UTM Fuseau", "WGS84", "31 0");
  s->SetEntier(0, 32);
  EXPECT_EQ(s->LandaC.Texte, "9°");
  s->SetBooleen(0, true);
  EXPECT_EQ(s->YEquateur, 10000000);
  // Zone numbers far out of the grid do not overflow.
  s->SetEntier(0, 2147483647);
  EXPECT_EQ(s->LandaC.Texte, "12884901699°");
  // The central meridian is not a parameter of the zone kinds.
  EXPECT_THROW(s->GetAngle(0), ErreurIntervalle);
  EXPECT_TRUE(s->Valide);
  EXPECT_THROW(s->SetReel(0, 1), ErreurIntervalle);
  EXPECT_FALSE(s->Valide);
}

}  // namespace
