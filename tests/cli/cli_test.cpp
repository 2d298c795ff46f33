// vestrel-cli run as a process, its outputs compared with the window's
// "Convertir" command on the same catalogue and the same typed texts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "../commun/dossier_temporaire.h"
#include "../commun/gros_fichiers.h"
#include "catalogue/donnee.h"
#include "catalogue/convertir.h"
#include "version.h"

namespace vestrel {
namespace {

// Ellipsoid, datum and systems of the tests (Windows-1252 bytes on disk).
const char* const kCatalogue =
    "Ellipsoide=\"Hayford 1909\" \"International\" 6378388 0.0819918899790298\r\n"
    "Datum=\"ED50\" \"Europe 1950 (EPSG:4230)\" \"Hayford 1909\" -87 -98 -121\r\n"
    "Projection \"Projection Latitude/Longitude\"=\"Plate WGS\" \"Plate carr\xE9" "e (EPSG:4087)\" \"WGS84\"\r\n"
    "Projection \"Projection Latitude/Longitude\"=\"Plate ED50\" \"Sur ED50 (EPSG:4230)\" \"ED50\"\r\n"
    "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"Zones de 6\xB0\" \"WGS84\" 0.9996 "
    "500000 0 10000000 -177\xB0 6\xB0\r\n";

struct TResultat {
  int Statut = -1;
  std::string Sortie, Erreur;
};

// The lines of a text, or the tab-separated fields of a line.
std::vector<std::string> Champs(const std::string& texte, char separateur = '\t') {
  std::vector<std::string> champs;
  std::istringstream flux(texte);
  for (std::string c; std::getline(flux, c, separateur);) champs.push_back(c);
  return champs;
}
std::vector<std::string> Lignes(const std::string& texte) { return Champs(texte, '\n'); }

// The arguments of a conversion on the test catalogue.
std::vector<std::string> Arguments(const std::string& depart, const std::string& arrivee,
                                   const std::vector<std::string>& options = {}) {
  std::vector<std::string> a = {"convertir", "--catalogue", "catalogue.txt", "--depart", depart,
                                "--arrivee", arrivee};
  a.insert(a.end(), options.begin(), options.end());
  return a;
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_.Ecrit("catalogue.txt", kCatalogue);
    donnees_.ChargeFichier(dossier_("catalogue.txt"));
  }

  // Runs vestrel-cli with `entree` on standard input, in the environment
  // `environnement` (by default the settings folder is the test's own), its
  // standard output into `sortie`.
  TResultat Lance(const std::vector<std::string>& arguments, const std::string& entree = "",
                  std::string environnement = "", const std::string& sortie = "sortie") {
    dossier_.Ecrit("entree", entree);
    if (environnement.empty()) environnement = "XDG_CONFIG_HOME='" + dossier_("config") + "'";
    std::string commande = "cd '" + dossier_() + "' && " + environnement + " '" VESTREL_CLI "'";
    for (const auto& a : arguments) {
      std::string cite;
      for (char c : a) cite += c == '\'' ? std::string("'\\''") : std::string(1, c);
      commande += " '" + cite + "'";
    }
    commande += " < entree > " + sortie + " 2> erreur";
    TResultat r;
    int statut = std::system(commande.c_str());
    r.Statut = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    if (sortie == "sortie") r.Sortie = essai::Lit(dossier_(sortie));
    r.Erreur = essai::Lit(dossier_("erreur"));
    return r;
  }

  // The window's texts for the same input: X', Y', [zone], convergence,
  // alteration.
  std::vector<std::string> Fenetre(const std::string& depart, const std::string& arrivee,
                                   const std::string& x, const std::string& y, int indiceUnite,
                                   const std::string& fuseau = "", bool parisSource = false,
                                   bool parisDestination = false) {
    std::vector<std::string> noms;
    donnees_.ListeNoms(noms);
    auto indice = [&](const std::string& n) { return static_cast<int>(std::ranges::find(noms, n) - noms.begin()); };
    const TSaisieConversion saisie = {depart, arrivee, indice(depart), indice(arrivee), x, y, fuseau,
                                      donnees_.Resout(depart).Multiple != nullptr, parisSource,
                                      parisDestination, indiceUnite};
    TResultatConversion r;
    Convertir(donnees_, saisie, r);
    std::vector<std::string> textes = {*r.XDest, *r.YDest, *r.Convergence, *r.Alteration};
    if (r.FuseauDest) textes.insert(textes.begin() + 2, *r.FuseauDest);
    return textes;
  }

  essai::TDossierTemporaire dossier_;
  TDonnees donnees_;
};

// The first `nombre` fields (X and Y by default) as an output line writes them.
std::string Joint(const std::vector<std::string>& champs, char separateur = '\t', size_t nombre = 2) {
  std::string ligne = champs.at(0);
  for (size_t i = 1; i < nombre; ++i) ligne += separateur + champs.at(i);
  return ligne;
}

// Each unit, with the Paris meridian on neither, either or both sides: the
// window's texts.
TEST_F(Cli, TextesDeLaFenetreDansChaqueUnite) {
  const char* const unites[] = {"dd", "dm", "dms", "gr"};  // window choices 0..3
  const char* const points[][2] = {{"48°51'24''", "2°21'8''"}, {"45.5°", "-3°30.25'"}, {"-33.25g", "170°"}};
  std::string entree;
  for (const auto& p : points) entree += std::string(p[0]) + " " + p[1] + "\n";
  for (int u = 0; u < 4; ++u) {
    SCOPED_TRACE(unites[u]);
    const bool parisDepart = u & 1, parisArrivee = u & 2;  // neither, either, both
    std::vector<std::string> options = {"--unite", unites[u], "--details"};
    if (parisDepart) options.push_back("--paris-depart");
    if (parisArrivee) options.push_back("--paris-arrivee");
    const auto r = Lance(Arguments("WGS84", "ED50", options), entree);
    ASSERT_EQ(r.Statut, 0) << r.Erreur;
    const auto lignes = Lignes(r.Sortie);
    ASSERT_EQ(lignes.size(), std::size(points));
    for (size_t i = 0; i < lignes.size(); ++i)
      EXPECT_EQ(Champs(lignes[i]),
                Fenetre("WGS84", "ED50", points[i][0], points[i][1], u, "", parisDepart, parisArrivee));
  }
}

// Fields split at blanks, tabs or ";", written back with ";" when the line
// used it and a tab otherwise; comments, empty lines and line ends (CR alone
// too) kept; a byte-order mark dropped; Windows-1252 accepted; systems named
// by the one EPSG code each carries in its description; the identifier
// copied.
TEST_F(Cli, FormatDesLignes) {
  auto a = Fenetre("WGS84", "Plate WGS", "45°30'", "5°", 0);
  const std::string tab = Joint(a), pv = Joint(a, ';');
  auto r = Lance(Arguments("epsg:4326", "EPSG:4087"),
                 "\xEF\xBB\xBF" "45°30' 5°\n45°30';5°\r\n  45°30'\t\t5°  \n45°30' ; 5°\r\r\n"
                 "45\xB0" "30' 5\xB0\n# en-tête; 1 2\r\n\r\n   \n  # décalé\n45°30' 5°");
  ASSERT_EQ(r.Statut, 0) << r.Erreur;
  EXPECT_EQ(r.Sortie, tab + "\n" + pv + "\r\n" + tab + "\n" + pv + "\r\r\n" + tab + "\n" +
                          "# en-tête; 1 2\r\n\r\n   \n  # décalé\n" + tab + "\n");

  a = Fenetre("Plate WGS", "WGS84", "1000", "2000", 2);
  dossier_.Ecrit("points.txt", "P-1;1000;2000\nborne\t1000 2000\n");  // a file in argument
  r = Lance(Arguments("Plate WGS", "WGS84", {"--id", "--unite", "dms", "--details", "points.txt"}));
  ASSERT_EQ(r.Statut, 0) << r.Erreur;
  EXPECT_EQ(r.Sortie, "P-1;" + Joint(a, ';', 4) + "\nborne\t" + Joint(a, '\t', 4) + "\n");

  // Chosen columns, ";" only, plain numbers of degrees or grades, decimal
  // commas: the reading of the window's file dialog.
  a = Fenetre("WGS84", "Plate WGS", "45.5°", "5.25°", 0);
  r = Lance(Arguments("WGS84", "Plate WGS",
                      {"--colonnes", "id=1,x=3,y=2", "--separateur", "point-virgule", "--angles", "dd",
                       "--virgule-decimale"}),
            "P 1 ; 5,25 ;45,5;;note\nP2;5.25;45.5\n;5,25;45,5\nP3;5°;45°\n");
  EXPECT_EQ(r.Statut, 1);
  EXPECT_EQ(r.Sortie, "P 1;" + Joint(a, ';') + "\nP2;" + Joint(a, ';') + "\n;" + Joint(a, ';') + "\n");
  EXPECT_EQ(r.Erreur, "ligne 4 : Latitude de départ incorrecte, exemple 48.856614\n");
  r = Lance(Arguments("WGS84", "Plate WGS", {"--angles", "gr", "--separateur", "tabulation"}), "50.5\t-5\n");
  EXPECT_EQ(r.Sortie, Joint(Fenetre("WGS84", "Plate WGS", "50.5g", "-5g", 0)) + "\n") << r.Erreur;
}

// Each told with its line number, the others converted; the rest of a line
// too long to hold is skipped.
TEST_F(Cli, LigneIncorrecteSignaleeEtLesAutresConverties) {
  const std::string a = Joint(Fenetre("Plate WGS", "WGS84", "1000", "2000", 0));
  auto r = Lance(Arguments("Plate WGS", "WGS84", {"--id"}),
                 "# points\na 1000 2000\nb 1000 nord\nc\nd 1 2 3\n" + std::string(3 << 20, '1') +
                     "\ne 1000 2000\n");
  EXPECT_EQ(r.Statut, 1);
  EXPECT_EQ(r.Sortie, "# points\na\t" + a + "\ne\t" + a + "\n");
  EXPECT_EQ(r.Erreur,
            "ligne 3 : Northing de départ incorrect, exemple 231500\n"
            "ligne 4 : Nombre de champs incorrect (1), attendu : ID X Y\n"
            "ligne 5 : Nombre de champs incorrect (4), attendu : ID X Y\n"
            "ligne 6 : Ligne trop longue\n");
}

// The zone of each line, else that of --fuseau; no zone anywhere, a zone
// that is no number or that the system lacks: the line's message.
TEST_F(Cli, FuseauDeDepartEtDArrivee) {
  auto a = Fenetre("WGS84", "UTM", "45°", "5°", 0);  // X Y zone conv alt
  auto r = Lance(Arguments("WGS84", "UTM", {"--details"}), "45° 5°\n");
  ASSERT_EQ(r.Statut, 0) << r.Erreur;
  EXPECT_EQ(Champs(Lignes(r.Sortie).at(0)), a);

  const std::string xy = a[0] + " " + a[1];
  r = Lance(Arguments("UTM", "WGS84", {"--unite", "dms", "--fuseau", "31", "--details"}),
            xy + "\n" + xy + " 32\n" + xy + " x\n" + xy + " -61\n");
  EXPECT_EQ(r.Statut, 1);
  auto lignes = Lignes(r.Sortie);
  ASSERT_EQ(lignes.size(), 2u);
  EXPECT_EQ(Champs(lignes[0]), Fenetre("UTM", "WGS84", a[0], a[1], 2, "31"));
  EXPECT_EQ(Champs(lignes[1]), Fenetre("UTM", "WGS84", a[0], a[1], 2, "32"));
  EXPECT_EQ(r.Erreur,
            "ligne 3 : Le numéro de fuseau de départ est incorrect, exemple 12\n"
            "ligne 4 : Le fuseau de départ -61 n'existe pas dans UTM : fuseaux 1 à 60, et -1 à -60 au sud\n");

  r = Lance(Arguments("UTM", "WGS84", {"--fuseau", "61"}), "500000 0\n500000 10000000 -60\n");
  EXPECT_EQ(r.Statut, 1);
  EXPECT_EQ(Lignes(r.Sortie).size(), 1u);
  EXPECT_EQ(r.Erreur, "ligne 1 : Le fuseau de départ 61 n'existe pas dans UTM : fuseaux 1 à 60, et -1 à -60 au sud\n");
  r = Lance(Arguments("UTM", "WGS84"), "500000 0\n");
  EXPECT_EQ(r.Erreur, "ligne 1 : Le numéro de fuseau de départ est incorrect, exemple 12\n");
}

// A point far from a system's region is converted and flagged, or refused
// with --strict, like a point off its datum's grid; --methode appends how the
// datums were shifted.
TEST_F(Cli, AvertissementsStrictEtMethode) {
  std::string grille = "0 5 44 50 1 1\r\n";
  for (int k = 0; k < 6 * 7; ++k) grille += "-168 -60 320 1 ";
  dossier_.Ecrit("grille.dat", grille);
  dossier_.Ecrit("catalogue.txt",
                 std::string(kCatalogue) + "Ellipsoide=\"Clarke\" \"\" 6378249.2 0.0824832567634\r\n"
                 "Datum=\"NTF\" \"\" \"Clarke\" -168 -60 320 \"" + dossier_("grille.dat") + "\"\r\n"
                 "Projection \"UTM Fuseau\"=\"UTM 31\" \"\" \"WGS84\" 31 0\r\n");
  const std::string loin =
      "point loin de la région d'emploi de UTM 31 (altération linéaire 1.02174)\n";
  const struct {
    std::string Arrivee;
    std::vector<std::string> Options;
    std::string Entree;
    int Statut;
    std::vector<std::string> Derniers;  // the last field of each output line ("" for Y)
    std::string Erreur;
  } cas[] = {
      {"UTM 31", {}, "45° 3°\n45° 20°\n", 0, {"", ""}, "ligne 2 : Attention : " + loin},
      {"UTM 31", {"--strict"}, "45° 3°\n45° 20°\n", 1, {""}, "ligne 2 : " + loin},
      {"NTF", {"--methode"}, "47° 2°\n30° 2°\n", 0,
       {"grille de correction (NTF)", "hors grille : 3 paramètres (NTF)"}, ""},
      {"NTF", {"--strict", "--methode"}, "47° 2°\n30° 2°\n", 1, {"grille de correction (NTF)"},
       "ligne 2 : point hors de la grille " + dossier_("grille.dat") + " du datum NTF\n"},
      {"WGS84", {"--methode", "--details"}, "47° 2°\n", 0, {"aucune (même datum)"}, ""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Arrivee + " " + (c.Options.empty() ? "" : c.Options[0]));
    auto r = Lance(Arguments("WGS84", c.Arrivee, c.Options), c.Entree);
    EXPECT_EQ(r.Statut, c.Statut);
    EXPECT_EQ(r.Erreur, c.Erreur);
    const auto lignes = Lignes(r.Sortie);
    ASSERT_EQ(lignes.size(), c.Derniers.size()) << r.Sortie;
    for (size_t i = 0; i < lignes.size(); ++i) {
      const auto champs = Champs(lignes[i]);
      if (c.Derniers[i].empty()) EXPECT_EQ(champs.size(), 2u) << lignes[i];
      else EXPECT_EQ(champs.back(), c.Derniers[i]);
    }
  }
}

// Usage errors, unknown systems and unreadable catalogues: status 2, nothing
// on standard output, a message on standard error.
TEST_F(Cli, ErreursDUsageStatut2) {
  dossier_.Ecrit("mauvais.txt", std::string(kCatalogue) + "Bidule=\"x\"\r\n");
  const struct {
    std::vector<std::string> Arguments;
    std::string Message;
  } cas[] = {
      {{}, ""},
      {{"convertir", "--catalogue", "catalogue.txt", "--arrivee", "WGS84"}, ""},
      {{"convertir", "--catalogue", "catalogue.txt", "--depart", "WGS84"}, ""},
      {Arguments("WGS84", "Inconnu", {}), "vestrel-cli : Système inconnu : \"Inconnu\"\n"},
      // A code that no system, or more than one, carries in its description.
      {Arguments("WGS84", "EPSG:9999", {}),
       "vestrel-cli : Aucun système du catalogue ne porte le code EPSG:9999\n"},
      {Arguments("epsg:4230", "WGS84", {}),
       "vestrel-cli : Le code EPSG:4230 est porté par plusieurs systèmes du catalogue : ED50, "
       "Plate ED50\n"},
      {Arguments("EPSG:42x", "WGS84", {}), "Code EPSG incorrect"},
      {Arguments("WGS84", "WGS84", {"--unite", "rad"}), ""},
      {Arguments("WGS84", "WGS84", {"--vite"}), ""},
      {Arguments("WGS84", "WGS84", {"absent.txt"}), ""},
      {Arguments("WGS84", "WGS84", {"--catalogue", "absent.txt"}), "Catalogue illisible"},
      {Arguments("WGS84", "WGS84", {"--catalogue", "mauvais.txt"}), "ligne 6"},
      // Only geographic systems count from Paris; only multi-zone ones take a zone.
      {Arguments("Plate WGS", "WGS84", {"--paris-depart"}), "--paris-depart"},
      {Arguments("WGS84", "Plate WGS", {"--paris-arrivee"}), "--paris-arrivee"},
      {Arguments("Plate WGS", "WGS84", {"--fuseau", "31"}), ""},
      {Arguments("Plate WGS", "WGS84", {"--fuseau", "x"}), ""},
      {Arguments("Plate WGS", "WGS84", {"--angles", "dd"}), "--angles"},
      {Arguments("WGS84", "WGS84", {"--angles", "rad"}), ""},
      {Arguments("WGS84", "WGS84", {"--colonnes", "x=1,y=1"}), "deux fois"},
      {Arguments("WGS84", "WGS84", {"--colonnes", "x=1"}), ""},
      {Arguments("WGS84", "WGS84", {"--id", "--colonnes", "x=2,y=3"}), ""},
      {Arguments("WGS84", "WGS84", {"--separateur", ","}), ""},
      {{"convertir", "--depart"}, ""},
      {{"systemes", "en-trop"}, ""},
      {{"verifier"}, ""},
      // The self-test's reference points unreadable or malformed.
      {{"autotest", "--catalogue", "catalogue.txt", "--references", "absent.txt"}, "absent.txt"},
      {{"autotest", "--catalogue", "catalogue.txt", "--references", "catalogue.txt"},
       "catalogue.txt, ligne 1 : 6 champs attendus"},
      {{"verifier", "absent.txt"}, ""},
      {{"traduire"}, ""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(::testing::PrintToString(c.Arguments));
    auto r = Lance(c.Arguments, "0 0\n");
    EXPECT_EQ(r.Statut, 2);
    EXPECT_EQ(r.Sortie, "");
    EXPECT_EQ(r.Erreur.rfind("vestrel-cli : ", 0), 0u) << r.Erreur;
    EXPECT_NE(r.Erreur.find(c.Message), std::string::npos) << r.Erreur;
  }
}

TEST_F(Cli, CatalogueDuDemarrageDeLaFenetre) {
  essai::Ecrit(dossier_("config/vestrel/donnees.txt"), essai::Lit(dossier_("catalogue.txt")));
  auto r = Lance({"convertir", "--depart", "Plate ED50", "--arrivee", "WGS84"}, "1 2\n");
  ASSERT_EQ(r.Statut, 0) << r.Erreur;
  EXPECT_EQ(r.Sortie, Joint(Fenetre("Plate ED50", "WGS84", "1", "2", 0)) + "\n");

  // Without XDG_CONFIG_HOME a run reads ~/.config and creates nothing; a
  // settings location that cannot be a folder is told on standard error.
  const std::string sansXdg = "env -u XDG_CONFIG_HOME HOME='" + dossier_("maison") + "'";
  std::filesystem::create_directories(dossier_("maison"));
  r = Lance({"systemes"}, "", sansXdg);
  EXPECT_EQ(r.Statut, 0);
  EXPECT_FALSE(std::filesystem::exists(dossier_("maison/.config")));
  EXPECT_EQ(r.Erreur, "");
  dossier_.Ecrit("maison/.config", "un fichier");
  r = Lance({"systemes"}, "", sansXdg);
  EXPECT_EQ(r.Statut, 0);
  EXPECT_EQ(r.Erreur.rfind("Avertissement : Le dossier des réglages", 0), 0u) << r.Erreur;
}

TEST_F(Cli, SystemesDansLOrdreDeLaFenetre) {
  auto r = Lance({"systemes", "--catalogue", "catalogue.txt"});
  ASSERT_EQ(r.Statut, 0) << r.Erreur;
  std::vector<std::string> attendu = {
      "WGS84\tdatum\t\tEPSG:4326\tWorld Geodesic System (EPSG:4326)",
      "ED50\tdatum\t\tEPSG:4230\tEurope 1950 (EPSG:4230)",
      "Plate WGS\tprojection\tProjection Latitude/Longitude\tEPSG:4087\tPlate carrée (EPSG:4087)",
      "Plate ED50\tprojection\tProjection Latitude/Longitude\tEPSG:4230\tSur ED50 (EPSG:4230)",
      "UTM\tmultiple\tTransverse Mercator Multiple\t\tZones de 6°",
  };
  EXPECT_EQ(Lignes(r.Sortie), attendu);
}

// The self-test on the reference points beside the program passes with the
// catalogue of a run without catalogue or settings (the shipped france.txt
// and the NTF grid beside the program); a shipped parameter altered fails its
// points with status 1; a system its user renamed is reported absent, not
// failed.
TEST_F(Cli, AutotestDesFichiersLivres) {
  const struct {
    std::string Avant, Apres;  // bytes of the shipped file and their replacement
    int Statut;
    std::vector<std::string> Lignes;  // beginnings of lines of the output
  } cas[] = {
      {"", "", 0, {"33 points de référence : 33 OK, 0 en échec. Autotest réussi."}},
      // Lambert 93's false northing, a Martinique translation, Lambert I's scale.
      {"700000 6600000", "700000 6600000.01", 1, {"ÉCHEC  RGF93 → Lambert 93", "OK     RGF93 → CC46"}},
      {"126.93 547.94", "126.98 547.94", 1, {"ÉCHEC  Martinique 1938 UTM 20 → RGAF09 UTM 20"}},
      {"0.999877341 600000 200000", "0.999887341 600000 200000", 1, {"ÉCHEC  NTF → Lambert I"}},
      {"=\"NZMG\"", "=\"NZ\"", 0,
       {"ABSENT NZGD49 → NZMG", "33 points de référence : 32 OK, 0 en échec, 1 absents du catalogue"}},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Apres);
    std::string fichier = essai::Lit(VESTREL_SOURCE_DIR "/data/france.txt");
    const size_t ou = fichier.find(c.Avant);
    ASSERT_NE(ou, std::string::npos);
    dossier_.Ecrit("france.txt", fichier.replace(ou, c.Avant.size(), c.Apres));
    const auto r = c.Avant.empty() ? Lance({"autotest"}) : Lance({"autotest", "--catalogue", "france.txt"});
    EXPECT_EQ(r.Statut, c.Statut) << r.Erreur << r.Sortie;
    for (const std::string& debut : c.Lignes)
      EXPECT_NE(("\n" + r.Sortie).find("\n" + debut), std::string::npos) << debut << "\n" << r.Sortie;
  }
}

TEST_F(Cli, VerifierSignaleChaqueEnregistrementIncorrect) {
  dossier_.Ecrit("donnees.txt",
        "Ellipsoide=\"A\" \"a\" 6378388 0.08\r\n"
        "Datum=\"D\" \"d\" \"Inconnu\" 0 0 0\r\n"
        "\r\n"
        "Datum=\"D\" \"d\" \"A\" 0 0 0\r\n"
        "Bidule=\"x\"\r\n"
        "Projection \"Pas une nature\"=\"P\" \"p\" \"D\"\r\n"
        "Projection \"Projection Latitude/Longitude\"=\"P\" \"p\" \"D\"\r\n");
  auto r = Lance({"verifier", "donnees.txt"});
  EXPECT_EQ(r.Statut, 1);
  auto l = Lignes(r.Sortie);
  ASSERT_EQ(l.size(), 4u) << r.Sortie;
  EXPECT_EQ(l[0].rfind("ligne 2 : ", 0), 0u) << l[0];
  EXPECT_EQ(l[1], "ligne 5 : Donnée Bidule de nature inconnue");
  EXPECT_EQ(l[2], "ligne 6 : Projection Projection \"Pas une nature\" inconnue");
  EXPECT_EQ(l[3], "donnees.txt : 6 enregistrement(s), 3 en erreur");

  r = Lance({"verifier", "catalogue.txt"});
  EXPECT_EQ(r.Statut, 0) << r.Sortie;

  // Garbage gives one short line per faulty record.
  dossier_.Ecrit("dechets.txt", essai::Dechets(1 << 20));
  r = Lance({"verifier", "dechets.txt"});
  EXPECT_EQ(r.Statut, 1);
  for (const std::string& ligne : Lignes(r.Sortie)) ASSERT_LT(ligne.size(), 300u) << ligne;
}

TEST_F(Cli, AideEtVersion) {
  for (auto a : {std::vector<std::string>{"--help"}, {"convertir", "--help"}}) {
    auto r = Lance(a);
    EXPECT_EQ(r.Statut, 0);
    EXPECT_EQ(r.Sortie.rfind("Usage :", 0), 0u);
    EXPECT_NE(r.Sortie.find("--paris-arrivee"), std::string::npos);
  }
  auto r = Lance({"--version"});
  EXPECT_EQ(r.Statut, 0);
  EXPECT_EQ(r.Sortie, "vestrel-cli " VESTREL_VERSION_TEXTE "\n");

  // Output into a full device: a message and status 2, never a success.
  for (const auto& arguments : {std::vector<std::string>{"--help"}, {"--version"},
                                 {"systemes", "--catalogue", "catalogue.txt"}, {"verifier", "catalogue.txt"},
                                 Arguments("Plate WGS", "WGS84")}) {
    r = Lance(arguments, "1 2\n", "", "/dev/full");
    EXPECT_EQ(r.Statut, 2) << arguments[0];
    EXPECT_NE(r.Erreur.find("Écriture impossible"), std::string::npos) << arguments[0];
  }
}

// A co-process that keeps the pipe open and waits for each answer before it
// sends the next line gets it at once, messages included: an answer that
// has not come within ten seconds is noted in "tard".
TEST_F(Cli, ReponsesAUnProcessusQuiAttend) {
  const std::string commande =
      "cd '" + dossier_() + "' && attend() { i=0; until [ -s $1 ]; do i=$((i+1)); "
      "[ $i -gt 200 ] && { echo $1 >> tard; return; }; sleep 0.05; done; } && "
      "{ echo '1000 2000'; attend reponses; echo x; attend messages; } | '" VESTREL_CLI "' convertir "
      "--catalogue catalogue.txt --depart 'Plate WGS' --arrivee 'Plate ED50' > reponses 2> messages";
  const int statut = std::system(commande.c_str());
  EXPECT_EQ(WIFEXITED(statut) ? WEXITSTATUS(statut) : -1, 1);
  EXPECT_FALSE(std::filesystem::exists(dossier_("tard"))) << essai::Lit(dossier_("tard"));
  EXPECT_EQ(essai::Lit(dossier_("reponses")), Joint(Fenetre("Plate WGS", "Plate ED50", "1000", "2000", 0)) + "\n");
  EXPECT_EQ(essai::Lit(dossier_("messages")).rfind("ligne 2 : ", 0), 0u);
}

}  // namespace
}  // namespace vestrel
