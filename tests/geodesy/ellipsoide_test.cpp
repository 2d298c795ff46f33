#include "geodesy/ellipsoide.h"

#include <gtest/gtest.h>

#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {
namespace {

TEST(Ellipsoide, Grs80ParSonInverseAplatissement) {
  TEllipsoide e;
  e.A = 6378137;
  e.SetInverseAplatissement(298.257222101);
  EXPECT_NEAR(e.GetB(), 6356752.31414, 5e-6);
  EXPECT_NEAR(e.E, 0.0818191910428, 5e-13);
  EXPECT_NEAR(e.GetInverseAplatissement(), 298.257222101, 1e-8);
  e.SetB(6356515);
  EXPECT_NEAR(e.GetB(), 6356515, 1e-8);
}

TEST(Ellipsoide, SphereSansInverseAplatissement) {
  TEllipsoide e;
  e.A = 6370997;
  GardeFlottante garde;
  try {
    e.GetInverseAplatissement();
    ADD_FAILURE();
  } catch (const ErreurArithmetique& erreur) {
    EXPECT_STREQ(erreur.what(), "Division par zéro");
  }
  EXPECT_NO_THROW(garde.Verifie());
}

TEST(Ellipsoide, LectureEtEcriture) {
  TEllipsoide e;
  e.Nom = "Clarke 1880 IGN";
  e.Description = "Réseau français";
  e.A = 6378249.2;
  e.E = 0.0824832567634;
  std::string ligne;
  e.Ecriture(ligne);
  EXPECT_EQ(ligne,
            "Ellipsoide=\"Clarke 1880 IGN\" \"Réseau français\" 6378249.2 0.0824832567634\r\n");

  TFlux flux(ligne);
  EXPECT_EQ(LitCle(flux), "Ellipsoide");
  TEllipsoide relu;
  relu.Lecture(flux);
  EXPECT_TRUE(relu.Lu);
  EXPECT_EQ(relu.Nom, e.Nom);
  EXPECT_EQ(relu.Description, e.Description);
  EXPECT_EQ(relu.A, e.A);
  EXPECT_EQ(relu.E, e.E);

  TFlux vide("Intl \"\" 6378388 0.08199188998\r\n");
  relu.Lecture(vide);
  EXPECT_EQ(relu.Nom, "Intl");
  EXPECT_EQ(relu.Description, "");
}

TEST(Ellipsoide, LectureIncorrecteLaisseLesChamps) {
  for (const char* ligne : {"\"GRS 80\" \"\" 6378137\r\n", "a b 1 0.1 5\r\n"}) {
    TEllipsoide e;
    e.Nom = "avant";
    TFlux flux(ligne);
    try {
      e.Lecture(flux);
      ADD_FAILURE() << ligne;
    } catch (const ErreurIntervalle& erreur) {
      EXPECT_STREQ(erreur.what(),
                   "Nombre incorrecte de paramètre lors de la lecture d'un ellipsoïde");
    }
    EXPECT_FALSE(e.Lu);
    EXPECT_EQ(e.Nom, "avant");
  }
  TEllipsoide e;
  TFlux flux("x y 6378137 0,08\r\n");
  EXPECT_THROW(e.Lecture(flux), ErreurConversion);
  EXPECT_FALSE(e.Lu);
  EXPECT_EQ(e.Nom, "");
}

}  // namespace
}  // namespace vestrel
