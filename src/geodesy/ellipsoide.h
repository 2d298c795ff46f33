#pragma once
// The reference ellipsoid of the catalogue: a and the first eccentricity e are
// stored; b and 1/f are derived on demand.
#include <string>

#include "tools/outils.h"

namespace vestrel {

class TEllipsoide {
 public:
  double A = 0;  // semi-major axis, metres
  double E = 0;  // first eccentricity
  std::string Nom;
  std::string Description;
  bool Lu = false;

  double GetB() const;
  void SetB(double b);
  // Raises ErreurArithmetique "Division par zéro" for a sphere.
  double GetInverseAplatissement() const;
  void SetInverseAplatissement(double inverse);

  // Reads the rest of an Ellipsoide record line (after "Ellipsoide=").
  void Lecture(TFlux& flux);
  // Appends the whole record line, CR LF included.
  void Ecriture(std::string& sortie) const;
  void Assign(const TEllipsoide& source);
};

}  // namespace vestrel
