#pragma once
// The settings file: one preference, automatic loading and saving of the
// catalogue, kept as the single line "AutoSave = OUI" or "AutoSave = NON" in
// $XDG_CONFIG_HOME/<p>/<p>.ini (default ~/.config/<p>/, the home taken from
// the user database when HOME is not set), <p> being the lower-case base name
// of the program ("vestrel"). The same folder holds the catalogue's own data
// file "donnees.txt".
#include <string>

namespace vestrel {

class TFichierIni {
 public:
  // Computes Dossier and NomFichier, creating the folder when `creeDossier`
  // (the window; vestrel-cli only reads and creates nothing), AutoSave true.
  // `programme` overrides the program's base name (tests, vestrel-cli which
  // shares the window's settings: "vestrel").
  explicit TFichierIni(const std::string& programme = "vestrel", bool creeDossier = true);

  bool AutoSave = true;
  std::string NomFichier;  // full path of the settings file
  std::string Dossier;     // ends with "/"; empty when no home folder is known
  // Why the folder cannot be used (told to the user at start-up, before any
  // edit that could not be saved), or empty.
  std::string Probleme;

  // Reads the start of the file if it exists (a byte-order mark and any line
  // end accepted); the last line containing "AutoSave" wins.
  void LitFichier();
  // Rewrites the file; failures are ignored.
  void EcritFichier() const;
  void SetAutoSave(bool valeur);
};

}  // namespace vestrel
