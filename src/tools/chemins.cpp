#include "tools/chemins.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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

std::string SuitLiens(const std::string& chemin) {
  std::string c = chemin;
  for (int i = 0; i < 40; ++i) {
    struct stat s;
    if (::lstat(c.c_str(), &s) != 0 || !S_ISLNK(s.st_mode)) return c;
    char cible[4096];
    const ssize_t n = ::readlink(c.c_str(), cible, sizeof cible);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof cible) return c;
    std::string suivant(cible, static_cast<size_t>(n));
    if (suivant[0] != '/') {
      const auto barre = c.rfind('/');
      if (barre != std::string::npos) suivant = c.substr(0, barre + 1) + suivant;
    }
    c = std::move(suivant);
  }
  throw ErreurEntreeSortie("Trop de liens symboliques à suivre pour " + chemin);
}

bool LienSansCible(const std::string& chemin) {
  struct stat s;
  return ::lstat(chemin.c_str(), &s) == 0 && S_ISLNK(s.st_mode) && ::stat(chemin.c_str(), &s) != 0;
}

bool EnLectureSeule(const std::string& chemin) {
  struct stat s;
  if (::stat(chemin.c_str(), &s) != 0 || !S_ISREG(s.st_mode)) return false;
  return (s.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(chemin.c_str(), W_OK) != 0;
}

namespace {

constexpr std::string_view kPrefixeTemporaire = ".tmp-";

// The temporary files ".tmp-<pid>[-<n>]" that saves killed part-way left in
// the folder: those of a process that no longer runs go.
void RetireTemporairesAbandonnes(const std::string& dossier) {
  DIR* d = ::opendir(dossier.empty() ? "." : dossier.c_str());
  if (!d) return;
  while (const dirent* entree = ::readdir(d)) {
    const std::string_view nom = entree->d_name;
    if (!nom.starts_with(kPrefixeTemporaire)) continue;
    std::string_view chiffres = nom.substr(kPrefixeTemporaire.size());
    chiffres = chiffres.substr(0, chiffres.find('-'));
    if (chiffres.empty() || chiffres.size() > 9 ||
        chiffres.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(chiffres)));
    if (pid != getpid() && ::kill(pid, 0) != 0 && errno == ESRCH)
      ::unlink((dossier + std::string(nom)).c_str());
  }
  ::closedir(d);
}

}  // namespace

void EcritFichierSur(const std::string& chemin, std::string_view octets) {
  const std::string cible = SuitLiens(chemin);
  if (EnLectureSeule(cible)) throw ErreurEntreeSortie("Le fichier " + chemin + " est en lecture seule");
  const auto barre = cible.rfind('/');
  const std::string dossier = barre == std::string::npos ? std::string() : cible.substr(0, barre + 1);
  RetireTemporairesAbandonnes(dossier);
  // ".tmp-<pid>" beside the target (a dozen characters at most, whatever the
  // file's own name); another thread of the program saving in the same
  // folder at the same moment takes the next free ".tmp-<pid>-<n>". It gets
  // the mode of a new file, and the old file's before anything is written.
  const std::string base = dossier + std::string(kPrefixeTemporaire) + std::to_string(getpid());
  static std::atomic<unsigned> suivant{0};
  std::string temporaire = base;
  int fd = -1;
  for (int essai = 0; essai < 100; ++essai) {
    fd = ::open(temporaire.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) break;
    temporaire = base + "-" + std::to_string(++suivant);
  }
  if (fd < 0) throw ErreurEntreeSortie("Impossible de créer un fichier temporaire pour " + chemin);
  bool ok = true;
  struct stat ancien;
  if (::stat(cible.c_str(), &ancien) == 0) {
    if (::fchown(fd, ancien.st_uid, ancien.st_gid) != 0) {
      // Only the administrator may give a file away: the new one is the user's.
    }
    ok = ::fchmod(fd, ancien.st_mode & 07777) == 0;
  }
  const char* p = octets.data();
  size_t reste = octets.size();
  while (ok && reste > 0) {
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
  if (ok && std::rename(temporaire.c_str(), cible.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temporaire.c_str());
    throw ErreurEntreeSortie("Impossible d'écrire le fichier " + chemin);
  }
}

TOccupation::TOccupation(const std::string& dossier) {
  if (dossier.empty()) return;
  fd_ = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  // Taken alone for a moment, then shared with whoever comes next: every
  // newcomer finds it in use while any holder lives.
  Partage = ::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::flock(fd_, LOCK_SH | LOCK_NB);
}

TOccupation::~TOccupation() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace vestrel
