#pragma once
// Files and folders of the running program.
#include <cstddef>
#include <string>
#include <string_view>

namespace vestrel {

// Folder of the running program's own executable, ending with "/".
std::string DossierProgramme();
// Lets tests (and vestrel-cli options) point the program folder elsewhere;
// an empty text returns to the executable's folder.
void DefinitDossierProgramme(const std::string& dossier);

// A data file shipped with the program ("france.txt", "gr3df97a.txt"):
// beside the executable, else in ../share/vestrel/ beside it (an installed
// program); the path beside the executable when neither exists.
std::string CheminDonneesProgramme(const std::string& nomFichier);

bool FichierExiste(const std::string& chemin);
bool DossierExiste(const std::string& chemin);

// Whole file as bytes; raises ErreurEntreeSortie when it cannot be read or
// is larger than kTailleFichierMax.
inline constexpr size_t kTailleFichierMax = size_t{1} << 28;
std::string LitFichier(const std::string& chemin);

// Writes the bytes to a temporary file in the same folder, flushes it to
// disk, then renames it over `chemin`: the old file stays whole until the new
// one is complete. Raises ErreurEntreeSortie on failure (the old file intact).
// The temporary files that earlier saves of the same file left when they
// were killed part-way (their process gone) are removed first.
void EcritFichierSur(const std::string& chemin, std::string_view octets);

}  // namespace vestrel
