#pragma once
// The road of one point between two systems of the catalogue, in numbers:
// the typed point read once, converted with its convergence and linear
// alteration, and the texts that say how (the window and the batch command
// line both go this way).
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/donnee.h"

namespace vestrel {

// Beyond this departure of a system's own scale from 1 (10 m per km), a
// point is taken to lie far outside the region the system is meant for.
inline constexpr double kEcartEchelleMax = 0.01;

// A converted point with what goes with it, in numbers.
struct TPointConverti {
  double X = 0, Y = 0;          // φ, λ (radians) for a datum; metres otherwise
  int32_t Zone = 0;             // zone chosen by a multi-zone destination
  // In: the zone a multi-zone destination must use (checked by VerifieZone),
  // 0 to choose it from the point.
  int32_t ZoneImposee = 0;
  double Convergence = 0;       // radians, clockwise
  double Alteration = 1;        // linear alteration
  // The steps completed: 1 the point, 2 its convergence, 3 its alteration
  // (what an error leaves is valid up to there).
  int Etapes = 0;
  // The source datum, the destination datum has a grid and the point lay
  // outside it: its parameters made the shift.
  bool HorsGrilleDepart = false, HorsGrilleArrivee = false;
  // The scale of the source system alone at the point, and of the
  // destination system alone (1 on a datum, or when it cannot be
  // computed there).
  double EchelleDepart = 1, EchelleArrivee = 1;

  // The destination's formulas do not bring its image back to the point:
  // the point lies beyond the part of the earth they map once.
  bool HorsFormulesArrivee = false;

  bool EloigneDepart() const { return std::fabs(EchelleDepart - 1) > kEcartEchelleMax; }
  bool EloigneArrivee() const {
    return HorsFormulesArrivee || std::fabs(EchelleArrivee - 1) > kEcartEchelleMax;
  }
  bool Eloigne() const { return EloigneDepart() || EloigneArrivee(); }
};

// For a run of points between the same two systems: the cells of one degree
// where each projected side was found well inside its region (at the
// corners and the centre of the cell, its scale within half the limit and
// its formulas going both ways), so that their points skip the checks. Its
// size is fixed; it is filled as points arrive.
class TCacheRegions {
 public:
  struct TCote {
    // Per cell, one word read at once: the zone the cell was seen in times 4
    // plus its state, 0 not seen, 1 inside, 2 checked point by point.
    std::vector<int32_t> Cellules;
  };
  TCote Depart, Arrivee;
};

// Reads the typed point of a source: angle texts for a datum, metres
// otherwise, with the pipeline's four messages.
void LitPointDepart(const TSystemeResolu& source, std::string_view texteX,
                    std::string_view texteY, double& premiere, double& seconde);
// The same without exception: the message, or null when the point is read.
const char* EssaieLitPointDepart(const TSystemeResolu& source, std::string_view texteX,
                                 std::string_view texteY, double& premiere,
                                 double& seconde) noexcept;
// Raises ErreurIntervalle for a typed latitude beyond ±90° or a longitude
// beyond ±360° (radians); DefautLatitudeLongitude gives its message instead,
// null for a point within.
void VerifieLatitudeLongitude(double latitude, double longitude);
const char* DefautLatitudeLongitude(double latitude, double longitude) noexcept;
// Converts the point and, with `details`, computes the convergence and the
// linear alteration (each step under the floating-point guard); always says
// whether the point left a grid and how far it lies from each projected
// system's region. zoneSource: the Paris flag (1) for a datum, the zone
// number for a multi-zone system (checked by VerifieZone); parisDestination:
// longitudes from the Paris meridian on a geographic destination. Both
// systems must be found.
void ConvertitPoint(const TSystemeResolu& source, int32_t zoneSource,
                    const TSystemeResolu& destination, bool parisDestination, double premiere,
                    double seconde, bool details, TPointConverti& resultat,
                    TCacheRegions* regions = nullptr);
// The datums of both systems need no shift between them (MemeDatum).
bool MemeDatum(const TSystemeResolu& source, const TSystemeResolu& destination);
// Raises ErreurIntervalle when a multi-zone source has no such zone.
// `arrivee`: the zone forced on a destination, named so in the message.
void VerifieZone(const TSystemeResolu& source, int32_t zone, bool arrivee = false);
// How the datum shifts of a conversion were made, in a few words: "aucune
// (même datum)", or for each datum that shifts "grille de correction",
// "7 paramètres", "3 paramètres" or "hors grille : 3 paramètres" followed by
// its name in parentheses.
std::string TexteMethode(const TSystemeResolu& source, const TSystemeResolu& destination,
                         bool horsGrilleDepart, bool horsGrilleArrivee);
// The warning of a point far outside the region of a system, empty when it
// is not.
std::string TexteEloigne(const TSystemeResolu& source, const TSystemeResolu& destination,
                         const TPointConverti& point);
// The message of a point that left the grid of a datum, empty when it did not.
std::string TexteHorsGrille(const TSystemeResolu& source, const TSystemeResolu& destination,
                            const TPointConverti& point);
// The window's texts of a converted point.
std::string TexteCoordonnee(const TSystemeResolu& destination, double valeur, int unite);
// The same text appended to `sortie`.
void AjouteCoordonnee(std::string& sortie, const TSystemeResolu& destination, double valeur,
                      int unite);
// The linear alteration to nine decimals ("1" for an exact 1).
std::string TexteAlteration(double alteration);
// The same as a scale error, "-40.00 cm/km (-400.0 ppm)"; empty for a
// ratio too large to mean one.
std::string TexteEcartEchelle(double alteration);

}  // namespace vestrel
