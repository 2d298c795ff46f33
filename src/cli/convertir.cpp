// The "convertir" command: one output line per input line, converted through
// the numeric operations of the conversion pipeline with the window's texts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "catalogue/donnee.h"
#include "cli/cli.h"
#include "tools/codec.h"
#include "tools/nombres.h"

namespace vestrel::cli {

namespace {

constexpr const char* kMessageFuseau = "Le numéro de fuseau de départ est incorrecte, exemple 12";
constexpr int kChampsMax = 4;  // ID X Y FUSEAU

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }
bool EstSeparateur(char c) { return c == ' ' || c == '\t' || c == ';'; }

// Splits at runs of blanks, tabs and ";"; counts up to kChampsMax + 1 fields.
int Decoupe(std::string_view ligne, std::string_view (&champs)[kChampsMax + 1]) {
  int n = 0;
  size_t i = 0, taille = ligne.size();
  while (n <= kChampsMax) {
    while (i < taille && EstSeparateur(ligne[i])) ++i;
    if (i == taille) break;
    size_t debut = i;
    while (i < taille && !EstSeparateur(ligne[i])) ++i;
    champs[n++] = ligne.substr(debut, i - debut);
  }
  return n;
}

// True when the bytes are well-formed UTF-8.
bool Utf8Valide(std::string_view t) {
  for (size_t i = 0; i < t.size();) {
    unsigned char c = static_cast<unsigned char>(t[i]);
    size_t suite = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
    if (suite == 9 || (suite > 0 && i + suite >= t.size())) return false;
    for (size_t k = 1; k <= suite; ++k)
      if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return false;
    i += suite + 1;
  }
  return true;
}

// A typed text in the engine's UTF-8: the field itself when it is UTF-8
// already (ASCII included), else its conversion into `tampon` (a file written
// in Windows-1252, the degree sign as the single byte 0xB0).
std::string_view TexteSaisi(std::string_view champ, std::string& tampon) {
  if (Utf8Valide(champ)) return champ;
  tampon = Win1252VersUtf8(champ);
  return tampon;
}

std::string Attendu(const TOptionsConversion& options, const TSystemeResolu& source) {
  std::string t = options.Id ? "ID X Y" : "X Y";
  if (source.Multiple) t += " [FUSEAU]";
  return t;
}

TSystemeResolu ResoutNom(const TDonnees& donnees, const std::string& nom) {
  TSystemeResolu s = donnees.Resout(nom);
  if (!s.Trouve()) throw ErreurFatale{"Système inconnu : \"" + nom + "\""};
  return s;
}

// Converts one point line into `sortie`; raises the line's error.
class TConvertisseur {
 public:
  TConvertisseur(const TOptionsConversion& options, const TSystemeResolu& source,
                 const TSystemeResolu& destination)
      : options_(options), source_(source), destination_(destination),
        attendu_(Attendu(options, source)) {}

  void Convertit(std::string_view ligne, std::string& sortie) {
    std::string_view champs[kChampsMax + 1];
    int n = Decoupe(ligne, champs);
    int base = options_.Id ? 1 : 0;
    bool avecFuseau = source_.Multiple && n == base + 3;
    if (n != base + 2 && !avecFuseau)
      throw ErreurConversion("Nombre de champs incorrect (" + std::to_string(n) +
                             "), attendu : " + attendu_);
    int32_t zone = 0;
    if (source_.Geographique()) {
      zone = options_.ParisDepart ? 1 : 0;
    } else if (source_.Multiple) {
      if (avecFuseau) {
        if (!EssaieLitEntier(champs[base + 2], zone)) throw ErreurConversion(kMessageFuseau);
      } else if (options_.Fuseau) {
        zone = *options_.Fuseau;
      } else {
        throw ErreurConversion(kMessageFuseau);
      }
    }
    double premiere, seconde;
    LitPointDepart(source_, TexteSaisi(champs[base], texteX_),
                   TexteSaisi(champs[base + 1], texteY_), premiere, seconde);
    TPointConverti point;
    ConvertitPoint(source_, zone, destination_, options_.ParisArrivee, premiere, seconde,
                   options_.Details, point);

    const char separateur = ligne.find(';') != std::string_view::npos ? ';' : '\t';
    if (options_.Id) {
      sortie.append(champs[0]);
      sortie.push_back(separateur);
    }
    AjouteCoordonnee(sortie, destination_, point.X, options_.Unite);
    sortie.push_back(separateur);
    AjouteCoordonnee(sortie, destination_, point.Y, options_.Unite);
    if (destination_.Multiple) {
      char chiffres[16];
      auto [fin, ec] = std::to_chars(chiffres, chiffres + sizeof chiffres, point.Zone);
      sortie.push_back(separateur);
      sortie.append(chiffres, fin);
    }
    if (options_.Details) {
      AngleVersTexte(options_.Unite, point.Convergence, texte_);
      sortie.push_back(separateur);
      sortie += texte_;
      sortie.push_back(separateur);
      sortie += TexteAlteration(point.Alteration);
    }
  }

 private:
  const TOptionsConversion& options_;
  const TSystemeResolu& source_;
  const TSystemeResolu& destination_;
  const std::string attendu_;
  std::string texteX_, texteY_, texte_;
};

// A line to copy as it stands: empty, blank or a comment.
bool LigneRecopiee(std::string_view ligne) {
  size_t i = 0;
  while (i < ligne.size() && EstBlanc(ligne[i])) ++i;
  return i == ligne.size() || ligne[i] == '#';
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

  uint64_t taille = 0;
  int entree = OuvreEntree(options.Fichier, taille);
  struct Fermeture {
    int fd;
    ~Fermeture() { if (fd != STDIN_FILENO) ::close(fd); }
  } fermeture{entree};

  TLecteurLignes lecteur(entree);
  TEcrivain sortie(STDOUT_FILENO, ::isatty(STDOUT_FILENO) == 1);
  TRapport rapport(::isatty(STDERR_FILENO) == 1 && entree != STDIN_FILENO ? taille : 0);
  TConvertisseur convertisseur(options, source, destination);

  std::string texte;
  std::string_view ligne, fin;
  uint64_t numero = 0;
  bool echec = false;
  while (lecteur.Suivante(ligne, fin)) {
    ++numero;
    std::string_view finSortie = fin.empty() ? std::string_view("\n") : fin;
    if (lecteur.Tronquee()) {
      echec = true;
      rapport.Message("ligne " + std::to_string(numero) + " : Ligne trop longue");
    } else if (LigneRecopiee(ligne)) {
      sortie.Ajoute(ligne);
      sortie.Ajoute(finSortie);
      sortie.FinLigne();
    } else {
      texte.clear();
      try {
        convertisseur.Convertit(ligne, texte);
        texte += finSortie;
        sortie.Ajoute(texte);
        sortie.FinLigne();
      } catch (const std::exception& e) {
        echec = true;
        sortie.Vide();  // keeps standard output and standard error in order
        rapport.Message("ligne " + std::to_string(numero) + " : " + e.what());
      }
    }
    rapport.Progression(lecteur.Lus());
  }
  sortie.Vide();
  return echec ? kEchecPartiel : kSucces;
}

}  // namespace vestrel::cli
