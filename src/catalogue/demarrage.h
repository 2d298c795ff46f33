#pragma once
// The catalogue at the program's start and exit: "donnees.txt" in the
// settings folder loaded, said what the user must know, and saved back.
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
  // "donnees.txt.bak"), in read-only mode, or a link to nothing.
  std::vector<std::string> Avertissements;
};
// "donnees.txt" in the settings folder.
std::string CheminDonnees(const TFichierIni& ini);
// Loads "donnees.txt" from the settings folder when AutoSave is on, else
// "france.txt"; silent when neither loads. The catalogue then mirrors
// "donnees.txt" (Origine).
TDemarrage ChargeAuDemarrage(TDonnees& donnees, const TFichierIni& ini);
// Loads "donnees.txt" into the catalogue now (automatic loading switched on
// again), keeping its refused lines; the catalogue then mirrors it. Raises
// ErreurEntreeSortie when it cannot be read.
std::vector<TRejet> ChargeDonnees(TDonnees& donnees, const TFichierIni& ini);
// True when the exit save would replace a "donnees.txt" holding something
// the catalogue was not loaded from: the user must be asked first.
bool RemplacementADemander(const TDonnees& donnees, const TFichierIni& ini);
// Saves to "donnees.txt" when AutoSave is on; the file it replaces is kept as
// "donnees.txt.bak" (one generation), and nothing is written when the file
// already holds the catalogue. Raises ErreurEntreeSortie
// "Problème à l'enregistrement des données dans %s" on failure (the old file
// intact).
void SauveALaSortie(const TDonnees& donnees, const TFichierIni& ini);

}  // namespace vestrel
