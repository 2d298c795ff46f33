#include "tools/chemins.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "tools/erreurs.h"

namespace vestrel {

namespace {
std::string& DossierImpose() {
  static std::string dossier;
  return dossier;
}
}  // namespace

std::string DossierProgramme() {
  if (!DossierImpose().empty()) {
    std::string d = DossierImpose();
    if (d.back() != '/') d += '/';
    return d;
  }
  char tampon[4096];
  ssize_t n = readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return "./";
  std::string chemin(tampon, static_cast<size_t>(n));
  auto p = chemin.rfind('/');
  return p == std::string::npos ? "./" : chemin.substr(0, p + 1);
}

void DefinitDossierProgramme(const std::string& dossier) { DossierImpose() = dossier; }

std::string CheminDonneesProgramme(const std::string& nomFichier) {
  const std::string aCote = DossierProgramme() + nomFichier;
  if (FichierExiste(aCote)) return aCote;
  const std::string installe = DossierProgramme() + "../share/vestrel/" + nomFichier;
  if (FichierExiste(installe)) return installe;
  return aCote;
}

bool FichierExiste(const std::string& chemin) {
  struct stat s;
  return stat(chemin.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

bool DossierExiste(const std::string& chemin) {
  struct stat s;
  return stat(chemin.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

std::string LitFichier(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  if (!f) throw ErreurEntreeSortie("Impossible d'ouvrir le fichier " + chemin);
  // Data and grid files are far smaller; an endless source (a device, a
  // pipe that never ends) is refused instead of filling the memory.
  std::string octets;
  char tampon[1 << 16];
  while (f.read(tampon, sizeof tampon) || f.gcount() > 0) {
    if (octets.size() + static_cast<size_t>(f.gcount()) > kTailleFichierMax)
      throw ErreurEntreeSortie("Le fichier " + chemin + " est trop grand");
    octets.append(tampon, static_cast<size_t>(f.gcount()));
  }
  if (f.bad()) throw ErreurEntreeSortie("Impossible de lire le fichier " + chemin);
  return octets;
}

namespace {

// The temporary files "<name>.tmp-<pid>" that a save of `chemin` killed
// part-way left beside it: those of a process that no longer runs go.
void RetireTemporairesAbandonnes(const std::string& chemin) {
  const auto barre = chemin.rfind('/');
  const std::string dossier = barre == std::string::npos ? "." : chemin.substr(0, barre + 1);
  const std::string prefixe =
      (barre == std::string::npos ? chemin : chemin.substr(barre + 1)) + ".tmp-";
  DIR* d = ::opendir(dossier.c_str());
  if (!d) return;
  while (const dirent* entree = ::readdir(d)) {
    const std::string_view nom = entree->d_name;
    if (!nom.starts_with(prefixe) || nom.size() == prefixe.size()) continue;
    const std::string_view chiffres = nom.substr(prefixe.size());
    if (chiffres.size() > 9 || chiffres.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(chiffres)));
    if (pid == getpid() || (::kill(pid, 0) != 0 && errno == ESRCH))
      ::unlink((dossier + std::string(nom)).c_str());
  }
  ::closedir(d);
}

}  // namespace

void EcritFichierSur(const std::string& chemin, std::string_view octets) {
  RetireTemporairesAbandonnes(chemin);
  const std::string temporaire = chemin + ".tmp-" + std::to_string(getpid());
  int fd = ::open(temporaire.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw ErreurEntreeSortie("Impossible de créer le fichier " + temporaire);
  const char* p = octets.data();
  size_t reste = octets.size();
  bool ok = true;
  while (reste > 0) {
    ssize_t n = ::write(fd, p, reste);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    reste -= static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(temporaire.c_str(), chemin.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temporaire.c_str());
    throw ErreurEntreeSortie("Impossible d'écrire le fichier " + chemin);
  }
}

}  // namespace vestrel
