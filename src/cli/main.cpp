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
    "  vestrel-cli autotest [--catalogue FICHIER] [--references FICHIER]\n"
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
    "  --colonnes x=N,y=N[,id=N][,fuseau=N]\n"
    "                       numéros (depuis 1) des colonnes lues ; les autres sont\n"
    "                       ignorées, un fuseau vide prend celui de --fuseau\n"
    "  --separateur tous|point-virgule|tabulation|blancs\n"
    "                       séparateur des champs (tous, défaut : blancs, tabulations\n"
    "                       et \";\" ; sinon chaque \";\" ou chaque tabulation)\n"
    "  --angles textes|dd|gr angles de départ écrits comme dans la fenêtre (textes,\n"
    "                       défaut) ou en nombres de degrés décimaux (dd) ou de grades (gr)\n"
    "  --virgule-decimale   \",\" accepté comme séparateur décimal des nombres lus\n"
    "  --methode            ajoute la méthode des changements de datum (grille de\n"
    "                       correction, 7 ou 3 paramètres, aucune)\n"
    "  --strict             refuse les points loin de la région d'emploi d'un système\n"
    "                       et ceux qui sortent de la grille de leur datum\n"
    "Lignes lues : [ID] X Y [FUSEAU], champs séparés par des blancs, des tabulations\n"
    "ou des \";\" ; les lignes vides et celles qui commencent par \"#\" sont recopiées.\n"
    "Lignes écrites : [ID] X' Y' [FUSEAU'] [CONVERGENCE ALTERATION] [METHODE], séparées\n"
    "par \";\" si la ligne lue en contenait, par une tabulation sinon.\n"
    "Une ligne incorrecte est signalée sur l'erreur standard (\"ligne N : MESSAGE\") ;\n"
    "un point loin de la région d'emploi d'un système est converti et signalé\n"
    "(\"ligne N : Attention : MESSAGE\").\n"
    "\n"
    "Un système se nomme par son nom ou par son code EPSG (EPSG:2154), quand un seul\n"
    "système du catalogue porte ce code dans sa description.\n"
    "\n"
    "systemes : une ligne par système du catalogue (nom, genre, nature, code EPSG,\n"
    "description), champs séparés par des tabulations.\n"
    "verifier : signale chaque enregistrement incorrect d'un fichier de données.\n"
    "autotest : convertit les points de référence publiés livrés avec le programme\n"
    "(autotest.txt) avec le catalogue et affiche pour chacun la valeur attendue,\n"
    "l'écart et OK ou ÉCHEC ; code de retour 1 au moindre échec.\n"
    "\n"
    "Code de retour : 0 tout est converti, 1 une ligne ou un enregistrement a échoué,\n"
    "2 erreur d'usage, système inconnu ou fichier illisible.\n";

// The help and the version on standard output: a failed write ends the run
// with status 2 like any other output.
void Ecrit(std::string_view texte) {
  TEcrivain sortie(STDOUT_FILENO, false);
  sortie.Ajoute(texte);
  sortie.Vide();
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

// "x=2,y=3,id=1,fuseau=4": column numbers counted from 1.
TColonnes ColonnesDe(const std::string& texte) {
  TColonnes c{-1, -1, -1, -1};
  std::string_view reste = texte;
  while (!reste.empty()) {
    const size_t virgule = reste.find(',');
    const std::string_view element = reste.substr(0, virgule);
    reste = virgule == std::string_view::npos ? std::string_view() : reste.substr(virgule + 1);
    const size_t egal = element.find('=');
    int32_t numero = 0;
    const std::string_view nom = element.substr(0, egal);
    int* cible = nom == "x" ? &c.X : nom == "y" ? &c.Y : nom == "id" ? &c.Id
               : nom == "fuseau" ? &c.Fuseau : nullptr;
    if (!cible || egal == std::string_view::npos ||
        !EssaieLitEntier(element.substr(egal + 1), numero) || numero < 1 || numero > 64 ||
        *cible >= 0)
      throw Usage("Colonnes incorrectes : " + texte + " (exemple x=2,y=3,id=1)");
    *cible = numero - 1;
  }
  if (c.X < 0 || c.Y < 0) throw Usage("Les colonnes x et y sont obligatoires : " + texte);
  const int numeros[] = {c.X, c.Y, c.Id, c.Fuseau};
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      if (numeros[i] >= 0 && numeros[i] == numeros[j])
        throw Usage("Une colonne est choisie deux fois : " + texte);
  return c;
}

TSeparateur SeparateurDe(const std::string& texte) {
  if (texte == "tous") return TSeparateur::Tous;
  if (texte == "point-virgule" || texte == ";") return TSeparateur::PointVirgule;
  if (texte == "tabulation") return TSeparateur::Tabulation;
  if (texte == "blancs") return TSeparateur::Blancs;
  throw Usage("Séparateur inconnu : " + texte + " (tous, point-virgule, tabulation ou blancs)");
}

TFormatAngles AnglesDe(const std::string& texte) {
  if (texte == "textes") return TFormatAngles::Textes;
  if (texte == "dd") return TFormatAngles::Degres;
  if (texte == "gr") return TFormatAngles::Grades;
  throw Usage("Format d'angles inconnu : " + texte + " (textes, dd ou gr)");
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
    Ecrit(kAide);
    return kSucces;
  }
  if (commande == "--version") {
    Ecrit("vestrel-cli " VESTREL_VERSION_TEXTE "\n");
    return kSucces;
  }
  TArguments args(argc, argv);
  for (int i = 2; i < argc; ++i)
    if (EstAide(argv[i])) {
      Ecrit(kAide);
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
          throw Usage("Le numéro de fuseau de départ est incorrect, exemple 12");
        options.Fuseau = fuseau;
      } else if (args.Option("--colonnes", valeur)) {
        options.Colonnes = ColonnesDe(valeur);
      } else if (args.Option("--separateur", valeur)) {
        options.Separateur = SeparateurDe(valeur);
      } else if (args.Option("--angles", valeur)) {
        options.Angles = AnglesDe(valeur);
      } else if (args.Drapeau("--virgule-decimale")) {
        options.VirguleDecimale = true;
      } else if (args.Drapeau("--paris-depart")) {
        options.ParisDepart = true;
      } else if (args.Drapeau("--paris-arrivee")) {
        options.ParisArrivee = true;
      } else if (args.Drapeau("--id")) {
        options.Id = true;
      } else if (args.Drapeau("--details")) {
        options.Details = true;
      } else if (args.Drapeau("--methode")) {
        options.Methode = true;
      } else if (args.Drapeau("--strict")) {
        options.Strict = true;
      } else {
        Positionnel(args, options.Fichier);
      }
    }
    if (options.Depart.empty()) throw Usage("L'option --depart est obligatoire");
    if (options.Arrivee.empty()) throw Usage("L'option --arrivee est obligatoire");
    if (options.Colonnes && options.Id) throw Usage("--id et --colonnes s'excluent : id=N dans --colonnes");
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
  if (commande == "autotest") {
    std::optional<std::string> catalogue, references, argument;
    std::string valeur;
    while (!args.Fin()) {
      if (args.Option("--catalogue", valeur)) catalogue = valeur;
      else if (args.Option("--references", valeur)) references = valeur;
      else Positionnel(args, argument);
    }
    if (argument) throw Usage("Argument en trop : " + *argument);
    return Autotest(catalogue, references);
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
    std::string texte = "vestrel-cli : " + e.Message;
    if (e.Usage) texte += "\nEssayez « vestrel-cli --help ».";
    TRapport().Message(texte);
  } catch (const std::exception& e) {
    TRapport().Message(std::string("vestrel-cli : ") + e.what());
  }
  return kErreurUsage;
}
