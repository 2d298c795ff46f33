#pragma once
// vestrel-cli: batch conversion of point files with the window's catalogue
// and engine, the list of the catalogue's systems and the check of a data
// file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/lignes.h"

namespace vestrel {
namespace cli {

// Exit statuses.
inline constexpr int kSucces = 0;        // every line converted, every record read
inline constexpr int kEchecPartiel = 1;  // some line or record failed
inline constexpr int kErreurUsage = 2;   // usage, unknown system, unreadable file

// A fault that ends the run with status 2; its text goes to standard error.
struct ErreurFatale {
  std::string Message;
  bool Usage = false;  // a wrong command line: the help is suggested
};

// The reading and writing of the lines (shared with the window's file
// conversion), the systems and the files.
struct TOptionsConversion : TOptionsLignes {
  std::string Depart, Arrivee;
  std::optional<std::string> Catalogue;
  std::optional<std::string> Fichier;  // standard input when absent or "-"
};

// ---- Buffered input and output on file descriptors ----

// Reads lines in large blocks. A line ends with LF, CR LF or CR alone; a
// byte-order mark before the first line is dropped. A line longer than the
// block is cut short and reported (Tronquee) so that memory stays bounded.
class TLecteurLignes {
 public:
  static constexpr size_t kTaille = 1 << 20;
  explicit TLecteurLignes(int fd);
  // The next line without its end; `fin` receives the end as read ("\n",
  // "\r\n", "\r" or empty at the end of a file that lacks one). False at the
  // end.
  bool Suivante(std::string_view& ligne, std::string_view& fin);
  bool Tronquee() const { return tronquee_; }
  // Bytes consumed so far (for the progress line).
  uint64_t Lus() const { return lus_; }
  // Called before waiting on an input that has nothing ready (a pipe, a
  // terminal): what was written so far reaches a process that waits for its
  // answers before it sends more. Never called for a regular file.
  std::function<void()> AvantAttente;

 private:
  bool Remplit();
  void SauteLigneTronquee();
  int fd_;
  bool peutAttendre_;
  std::vector<char> tampon_;
  size_t debut_ = 0, fin_ = 0;
  // Position of the next LF at or after debut_, fin_ when the block holds
  // none; kInconnu until searched.
  static constexpr size_t kInconnu = ~size_t{0};
  size_t lf_ = kInconnu;
  bool finFichier_ = false, tronquee_ = false, premiere_ = true;
  uint64_t lus_ = 0;
};

// Collects output in a large block and writes it when full; with `immediat`
// (a terminal) every line is written at once.
class TEcrivain {
 public:
  TEcrivain(int fd, bool immediat);
  ~TEcrivain();
  void Ajoute(std::string_view texte) { tampon_.append(texte); }
  void Ajoute(char c) { tampon_.push_back(c); }
  // The block itself, for a writer that appends to it in place.
  std::string& Tampon() { return tampon_; }
  // End of an output line: writes when the block is full or the output
  // is a terminal.
  void FinLigne() {
    if (immediat_ || tampon_.size() >= TLecteurLignes::kTaille) Vide();
  }
  // Raises ErreurFatale when the write fails.
  void Vide();

 private:
  int fd_;
  bool immediat_;
  std::string tampon_;
};

// Standard error: messages collected in a block like the output (written at
// once on a terminal), the progress line kept out of their way.
class TRapport {
 public:
  // `taille`: size of the input file, 0 without progress line.
  explicit TRapport(uint64_t taille = 0);
  ~TRapport();
  void Message(std::string_view texte);  // one line on standard error
  void Progression(uint64_t lus);
  // Writes the messages collected so far (errors are not reported: there is
  // nowhere left to report them).
  void Vide() {
    if (!tampon_.empty()) Ecrit();
  }

 private:
  void Ecrit();
  void Efface();
  uint64_t taille_;
  bool immediat_;
  std::string tampon_;
  bool affichee_ = false;
  int dernierPourcent_ = -1;
};

// True when standard output and standard error are the same file (2>&1):
// their lines must then be written in the order they were made.
bool SortiesConfondues();

// ---- Commands ----
// The catalogue of --catalogue, or the window's start-up catalogue.
void ChargeCatalogue(TDonnees& donnees, const std::optional<std::string>& fichier);
int Convertir(const TOptionsConversion& options);
int Systemes(const std::optional<std::string>& catalogue);
int Verifier(const std::string& fichier);
// The shipped reference points through the catalogue ("autotest.txt" beside
// the program unless `references` names another file).
int Autotest(const std::optional<std::string>& catalogue,
             const std::optional<std::string>& references);

}  // namespace cli
}  // namespace vestrel
