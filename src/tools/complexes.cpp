#include "tools/complexes.h"

#include <cmath>

#include "tools/erreurs.h"

namespace vestrel {

// Each operation reads its inputs into locals first: the result may be one
// of them.

void CplxZero(TComplexe& r) { r = {0.0, 0.0}; }

void CplxAdd(const TComplexe& a, const TComplexe& b, TComplexe& r) {
  r = TComplexe{a.Re + b.Re, a.Im + b.Im};
}

void CplxMul(const TComplexe& a, const TComplexe& b, TComplexe& r) {
  r = TComplexe{a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + a.Im * b.Re};
}

void CplxScale(const TComplexe& a, double k, TComplexe& r) { r = TComplexe{a.Re * k, a.Im * k}; }

// Division by 0 + 0i is left to the floating-point guard of the caller.
void CplxDiv(const TComplexe& a, const TComplexe& b, TComplexe& r) {
  const double q = 1.0 / (b.Re * b.Re + b.Im * b.Im);
  r = TComplexe{(a.Re * b.Re + a.Im * b.Im) * q, (a.Im * b.Re - a.Re * b.Im) * q};
}

// Plain repeated product: the series call it with n <= 6.
void CplxPowerInt(const TComplexe& z, int n, TComplexe& r) {
  if (n < 0)
    throw ErreurAssertion("La puissance doit être positive ou nulle dans CplxPowerInt");
  const TComplexe base = z;
  TComplexe p{1.0, 0.0};
  for (int i = 0; i < n; ++i) CplxMul(p, base, p);
  r = p;
}

void CplxSin(const TComplexe& z, TComplexe& r) {
  r = TComplexe{std::sin(z.Re) * std::cosh(z.Im), std::cos(z.Re) * std::sinh(z.Im)};
}

}  // namespace vestrel
