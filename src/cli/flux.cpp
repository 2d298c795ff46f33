// Buffered line input, block output and the messages on standard error.
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

}  // namespace

// ---- TLecteurLignes ----

TLecteurLignes::TLecteurLignes(int fd) : fd_(fd), tampon_(kTaille) {}

bool TLecteurLignes::Remplit() {
  for (;;) {
    ssize_t n = ::read(fd_, tampon_.data() + fin_, tampon_.size() - fin_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ErreurFatale{TexteErreurSysteme("Lecture impossible")};
    if (n == 0) finFichier_ = true;
    fin_ += static_cast<size_t>(n);
    return n > 0;
  }
}

bool TLecteurLignes::Suivante(std::string_view& ligne, std::string_view& fin) {
  // The rest of a line that was too long is thrown away.
  while (tronquee_) {
    const char* p = static_cast<const char*>(
        std::memchr(tampon_.data() + debut_, '\n', fin_ - debut_));
    if (p) {
      size_t apres = static_cast<size_t>(p - tampon_.data()) + 1;
      lus_ += apres - debut_;
      debut_ = apres;
      tronquee_ = false;
      break;
    }
    lus_ += fin_ - debut_;
    debut_ = fin_ = 0;
    if (finFichier_ || !Remplit()) return false;
  }
  for (;;) {
    const char* base = tampon_.data();
    const char* p = static_cast<const char*>(std::memchr(base + debut_, '\n', fin_ - debut_));
    if (p) {
      size_t n = static_cast<size_t>(p - base) - debut_;
      bool cr = n > 0 && p[-1] == '\r';
      ligne = std::string_view(base + debut_, n - (cr ? 1 : 0));
      fin = std::string_view(p - (cr ? 1 : 0), cr ? 2 : 1);
      lus_ += n + 1;
      debut_ += n + 1;
      return true;
    }
    if (finFichier_) {
      if (debut_ == fin_) return false;
      ligne = std::string_view(base + debut_, fin_ - debut_);
      fin = {};
      lus_ += fin_ - debut_;
      debut_ = fin_;
      return true;
    }
    if (debut_ > 0) {
      std::memmove(tampon_.data(), base + debut_, fin_ - debut_);
      fin_ -= debut_;
      debut_ = 0;
    }
    if (fin_ == tampon_.size()) {
      // A whole block without a line end: hand it over cut short.
      ligne = std::string_view(tampon_.data(), fin_);
      fin = "\n";
      tronquee_ = true;
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

TRapport::TRapport(uint64_t taille) : taille_(taille) {}

TRapport::~TRapport() { Efface(); }

void TRapport::Efface() {
  if (!affichee_) return;
  static constexpr char kBlanc[] = "\r                              \r";
  EcritTout(STDERR_FILENO, kBlanc, sizeof kBlanc - 1);
  affichee_ = false;
  dernierPourcent_ = -1;
}

void TRapport::Message(std::string_view texte) {
  Efface();
  std::string ligne(texte);
  ligne.push_back('\n');
  EcritTout(STDERR_FILENO, ligne.data(), ligne.size());
}

void TRapport::Progression(uint64_t lus) {
  if (taille_ == 0) return;
  int pourcent = static_cast<int>(std::min<uint64_t>(lus, taille_) * 100 / taille_);
  if (pourcent == dernierPourcent_) return;
  dernierPourcent_ = pourcent;
  affichee_ = true;
  std::string ligne = "\rConversion : " + std::to_string(pourcent) + " %";
  EcritTout(STDERR_FILENO, ligne.data(), ligne.size());
}

}  // namespace vestrel::cli
