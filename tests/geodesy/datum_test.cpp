#include "geodesy/datum.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cmath>
#include <numbers>

#include "../commun/dossier_temporaire.h"
#include "geodesy/geodesie.h"
#include "tools/chemins.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using essai::TDossierTemporaire;

constexpr double kDeg = std::numbers::pi / 180;

// The ellipsoids of the catalogue that the datum lines below refer to.
class DatumTest : public ::testing::Test {
 protected:
  DatumTest() {
    Ajoute("GRS 80", DemiGrandAxeWGS84, ExcentriciteWGS84);
    auto& clarke = Ajoute("Clarke 1880 IGN", 6378249.2, 0);
    clarke.SetB(6356515);
    auto& bessel = Ajoute("Bessel 1841", 6377397.155, 0);
    bessel.SetInverseAplatissement(299.1528128);
  }
  ~DatumTest() override { DefinitDossierProgramme(""); }

  TEllipsoide& Ajoute(const std::string& nom, double a, double e) {
    ellipsoides_.push_back(std::make_unique<TEllipsoide>());
    auto& ellipsoide = *ellipsoides_.back();
    ellipsoide.Nom = nom;
    ellipsoide.A = a;
    ellipsoide.E = e;
    return ellipsoide;
  }

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

  // Latitude and longitude back from VersWGS84 then DepuisWGS84.
  static void AllerRetour(const TDatum& datum, bool paris, double phi, double lambda,
                          double tolerance) {
    double X, Y, Z, p, l;
    datum.VersWGS84(paris, phi, lambda, X, Y, Z);
    datum.DepuisWGS84(paris, X, Y, Z, p, l);
    EXPECT_NEAR(p, phi, tolerance);
    EXPECT_NEAR(l, lambda, tolerance);
  }

  std::vector<std::unique_ptr<TEllipsoide>> ellipsoides_;
};

// A grid over 0°..5° E, 44°..50° N, 1° steps, one-line layout, with the same
// translations at every node.
std::string GrilleUniforme(const char* translations) {
  std::string texte = "0 5 44 50 1 1\r\n";
  for (int k = 0; k < 6 * 7; ++k) texte += std::string(translations) + " 1 ";
  return texte + "\r\n";
}

TEST(MeridienParis, Valeur) {
  EXPECT_NEAR(MeridienParis(), 0.04079234433197664, 1e-16);
}

TEST_F(DatumTest, Wgs84AllerRetour) {
  TDatum wgs84;
  Lit(wgs84, "Datum=\"WGS84\" \"World Geodesic System\" \"GRS 80\" 0 0 0\r\n");
  EXPECT_TRUE(wgs84.Lu);
  EXPECT_TRUE(wgs84.TroisParametres);
  EXPECT_EQ(wgs84.Ellipsoide, ellipsoides_[0].get());
  for (double phi : {-1.4, -0.3, 0.0, 0.85, 1.5})
    for (double lambda : {-3.0, -0.1, 0.0, 0.04, 2.9}) {
      AllerRetour(wgs84, false, phi, lambda, 1e-11);
      AllerRetour(wgs84, true, phi, lambda, 1e-11);
    }
}

TEST_F(DatumTest, NombresDeJetons) {
  TDatum d;
  Lit(d, "Datum=ED50 \"\" \"GRS 80\" -87 -98 -121\r\n");
  EXPECT_TRUE(d.TroisParametres);
  EXPECT_EQ(d.DeltaZ, -121);
  EXPECT_EQ(Ecrit(d), "Datum=\"ED50\" \"\" \"GRS 80\" -87 -98 -121\r\n");

  TDatum sept;
  Lit(sept, "Datum=D7 \"sept\" \"GRS 80\" 1 2 3 0.5 -0.25 0.125 1.23456789012\r\n");
  EXPECT_FALSE(sept.TroisParametres);
  EXPECT_EQ(sept.RotY, -0.25);
  EXPECT_EQ(Ecrit(sept),
            "Datum=\"D7\" \"sept\" \"GRS 80\" 1 2 3 0.5 -0.25 0.125 1.2345679\r\n");

  TDatum sansGrille;
  Lit(sansGrille, "Datum=D7g \"\" \"GRS 80\" 1 2 3 0.5 -0.25 0.125 2 *\r\n");
  EXPECT_TRUE(sansGrille.SansGrille);
  EXPECT_EQ(Ecrit(sansGrille), "Datum=\"D7g\" \"\" \"GRS 80\" 1 2 3 0.5 -0.25 0.125 2 *\r\n");

  for (const char* ligne : {"Datum=a b \"GRS 80\" 1 2\r\n", "Datum=a b \"GRS 80\" 1 2 3 4 5\r\n",
                            "Datum=a b \"GRS 80\" 1 2 3 4 5 6\r\n",
                            "Datum=a b \"GRS 80\" 1 2 3 4 5 6 7 8 9\r\n"}) {
    TDatum faux;
    try {
      Lit(faux, ligne);
      ADD_FAILURE() << ligne;
    } catch (const ErreurIntervalle& erreur) {
      EXPECT_STREQ(erreur.what(), "Nombre incorrecte de paramètre lors de la lecture d'un datum");
    }
    EXPECT_FALSE(faux.Lu);
  }
}

TEST_F(DatumTest, EllipsoideInconnuOuNombreIncorrect) {
  TDatum d;
  try {
    Lit(d, "Datum=\"Mon datum\" \"\" \"grs 80\" 0 0 0\r\n");
    ADD_FAILURE();
  } catch (const ErreurIntervalle& erreur) {
    EXPECT_STREQ(erreur.what(), "Ellipsoïde grs 80 inconnu dans le datum Mon datum");
  }
  EXPECT_THROW(Lit(d, "Datum=x \"\" \"GRS 80\" 0 0 zéro\r\n"), ErreurConversion);
  EXPECT_FALSE(d.Lu);
  EXPECT_EQ(d.Nom, "");
}

TEST_F(DatumTest, GrilleParDefautDeLaNTF) {
  TDossierTemporaire dossier;
  DefinitDossierProgramme(dossier.Dossier());
  const std::string ligne = "Datum=NTF \"\" \"Clarke 1880 IGN\" -168 -60 320\r\n";
  TDatum sans;
  Lit(sans, ligne);
  EXPECT_EQ(sans.Grille, nullptr);
  EXPECT_FALSE(sans.SansGrille);
  EXPECT_EQ(Ecrit(sans), "Datum=\"NTF\" \"\" \"Clarke 1880 IGN\" -168 -60 320\r\n");

  const std::string chemin = dossier.Ecrit("gr3df97a.txt",
                                           "GR3D\r\nGR3D1 -5.5 10 41 52 .1 .1\r\nGR3D2\r\nGR3D3\r\n"
                                           "00001 -5.5 41 -165 -67 315 99\r\n");
  TDatum avec;
  Lit(avec, ligne);
  ASSERT_NE(avec.Grille, nullptr);
  EXPECT_EQ(avec.Grille->NLon, 156);
  EXPECT_EQ(avec.NomGrille, chemin);
  EXPECT_EQ(Ecrit(avec),
            "Datum=\"NTF\" \"\" \"Clarke 1880 IGN\" -168 -60 320 \"" + chemin + "\"\r\n");

  TDatum etoile;
  Lit(etoile, "Datum=NTF \"\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n");
  EXPECT_EQ(etoile.Grille, nullptr);
  EXPECT_TRUE(etoile.SansGrille);

  // Only the NTF datum looks beside the program.
  TDatum autre;
  Lit(autre, "Datum=RGF \"\" \"Clarke 1880 IGN\" -168 -60 320\r\n");
  EXPECT_EQ(autre.Grille, nullptr);
}

// An installed program keeps its data in ../share/vestrel/ beside bin/.
TEST_F(DatumTest, GrilleParDefautDUnProgrammeInstalle) {
  TDossierTemporaire dossier;
  std::filesystem::create_directories(dossier.Dossier() + "bin");
  std::filesystem::create_directories(dossier.Dossier() + "share/vestrel");
  DefinitDossierProgramme(dossier.Dossier() + "bin/");
  dossier.Ecrit("share/vestrel/gr3df97a.txt",
                "GR3D\r\nGR3D1 -5.5 10 41 52 .1 .1\r\nGR3D2\r\nGR3D3\r\n00001 -5.5 41 -165 -67 315 99\r\n");
  TDatum ntf;
  Lit(ntf, "Datum=NTF \"\" \"Clarke 1880 IGN\" -168 -60 320\r\n");
  ASSERT_NE(ntf.Grille, nullptr);
  EXPECT_EQ(ntf.NomGrille, dossier.Dossier() + "bin/../share/vestrel/gr3df97a.txt");
}

TEST_F(DatumTest, SetGrille) {
  TDossierTemporaire dossier;
  const std::string bonne = dossier.Ecrit("bonne.dat", GrilleUniforme("1 2 3"));
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

  ntf.SetGrille(dossier.Dossier() + "absente.dat");
  EXPECT_EQ(ntf.Grille, nullptr);
  EXPECT_TRUE(ntf.SansGrille);
  ntf.SetGrille("");
  EXPECT_TRUE(ntf.SansGrille);

  TDatum autre;
  autre.Nom = "ED50";
  autre.SetGrille(dossier.Dossier() + "absente.dat");
  EXPECT_FALSE(autre.SansGrille);
  EXPECT_EQ(autre.NomGrille, dossier.Dossier() + "absente.dat");

  // A broken grid named in a record line ends the reading.
  TDatum lu;
  EXPECT_THROW(Lit(lu, "Datum=NTF \"\" \"GRS 80\" 0 0 0 \"" + mauvaise + "\"\r\n"),
               ErreurConversion);
  EXPECT_FALSE(lu.Lu);
  EXPECT_EQ(lu.Grille, nullptr);
}

TEST_F(DatumTest, MeridienDeParis) {
  TDatum ntf;
  Lit(ntf, "Datum=NTF \"\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n");
  double X1, Y1, Z1, X2, Y2, Z2;
  ntf.VersWGS84(true, 0.8, 0, X1, Y1, Z1);
  ntf.VersWGS84(false, 0.8, MeridienParis(), X2, Y2, Z2);
  EXPECT_EQ(X1, X2);
  EXPECT_EQ(Y1, Y2);
  EXPECT_EQ(Z1, Z2);
  double phi, lambda;
  ntf.DepuisWGS84(true, X1, Y1, Z1, phi, lambda);
  EXPECT_NEAR(lambda, 0, 1e-11);
}

// Independent figures:
//   echo "10 50 0" | cs2cs -f %.5f +proj=longlat +ellps=bessel
//     +towgs84=598.1,73.7,418.2,0.202,0.045,-2.455,6.7 +no_defs +to +proj=geocent +datum=WGS84
//   echo "2.5 47 0" | cs2cs -f %.5f +proj=longlat +ellps=clrk80ign +towgs84=-168,-60,320
//     +no_defs +to +proj=geocent +datum=WGS84
// PROJ scales the rotations too (1 + D)·R: 0.4 mm here.
TEST_F(DatumTest, SimilitudesEtReferencesIndependantes) {
  TDatum dhdn, ntf;
  Lit(dhdn, "Datum=DHDN \"\" \"Bessel 1841\" 598.1 73.7 418.2 0.202 0.045 -2.455 6.7\r\n");
  Lit(ntf, "Datum=NTF \"\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n");
  double X, Y, Z;
  dhdn.VersWGS84(false, 50 * kDeg, 10 * kDeg, X, Y, Z);
  EXPECT_NEAR(X, 4045598.05594, 1e-3);
  EXPECT_NEAR(Y, 713261.73931, 1e-3);
  EXPECT_NEAR(Z, 4862744.84315, 1e-3);
  ntf.VersWGS84(false, 47 * kDeg, 2.5 * kDeg, X, Y, Z);
  EXPECT_NEAR(X, 4353576.23994, 1e-4);
  EXPECT_NEAR(Y, 190028.57870, 1e-4);
  EXPECT_NEAR(Z, 4641792.49468, 1e-4);

  // The seven-parameter shift is undone exactly.
  for (double phi : {-1.2, 0.1, 0.87, 1.4})
    for (double lambda : {-2.5, 0.17, 3.0}) AllerRetour(dhdn, phi > 0, phi, lambda, 1e-11);
}

TEST_F(DatumTest, TranslationsDeLaGrille) {
  TDossierTemporaire dossier;
  const std::string grille = dossier.Ecrit("uniforme.dat", GrilleUniforme("-168 -60 320"));
  TDatum avec, reference;
  Lit(avec, "Datum=G \"\" \"Clarke 1880 IGN\" 10 20 30 \"" + grille + "\"\r\n");
  Lit(reference, "Datum=R \"\" \"Clarke 1880 IGN\" -168 -60 320\r\n");
  ASSERT_NE(avec.Grille, nullptr);
  double X, Y, Z, Xr, Yr, Zr;
  // Inside: the grid's translations replace the datum's own.
  avec.VersWGS84(false, 47 * kDeg, 2.5 * kDeg, X, Y, Z);
  reference.VersWGS84(false, 47 * kDeg, 2.5 * kDeg, Xr, Yr, Zr);
  EXPECT_NEAR(X, Xr, 1e-6);
  EXPECT_NEAR(Y, Yr, 1e-6);
  EXPECT_NEAR(Z, Zr, 1e-6);
  AllerRetour(avec, false, 47 * kDeg, 2.5 * kDeg, 1e-11);
  // Outside: the datum's own translations.
  avec.VersWGS84(false, 30 * kDeg, 2.5 * kDeg, X, Y, Z);
  double x, y, z;
  GeographiqueVersCartesien(2.5 * kDeg, 30 * kDeg, 0, avec.Ellipsoide->A, avec.Ellipsoide->E, x,
                            y, z);
  EXPECT_NEAR(X - x, 10, 1e-6);
  EXPECT_NEAR(Z - z, 30, 1e-6);
  AllerRetour(avec, true, 30 * kDeg, 2.5 * kDeg, 1e-11);
}

}  // namespace
}  // namespace vestrel
