// Saving the catalogue under faults: a save killed at any moment, a full
// location, a read-only location, a folder that is not one. The data file on
// disk is always a complete file, the old one or the new one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "catalogue/donnee.h"
#include "catalogue/demarrage.h"
#include "catalogue/fichier_ini.h"
#include "../commun/dossier_temporaire.h"
#include "systems/createur.h"
#include "tools/chemins.h"
#include "tools/codec.h"

using namespace vestrel;

namespace {

// A catalogue of `nombre` systems (a few megabytes once written). The records
// go straight into the list: the name check of the reader would make the
// filling quadratic.
void Remplit(TDonnees& d, int nombre, const std::string& prefixe) {
  d.AjouteLigne("Ellipsoide=\"Clarke " + prefixe + "\" \"Clarke 1880 (IGN)\" 6378249.2 0.0824832567634");
  d.AjouteLigne("Datum=\"NTF " + prefixe + "\" \"Nouvelle triangulation\" \"Clarke " + prefixe +
                "\" -168 -60 320 *");
  for (int i = 0; i < nombre; ++i) {
    auto p = CreeProjection("Lambert Conique Tangent");
    TFlux flux("\"" + prefixe + " " + std::to_string(i) + "\" \"Lambert de la zone " +
               std::to_string(i) + ", paramètres du fichier " + prefixe + "\" \"NTF " + prefixe +
               "\" 0.99987742 600000 " + std::to_string(200000 + i) + " 2°20'14.025'' 52g\r\n");
    Lecture(*p, flux, d.Datums);
    d.Projections.push_back(std::move(p));
  }
}

// Settings of a test: their folder (created by the constructor) under the
// test's own folder; the data file then goes to `dossier`.
TFichierIni Reglages(const essai::TDossierTemporaire& temporaire, const std::string& dossier) {
  setenv("XDG_CONFIG_HOME", temporaire("config").c_str(), 1);
  TFichierIni ini("vestrel-essai");
  ini.AutoSave = true;
  ini.Dossier = dossier;
  return ini;
}

// Temporary files left beside the data file.
int Temporaires(const std::string& dossier) {
  int n = 0;
  for (const auto& f : std::filesystem::directory_iterator(dossier))
    if (f.path().filename().string().find(".tmp") != std::string::npos) ++n;
  return n;
}

}  // namespace

// A child process saves the catalogue and is killed (SIGKILL) after a random
// delay spanning the whole save; two catalogues take turns so that every save
// changes the file. After each kill the file is one of the two, whole.
TEST(Sauvegarde, TueeAuHasardLeFichierEstLAncienOuLeNouveauEntier) {
  essai::TDossierTemporaire dossier;
  const std::string chemin = dossier("donnees.txt");
  TDonnees a, b;
  Remplit(a, 30000, "A");
  Remplit(b, 30000, "B");
  std::string octets[2];
  a.SauveFlux(octets[0]);
  b.SauveFlux(octets[1]);
  for (std::string& o : octets) o = Utf8VersWin1252(o);
  ASSERT_NE(octets[0].size(), 0u);
  const TDonnees* catalogues[2] = {&a, &b};

  a.SauveFichier(chemin);
  // How long one save takes here, to spread the kills over it.
  const auto debut = std::chrono::steady_clock::now();
  b.SauveFichier(chemin);
  a.SauveFichier(chemin);
  const auto duree = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - debut) / 2;
  ASSERT_EQ(LitFichier(chemin), octets[0]);

  std::mt19937 alea(20261206);
  int surDisque = 0;  // index of the catalogue on disk
  int anciens = 0, nouveaux = 0, essais = 0;
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (essais < 400 && std::chrono::steady_clock::now() < limite) {
    const int nouveau = 1 - surDisque;
    const auto delai = std::chrono::microseconds(std::uniform_int_distribution<long>(
        0, static_cast<long>(duree.count() * 5 / 4) + 1)(alea));
    const pid_t enfant = fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
      try {
        catalogues[nouveau]->SauveFichier(chemin);
      } catch (...) {
        _exit(3);
      }
      _exit(0);
    }
    std::this_thread::sleep_for(delai);
    kill(enfant, SIGKILL);
    int statut = 0;
    ASSERT_EQ(waitpid(enfant, &statut, 0), enfant);
    ASSERT_FALSE(WIFEXITED(statut) && WEXITSTATUS(statut) != 0) << "la sauvegarde a échoué";
    ++essais;

    const std::string surLeDisque = LitFichier(chemin);
    if (surLeDisque == octets[nouveau]) {
      ++nouveaux;
      surDisque = nouveau;
    } else {
      ASSERT_TRUE(surLeDisque == octets[surDisque])
          << "fichier tronqué ou mélangé après " << essais << " essais (" << surLeDisque.size()
          << " octets au lieu de " << octets[surDisque].size() << ")";
      ++anciens;
    }
    // A killed save leaves its temporary file, never the data file; the next
    // save removes it (they once piled up for ever).
    ASSERT_LE(Temporaires(dossier()), 1) << "après " << essais << " essais";
  }
  a.SauveFichier(chemin);
  EXPECT_EQ(Temporaires(dossier()), 0);
  surDisque = 0;
  // The kills fell both before and after the end of the save.
  EXPECT_TRUE(anciens > 0 && nouveaux > 0)
      << essais << " sauvegardes tuées (durée d'une sauvegarde " << duree.count() << " µs) : "
      << anciens << " fois l'ancien fichier, " << nouveaux << " fois le nouveau";

  // The file on disk still loads whole.
  ASSERT_EQ(surDisque, 0);
  TDonnees relu;
  relu.ChargeFichier(chemin);
  EXPECT_EQ(relu.Projections.size(), 30000u);
}

// ---- Full and read-only locations ----------------------------------------------
// A small tmpfs mounted in a mount namespace of a child process of its own
// (nothing outside sees it; it goes away with the child). Skipped where the
// namespace or the mount is not permitted.

namespace {

constexpr int kSaute = 77;

// Runs `essai` in a child with a private tmpfs of `taille` at `dossier`;
// the child writes its failures on `rapport`.
template <class F>
void DansUnTmpfs(const std::string& dossier, const char* taille, F essai) {
  int tube[2];
  ASSERT_EQ(pipe(tube), 0);
  const pid_t enfant = fork();
  ASSERT_GE(enfant, 0);
  if (enfant == 0) {
    close(tube[0]);
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", dossier.c_str(), "tmpfs", 0, (std::string("size=") + taille).c_str()) != 0)
      _exit(kSaute);
    std::string echecs;
    try {
      essai(echecs);
    } catch (const std::exception& e) {
      echecs += std::string("exception : ") + e.what() + "\n";
    }
    if (!echecs.empty() && write(tube[1], echecs.data(), echecs.size()) < 0) _exit(2);
    _exit(echecs.empty() ? 0 : 1);
  }
  close(tube[1]);
  std::string echecs;
  char bloc[512];
  for (ssize_t n; (n = read(tube[0], bloc, sizeof bloc)) > 0;) echecs.append(bloc, static_cast<size_t>(n));
  close(tube[0]);
  int statut = 0;
  ASSERT_EQ(waitpid(enfant, &statut, 0), enfant);
  ASSERT_TRUE(WIFEXITED(statut));
  if (WEXITSTATUS(statut) == kSaute) GTEST_SKIP() << "montage d'un tmpfs impossible ici";
  EXPECT_EQ(WEXITSTATUS(statut), 0) << echecs;
}

void Attend(bool condition, const std::string& quoi, std::string& echecs) {
  if (!condition) echecs += quoi + "\n";
}

// The exit save of `donnees` into `ini.Dossier` fails with the message of the
// exit save and leaves `ancien` as it was.
void SauvegardeRefusee(const TDonnees& donnees, const TFichierIni& ini, const std::string& ancien,
                       std::string& echecs) {
  const std::string chemin = ini.Dossier + "donnees.txt";
  try {
    SauveALaSortie(donnees, ini);
    echecs += "la sauvegarde a réussi\n";
  } catch (const ErreurEntreeSortie& e) {
    Attend(std::string(e.what()) == "Problème à l'enregistrement des données dans " + chemin,
           std::string("message : ") + e.what(), echecs);
  }
  Attend(LitFichier(chemin) == ancien, "l'ancien fichier a changé", echecs);
  try {
    donnees.SauveFichier(chemin);
    echecs += "SauveFichier a réussi\n";
  } catch (const ErreurEntreeSortie&) {
  }
  Attend(LitFichier(chemin) == ancien, "l'ancien fichier a changé (SauveFichier)", echecs);
}

}  // namespace

TEST(Sauvegarde, EmplacementPleinOuEnLectureSeuleLAncienFichierResteIntact) {
  essai::TDossierTemporaire dossier;
  const std::string montage = dossier("montage");
  std::filesystem::create_directories(montage);
  TDonnees petit, autre, grand;
  Remplit(petit, 3, "petit");
  Remplit(autre, 3, "autre");
  Remplit(grand, 5000, "grand");
  DansUnTmpfs(montage, "64k", [&](std::string& echecs) {
    const TFichierIni ini = Reglages(dossier, montage + "/");
    const std::string chemin = ini.Dossier + "donnees.txt";
    petit.SauveFichier(chemin);
    const std::string ancien = LitFichier(chemin);
    // Full: the new file does not fit.
    SauvegardeRefusee(grand, ini, ancien, echecs);
    Attend(Temporaires(montage) == 0, "fichier temporaire laissé sur le disque plein", echecs);
    // Read-only: even a small one is refused (the same catalogue would
    // write nothing).
    if (mount(nullptr, montage.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
      echecs += "remontage en lecture seule impossible\n";
      return;
    }
    SauvegardeRefusee(autre, ini, ancien, echecs);
  });
}

// Without any mount: a data-file path whose folder is a file, which root
// cannot ignore as it ignores file permissions.
TEST(Sauvegarde, DossierQuiEstUnFichier) {
  essai::TDossierTemporaire dossier;
  TDonnees petit;
  Remplit(petit, 3, "petit");
  const std::string fichier = dossier.Ecrit("pas-un-dossier", "contenu");
  TFichierIni ini = Reglages(dossier, fichier + "/");
  EXPECT_THROW(SauveALaSortie(petit, ini), ErreurEntreeSortie);
  EXPECT_EQ(LitFichier(fichier), "contenu");
}

// A data file that is a symbolic link (relative, through a second link, to
// another folder) is saved into its target, the links left as they are and
// the target's mode kept; a file in mode 444 is refused even for root, whom
// the system would let write; a path at the system's length limit still
// saves (the temporary file's name does not grow with the file's).
TEST(Sauvegarde, LiensModesEtCheminALaLimite) {
  essai::TDossierTemporaire dossier;
  TDonnees petit;
  Remplit(petit, 3, "petit");
  std::string attendu;
  petit.SauveFlux(attendu);
  attendu = Utf8VersWin1252(attendu);
  namespace fs = std::filesystem;

  const std::string cible = dossier("ailleurs/vrai.txt");
  essai::Ecrit(cible, "ancien");
  fs::create_symlink("ailleurs/vrai.txt", dossier("lien"));
  fs::create_symlink("lien", dossier("donnees.txt"));
  fs::permissions(cible, fs::perms::owner_read | fs::perms::owner_write);
  petit.SauveFichier(dossier("donnees.txt"));
  EXPECT_TRUE(fs::is_symlink(dossier("donnees.txt")));
  EXPECT_TRUE(fs::is_symlink(dossier("lien")));
  EXPECT_EQ(LitFichier(cible), attendu);
  EXPECT_EQ(fs::status(cible).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Temporaires(dossier("ailleurs")) + Temporaires(dossier()), 0);

  fs::permissions(cible, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_TRUE(EnLectureSeule(dossier("donnees.txt")));
  TFichierIni ini = Reglages(dossier, dossier());
  TDonnees autre;
  Remplit(autre, 1, "autre");
  EXPECT_THROW(SauveALaSortie(autre, ini), ErreurEntreeSortie);
  EXPECT_EQ(LitFichier(cible), attendu);
  EXPECT_TRUE(fs::is_symlink(dossier("donnees.txt")));

  // Folders of 200 characters down to a file path of PATH_MAX - 6 bytes.
  std::string long_ = dossier();
  const size_t total = 4096 - 6, nom = std::string("donnees.txt").size();
  while (long_.size() + nom < total)
    long_ += std::string(std::min<size_t>(200, total - nom - long_.size() - 1), 'd') + "/";
  ASSERT_EQ(long_.size() + nom, total);
  fs::create_directories(long_);
  petit.SauveFichier(long_ + "donnees.txt");
  EXPECT_EQ(LitFichier(long_ + "donnees.txt"), attendu);
}
