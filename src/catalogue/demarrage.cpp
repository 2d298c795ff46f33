// The data file at start-up and exit.
//
// With automatic saving on, the catalogue comes from "donnees.txt" in the
// settings folder, or from "france.txt" beside the program when there is no
// "donnees.txt", and goes back to "donnees.txt" at exit. Nothing the user
// wrote there is lost by a start and an exit: the lines the catalogue cannot
// use are kept as they were and written back, the file a save replaces is
// kept as "donnees.txt.bak" (and that backup in turn when it holds the last
// copy of a record), and a "donnees.txt" the catalogue does not mirror (not
// loaded from it, or saved since by a second window) is replaced only when
// the user chooses so (the window asks: reload, replace, save elsewhere).
#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "catalogue/donnee.h"
#include "catalogue/demarrage.h"
#include "catalogue/fichier_ini.h"
#include "tools/chemins.h"
#include "tools/codec.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {
constexpr const char* kDonnees = "donnees.txt";
constexpr const char* kFrance = "france.txt";

// What identifies each line of a data file's bytes: a record by its name
// (the quoted text after "="), any other line whole.
std::unordered_set<std::string> Identites(const std::string& octets) {
  bool utf8 = false;
  const std::string texte = TexteDuFichier(octets, utf8);
  std::unordered_set<std::string> identites;
  for (size_t debut = 0; debut < texte.size();) {
    size_t fin = texte.find_first_of("\r\n", debut);
    if (fin == std::string::npos) fin = texte.size();
    const std::string_view ligne(texte.data() + debut, fin - debut);
    debut = fin + 1;
    if (ligne.find_first_not_of(" \t") == std::string_view::npos) continue;
    const size_t egal = ligne.find("=\"");
    const size_t guillemet = egal == std::string_view::npos ? egal : ligne.find('"', egal + 2);
    identites.emplace(guillemet == std::string_view::npos ? ligne : ligne.substr(egal, guillemet - egal));
  }
  return identites;
}

// "donnees.txt.bak" takes `ancien`, the file a save of `nouveau` replaces.
// The backup it replaces in turn goes to the first free "donnees.txt.bak.N"
// when it holds a record that neither of them holds: a record removed by a
// second window, or by a save over a file that loaded only partly, is never
// lost with it.
void GardeCopie(const std::string& chemin, const std::string& ancien, const std::string& nouveau) {
  const std::string copie = chemin + ".bak";
  if (FichierExiste(copie)) {
    bool seule = true;  // an unreadable backup is kept
    try {
      const auto vieux = Identites(LitFichier(copie));
      const auto garde = Identites(ancien), sauve = Identites(nouveau);
      seule = std::any_of(vieux.begin(), vieux.end(),
                          [&](const std::string& i) { return !garde.count(i) && !sauve.count(i); });
    } catch (const Erreur&) {
    }
    if (seule) {
      std::string autre;
      for (long long n = 1; FichierExiste(autre = copie + "." + FormatD(n)) || LienSansCible(autre); ++n) {
      }
      std::error_code erreur;
      std::filesystem::rename(copie, autre, erreur);
      if (erreur) throw ErreurEntreeSortie(copie);
    }
  }
  EcritFichierSur(copie, ancien);
}

}  // namespace

std::string CheminDonnees(const TFichierIni& ini) { return ini.Dossier + kDonnees; }

std::string TexteNotees(const std::vector<TRejet>& notees) {
  return "Caractères que Windows-1252 ne sait pas écrire, notés par leur code (<U+0141> pour "
         "« Ł ») :\n" + TexteRejets(notees);
}

std::string TexteDossierPartage(const TFichierIni& ini) {
  return "Une autre fenêtre de Vestrel utilise déjà le dossier " + ini.Dossier +
         ". Si elle enregistre ses données avant celle-ci, vous aurez le choix, au moment "
         "d'enregistrer, entre recharger son fichier, le remplacer ou enregistrer ailleurs.";
}

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
            "enregistré en Windows-1252, l'original étant gardé sous " + chemin + ".bak." +
            (donnees.LignesNotees.empty()
                 ? std::string()
                 : "\n" + TexteNotees(donnees.LignesNotees)));
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
  if (!ini.AutoSave || ini.Dossier.empty() || !FichierExiste(chemin)) return false;
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

std::string QuestionRemplacement(const TDonnees& donnees, const TFichierIni& ini,
                                 TMomentSauvegarde moment) {
  const std::string chemin = CheminDonnees(ini);
  const bool fin = moment != TMomentSauvegarde::Parametres;
  std::string texte =
      "Le fichier " + chemin +
      (donnees.Origine == chemin
           ? " a été modifié depuis son chargement (par une autre fenêtre de Vestrel ?)."
           : " contient des données qui n'ont pas été chargées dans ce catalogue.");
  texte += "\n\nRecharger : ";
  texte += fin ? "le fichier reste tel quel ; les modifications faites dans cette fenêtre sont "
                 "abandonnées."
               : "le catalogue est remplacé par le contenu du fichier ; les modifications "
                 "faites dans cette fenêtre sont abandonnées.";
  texte += "\nRemplacer : le catalogue de cette fenêtre est enregistré dans le fichier, dont "
           "le contenu actuel est gardé sous " + chemin + ".bak.";
  texte += "\nEnregistrer sous : le catalogue de cette fenêtre est enregistré dans un autre "
           "fichier ; " + chemin + " reste tel quel.";
  texte += "\nAnnuler : ";
  switch (moment) {
    case TMomentSauvegarde::Parametres:
      texte += "rien n'est enregistré pour l'instant ; la question sera posée de nouveau au "
               "prochain enregistrement.";
      break;
    case TMomentSauvegarde::Fermeture:
      texte += "la fenêtre reste ouverte, rien n'est enregistré.";
      break;
    case TMomentSauvegarde::Fin:
      texte += "le catalogue de cette fenêtre est gardé sous " + CheminAPart(ini) + " ; " +
               chemin + " reste tel quel.";
      break;
  }
  return texte;
}

std::string CheminAPart(const TFichierIni& ini) {
  std::string chemin;
  for (long long n = 2; FichierExiste(chemin = ini.Dossier + "donnees-" + FormatD(n) + ".txt") ||
                        LienSansCible(chemin);
       ++n) {
  }
  return chemin;
}

std::vector<TRejet> AppliqueChoix(TChoixDonnees choix, std::unique_ptr<TDonnees>& donnees,
                                  const TFichierIni& ini, TMomentSauvegarde moment,
                                  const std::string& autre) {
  const bool fin = moment == TMomentSauvegarde::Fin;
  std::string fichier;
  switch (choix) {
    case TChoixDonnees::Recharger: {
      if (fin) return {};
      auto nouveau = std::make_unique<TDonnees>();
      std::vector<TRejet> rejets = ChargeDonnees(*nouveau, ini);
      donnees = std::move(nouveau);
      return rejets;
    }
    case TChoixDonnees::Remplacer:
      SauveALaSortie(*donnees, ini);
      return {};
    case TChoixDonnees::EnregistrerSous:
      fichier = autre;
      break;
    case TChoixDonnees::Annuler:
      if (!fin) return {};
      fichier = CheminAPart(ini);
      break;
  }
  try {
    donnees->SauveFichier(fichier);
  } catch (const Erreur&) {
    throw ErreurEntreeSortie("Problème à l'enregistrement des données dans " + fichier);
  }
  return {};
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
      if (ecrit) GardeCopie(chemin, ancien, octets);
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
