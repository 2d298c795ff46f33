// Buffered line input, block output and the messages on standard error.
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/cli.h"

namespace vestrel::cli {

namespace {

std::string TexteErreurSysteme(const char* contexte) {
  return std::string(contexte) + " : " + std::strerror(errno);
}

// Writes all the bytes, going on after partial writes and interruptions.
bool EcritTout(int fd, const char* octets, size_t taille) {
  while (taille > 0) {
    ssize_t n = ::write(fd, octets, taille);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    octets += n;
    taille -= static_cast<size_t>(n);
  }
  return true;
}

bool FichierOrdinaire(int fd) {
  struct stat etat;
  return ::fstat(fd, &etat) == 0 && S_ISREG(etat.st_mode);
}

constexpr std::string_view kMarqueOrdre = "\xEF\xBB\xBF";

}  // namespace

// ---- TLecteurLignes ----

TLecteurLignes::TLecteurLignes(int fd)
    : fd_(fd), peutAttendre_(!FichierOrdinaire(fd)), tampon_(kTaille) {}

bool TLecteurLignes::Remplit() {
  if (peutAttendre_ && AvantAttente) {
    pollfd attente{fd_, POLLIN, 0};
    if (::poll(&attente, 1, 0) == 0) AvantAttente();
  }
  for (;;) {
    ssize_t n = ::read(fd_, tampon_.data() + fin_, tampon_.size() - fin_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ErreurFatale{TexteErreurSysteme("Lecture impossible")};
    if (n == 0) finFichier_ = true;
    fin_ += static_cast<size_t>(n);
    lf_ = kInconnu;
    return n > 0;
  }
}

// The rest of a line that was too long is thrown away, up to its end.
void TLecteurLignes::SauteLigneTronquee() {
  bool cr = false;
  for (;;) {
    if (debut_ == fin_) {
      debut_ = fin_ = 0;
      if (finFichier_ || !Remplit()) return;
    }
    const char c = tampon_[debut_];
    if (cr && c != '\n') break;  // a CR alone ended the line
    ++debut_;
    ++lus_;
    if (c == '\n') break;
    cr = c == '\r';
  }
  tronquee_ = false;
}

bool TLecteurLignes::Suivante(std::string_view& ligne, std::string_view& fin) {
  if (tronquee_) {
    SauteLigneTronquee();
    if (tronquee_) return false;
  }
  for (;;) {
    const char* base = tampon_.data();
    if (lf_ == kInconnu || lf_ < debut_) {
      const char* p = static_cast<const char*>(std::memchr(base + debut_, '\n', fin_ - debut_));
      lf_ = p ? static_cast<size_t>(p - base) : fin_;
    }
    // A CR before the LF ends the line by itself, unless it comes right
    // before the LF; a CR that is the last byte read waits for the next one.
    size_t finLigne = lf_, longueurFin = lf_ < fin_ ? 1 : 0;
    if (const char* cr = static_cast<const char*>(std::memchr(base + debut_, '\r', lf_ - debut_))) {
      const size_t c = static_cast<size_t>(cr - base);
      if (c + 1 == lf_) {
        finLigne = c, longueurFin = 2;
      } else if (c + 1 < fin_ || finFichier_) {
        finLigne = c, longueurFin = 1;
      } else {
        finLigne = fin_, longueurFin = 0;  // undecided: read on
      }
    }
    if (longueurFin > 0 || (finFichier_ && debut_ < fin_)) {
      ligne = std::string_view(base + debut_, finLigne - debut_);
      fin = std::string_view(base + finLigne, longueurFin);
      const size_t apres = finLigne + longueurFin;
      lus_ += apres - debut_;
      debut_ = apres;
      if (premiere_) {
        premiere_ = false;
        if (ligne.starts_with(kMarqueOrdre)) ligne.remove_prefix(kMarqueOrdre.size());
      }
      return true;
    }
    if (finFichier_) return false;
    if (debut_ > 0) {
      std::memmove(tampon_.data(), base + debut_, fin_ - debut_);
      fin_ -= debut_;
      debut_ = 0;
      lf_ = kInconnu;
    }
    if (fin_ == tampon_.size()) {
      // A whole block without a line end: hand it over cut short.
      ligne = std::string_view(tampon_.data(), fin_);
      fin = "\n";
      tronquee_ = true;
      premiere_ = false;
      lus_ += fin_;
      debut_ = fin_;
      return true;
    }
    Remplit();
  }
}

// ---- TEcrivain ----

TEcrivain::TEcrivain(int fd, bool immediat) : fd_(fd), immediat_(immediat) {
  tampon_.reserve(TLecteurLignes::kTaille + 4096);
}

TEcrivain::~TEcrivain() {
  if (!tampon_.empty()) EcritTout(fd_, tampon_.data(), tampon_.size());
}

void TEcrivain::Vide() {
  if (tampon_.empty()) return;
  bool ok = EcritTout(fd_, tampon_.data(), tampon_.size());
  tampon_.clear();
  if (!ok) throw ErreurFatale{TexteErreurSysteme("Écriture impossible")};
}

// ---- TRapport ----

TRapport::TRapport(uint64_t taille) : taille_(taille), immediat_(::isatty(STDERR_FILENO) == 1) {}

TRapport::~TRapport() {
  Vide();
  Efface();
}

void TRapport::Ecrit() {
  EcritTout(STDERR_FILENO, tampon_.data(), tampon_.size());
  tampon_.clear();
}

void TRapport::Efface() {
  if (!affichee_) return;
  static constexpr char kBlanc[] = "\r                              \r";
  EcritTout(STDERR_FILENO, kBlanc, sizeof kBlanc - 1);
  affichee_ = false;
  dernierPourcent_ = -1;
}

void TRapport::Message(std::string_view texte) {
  Efface();
  tampon_.append(texte);
  tampon_.push_back('\n');
  if (immediat_ || tampon_.size() >= TLecteurLignes::kTaille) Ecrit();
}

void TRapport::Progression(uint64_t lus) {
  if (taille_ == 0) return;
  int pourcent = static_cast<int>(std::min<uint64_t>(lus, taille_) * 100 / taille_);
  if (pourcent == dernierPourcent_) return;
  Vide();
  dernierPourcent_ = pourcent;
  affichee_ = true;
  std::string ligne = "\rConversion : " + std::to_string(pourcent) + " %";
  EcritTout(STDERR_FILENO, ligne.data(), ligne.size());
}

bool SortiesConfondues() {
  struct stat sortie, erreur;
  return ::fstat(STDOUT_FILENO, &sortie) == 0 && ::fstat(STDERR_FILENO, &erreur) == 0 &&
         sortie.st_dev == erreur.st_dev && sortie.st_ino == erreur.st_ino;
}

}  // namespace vestrel::cli
