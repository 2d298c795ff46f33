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
