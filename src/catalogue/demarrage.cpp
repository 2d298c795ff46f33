// The data file at start-up and exit.
//
// With automatic saving on, the catalogue comes from "donnees.txt" in the
// settings folder, or from "france.txt" beside the program when there is no
// "donnees.txt", and goes back to "donnees.txt" at exit. A "donnees.txt" that
// does not load completely is never silently replaced: what was read stays,
// "france.txt" is not loaded on top, the caller learns where it stopped, and
// the original is kept as "donnees.txt.bak" before it is saved over.
#include "catalogue/donnee.h"
#include "catalogue/fichier_ini.h"
#include "tools/chemins.h"

namespace vestrel {

namespace {
constexpr const char* kDonnees = "donnees.txt";
constexpr const char* kFrance = "france.txt";
}  // namespace

TDemarrage ChargeAuDemarrage(TDonnees& donnees, const TFichierIni& ini) {
  TDemarrage demarrage;
  if (!ini.AutoSave) return demarrage;
  const std::string chemin = ini.Dossier + kDonnees;
  if (FichierExiste(chemin)) {
    demarrage.FichierCharge = chemin;
    try {
      donnees.ChargeFichier(chemin);
    } catch (const ErreurChargement& e) {
      demarrage.Incomplet = e;
    } catch (const Erreur& e) {
      // There but unreadable: saving over it at exit would lose it as surely
      // as a bad record would.
      demarrage.Incomplet = ErreurChargement(chemin, 0, e.what());
    }
    return demarrage;
  }
  const std::string france = CheminDonneesProgramme(kFrance);
  if (!FichierExiste(france)) return demarrage;
  demarrage.FichierCharge = france;
  try {
    donnees.ChargeFichier(france);
  } catch (const Erreur&) {
    // The records read before the failure stay; nothing is said.
  }
  return demarrage;
}

void SauveALaSortie(const TDonnees& donnees, const TFichierIni& ini, const TDemarrage& demarrage) {
  if (!ini.AutoSave) return;
  const std::string chemin = ini.Dossier + kDonnees;
  try {
    if (demarrage.Incomplet && demarrage.Incomplet->Fichier == chemin && FichierExiste(chemin))
      EcritFichierSur(chemin + ".bak", LitFichier(chemin));
    donnees.SauveFichier(chemin);
  } catch (const Erreur&) {
    throw ErreurEntreeSortie("Problème à l'enregistrement des données dans " + chemin);
  }
}

}  // namespace vestrel
