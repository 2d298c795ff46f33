#pragma once
// The program's errors. Each carries its French message, shown as it stands
// to the user (message boxes, vestrel-cli's standard error).
#include <stdexcept>
#include <string>

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

}  // namespace vestrel
