#pragma once
// Floating-point faults. The program treats an invalid operation, a division
// by zero and an overflow as errors: a formula evaluated at a singular point
// ends the computation with ErreurArithmetique instead of yielding an
// infinity or a NaN. The hardware is left in its default non-stop mode; the
// sticky exception flags are tested at the boundaries of the operations.
//
//   GardeFlottante garde;   // starts watching (earlier faults are set aside)
//   ... computation ...
//   garde.Verifie();        // raises ErreurArithmetique if a fault occurred
//
// A guard that must swallow faults asks Faute() instead and goes on.
// Guards nest: faults raised before a guard are restored when it ends.

namespace vestrel {

class GardeFlottante {
 public:
  GardeFlottante() noexcept;
  ~GardeFlottante();
  GardeFlottante(const GardeFlottante&) = delete;
  GardeFlottante& operator=(const GardeFlottante&) = delete;

  // True when a fault occurred since the guard started; clears it.
  bool Faute() noexcept;
  // Raises ErreurArithmetique with "Division par zéro",
  // "Opération en virgule flottante incorrecte" or
  // "Débordement de virgule flottante" when a fault occurred; clears it.
  void Verifie();

 private:
  int anciens_;
};

// Raises the arithmetic error for a value that is not finite (a result that
// slipped past the flags, for instance an input that was already infinite).
void VerifieFini(double valeur);

// The message of an iteration that did not reach its tolerance.
inline constexpr const char* MessageNonConvergence =
    "Le calcul itératif ne converge pas";

}  // namespace vestrel
