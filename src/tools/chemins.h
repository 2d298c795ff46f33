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

// The file a path names once its symbolic links are followed (the path
// itself when it is not a link); a relative link is read from the link's
// folder. Raises ErreurEntreeSortie past 40 links.
std::string SuitLiens(const std::string& chemin);
// A symbolic link whose final target does not exist.
bool LienSansCible(const std::string& chemin);
// An existing file whose permissions forbid writing it. Its mode bits are
// read as the user set them: a file without any write permission counts as
// read-only even for the administrator, whom the system would let through.
bool EnLectureSeule(const std::string& chemin);

// Writes the bytes to a temporary file beside the file `chemin` names (the
// target of its links), flushes it to disk, then renames it over that file:
// the old file stays whole until the new one is complete, a link stays a
// link, and the file keeps its permissions. The temporary name is short
// (".tmp-<pid>", whatever the file's name), so that a path long enough to
// hold the file holds it too; those that saves killed part-way left there
// (their process gone) are removed first. Raises ErreurEntreeSortie on
// failure (the old file intact), and without writing for a file in
// read-only mode.
void EcritFichierSur(const std::string& chemin, std::string_view octets);

// Marks a folder as in use for as long as the object lives (a lock the
// system releases when the process ends, however it ends). `Partage`: the
// folder was in use already (by another process, or another such object).
class TOccupation {
 public:
  explicit TOccupation(const std::string& dossier);
  ~TOccupation();
  TOccupation(const TOccupation&) = delete;
  TOccupation& operator=(const TOccupation&) = delete;
  bool Partage = false;

 private:
  int fd_ = -1;
};

}  // namespace vestrel
