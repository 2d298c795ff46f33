// requiert: cli
// One input line of "vestrel-cli convertir". The first three bytes choose the
// source and destination systems of a catalogue holding every kind, and the
// options (identifier, details, unit, Paris meridian, default zone); the rest
// is the line. The line is converted or refused with the program's error;
// a converted line holds no infinite or undefined number.
#include <string>
#include <vector>

#include "catalogue_essai.h"
#include "cli/ligne.h"
#include "commun.h"
#include "tools/erreurs.h"

using namespace vestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
  static const std::unique_ptr<TDonnees> donnees = fuzz::CatalogueEssai();
  static const std::vector<std::string> noms = [] {
    std::vector<std::string> n;
    donnees->ListeNoms(n);
    return n;
  }();
  if (taille < 3) return 0;
  const TSystemeResolu source = donnees->Resout(noms[octets[0] % noms.size()]);
  const TSystemeResolu destination = donnees->Resout(noms[octets[1] % noms.size()]);
  const uint8_t choix = octets[2];
  cli::TOptionsConversion options;
  options.Id = choix & 1;
  options.Details = choix & 2;
  options.Unite = (choix >> 2) & 3;
  options.ParisDepart = source.Geographique() && (choix & 16);
  options.ParisArrivee = destination.Geographique() && (choix & 32);
  if (source.Multiple && (choix & 64)) options.Fuseau = (choix & 128) ? -31 : 31;

  const std::string_view ligne = fuzz::Texte(octets + 3, taille - 3);
  if (cli::LigneRecopiee(ligne)) return 0;
  cli::TConvertisseur convertisseur(options, source, destination);
  std::string sortie = "avant", erreur;
  if (!convertisseur.Convertit(ligne, sortie, erreur)) {
    fuzz::Exige(sortie == "avant" && !erreur.empty(), "ligne refusée sans message ou écrite à moitié");
    return 0;
  }
  sortie.erase(0, 5);
  // The identifier is copied as it stands; the numbers follow it.
  if (options.Id) sortie.erase(0, sortie.find_first_of(";\t"));
  for (const char* mauvais : {"nan", "inf", "NAN", "INF"})
    fuzz::Exige(sortie.find(mauvais) == std::string::npos,
                "nombre non fini écrit : '" + sortie + "' pour '" + std::string(ligne) + "'");
  return 0;
}
