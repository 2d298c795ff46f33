#pragma once
// The program's errors. Each carries its French message, shown as it stands
// to the user (message boxes, vestrel-cli's standard error).
#include <stdexcept>
#include <string>
#include <string_view>

namespace vestrel {

class Erreur : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A parameter index out of range, a record line with a wrong token count,
// an unknown ellipsoid or datum name in a record line.
class ErreurIntervalle : public Erreur {
 public:
  using Erreur::Erreur;
};

// A text that is not a number or an angle, a catalogue reading error, a typed
// point that cannot be read.
class ErreurConversion : public Erreur {
 public:
  using Erreur::Erreur;
};

// A floating-point fault: division by zero, invalid operation, overflow, or a
// computation that does not converge.
class ErreurArithmetique : public Erreur {
 public:
  using Erreur::Erreur;
};

// A broken precondition of a routine (a programming error of its caller).
class ErreurAssertion : public Erreur {
 public:
  using Erreur::Erreur;
};

// A file that cannot be opened, read or written.
class ErreurEntreeSortie : public Erreur {
 public:
  using Erreur::Erreur;
};

// A text quoted in a message: whole when short, else its first 60 bytes (cut
// between characters) followed by "…", so that a message about a faulty line
// of any length stays one short line.
inline std::string Extrait(std::string_view texte) {
  constexpr size_t kLongueur = 60;
  if (texte.size() <= kLongueur + 3) return std::string(texte);
  size_t fin = kLongueur;
  while (fin > 0 && (static_cast<unsigned char>(texte[fin]) & 0xC0) == 0x80) --fin;
  return std::string(texte.substr(0, fin)) + "…";
}

}  // namespace vestrel
