#pragma once
// The self-test: published reference points, shipped beside the catalogue in
// "autotest.txt", converted through a catalogue and the conversion pipeline
// and compared with their published values. The window and vestrel-cli show
// the same texts.
//
// The reference file (Windows-1252, any line ends) holds one point a line,
// fields separated by "|":
//   DEPART | ARRIVEE | X Y [ZONE] | X' Y' [ZONE'] | TOLERANCE | SOURCE
// DEPART and ARRIVEE are system names or "EPSG:N" codes; X Y are angle texts
// on a datum and metres otherwise, ZONE the zone of a multi-zone system (the
// expected zone on the destination side); TOLERANCE is in metres (on the
// ground for a datum). Empty lines and lines starting with "#" are comments.
#include <string>
#include <vector>

#include "catalogue/donnee.h"

namespace vestrel {

inline constexpr const char* kFichierAutotest = "autotest.txt";

struct TPointAutotest {
  enum TEtat { Reussi, Echec, Absent };
  int Ligne = 0;  // in the reference file
  std::string Depart, Arrivee, Source;
  std::string Entree, Attendu, Obtenu;  // texts of the points
  double Ecart = 0, Tolerance = 0;      // metres
  TEtat Etat = Echec;
  std::string Message;  // why it failed or is absent
};

struct TAutotest {
  std::vector<TPointAutotest> Points;
  int Reussis = 0, Echecs = 0, Absents = 0;
  // No point failed and at least one was checked. A system missing from the
  // catalogue (removed by its user) is not a failure of the others.
  bool Reussi() const { return Echecs == 0 && Reussis > 0; }
};

// Converts every point of the reference file through the catalogue. Raises
// ErreurEntreeSortie when the file cannot be read and ErreurConversion
// (with the file and the line) for a line that is not a reference point.
TAutotest Autotest(const TDonnees& donnees, const std::string& fichier);

// The text of one point (two lines) and of the summary line.
std::string TextePoint(const TPointAutotest& point);
std::string TexteBilan(const TAutotest& autotest);

}  // namespace vestrel
