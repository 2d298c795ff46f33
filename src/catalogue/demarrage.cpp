// The data file at start-up and exit.
//
// With automatic saving on, the catalogue comes from "donnees.txt" in the
// settings folder, or from "france.txt" beside the program when there is no
// "donnees.txt", and goes back to "donnees.txt" at exit. Nothing the user
// wrote there is lost by a start and an exit: the lines the catalogue cannot
// use are kept as they were and written back, the file a save replaces is
// kept as "donnees.txt.bak", and a "donnees.txt" the catalogue was not loaded
// from is replaced only when the user agrees (the window asks).
#include "catalogue/donnee.h"
#include "catalogue/demarrage.h"
#include "catalogue/fichier_ini.h"
#include "tools/chemins.h"
#include "tools/codec.h"

namespace vestrel {

namespace {
constexpr const char* kDonnees = "donnees.txt";
constexpr const char* kFrance = "france.txt";
}  // namespace

std::string CheminDonnees(const TFichierIni& ini) { return ini.Dossier + kDonnees; }

TDemarrage ChargeAuDemarrage(TDonnees& donnees, const TFichierIni& ini) {
  TDemarrage demarrage;
  if (!ini.AutoSave) return demarrage;
  const std::string chemin = CheminDonnees(ini);
  if (!ini.Dossier.empty() && FichierExiste(chemin)) {
    demarrage.FichierCharge = chemin;
    try {
      demarrage.Rejets = ChargeDonnees(donnees, ini);
      if (donnees.LuEnUtf8)
        demarrage.Avertissements.push_back(
            "Le fichier " + chemin + " est enregistré en UTF-8 : il a été lu comme tel et sera "
            "enregistré en Windows-1252, l'original étant gardé sous " + chemin + ".bak.");
    } catch (const Erreur& e) {
      // There but unreadable: not replaced by "france.txt", and never saved
      // over, since no copy of it can be kept.
      demarrage.Illisible = e.what();
    }
    if (EnLectureSeule(chemin))
      demarrage.Avertissements.push_back("Le fichier " + chemin +
                                         " est en lecture seule : les modifications ne pourront "
                                         "pas y être enregistrées.");
    return demarrage;
  }
  if (LienSansCible(chemin)) {
    // Its target may be on a disk not there yet: neither "france.txt" in
    // its place nor a new file through it.
    demarrage.Illisible = "Le lien symbolique " + chemin + " mène à " + SuitLiens(chemin) +
                          ", qui n'existe pas.";
    demarrage.FichierCharge = chemin;
    return demarrage;
  }
  const std::string france = CheminDonneesProgramme(kFrance);
  if (!FichierExiste(france)) return demarrage;
  demarrage.FichierCharge = france;
  try {
    donnees.ChargeLignes(france, false);
  } catch (const Erreur&) {
    // The program's own file: nothing is said.
  }
  return demarrage;
}

std::vector<TRejet> ChargeDonnees(TDonnees& donnees, const TFichierIni& ini) {
  const std::string chemin = CheminDonnees(ini);
  std::vector<TRejet> rejets = donnees.ChargeLignes(chemin, true);
  donnees.Origine = chemin;
  donnees.EmpreinteOrigine = donnees.EmpreinteLue;
  return rejets;
}

bool RemplacementADemander(const TDonnees& donnees, const TFichierIni& ini) {
  const std::string chemin = CheminDonnees(ini);
  if (!ini.AutoSave || !FichierExiste(chemin)) return false;
  // An empty file holds nothing to lose; an unreadable one is not saved
  // over anyway (no copy of it can be kept). The file this catalogue was
  // loaded from is replaced freely as long as nobody else (a second window
  // on the same folder) saved it since.
  try {
    const std::string octets = LitFichier(chemin);
    if (donnees.Origine == chemin)
      return donnees.EmpreinteOrigine && *donnees.EmpreinteOrigine != std::hash<std::string_view>{}(octets);
    return !octets.empty();
  } catch (const Erreur&) {
    return false;
  }
}

void SauveALaSortie(const TDonnees& donnees, const TFichierIni& ini) {
  if (!ini.AutoSave) return;
  const std::string chemin = CheminDonnees(ini);
  try {
    // Without a settings folder, never a file in whatever folder the program
    // was started from.
    if (ini.Dossier.empty() || LienSansCible(chemin)) throw ErreurEntreeSortie(chemin);
    std::string texte;
    donnees.SauveFlux(texte);
    const std::string octets = Utf8VersWin1252(texte);
    bool ecrit = true;
    if (FichierExiste(chemin)) {
      // An unreadable file cannot be kept: it is not replaced either.
      const std::string ancien = LitFichier(chemin);
      ecrit = ancien != octets;
      if (ecrit) EcritFichierSur(chemin + ".bak", ancien);
    }
    if (ecrit) EcritFichierSur(chemin, octets);
    // The catalogue now mirrors the file as written.
    donnees.Origine = chemin;
    donnees.EmpreinteOrigine = std::hash<std::string_view>{}(octets);
  } catch (const Erreur&) {
    throw ErreurEntreeSortie("Problème à l'enregistrement des données dans " + chemin);
  }
}

}  // namespace vestrel
