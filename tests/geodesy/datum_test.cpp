#include "geodesy/datum.h"

#include <gtest/gtest.h>

#include "../commun/dossier_temporaire.h"
#include "tools/chemins.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using essai::TDossierTemporaire;

// The ellipsoids of the catalogue that the datum lines below refer to.
class DatumTest : public ::testing::Test {
 protected:
  DatumTest() {
    for (auto [nom, a, e] : {std::tuple{"GRS 80", DemiGrandAxeWGS84, ExcentriciteWGS84},
                             {"Clarke 1880 IGN", 6378249.2, 0.0824832567634}}) {
      TEllipsoide& ellipsoide = *ellipsoides_.emplace_back(std::make_unique<TEllipsoide>());
      ellipsoide.Nom = nom;
      ellipsoide.A = a;
      ellipsoide.E = e;
    }
  }
  ~DatumTest() override { DefinitDossierProgramme(""); }

  // Reads a whole "Datum=..." line into `datum`.
  void Lit(TDatum& datum, const std::string& ligne) {
    TFlux flux(ligne);
    ASSERT_EQ(LitCle(flux), "Datum");
    datum.Lecture(flux, ellipsoides_);
  }

  static std::string Ecrit(const TDatum& datum) {
    std::string ligne;
    datum.Ecriture(ligne);
    return ligne;
  }

  std::vector<std::unique_ptr<TEllipsoide>> ellipsoides_;
};

// WGS84 and a seven-parameter datum come back to 1e-11 rad, with longitudes
// from Greenwich or from Paris.
TEST_F(DatumTest, AllerRetourVersWGS84) {
  TDatum wgs84, dhdn;
  Lit(wgs84, "Datum=\"WGS84\" \"World Geodesic System\" \"GRS 80\" 0 0 0\r\n");
  Lit(dhdn, "Datum=DHDN \"\" \"GRS 80\" 598.1 73.7 418.2 0.202 0.045 -2.455 6.7\r\n");
  for (double phi : {-1.4, -0.3, 0.0, 0.85, 1.5})
    for (double lambda : {-3.0, -0.1, 0.0, 0.04, 2.9})
      for (bool paris : {false, true})
        for (const TDatum* datum : {&wgs84, &dhdn}) {
          double X, Y, Z, p, l;
          datum->VersWGS84(paris, phi, lambda, X, Y, Z);
          datum->DepuisWGS84(paris, X, Y, Z, p, l);
          EXPECT_NEAR(p, phi, 1e-11);
          EXPECT_NEAR(l, lambda, 1e-11);
        }
}

// The NTF datum's grid beside the program ("gr3df97a.txt") is written back
// without its path; a path to a grid that moved away finds it again.
TEST_F(DatumTest, GrilleParDefautDeLaNTF) {
  const std::string ligne = "Datum=NTF \"\" \"Clarke 1880 IGN\" -168 -60 320";
  TDossierTemporaire dossier;
  DefinitDossierProgramme(dossier());
  const std::string chemin = dossier.Ecrit(
      "gr3df97a.txt", "GR3D\r\nGR3D1 -5.5 10 41 52 .1 .1\r\nGR3D2\r\nGR3D3\r\n00001 -5.5 41 -165 -67 315 99\r\n");
  TDatum avec, deplace;
  Lit(avec, ligne + "\r\n");
  ASSERT_NE(avec.Grille, nullptr);
  EXPECT_EQ(Ecrit(avec), "Datum=\"NTF\" \"\" \"Clarke 1880 IGN\" -168 -60 320\r\n");
  Lit(deplace, ligne + " \"/ancien/dossier/gr3df97a.txt\"\r\n");
  ASSERT_NE(deplace.Grille, nullptr);
  EXPECT_EQ(deplace.NomGrille, chemin);
}

TEST_F(DatumTest, SetGrille) {
  TDossierTemporaire dossier;
  const std::string bonne = dossier.Ecrit("bonne.dat", "0 1 44 45 1 1\r\n1 2 3 1 1 2 3 1 1 2 3 1 1 2 3 1\r\n");
  const std::string mauvaise = dossier.Ecrit("mauvaise.dat", "0 5 44 50 1 1\r\n1 2\r\n");
  TDatum ntf;
  ntf.Nom = "NTF";
  ntf.SetGrille(bonne);
  const TGrilleIgn* chargee = ntf.Grille.get();
  ASSERT_NE(chargee, nullptr);
  ntf.SetGrille(bonne);  // same name: not read again
  EXPECT_EQ(ntf.Grille.get(), chargee);

  // A file that cannot be read leaves the datum as it was.
  EXPECT_THROW(ntf.SetGrille(mauvaise), ErreurConversion);
  EXPECT_EQ(ntf.Grille.get(), chargee);
  EXPECT_EQ(ntf.NomGrille, bonne);
  EXPECT_FALSE(ntf.SansGrille);

  ntf.SetGrille(dossier("absente.dat"));
  EXPECT_EQ(ntf.Grille, nullptr);
  EXPECT_TRUE(ntf.SansGrille);
  ntf.SetGrille("");
  EXPECT_TRUE(ntf.SansGrille);

  TDatum autre;
  autre.Nom = "ED50";
  autre.SetGrille(dossier("absente.dat"));
  EXPECT_FALSE(autre.SansGrille);
  EXPECT_EQ(autre.NomGrille, dossier("absente.dat"));

  // A broken grid named in a record line leaves the datum on its parameters,
  // the name kept (written back) and the reason told (a missing one, and the
  // editor's refusal of a missing file: the window's tests).
  TDatum lu;
  Lit(lu, "Datum=NTF \"\" \"GRS 80\" 0 0 0 \"" + mauvaise + "\"\r\n");
  EXPECT_TRUE(lu.Lu);
  EXPECT_EQ(lu.Grille, nullptr);
  EXPECT_EQ(lu.NomGrille, mauvaise);
  EXPECT_NE(lu.ErreurGrille.find("ligne 2"), std::string::npos) << lu.ErreurGrille;
}

}  // namespace
}  // namespace vestrel
