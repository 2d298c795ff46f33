#include "tools/flottant.h"

#include <cfenv>
#include <cmath>

#include "tools/erreurs.h"

namespace vestrel {

namespace {
constexpr int kFautes = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}

// Clearing the flags costs far more than testing them (on x86-64 it stores
// and reloads the whole x87 environment), so they are cleared only when set.
GardeFlottante::GardeFlottante() noexcept : anciens_(std::fetestexcept(kFautes)) {
  if (anciens_) std::feclearexcept(kFautes);
}

GardeFlottante::~GardeFlottante() {
  if (anciens_) std::feraiseexcept(anciens_);
}

bool GardeFlottante::Faute() noexcept {
  const int f = std::fetestexcept(kFautes);
  if (f) std::feclearexcept(kFautes);
  return f != 0;
}

void GardeFlottante::Verifie() {
  const int f = std::fetestexcept(kFautes);
  if (!f) return;
  std::feclearexcept(kFautes);
  if (f & FE_DIVBYZERO) throw ErreurArithmetique("Division par zéro");
  if (f & FE_INVALID) throw ErreurArithmetique("Opération en virgule flottante incorrecte");
  throw ErreurArithmetique("Débordement de virgule flottante");
}

void VerifieFini(double valeur) {
  if (std::isnan(valeur)) throw ErreurArithmetique("Opération en virgule flottante incorrecte");
  if (std::isinf(valeur)) throw ErreurArithmetique("Débordement de virgule flottante");
}

}  // namespace vestrel
