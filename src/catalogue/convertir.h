#pragma once
// The "Convertir" command of the main window, without the window: the typed
// texts and choices in, the texts to show out.
#include <optional>
#include <string>

#include "catalogue/donnee.h"

namespace vestrel {

struct TSaisieConversion {
  std::string Source, Destination;
  int IndiceSource = 0, IndiceDestination = 0;  // indices in ListeNoms
  std::string XSource, YSource, FuseauSource;
  bool FuseauSourceActif = false;
  bool ParisSource = false, ParisDestination = false;
  int IndiceUnite = 0;  // 0 "degrés décimaux", 1 "degrés minutes", 2 "degrés minutes secondes", 3 "grades"
  std::string FuseauDestination = {};  // a multi-zone destination's zone; empty: the point's
};
struct TResultatConversion {
  // Filled step by step: when an error ends the command, what was filled
  // before it stays and is shown.
  std::optional<std::string> XDest, YDest, Convergence, Alteration, FuseauDest;
  std::optional<std::string> EcartEchelle;  // the alteration as a scale error
  // Set once the point is converted: how the datums were shifted, and the
  // warning of a point far from a system's region (empty when none).
  std::optional<std::string> Methode, Avertissement;
  bool FocusFuseauSource = false;  // the window focuses the source zone edit
  bool FocusFuseauDestination = false;
};
// Raises the command's errors with their messages.
void Convertir(const TDonnees& donnees, const TSaisieConversion& saisie,
               TResultatConversion& resultat);

}  // namespace vestrel
