// The catalogue and its data file: built-ins, record lines and their messages
// (data/enregistrements.txt), line ends, look-ups, saving under faults (the
// data file on disk is always a complete file, the old one or the new one).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>

#include "catalogue/donnee.h"
#include "../commun/message.h"
#include "../commun/dossier_temporaire.h"
#include "../commun/empreinte.h"
#include "../commun/gros_fichiers.h"
#include "../commun/table.h"
#include "tools/codec.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using essai::Lit;
using essai::TDossierTemporaire;

const std::string kClarke = "Ellipsoide=\"Clarke 1880 IGN\" \"Clarke 1880 (IGN) à Paris\" 6378249.2 0.0824832567634";
const std::string kNtf = "Datum=\"Triangulation\" \"Nouvelle Triangulation\" \"Clarke 1880 IGN\" -168 -60 320";
const std::string kSept = "Datum=\"Sept\" \"Sept paramètres\" \"GRS 80\" 1.5 -2.25 3 0.1 0.2 -0.3 1.2345679";
const std::string kPlate = "Projection \"Projection Latitude/Longitude\"=\"Plate 2°E\" \"Plate carrée\" \"Triangulation\"";

using essai::TexteSauve;

size_t Taille(const TDonnees& d) {
  return d.Ellipsoides.size() + d.Datums.size() + d.Projections.size() + d.Multiples.size();
}

// Read into a catalogue that holds only the built-ins "GRS 80" and "WGS84".
TEST(Catalogue, EnregistrementsEtMessagesDuFichierDeDonnees) {
  const std::vector<essai::TLigneTable> lignes = essai::LitTable("catalogue/data/enregistrements.txt");
  auto erreur = [](const std::string& l) {
    return l.starts_with("intervalle: ") || l.starts_with("conversion: ");
  };
  TDonnees d;
  for (size_t i = 0; i < lignes.size(); ++i) {
    const std::string& ligne = lignes[i].Texte;
    if (ligne.starts_with("=> ") || erreur(ligne)) continue;
    SCOPED_TRACE(lignes[i].Trace);
    const std::string suite = i + 1 < lignes.size() ? lignes[i + 1].Texte : "";
    if (!erreur(suite)) {
      ASSERT_NO_THROW(d.AjouteLigne(ligne));
      const std::string ecrite = suite.starts_with("=> ") ? suite.substr(3) : ligne;
      EXPECT_NE(TexteSauve(d).find(ecrite + "\r\n"), std::string::npos) << TexteSauve(d);
      continue;
    }
    const size_t avant = Taille(d);
    const std::string suivant = "Suivant " + std::to_string(i);
    TFlux flux(ligne + "\r\nEllipsoide=\"" + suivant + "\" \"\" 6378137 0.08\r\n");
    const auto lit = [&] { d.LitEnregistrement(flux); };
    EXPECT_EQ(suite.starts_with("intervalle: ") ? essai::Message<ErreurIntervalle>(lit)
                                                : essai::Message<ErreurConversion>(lit),
              suite.substr(12));
    EXPECT_EQ(Taille(d), avant) << "nothing appended";
    d.LitEnregistrement(flux);
    EXPECT_EQ(d.Ellipsoides.back()->Nom, suivant);
    EXPECT_TRUE(flux.Fin());
  }
}

TEST(Catalogue, FinsDeLigneEtNumeroDeLaLigneFautive) {
  // Line 1, empty line 2, a comment on line 3, blanks on line 4, line 5
  // ended by LF, line 6 by CR, then the failing record on line 7: the whole
  // file is read, line by line, and the first refused line is reported.
  TDossierTemporaire dossier;
  const std::string fichier = dossier.Ecrit(
      "d.txt", kClarke + "\r\n\r\n' commentaire\r\n   \r\n" + kNtf + "\n" +
                   "Ellipsoide=\"Autre\" \"\" 6378137 0.08\r" + kSept + " 9 9\r\n" + kPlate);
  TDonnees d;
  try {
    d.ChargeFichier(fichier);
    FAIL();
  } catch (const ErreurChargement& e) {
    EXPECT_EQ(e.Fichier, fichier);
    EXPECT_EQ(e.Ligne, 7);
    EXPECT_EQ(e.MessageRecord, "Nombre incorrect de paramètres lors de la lecture d'un datum");
  }
  EXPECT_EQ(d.Ellipsoides.size(), 3u);
  EXPECT_EQ(d.Datums.size(), 2u);
  EXPECT_EQ(d.Projections.size(), 1u);
}

// A line of blanks is read as a record of no keyword.
TEST(Catalogue, UneLigneDeBlancsGateLEnregistrementSuivant) {
  for (const std::string& suite : {"\r\n   \r\n" + kNtf + "\r\n", std::string("\r\n   ")}) {
    TDonnees d;
    TFlux flux(kClarke + suite);
    const std::string message = essai::Message<ErreurConversion>([&] { d.ChargeFlux(flux); });
    EXPECT_EQ(message, suite.size() < 8 ? "Donnée  de nature inconnue" : message);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(d.Ellipsoides.size(), 2u);
    EXPECT_EQ(d.Datums.size(), 1u);
  }
}

TEST(Catalogue, RecherchesEtSuppressions) {
  TDonnees d;
  for (const auto& l : {kClarke, kNtf, kPlate}) d.AjouteLigne(l);
  EXPECT_EQ(d.IndiceDatum("Triangulation"), 1);
  EXPECT_EQ(d.IndiceDatum("triangulation"), -1);
  EXPECT_EQ(d.TrouveSysteme("Triangulation"), nullptr);
  EXPECT_FALSE(d.NomLibre("Triangulation"));
  EXPECT_TRUE(d.NomLibre("Clarke 1880 IGN")) << "ellipsoids are not looked at";
  EXPECT_TRUE(d.Resout("Triangulation").Geographique());
  EXPECT_FALSE(d.Resout("Rien").Trouve());

  // Refused for the built-ins (while in use: the edits' and parameters window's tests).
  EXPECT_FALSE(d.SupprimeDatum("WGS84"));
  d.Projections.clear();
  EXPECT_TRUE(d.SupprimeDatum("Triangulation"));
  EXPECT_TRUE(d.SupprimeEllipsoide("Clarke 1880 IGN"));
  EXPECT_EQ(TexteSauve(d), "");
}

// Saving writes a temporary file and renames it: a save that fails leaves
// the previous file whole and no temporary file. (Truncating the file first
// would lose it.) The temporary file a save killed part-way left goes at the
// next save, once its process is gone.
TEST(Catalogue, UnEnregistrementQuiEchoueLaisseLAncienFichierIntact) {
  TDossierTemporaire dossier;
  const std::string fichier = dossier("donnees.txt");
  TDonnees d;
  for (const auto& l : {kClarke, kNtf, kPlate}) d.AjouteLigne(l);
  const pid_t fini = fork();
  if (fini == 0) _exit(0);
  waitpid(fini, nullptr, 0);
  const std::string abandonne = dossier.Ecrit(".tmp-" + std::to_string(fini), "abandonné");
  d.SauveFichier(fichier);
  EXPECT_FALSE(std::filesystem::exists(abandonne));
  const std::string ancien = Lit(fichier);

  // A name that Windows-1252 cannot hold.
  d.Projections[0]->Nom = "Plate Ω";
  EXPECT_THROW(d.SauveFichier(fichier), Erreur);
  EXPECT_EQ(Lit(fichier), ancien);
  d.Projections[0]->Nom = "Plate";

  // A disk that fills up half-way: the file-size limit makes the write fail.
  for (int i = 0; i < 200; ++i)
    d.AjouteLigne("Projection \"Projection Latitude/Longitude\"=\"P" + std::to_string(i) +
                  "\" \"\" \"WGS84\"");
  rlimit limite{};
  getrlimit(RLIMIT_FSIZE, &limite);
  const rlimit ancienne = limite;
  limite.rlim_cur = ancien.size() + 100;
  auto signal = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
  EXPECT_THROW(d.SauveFichier(fichier), ErreurEntreeSortie);
  setrlimit(RLIMIT_FSIZE, &ancienne);
  std::signal(SIGXFSZ, signal);
  EXPECT_EQ(Lit(fichier), ancien);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dossier()), std::filesystem::directory_iterator()), 1)
      << "no temporary file left behind";

  // A folder that is a file, which root cannot ignore as it ignores modes.
  const std::string pasUnDossier = dossier.Ecrit("pas-un-dossier", "contenu");
  EXPECT_THROW(d.SauveFichier(pasUnDossier + "/donnees.txt"), ErreurEntreeSortie);
  EXPECT_EQ(Lit(pasUnDossier), "contenu");
}

// A data file that is a symbolic link (relative, through a second link, to
// another folder) is saved into its target, the links left as they are and
// the target's mode kept; a file in mode 444 is refused even for root, whom
// the system would let write; a path at the system's length limit still
// saves (the temporary file's name does not grow with the file's).
TEST(Catalogue, LiensModesEtCheminALaLimite) {
  namespace fs = std::filesystem;
  TDossierTemporaire dossier;
  TDonnees d;
  for (const auto& l : {kClarke, kNtf, kPlate}) d.AjouteLigne(l);
  const std::string attendu = Utf8VersWin1252(TexteSauve(d));

  const std::string cible = dossier("ailleurs/vrai.txt");
  essai::Ecrit(cible, "ancien");
  fs::create_symlink("ailleurs/vrai.txt", dossier("lien"));
  fs::create_symlink("lien", dossier("donnees.txt"));
  fs::permissions(cible, fs::perms::owner_read | fs::perms::owner_write);
  d.SauveFichier(dossier("donnees.txt"));
  EXPECT_TRUE(fs::is_symlink(dossier("donnees.txt")));
  EXPECT_TRUE(fs::is_symlink(dossier("lien")));
  EXPECT_EQ(Lit(cible), attendu);
  EXPECT_EQ(fs::status(cible).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  fs::permissions(cible, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_TRUE(EnLectureSeule(dossier("donnees.txt")));
  TDonnees autre;
  EXPECT_THROW(autre.SauveFichier(dossier("donnees.txt")), ErreurEntreeSortie);
  EXPECT_EQ(Lit(cible), attendu);
  EXPECT_TRUE(fs::is_symlink(dossier("donnees.txt")));

  // Folders of 200 characters down to a file path of PATH_MAX - 6 bytes.
  std::string long_ = dossier();
  const size_t total = 4096 - 6, nom = std::string("donnees.txt").size();
  while (long_.size() + nom < total)
    long_ += std::string(std::min<size_t>(200, total - nom - long_.size() - 1), 'd') + "/";
  ASSERT_EQ(long_.size() + nom, total);
  fs::create_directories(long_);
  d.SauveFichier(long_ + "donnees.txt");
  EXPECT_EQ(Lit(long_ + "donnees.txt"), attendu);
}

// Reading stays linear: 100 000 records, or 5 MB of bytes that are no data
// file at all, load in well under the bounds here (about 0.4 s and 1 s on
// the development machine, see bench/bench_catalogue), where a search through
// the lists for each name once took 36 s. The refused lines are told in a
// message of a few lines, each quoting a short start of its text.
TEST(Catalogue, GrosFichiersLusSansAttente) {
#ifdef __SANITIZE_ADDRESS__
  constexpr double kLenteur = 5;  // the instrumented build runs several times slower
#else
  constexpr double kLenteur = 1;
#endif
  TDossierTemporaire dossier;
  const auto duree = [](const std::string& chemin, std::vector<TRejet>& rejets) {
    const auto debut = std::chrono::steady_clock::now();
    TDonnees d;
    rejets = d.ChargeLignes(chemin, true);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
  };
  std::vector<TRejet> rejets;
  const std::string catalogue = dossier.Ecrit("catalogue.txt", Utf8VersWin1252(essai::GrosCatalogue(100000)));
  EXPECT_LT(duree(catalogue, rejets), 8.0 * kLenteur);
  EXPECT_TRUE(rejets.empty());
  const std::string dechets = dossier.Ecrit("dechets.txt", essai::Dechets(5 << 20));
  EXPECT_LT(duree(dechets, rejets), 15.0 * kLenteur);
  EXPECT_GT(rejets.size(), 1000u);
  const std::string texte = TexteRejets(rejets);
  EXPECT_LT(texte.size(), 3000u);
  EXPECT_EQ(std::count(texte.begin(), texte.end(), '\n'), 10);
}

}  // namespace
}  // namespace vestrel
