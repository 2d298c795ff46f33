#include "geodesy/ellipsoide.h"

#include <cmath>
#include <vector>

#include "tools/erreurs.h"
#include "tools/nombres.h"

namespace vestrel {

double TEllipsoide::GetB() const { return A * std::sqrt(1 - E * E); }

void TEllipsoide::SetB(double b) {
  const double rapport = b / A;
  E = std::sqrt(1 - rapport * rapport);
}

double TEllipsoide::GetInverseAplatissement() const {
  const double difference = A - GetB();
  // A sphere has no inverse flattening: b = a exactly.
  if (difference == 0) throw ErreurArithmetique("Division par zéro");
  return A / difference;
}

void TEllipsoide::SetInverseAplatissement(double inverse) { SetB((1 - 1 / inverse) * A); }

// Nom, Description, a and e. Every field is checked before any is changed.
void TEllipsoide::Lecture(TFlux& flux) {
  Lu = false;
  std::vector<std::string> jetons;
  DecoupeLigne(LitLigne(flux), jetons);
  if (jetons.size() != 4)
    throw ErreurIntervalle("Nombre incorrect de paramètres lors de la lecture d'un ellipsoïde");
  const double a = LitReel(jetons[2]);
  const double e = LitReel(jetons[3]);
  Nom = jetons[0];
  Description = jetons[1];
  A = a;
  E = e;
  Lu = true;
}

void TEllipsoide::Ecriture(std::string& sortie) const {
  sortie += "Ellipsoide=\"" + Nom + "\" \"" + Description + "\" ";
  AjouteG(sortie, A, 12);
  sortie += ' ';
  AjouteG(sortie, E, 12);
  sortie += "\r\n";
}

void TEllipsoide::Assign(const TEllipsoide& source) {
  Nom = source.Nom;
  Description = source.Description;
  A = source.A;
  E = source.E;
}

}  // namespace vestrel
