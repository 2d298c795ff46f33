#pragma once
// The geodetic datum of the catalogue and its shift to and from WGS84.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "geodesy/ellipsoide.h"
#include "geodesy/grille_ign.h"
#include "tools/outils.h"

namespace vestrel {

inline constexpr double DemiGrandAxeWGS84 = 6378137.0;
inline constexpr double ExcentriciteWGS84 = 0.08181919106;

// Longitude of the Paris meridian east of Greenwich, radians, read from
// "2°20'14.025''".
double MeridienParis();

class TDatum {
 public:
  TDatum() = default;
  TDatum(const TDatum&) = delete;
  TDatum& operator=(const TDatum&) = delete;

  TEllipsoide* Ellipsoide = nullptr;  // owned by the catalogue
  double DeltaX = 0, DeltaY = 0, DeltaZ = 0;  // metres, datum to WGS84
  bool TroisParametres = true;
  double RotX = 0, RotY = 0, RotZ = 0;  // seconds of arc
  double Echelle = 0;                   // parts per million
  std::string Nom;
  std::string Description;
  bool Lu = false;
  std::string NomGrille;
  std::unique_ptr<TGrilleIgn> Grille;
  bool SansGrille = false;
  // Why the grid NomGrille names is not in use (the file is missing or
  // cannot be read); empty when it is loaded or none is named.
  std::string ErreurGrille;

  // Loads the grid file `nom` unless it is already the current one. A name
  // that names no file is kept without a grid (an NTF datum is then marked
  // SansGrille) and ErreurGrille says so. A file that exists but cannot be
  // read raises its error and leaves the datum as it was.
  void SetGrille(const std::string& nom);
  // The editor's choice of a grid: as SetGrille, but a named file that does
  // not exist is refused (ErreurEntreeSortie naming it).
  void ChoisitGrille(const std::string& nom);
  // Reads the rest of a Datum record line; the ellipsoid is looked up in
  // `ellipsoides` from its first entry. A grid file that is missing or cannot
  // be read leaves the datum with its parameters, the name kept and the
  // reason in ErreurGrille.
  void Lecture(TFlux& flux, const std::vector<std::unique_ptr<TEllipsoide>>& ellipsoides);
  // The same with the ellipsoid found by `trouveEllipsoide` (name → ellipsoid
  // or none).
  void Lecture(TFlux& flux, const std::function<TEllipsoide*(const std::string&)>& trouveEllipsoide);
  void Ecriture(std::string& sortie) const;
  void Assign(const TDatum& source);

  // Geographic coordinates on this datum (height 0) to WGS84 geocentric.
  // True when the grid gave the shift; false without a grid or outside it.
  bool VersWGS84(bool paris, double phi, double lambda, double& X, double& Y, double& Z) const;
  // WGS84 geocentric to geographic coordinates on this datum; the same
  // return value.
  // `tangente`, when given, receives tan φ off the polar axis.
  bool DepuisWGS84(bool paris, double X, double Y, double Z, double& phi, double& lambda,
                   double* tangente = nullptr) const;

  // No shift at all: no grid and every parameter zero.
  bool Identite() const;
};

// Two datums between which a point needs no shift: the same entry, or two
// identities on ellipsoids of the same a and e.
bool MemeDatum(const TDatum& a, const TDatum& b);

}  // namespace vestrel
