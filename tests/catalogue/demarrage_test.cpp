// The settings file, and the data file at start-up and exit. XDG_CONFIG_HOME
// and the program folder point into a temporary folder: the real home is
// never touched.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "catalogue/donnee.h"
#include "catalogue/demarrage.h"
#include "catalogue/fichier_ini.h"
#include "../commun/message.h"
#include "../commun/dossier_temporaire.h"
#include "../commun/empreinte.h"
#include "tools/chemins.h"
#include "tools/codec.h"

namespace vestrel {
namespace {

using essai::Ecrit;
using essai::Lit;

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

  essai::TDossierTemporaire config_, programme_;
};

// ---- Settings file --------------------------------------------------------

TEST_F(Demarrage, LeFichierDesReglages) {
  TFichierIni ini("Vestrel");
  EXPECT_EQ(ini.NomFichier, config_("vestrel/vestrel.ini"));
  ini.LitFichier();
  EXPECT_TRUE(ini.AutoSave) << "a missing file keeps the default";

  // Without XDG_CONFIG_HOME nor HOME: ~/.config of the home in the user
  // database, never the folder the program was started from (~/.config from
  // HOME, created by the window only, and a home that is a file: the command
  // line's tests).
  unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string ancien = home ? home : "";
  unsetenv("HOME");
  TFichierIni sansHome("vestrel-essai", false);
  if (home) setenv("HOME", ancien.c_str(), 1);
  EXPECT_EQ(sansHome.Dossier, std::string(getpwuid(getuid())->pw_dir) + "/.config/vestrel-essai/");

  // The last "AutoSave = " line wins; SetAutoSave rewrites the file at once.
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
      // A byte-order mark, CR alone; only the start of a long file is read.
      {"\xEF\xBB\xBF" "AutoSave = NON\r\n", false},
      {"[Options]\rAutoSave = NON\rAutre = 1\r", false},
      {"AutoSave = NON\n" + std::string(100000, '#') + "\nAutoSave = OUI\n", false},
  };
  for (const auto& c : cas) {
    TFichierIni lu;
    Ecrit(lu.NomFichier, c.Contenu);
    lu.LitFichier();
    EXPECT_EQ(lu.AutoSave, c.AutoSave) << c.Contenu;
  }
  ini.SetAutoSave(false);
  EXPECT_EQ(Lit(ini.NomFichier), "AutoSave = NON\n");
  ini.SetAutoSave(true);
  EXPECT_EQ(Lit(ini.NomFichier), "AutoSave = OUI\n");
}

// ---- Start-up and exit -------------------------------------------------------

// Which file the start-up loads: "donnees.txt" when it exists, else
// "france.txt" beside the program or in ../share/vestrel/ (its failure
// swallowed), else the built-ins only; nothing without AutoSave.
TEST_F(Demarrage, LeFichierChargeAuDemarrage) {
  const std::string installe = programme_("share/vestrel/france.txt");
  struct {
    const char* Nom;
    bool Donnees, France, Installe, AutoSave;
    std::string Charge;
    size_t Ellipsoides;
  } cas[] = {
      {"donnees.txt", true, true, false, true, Donnees(), 2},
      {"france.txt", false, true, false, true, France(), 2},
      {"installé", false, false, true, true, installe, 2},
      {"aucun", false, false, false, true, "", 1},
      {"sans AutoSave", true, true, false, false, "", 1},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Nom);
    for (const std::string& fichier : {Donnees(), France(), installe}) std::filesystem::remove(fichier);
    if (c.Donnees) Ecrit(Donnees(), kEllipsoide + kDatum);
    if (c.France) Ecrit(France(), kFrance + "Truc=1\r\n");
    if (c.Installe) Ecrit(installe, kFrance);
    TFichierIni ini;
    ini.AutoSave = c.AutoSave;
    TDonnees d;
    const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
    EXPECT_EQ(std::filesystem::weakly_canonical(demarrage.FichierCharge),
              std::filesystem::weakly_canonical(c.Charge));
    EXPECT_TRUE(demarrage.Rejets.empty());
    EXPECT_EQ(d.Ellipsoides.size(), c.Ellipsoides);
    EXPECT_EQ(d.IndiceEllipsoide("France") >= 0, !c.Donnees && c.Ellipsoides > 1);
    // The exit saves into "donnees.txt" only with AutoSave.
    d.AjouteLigne("Ellipsoide=\"Sortie\" \"\" 6378137 0.08");
    SauveALaSortie(d, ini);
    EXPECT_EQ(FichierExiste(Donnees()) && Lit(Donnees()).find("Sortie") != std::string::npos,
              c.AutoSave);
  }
}

// A "donnees.txt" with lines the catalogue cannot use: every one is reported
// (file, line, message), the records after them are read, "france.txt" is
// not loaded on top, and the exit save writes them back as they were, the
// replaced file kept as "donnees.txt.bak". Systems whose constants cannot be
// computed stay and say why when they convert.
TEST_F(Demarrage, RienDeDonneesNeSePerdEntreUnDemarrageEtUneSortie) {
  TFichierIni ini;
  const std::string tangent =
      "Projection \"Lambert Conique Tangent\"=\"Equateur\" \"\" \"Triangulation\" 1 0 0 0° 0°\r\n";
  const std::string secant =
      "Projection \"Lambert Conique Sécant\"=\"Egaux\" \"\" \"WGS84\" 0 0 3° 46° 45° 45°\r\n";
  const std::string mtm = "Projection \"MTM Fuseau\"=\"Loin\" \"\" \"WGS84\" 2147483647 0\r\n";
  const std::string original = kEllipsoide + kDatum + "' mon commentaire\r\n" +
                               "Datum=\"D\" \"\" \"Inconnu\" 0 0 0\r\n" + tangent + secant + mtm +
                               "Truc=1\r\n\r\nEllipsoide=\"Apres\" \"\" 6378137 0.08\r\n";
  // On disk as the program writes it: Windows-1252.
  Ecrit(Donnees(), Utf8VersWin1252(original));
  Ecrit(France(), kFrance);
  TDonnees d;
  const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
  EXPECT_EQ(TexteRejets(demarrage.Rejets),
            Donnees() + ", ligne 4 : Ellipsoïde Inconnu inconnu dans le datum D\n" + Donnees() +
                ", ligne 8 : Donnée Truc de nature inconnue");
  EXPECT_EQ(d.IndiceEllipsoide("France"), -1) << "france.txt is not loaded on top";
  EXPECT_EQ(d.IndiceEllipsoide("Apres"), 2);
  ASSERT_EQ(d.Projections.size(), 3u);
  const std::pair<const char*, const char*> systemes[] = {
      {"Equateur", "Division par zéro"},
      {"Egaux", "Opération en virgule flottante incorrecte"},
      {"Loin", "'6442450990' n'est pas une valeur entière correcte"}};
  for (const auto& [nom, raison] : systemes) {
    std::string x, y;
    int32_t zone = 0;
    EXPECT_EQ(essai::Message<ErreurConversion>([&] { d.ConvertirPoint("WGS84", nom, "46°", "3°", 0, zone, 0, x, y); }),
              "Les constantes du système " + std::string(nom) + " n'ont pas pu être calculées : " + raison);
  }

  EXPECT_FALSE(RemplacementADemander(d, ini)) << "the catalogue comes from donnees.txt";
  SauveALaSortie(d, ini);
  EXPECT_EQ(Win1252VersUtf8(Lit(Donnees() + ".bak")), original);
  const std::string sauve = Win1252VersUtf8(Lit(Donnees()));
  for (const std::string& ligne : {std::string("' mon commentaire\r\n"),
                                   std::string("Datum=\"D\" \"\" \"Inconnu\" 0 0 0\r\n"),
                                   std::string("Truc=1\r\n"), tangent, mtm})
    EXPECT_NE(sauve.find(ligne), std::string::npos) << ligne;
  // The next start reads the same catalogue and reports the same lines.
  TDonnees relu;
  EXPECT_EQ(ChargeAuDemarrage(relu, ini).Rejets.size(), 2u);
  EXPECT_EQ(essai::TexteSauve(d), essai::TexteSauve(relu));
  // A save that changes nothing leaves both files alone; one that does keeps
  // the file it replaces.
  SauveALaSortie(relu, ini);
  EXPECT_EQ(Win1252VersUtf8(Lit(Donnees() + ".bak")), original);
  relu.AjouteLigne("Ellipsoide=\"Encore\" \"\" 6378137 0.08");
  SauveALaSortie(relu, ini);
  EXPECT_EQ(Win1252VersUtf8(Lit(Donnees() + ".bak")), sauve);
}

// Two windows on one folder and a file that loads only partly: B, asked
// after A saved, replaces A's file, which the backup keeps; the next save
// keeps that backup aside, since it holds A's record alone. Nothing is lost.
TEST_F(Demarrage, DeuxFenetresNePerdentAucunEnregistrement) {
  TFichierIni ini;
  const std::string original = kEllipsoide + "Truc=1\r\n" + kDatum;
  Ecrit(Donnees(), original);
  TDonnees a, c;
  auto b = std::make_unique<TDonnees>();
  ChargeAuDemarrage(a, ini);
  EXPECT_EQ(ChargeAuDemarrage(*b, ini).Rejets.size(), 1u);
  a.AjouteLigne("Ellipsoide=\"DeA\" \"\" 6378137 0.08");
  SauveALaSortie(a, ini);
  const std::string deA = Lit(Donnees());
  ASSERT_TRUE(RemplacementADemander(*b, ini));
  EXPECT_NE(QuestionRemplacement(*b, ini, TMomentSauvegarde::Fin).find(CheminAPart(ini)),
            std::string::npos);
  AppliqueChoix(TChoixDonnees::Remplacer, b, ini, TMomentSauvegarde::Fin);
  EXPECT_EQ(Lit(Donnees() + ".bak"), deA);
  EXPECT_FALSE(FichierExiste(Donnees() + ".bak.1")) << "A's file holds every original line";
  ChargeAuDemarrage(c, ini);
  c.AjouteLigne("Ellipsoide=\"DeC\" \"\" 6378137 0.08");
  SauveALaSortie(c, ini);
  EXPECT_EQ(Lit(Donnees() + ".bak.1"), deA);
  // Saved over by the parameters window ("Enregistrer ..."): still its own.
  Ecrit(Donnees(), "");
  EXPECT_FALSE(RemplacementADemander(TDonnees(), ini)) << "an empty file holds nothing to lose";
  c.AjouteLigne("Ellipsoide=\"Enfin\" \"\" 6378137 0.08");
  c.SauveFichier(Donnees());
  EXPECT_FALSE(RemplacementADemander(c, ini));
}

// A failed exit save fails aloud (a folder in the file's place). A
// "donnees.txt" there but unreadable, even by root (larger than any data file
// may be: sparse, so it costs no disk), or a link to nothing (its target may be
// on a disk not there yet) is said at start-up, not replaced by "france.txt",
// and neither saved over nor written through.
TEST_F(Demarrage, EchecsALaSortie) {
  TFichierIni ini;
  std::filesystem::create_directories(Donnees());
  TDonnees vide;
  EXPECT_THROW(SauveALaSortie(vide, ini), ErreurEntreeSortie);
  std::filesystem::remove(Donnees());
  Ecrit(France(), kFrance);
  const std::string ailleurs = config_("ailleurs/donnees.txt");
  for (const bool lien : {false, true}) {
    if (lien) {
      std::filesystem::remove(Donnees());
      std::filesystem::create_symlink(ailleurs, Donnees());
    } else {
      Ecrit(Donnees(), kEllipsoide);
      std::filesystem::resize_file(Donnees(), kTailleFichierMax + 1);
    }
    TDonnees d;
    const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
    ASSERT_TRUE(demarrage.Illisible);
    EXPECT_EQ(d.IndiceEllipsoide("France"), -1);
    EXPECT_THROW(SauveALaSortie(d, ini), ErreurEntreeSortie);
    EXPECT_FALSE(std::filesystem::exists(Donnees() + ".bak"));
    if (!lien) {
      EXPECT_EQ(std::filesystem::file_size(Donnees()), kTailleFichierMax + 1) << "not saved over";
    }
  }
  EXPECT_NE(ChargeAuDemarrage(vide, ini).Illisible->find(ailleurs), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_symlink(Donnees()));
  EXPECT_FALSE(std::filesystem::exists(config_("ailleurs")));
}

// "donnees.txt" as a desktop leaves it: saved in UTF-8 by an editor (with or
// without byte-order mark) it is read as such, said once, saved back in
// Windows-1252 with the UTF-8 original as "donnees.txt.bak"; in mode 444 it
// is said at start-up.
TEST_F(Demarrage, UnDonneesVenuDUnEditeur) {
  TFichierIni ini;
  Ecrit(France(), kFrance);
  const std::string reunion = "Datum=\"Réunion 1947\" \"Piton des Neiges\" \"Clarke\" 94 -948 -1262\r\n";
  // Beyond Windows-1252: noted by code, so that the record loads and saves.
  const std::string lodz = "Datum=\"Łódź\" \"\" \"Clarke\" 1 2 3\r\n' 日本\r\n";
  const std::string note = "Datum=\"<U+0141>ód<U+017A>\" \"\" \"Clarke\" 1 2 3\r\n' <U+65E5><U+672C>\r\n";
  for (const std::string marque : {"", "\xEF\xBB\xBF"}) {
    const std::string original = marque + kEllipsoide + reunion + lodz;
    Ecrit(Donnees(), original);
    TDonnees d;
    const TDemarrage demarrage = ChargeAuDemarrage(d, ini);
    EXPECT_TRUE(demarrage.Rejets.empty()) << TexteRejets(demarrage.Rejets);
    ASSERT_EQ(demarrage.Avertissements.size(), 1u);
    for (const char* partie : {"UTF-8", ", ligne 3 : Datum=\"<U+0141>", ", ligne 4 : ' <U+65E5>"})
      EXPECT_NE(demarrage.Avertissements[0].find(partie), std::string::npos) << partie;
    SauveALaSortie(d, ini);
    EXPECT_EQ(Lit(Donnees()), Utf8VersWin1252(kEllipsoide + reunion + note));
    EXPECT_EQ(Lit(Donnees() + ".bak"), original);
  }

  std::filesystem::permissions(Donnees(), std::filesystem::perms::owner_read);
  TDonnees seul;
  const TDemarrage lectureSeule = ChargeAuDemarrage(seul, ini);
  ASSERT_EQ(lectureSeule.Avertissements.size(), 1u);
  EXPECT_NE(lectureSeule.Avertissements[0].find("lecture seule"), std::string::npos);
}

}  // namespace
}  // namespace vestrel
