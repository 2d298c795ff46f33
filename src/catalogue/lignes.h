#pragma once
// Point files: one point a line, converted between two systems of the
// catalogue with the window's texts. The batch command line and the window's
// "Convertir un fichier ..." share this reading, this conversion and these
// messages, so that both give the same output for the same choices.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/donnee.h"
#include "catalogue/pipeline.h"

namespace vestrel {

// How the fields of a line are separated.
enum class TSeparateur {
  Tous,          // runs of blanks, tabs and ";"
  PointVirgule,  // each ";" (blanks around a field ignored)
  Tabulation,    // each tab (blanks around a field ignored)
  Blancs,        // runs of blanks and tabs
};

// How the angles of a geographic source are written.
enum class TFormatAngles {
  Textes,  // angle texts as typed in the window (48°51'24'', 48.5°, 54.3g)
  Degres,  // plain numbers of decimal degrees (48.856667)
  Grades,  // plain numbers of grades (54.2852)
};

// Chosen columns, counted from 0; the identifier and the zone are optional.
struct TColonnes {
  int Id = -1, X = 0, Y = 1, Fuseau = -1;
};

struct TOptionsLignes {
  int Unite = 0;  // TUniteAngle of the written angles
  bool ParisDepart = false, ParisArrivee = false;
  std::optional<int32_t> Fuseau;  // zone of a multi-zone source for lines without one
  // Without chosen columns a line is [ID] X Y [FUSEAU], exactly.
  bool Id = false;
  // Chosen columns: a line needs at least these fields, the others are
  // ignored; an empty zone field takes `Fuseau`.
  std::optional<TColonnes> Colonnes;
  bool Details = false;  // convergence and linear alteration appended
  TSeparateur Separateur = TSeparateur::Tous;
  TFormatAngles Angles = TFormatAngles::Textes;
  bool VirguleDecimale = false;  // "651359,25" read as 651359.25
  bool Methode = false;  // the datum shifts' method appended as the last field
  bool Strict = false;   // far points and points off their datum's grid refused
};

// Converts point lines.
class TConvertisseurLignes {
 public:
  TConvertisseurLignes(const TOptionsLignes& options, const TSystemeResolu& source,
                       const TSystemeResolu& destination);
  // Appends the converted line to `sortie` (without its line end); false,
  // with `sortie` as it was and the line's message in `erreur`, when the
  // line cannot be converted.
  bool Convertit(std::string_view ligne, std::string& sortie, std::string& erreur);
  // The warning of the line just converted (a point far from a system's
  // region), empty when none.
  const std::string& Avertissement() const { return avertissement_; }

 private:
  const TOptionsLignes& options_;
  const TSystemeResolu& source_;
  const TSystemeResolu& destination_;
  const std::string attendu_;
  // The method texts by grid exits (source outside + 2 × destination
  // outside), written once: a line only appends one.
  std::string methodes_[4];
  // A point off a grid is refused with Strict, unless no shift is made.
  const bool refuseHorsGrille_;
  TCacheRegions regions_;
  std::array<std::string_view, 64> champs_;  // the fields of the line (chosen columns: 64 at most)
  std::string texteX_, texteY_, texte_, avertissement_;
};

// A line to copy as it stands: empty, blank or a comment ("#").
bool LigneRecopiee(std::string_view ligne);

// ---- Whole files ----

struct TEchecLigne {
  uint64_t Ligne;
  std::string Message;
};

struct TBilanFichier {
  uint64_t Lignes = 0;      // lines read
  uint64_t Converties = 0;  // point lines written
  uint64_t Echouees = 0;    // lines that failed
  std::vector<TEchecLigne> Echecs;  // the first kEchecsGardes of them
  bool Annule = false;
  static constexpr size_t kEchecsGardes = 1000;
};

// Called now and then with the bytes read and the file's size; returning
// false cancels the run.
using TProgression = std::function<bool(uint64_t lus, uint64_t taille)>;

// Converts the file `entree` into `sortie`, line by line as the command line
// does (comments and blank lines copied, each line's end kept, a failed line
// left out and counted). The output is written to a temporary file beside
// `sortie` and renamed over it when complete: a cancelled or failed run
// leaves no file and an older `sortie` untouched. Raises ErreurEntreeSortie
// when a file cannot be opened, read or written. `entree` and `sortie` must
// differ.
TBilanFichier ConvertitFichier(const TOptionsLignes& options, const TSystemeResolu& source,
                               const TSystemeResolu& destination, const std::string& entree,
                               const std::string& sortie, const TProgression& progression = {});

// The first lines of a file for a preview, in UTF-8 (a line in
// Windows-1252 converted), without their ends; at most the first 64 KiB are
// read. Raises ErreurEntreeSortie when the file cannot be read.
std::vector<std::string> PremieresLignes(const std::string& chemin, size_t nombre);

// The output file beside a point file: "points.txt" gives
// "points-converti.txt".
std::string CheminConverti(const std::string& entree);

}  // namespace vestrel
