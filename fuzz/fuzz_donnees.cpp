// requiert: catalogue
// A whole data file (Windows-1252 bytes) through the catalogue. Whatever part
// of it loads is saved, and what was saved loads again completely into a
// fresh catalogue and saves to the same text: nothing the program writes is
// lost on the next start.
#include <string>

#include "catalogue/donnee.h"
#include "commun.h"
#include "tools/codec.h"
#include "tools/erreurs.h"

using namespace vestrel;

namespace {

// Saves `donnees`, reads the text back into a fresh catalogue, saves again.
void VerifieRelecture(const TDonnees& donnees, const std::string& origine) {
  std::string sauve;
  donnees.SauveFlux(sauve);
  std::string octets;
  try {
    octets = Utf8VersWin1252(sauve);
  } catch (const Erreur& e) {
    fuzz::Echec(std::string("catalogue lu qui ne s'écrit pas : ") + e.what());
  }
  fuzz::Exige(Win1252VersUtf8(octets) == sauve, "l'écriture Windows-1252 perd des caractères");
  TDonnees relu;
  TFlux flux(sauve);
  try {
    relu.ChargeFlux(flux);
  } catch (const Erreur& e) {
    fuzz::Echec("ce qui est sauvé ne se relit pas : " + std::string(e.what()) + "\n--- lu de\n" +
                origine + "\n--- sauvé\n" + sauve);
  }
  std::string resauve;
  relu.SauveFlux(resauve);
  fuzz::Exige(resauve == sauve, "la relecture change le fichier :\n" + sauve + "\n---\n" + resauve);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
  const std::string chemin = fuzz::Fichier("donnees.txt", fuzz::Texte(octets, taille));
  TDonnees donnees;
  try {
    donnees.ChargeFichier(chemin);
  } catch (const ErreurChargement& e) {
    fuzz::Exige(e.Ligne >= 1, "numéro de ligne d'erreur incorrect");
  } catch (const Erreur&) {
    fuzz::Echec("erreur de chargement sans numéro de ligne");
  }
  VerifieRelecture(donnees, std::string(fuzz::Texte(octets, taille)));
  return 0;
}
