#pragma once
// Complex arithmetic for the projections written as complex series.
// Every operation copies its inputs before writing its result, so the result
// may be one of the inputs.

#include <cmath>

namespace vestrel {

struct TComplexe {
  double Re;
  double Im;
};

// The small operations are inline: the series call them in their inner
// loops, point after point.
inline void CplxZero(TComplexe& r) { r = {0.0, 0.0}; }

inline void CplxAdd(const TComplexe& a, const TComplexe& b, TComplexe& r) {
  r = TComplexe{a.Re + b.Re, a.Im + b.Im};
}

inline void CplxMul(const TComplexe& a, const TComplexe& b, TComplexe& r) {
  r = TComplexe{a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + a.Im * b.Re};
}

inline void CplxScale(const TComplexe& a, double k, TComplexe& r) {
  r = TComplexe{a.Re * k, a.Im * k};
}

// Division by 0 + 0i is left to the floating-point guard of the caller (out
// of line, so that no constant folding hides the fault).
void CplxDiv(const TComplexe& a, const TComplexe& b, TComplexe& r);

// z^n, n >= 0; raises ErreurAssertion for n < 0.
void CplxPowerInt(const TComplexe& z, int n, TComplexe& r);

// sin(x + iy) = sin x·cosh y + i·cos x·sinh y.
inline void CplxSin(const TComplexe& z, TComplexe& r) {
  r = TComplexe{std::sin(z.Re) * std::cosh(z.Im), std::cos(z.Re) * std::sinh(z.Im)};
}

}  // namespace vestrel
