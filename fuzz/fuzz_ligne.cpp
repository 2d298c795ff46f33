// requiert: catalogue
// One record line through AjouteLigne, in a catalogue that already holds a
// system of every kind (so that names clash and datums resolve). A line that
// is accepted is written back as a line that reads again to the same record.
#include <string>

#include "catalogue_essai.h"
#include "commun.h"
#include "systems/createur.h"
#include "tools/erreurs.h"

using namespace vestrel;

namespace {

// The record line that the catalogue writes for its last entry of each list
// (the one the line added, if any).
std::string Ecrit(const TDonnees& d) {
  std::string s;
  d.SauveFlux(s);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
  static const std::string base = Ecrit(*fuzz::CatalogueEssai());
  const std::string ligne(fuzz::Texte(octets, taille));
  auto donnees = fuzz::CatalogueEssai();
  try {
    donnees->AjouteLigne(ligne);
  } catch (const Erreur&) {
    fuzz::Exige(Ecrit(*donnees) == base, "une ligne refusée a changé le catalogue");
    return 0;
  }
  const std::string sauve = Ecrit(*donnees);
  TDonnees relu;
  TFlux flux(sauve);
  try {
    relu.ChargeFlux(flux);
  } catch (const Erreur& e) {
    fuzz::Echec("la ligne acceptée '" + ligne + "' ne se relit pas : " + e.what() + "\n" + sauve);
  }
  fuzz::Exige(Ecrit(relu) == sauve, "la ligne acceptée '" + ligne + "' se relit autrement");
  return 0;
}
