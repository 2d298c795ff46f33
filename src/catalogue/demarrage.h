#pragma once
// The catalogue at the program's start and exit: "donnees.txt" in the
// settings folder loaded, said what the user must know, and saved back.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/donnee.h"

namespace vestrel {

class TFichierIni;

struct TDemarrage {
  std::string FichierCharge;  // the file the catalogue came from, empty if none
  // Lines of "donnees.txt" the catalogue could not use: shown once; they
  // stay in the catalogue as they were and are saved back.
  std::vector<TRejet> Rejets;
  // "donnees.txt" is there but could not be read: the message to show. It is
  // not replaced by "france.txt", and cannot be saved over (no copy of it can
  // be kept).
  std::optional<std::string> Illisible;
  // What the user must know before editing, said once: "donnees.txt" in
  // UTF-8 (read as such, saved in Windows-1252, the original kept as
  // "donnees.txt.bak"; the characters Windows-1252 cannot hold noted by
  // code, their lines listed), in read-only mode, or a link to nothing.
  std::vector<std::string> Avertissements;
};
// "donnees.txt" in the settings folder.
std::string CheminDonnees(const TFichierIni& ini);
// What a load did to the characters Windows-1252 cannot hold, and where
// (TDonnees::LignesNotees).
std::string TexteNotees(const std::vector<TRejet>& notees);
// Said to a window whose settings folder another window uses already.
std::string TexteDossierPartage(const TFichierIni& ini);
// Loads "donnees.txt" from the settings folder when AutoSave is on, else
// "france.txt"; silent when neither loads. The catalogue then mirrors
// "donnees.txt" (Origine).
TDemarrage ChargeAuDemarrage(TDonnees& donnees, const TFichierIni& ini);
// Loads "donnees.txt" into the catalogue now (automatic loading switched on
// again), keeping its refused lines; the catalogue then mirrors it. Raises
// ErreurEntreeSortie when it cannot be read.
std::vector<TRejet> ChargeDonnees(TDonnees& donnees, const TFichierIni& ini);
// True when the exit save would replace a "donnees.txt" that the catalogue
// does not mirror (not loaded from it, or saved since by a second window on
// the same folder): the user must choose first.
bool RemplacementADemander(const TDonnees& donnees, const TFichierIni& ini);

// When the user is asked: as the parameters window closes after a change,
// as the main window is closed (the close can be cancelled), or at the end
// of the program (it cannot).
enum class TMomentSauvegarde { Parametres, Fermeture, Fin };
// The answers: the catalogue takes the file's records, or replaces the file,
// or goes to another file; or, cancelled, nothing is decided (at the end the
// catalogue is still written, to a file of its own, CheminAPart).
enum class TChoixDonnees { Recharger, Remplacer, EnregistrerSous, Annuler };
// The question, for RemplacementADemander: what happened to "donnees.txt"
// and what each answer does at that moment.
std::string QuestionRemplacement(const TDonnees& donnees, const TFichierIni& ini,
                                 TMomentSauvegarde moment);
// The first "donnees-N.txt" (N from 2) free in the settings folder.
std::string CheminAPart(const TFichierIni& ini);
// Carries out the answer. Recharger: a fresh catalogue loaded from
// "donnees.txt" takes the place of `donnees` (at the end, nothing is done),
// its refused lines returned; a file that cannot be read raises and
// `donnees` stays. Remplacer: SauveALaSortie. EnregistrerSous: the catalogue
// written to `autre`. Annuler: at the end, the catalogue written to
// CheminAPart; otherwise nothing. Raises ErreurEntreeSortie with the save
// message when a file cannot be written.
std::vector<TRejet> AppliqueChoix(TChoixDonnees choix, std::unique_ptr<TDonnees>& donnees,
                                  const TFichierIni& ini, TMomentSauvegarde moment,
                                  const std::string& autre = {});
// Saves to "donnees.txt" when AutoSave is on; the file it replaces is kept as
// "donnees.txt.bak" (the backup it replaces is kept as "donnees.txt.bak.N"
// when it holds the last copy of a record), and nothing is written when the file
// already holds the catalogue. Raises ErreurEntreeSortie
// "Problème à l'enregistrement des données dans %s" on failure (the old file
// intact).
void SauveALaSortie(const TDonnees& donnees, const TFichierIni& ini);

}  // namespace vestrel
