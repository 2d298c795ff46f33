#pragma once
// The settings file: one preference, automatic loading and saving of the
// catalogue, kept as the single line "AutoSave = OUI" or "AutoSave = NON" in
// $XDG_CONFIG_HOME/<p>/<p>.ini (default ~/.config/<p>/), <p> being the
// lower-case base name of the program ("vestrel"). The same folder holds the
// catalogue's own data file "donnees.txt".
#include <string>

namespace vestrel {

class TFichierIni {
 public:
  // Computes Dossier and NomFichier (creating the folder), AutoSave true.
  // `programme` overrides the program's base name (tests, vestrel-cli which
  // shares the window's settings: "vestrel").
  explicit TFichierIni(const std::string& programme = "vestrel");

  bool AutoSave = true;
  std::string NomFichier;  // full path of the settings file
  std::string Dossier;     // ends with "/"

  // Reads the file if it exists; the last line containing "AutoSave" wins.
  void LitFichier();
  // Rewrites the file; failures are ignored.
  void EcritFichier() const;
  void SetAutoSave(bool valeur);
};

}  // namespace vestrel
