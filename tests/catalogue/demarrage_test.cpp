// The settings file, and the data file at start-up and exit. XDG_CONFIG_HOME
// and the program folder point into a temporary folder: the real home is
// never touched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "catalogue/donnee.h"
#include "catalogue/fichier_ini.h"
#include "../commun/dossier_temporaire.h"
#include "tools/chemins.h"

namespace vestrel {
namespace {

using essai::Ecrit;
using essai::Lit;
using essai::TDossierTemporaire;

const std::string kEllipsoide = "Ellipsoide=\"Clarke\" \"\" 6378249.2 0.0824832567634\r\n";
const std::string kDatum = "Datum=\"Triangulation\" \"\" \"Clarke\" -168 -60 320\r\n";
const std::string kFrance = "Ellipsoide=\"France\" \"\" 6378249.2 0.08\r\n";

class Demarrage : public testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", config_().c_str(), 1);
    std::filesystem::create_directories(programme_("bin"));
    DefinitDossierProgramme(programme_("bin/"));
  }
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    DefinitDossierProgramme("");
  }
  std::string Donnees() const { return config_("vestrel/donnees.txt"); }
  std::string France() const { return programme_("bin/france.txt"); }

  TDossierTemporaire config_, programme_;
};

// ---- Settings file --------------------------------------------------------

TEST_F(Demarrage, LeDossierDesReglagesEstCreeSousXdgConfigHome) {
  TFichierIni ini("Vestrel");
  EXPECT_EQ(ini.Dossier, config_("vestrel/"));
  EXPECT_EQ(ini.NomFichier, config_("vestrel/vestrel.ini"));
  EXPECT_TRUE(DossierExiste(ini.Dossier));
  ini.LitFichier();
  EXPECT_TRUE(ini.AutoSave) << "a missing file keeps the default";
}

TEST_F(Demarrage, SansXdgConfigHomeLeDossierEstSousPointConfig) {
  unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string ancien = home ? home : "";
  setenv("HOME", config_("maison").c_str(), 1);
  TFichierIni ini;
  if (home) setenv("HOME", ancien.c_str(), 1); else unsetenv("HOME");
  EXPECT_EQ(ini.Dossier, config_("maison/.config/vestrel/"));
  EXPECT_TRUE(DossierExiste(ini.Dossier));
}

TEST_F(Demarrage, LaDerniereLigneAutoSaveLEmporte) {
  struct {
    std::string Contenu;
    bool AutoSave;
  } cas[] = {
      {"AutoSave = OUI\r\n", true},
      {"AutoSave = NON\n", false},
      {"AutoSave = oui\n", false},
      {"[Options]\nAutre = 1\n", true},
      {"AutoSave = NON\nAutoSave = OUI\n", true},
      {"AutoSave = OUI\nAutoSave=OUI\n", false},
  };
  for (const auto& c : cas) {
    TFichierIni ini;
    Ecrit(ini.NomFichier, c.Contenu);
    ini.LitFichier();
    EXPECT_EQ(ini.AutoSave, c.AutoSave) << c.Contenu;
  }
}

TEST_F(Demarrage, SetAutoSaveReecritLeFichierAussitot) {
  TFichierIni ini;
  ini.SetAutoSave(false);
  EXPECT_EQ(Lit(ini.NomFichier), "AutoSave = NON\n");
  TFichierIni relu;
  relu.LitFichier();
  EXPECT_FALSE(relu.AutoSave);
  ini.SetAutoSave(true);
  EXPECT_EQ(Lit(ini.NomFichier), "AutoSave = OUI\n");
}

// ---- Start-up and exit -------------------------------------------------------

TEST_F(Demarrage, DonneesEstChargeQuandIlExiste) {
  TFichierIni ini;
  Ecrit(Donnees(), kEllipsoide + kDatum);
  Ecrit(France(), kFrance);
  TDonnees d;
  const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
  EXPECT_EQ(demarrage.FichierCharge, Donnees());
  EXPECT_FALSE(demarrage.Incomplet);
  EXPECT_EQ(d.Datums.size(), 2u);
  EXPECT_EQ(d.IndiceEllipsoide("France"), -1);
}

TEST_F(Demarrage, SansDonneesFranceEstChargeEnSilence) {
  TFichierIni ini;
  Ecrit(France(), kFrance + "Truc=1\r\n");  // its failure is swallowed
  TDonnees d;
  const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
  EXPECT_EQ(demarrage.FichierCharge, France());
  EXPECT_FALSE(demarrage.Incomplet);
  EXPECT_EQ(d.IndiceEllipsoide("France"), 1);
}

TEST_F(Demarrage, FranceEstAussiCherchePourUnProgrammeInstalle) {
  TFichierIni ini;
  const std::string installe = programme_("share/vestrel/france.txt");
  Ecrit(installe, kFrance);
  EXPECT_EQ(CheminDonneesProgramme("france.txt"), programme_("bin/../share/vestrel/france.txt"));
  TDonnees d;
  ChargeAuDemarrage(d, ini);
  EXPECT_EQ(d.IndiceEllipsoide("France"), 1);
}

TEST_F(Demarrage, SansAucunFichierSeulsLesIntegresRestent) {
  TFichierIni ini;
  TDonnees d;
  const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
  EXPECT_EQ(demarrage.FichierCharge, "");
  EXPECT_FALSE(demarrage.Incomplet);
  EXPECT_EQ(d.Ellipsoides.size(), 1u);
  EXPECT_EQ(d.Datums.size(), 1u);
}

TEST_F(Demarrage, SansAutoSaveRienNEstChargeNiSauve) {
  TFichierIni ini;
  ini.AutoSave = false;
  Ecrit(Donnees(), kEllipsoide);
  TDonnees d;
  ChargeAuDemarrage(d, ini);
  EXPECT_EQ(d.Ellipsoides.size(), 1u);
  SauveALaSortie(d, ini, {});
  EXPECT_EQ(Lit(Donnees()), kEllipsoide);
}

TEST_F(Demarrage, LaSortieSauveDansDonnees) {
  TFichierIni ini;
  TDonnees d;
  d.AjouteLigne(kEllipsoide);
  SauveALaSortie(d, ini, ChargeAuDemarrage(d, ini));
  EXPECT_EQ(Lit(Donnees()), kEllipsoide);
}

// A "donnees.txt" whose third line is bad: the two records before it stay,
// "france.txt" is not loaded on top, the caller learns the file, the line and
// the message, and at exit the original is kept as "donnees.txt.bak" before
// the catalogue is saved over it. (Loading "france.txt" on top and
// overwriting silently would lose every record after the bad line.)
TEST_F(Demarrage, UnDonneesIncompletEstSignaleEtGardeEnBak) {
  TFichierIni ini;
  const std::string original =
      kEllipsoide + kDatum + "Datum=\"D\" \"\" \"Inconnu\" 0 0 0\r\n" + "Ellipsoide=\"Apres\" \"\" 6378137 0.08\r\n";
  Ecrit(Donnees(), original);
  Ecrit(France(), kFrance);
  TDonnees d;
  const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
  ASSERT_TRUE(demarrage.Incomplet);
  EXPECT_EQ(demarrage.Incomplet->Fichier, Donnees());
  EXPECT_EQ(demarrage.Incomplet->Ligne, 3);
  EXPECT_EQ(demarrage.Incomplet->MessageRecord, "Ellipsoïde Inconnu inconnu dans le datum D");
  EXPECT_EQ(d.IndiceEllipsoide("France"), -1) << "france.txt is not loaded on top";
  EXPECT_EQ(d.Datums.size(), 2u);

  SauveALaSortie(d, ini, demarrage);
  EXPECT_EQ(Lit(Donnees() + ".bak"), original);
  EXPECT_EQ(Lit(Donnees()), kEllipsoide + kDatum);
}

TEST_F(Demarrage, UnDonneesIllisibleNEstPasRemplaceParFrance) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TFichierIni ini;
  Ecrit(Donnees(), kEllipsoide);
  chmod(Donnees().c_str(), 0);
  Ecrit(France(), kFrance);
  TDonnees d;
  const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
  ASSERT_TRUE(demarrage.Incomplet);
  EXPECT_EQ(demarrage.Incomplet->Ligne, 0);
  EXPECT_EQ(d.IndiceEllipsoide("France"), -1);
  // It cannot be kept as a copy, so it is not saved over.
  EXPECT_THROW(SauveALaSortie(d, ini, demarrage), ErreurEntreeSortie);
  chmod(Donnees().c_str(), 0644);
  EXPECT_EQ(Lit(Donnees()), kEllipsoide);
}

TEST_F(Demarrage, UnEchecALaSortieDonneLeMessageAvecLeChemin) {
  TFichierIni ini;
  std::filesystem::create_directories(Donnees());  // a folder in the file's place
  TDonnees d;
  try {
    SauveALaSortie(d, ini, {});
    FAIL();
  } catch (const ErreurEntreeSortie& e) {
    EXPECT_EQ(e.what(), "Problème à l'enregistrement des données dans " + Donnees());
  }
}

}  // namespace
}  // namespace vestrel
