#include "tools/complexes.h"

#include "tools/erreurs.h"

namespace vestrel {

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

}  // namespace vestrel
