// The "convertir" command: one output line per input line, converted through
// the numeric operations of the conversion pipeline with the window's texts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "catalogue/donnee.h"
#include "catalogue/epsg.h"
#include "cli/cli.h"
#include "cli/ligne.h"

namespace vestrel::cli {

namespace {

// A system by its name, or by "EPSG:N" for the one that carries code N.
TSystemeResolu ResoutNom(const TDonnees& donnees, const std::string& nom) {
  TSystemeResolu s;
  try {
    s = ResoutNomOuCode(donnees, nom);
  } catch (const ErreurConversion& e) {
    throw ErreurFatale{e.what()};
  }
  if (!s.Trouve()) throw ErreurFatale{"Système inconnu : \"" + nom + "\""};
  return s;
}

// Opens the input; `taille` receives the size of a regular file (0 otherwise).
int OuvreEntree(const std::optional<std::string>& fichier, uint64_t& taille) {
  taille = 0;
  if (!fichier || *fichier == "-") return STDIN_FILENO;
  int fd = ::open(fichier->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    throw ErreurFatale{"Impossible d'ouvrir " + *fichier + " : " + std::strerror(errno)};
  struct stat etat;
  if (::fstat(fd, &etat) == 0 && S_ISREG(etat.st_mode)) taille = static_cast<uint64_t>(etat.st_size);
  return fd;
}

}  // namespace

int Convertir(const TOptionsConversion& options) {
  TDonnees donnees;
  ChargeCatalogue(donnees, options.Catalogue);
  // Both systems are resolved once for the whole run.
  const TSystemeResolu source = ResoutNom(donnees, options.Depart);
  const TSystemeResolu destination = ResoutNom(donnees, options.Arrivee);
  if (options.ParisDepart && !source.Geographique())
    throw ErreurFatale{"--paris-depart ne s'applique qu'à un système géographique", true};
  if (options.ParisArrivee && !destination.Geographique())
    throw ErreurFatale{"--paris-arrivee ne s'applique qu'à un système géographique", true};
  if (options.Fuseau && !source.Multiple)
    throw ErreurFatale{"--fuseau ne s'applique qu'à un système multiple au départ", true};
  if (options.Angles != TFormatAngles::Textes && !source.Geographique())
    throw ErreurFatale{"--angles ne s'applique qu'à un système géographique au départ", true};

  uint64_t taille = 0;
  bool echec = false;
  int entree = OuvreEntree(options.Fichier, taille);
  struct Fermeture {
    int fd;
    ~Fermeture() { if (fd != STDIN_FILENO) ::close(fd); }
  } fermeture{entree};

  TLecteurLignes lecteur(entree);
  TEcrivain sortie(STDOUT_FILENO, ::isatty(STDOUT_FILENO) == 1);
  TRapport rapport(::isatty(STDERR_FILENO) == 1 && entree != STDIN_FILENO ? taille : 0);
  TConvertisseur convertisseur(options, source, destination);
  // Lines and messages in the order they were made when both go to the same
  // file; otherwise each is written by the block.
  const bool ordonne = SortiesConfondues();
  lecteur.AvantAttente = [&] {
    sortie.Vide();
    rapport.Vide();
  };
  std::string message, erreur;
  uint64_t numero = 0;
  // A message about the current line, "ligne N : " before it.
  auto signale = [&](std::string_view texte) {
    echec = true;
    if (ordonne) sortie.Vide();
    message.assign("ligne ");
    char chiffres[24];
    message.append(chiffres, std::to_chars(chiffres, chiffres + sizeof chiffres, numero).ptr);
    message.append(" : ");
    message.append(texte);
    rapport.Message(message);
  };

  std::string_view ligne, fin;
  while (lecteur.Suivante(ligne, fin)) {
    ++numero;
    std::string_view finSortie = fin.empty() ? std::string_view("\n") : fin;
    if (lecteur.Tronquee()) {
      signale("Ligne trop longue");
    } else if (LigneRecopiee(ligne)) {
      if (ordonne) rapport.Vide();
      sortie.Ajoute(ligne);
      sortie.Ajoute(finSortie);
      sortie.FinLigne();
    } else if (convertisseur.Convertit(ligne, sortie.Tampon(), erreur)) {
      // The line was written straight into the output block.
      sortie.Ajoute(finSortie);
      if (ordonne) rapport.Vide();
      if (!convertisseur.Avertissement().empty()) {
        // Standard output before standard error, in the order of the lines.
        sortie.Vide();
        rapport.Message("ligne " + std::to_string(numero) + " : Attention : " +
                        convertisseur.Avertissement());
      }
      sortie.FinLigne();
    } else {
      signale(erreur);
    }
    rapport.Progression(lecteur.Lus());
  }
  sortie.Vide();
  return echec ? kEchecPartiel : kSucces;
}

}  // namespace vestrel::cli
