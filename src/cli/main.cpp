// vestrel-cli: the command line, its help and its dispatch.
#include <unistd.h>

#include <cstring>
#include <exception>

#include "cli/cli.h"
#include "tools/nombres.h"
#include "tools/outils.h"
#include "version.h"

namespace vestrel::cli {
namespace {

constexpr const char* kAide =
    "Usage :\n"
    "  vestrel-cli convertir --depart NOM --arrivee NOM [options] [FICHIER]\n"
    "  vestrel-cli systemes [--catalogue FICHIER]\n"
    "  vestrel-cli verifier FICHIER\n"
    "  vestrel-cli --help | --version\n"
    "\n"
    "convertir : convertit chaque point de FICHIER (ou de l'entrée standard) du système\n"
    "de départ vers le système d'arrivée et écrit une ligne par ligne lue.\n"
    "  --catalogue FICHIER  fichier de données à utiliser (par défaut celui que la\n"
    "                       fenêtre charge au démarrage)\n"
    "  --unite dd|dm|dms|gr unité des angles affichés : degrés décimaux (dd, défaut),\n"
    "                       degrés minutes (dm), degrés minutes secondes (dms), grades (gr)\n"
    "  --paris-depart       longitudes de départ comptées depuis le méridien de Paris\n"
    "  --paris-arrivee      longitudes d'arrivée comptées depuis le méridien de Paris\n"
    "  --fuseau N           fuseau d'un système multiple de départ pour les lignes qui\n"
    "                       n'en donnent pas\n"
    "  --id                 le premier champ de chaque ligne est un identifiant recopié\n"
    "  --details            ajoute la convergence et l'altération linéaire\n"
    "Lignes lues : [ID] X Y [FUSEAU], champs séparés par des blancs, des tabulations\n"
    "ou des \";\" ; les lignes vides et celles qui commencent par \"#\" sont recopiées.\n"
    "Lignes écrites : [ID] X' Y' [FUSEAU'] [CONVERGENCE ALTERATION], séparées par \";\"\n"
    "si la ligne lue en contenait, par une tabulation sinon.\n"
    "Une ligne incorrecte est signalée sur l'erreur standard (\"ligne N : MESSAGE\").\n"
    "\n"
    "Un système se nomme par son nom ou par son code EPSG (EPSG:2154), quand un seul\n"
    "système du catalogue porte ce code dans sa description.\n"
    "\n"
    "systemes : une ligne par système du catalogue (nom, genre, nature, code EPSG,\n"
    "description), champs séparés par des tabulations.\n"
    "verifier : signale chaque enregistrement incorrect d'un fichier de données.\n"
    "\n"
    "Code de retour : 0 tout est converti, 1 une ligne ou un enregistrement a échoué,\n"
    "2 erreur d'usage, système inconnu ou fichier illisible.\n";

void Ecrit(int fd, std::string_view texte) {
  if (::write(fd, texte.data(), texte.size()) < 0) return;
}

ErreurFatale Usage(std::string message) { return ErreurFatale{std::move(message), true}; }

// The arguments after the command, options and their values.
class TArguments {
 public:
  TArguments(int argc, char** argv) : argc_(argc), argv_(argv) {}
  bool Fin() const { return i_ >= argc_; }
  std::string_view Courant() const { return argv_[i_]; }
  void Avance() { ++i_; }
  // "--nom VALEUR" or "--nom=VALEUR" at the current argument.
  bool Option(std::string_view nom, std::string& valeur) {
    std::string_view a = Courant();
    if (a == nom) {
      if (i_ + 1 >= argc_) throw Usage("L'option " + std::string(nom) + " attend une valeur");
      valeur = argv_[++i_];
      ++i_;
      return true;
    }
    if (a.size() > nom.size() && a.substr(0, nom.size()) == nom && a[nom.size()] == '=') {
      valeur = a.substr(nom.size() + 1);
      ++i_;
      return true;
    }
    return false;
  }
  bool Drapeau(std::string_view nom) {
    if (Courant() != nom) return false;
    ++i_;
    return true;
  }

 private:
  int argc_;
  char** argv_;
  int i_ = 2;
};

int UniteDe(const std::string& texte) {
  if (texte == "dd") return uaDegres;
  if (texte == "dm") return uaDM;
  if (texte == "dms") return uaDMS;
  if (texte == "gr") return uaGrades;
  throw Usage("Unité inconnue : " + texte + " (dd, dm, dms ou gr)");
}

bool EstAide(std::string_view a) { return a == "--help" || a == "-h"; }

// A positional argument, refusing unknown options.
void Positionnel(TArguments& args, std::optional<std::string>& fichier) {
  std::string_view a = args.Courant();
  if (a.size() > 1 && a[0] == '-') throw Usage("Option inconnue : " + std::string(a));
  if (fichier) throw Usage("Argument en trop : " + std::string(a));
  fichier = std::string(a);
  args.Avance();
}

int Commande(int argc, char** argv) {
  if (argc < 2) throw Usage("Commande manquante");
  std::string_view commande = argv[1];
  if (EstAide(commande)) {
    Ecrit(STDOUT_FILENO, kAide);
    return kSucces;
  }
  if (commande == "--version") {
    Ecrit(STDOUT_FILENO, "vestrel-cli " VESTREL_VERSION_TEXTE "\n");
    return kSucces;
  }
  TArguments args(argc, argv);
  for (int i = 2; i < argc; ++i)
    if (EstAide(argv[i])) {
      Ecrit(STDOUT_FILENO, kAide);
      return kSucces;
    }

  if (commande == "convertir") {
    TOptionsConversion options;
    std::string valeur;
    while (!args.Fin()) {
      if (args.Option("--depart", options.Depart) || args.Option("--arrivee", options.Arrivee))
        continue;
      if (args.Option("--catalogue", valeur)) {
        options.Catalogue = valeur;
      } else if (args.Option("--unite", valeur)) {
        options.Unite = UniteDe(valeur);
      } else if (args.Option("--fuseau", valeur)) {
        int32_t fuseau;
        if (!EssaieLitEntier(valeur, fuseau))
          throw Usage("Le numéro de fuseau de départ est incorrecte, exemple 12");
        options.Fuseau = fuseau;
      } else if (args.Drapeau("--paris-depart")) {
        options.ParisDepart = true;
      } else if (args.Drapeau("--paris-arrivee")) {
        options.ParisArrivee = true;
      } else if (args.Drapeau("--id")) {
        options.Id = true;
      } else if (args.Drapeau("--details")) {
        options.Details = true;
      } else {
        Positionnel(args, options.Fichier);
      }
    }
    if (options.Depart.empty()) throw Usage("L'option --depart est obligatoire");
    if (options.Arrivee.empty()) throw Usage("L'option --arrivee est obligatoire");
    return Convertir(options);
  }
  if (commande == "systemes") {
    std::optional<std::string> catalogue, argument;
    std::string valeur;
    while (!args.Fin()) {
      if (args.Option("--catalogue", valeur)) catalogue = valeur;
      else Positionnel(args, argument);
    }
    if (argument) throw Usage("Argument en trop : " + *argument);
    return Systemes(catalogue);
  }
  if (commande == "verifier") {
    std::optional<std::string> fichier;
    while (!args.Fin()) Positionnel(args, fichier);
    if (!fichier) throw Usage("Le fichier à vérifier manque");
    return Verifier(*fichier);
  }
  throw Usage("Commande inconnue : " + std::string(commande));
}

}  // namespace
}  // namespace vestrel::cli

int main(int argc, char** argv) {
  using namespace vestrel::cli;
  try {
    return Commande(argc, argv);
  } catch (const ErreurFatale& e) {
    std::string texte = "vestrel-cli : " + e.Message + "\n";
    if (e.Usage) texte += "Essayez « vestrel-cli --help ».\n";
    Ecrit(STDERR_FILENO, texte);
  } catch (const std::exception& e) {
    Ecrit(STDERR_FILENO, std::string("vestrel-cli : ") + e.what() + "\n");
  }
  return kErreurUsage;
}
