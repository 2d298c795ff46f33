#pragma once
// Complex arithmetic for the projections written as complex series.
// Every operation copies its inputs before writing its result, so the result
// may be one of the inputs.

namespace vestrel {

struct TComplexe {
  double Re;
  double Im;
};

void CplxZero(TComplexe& r);
void CplxAdd(const TComplexe& a, const TComplexe& b, TComplexe& r);
void CplxMul(const TComplexe& a, const TComplexe& b, TComplexe& r);
void CplxScale(const TComplexe& a, double k, TComplexe& r);
void CplxDiv(const TComplexe& a, const TComplexe& b, TComplexe& r);
// z^n, n >= 0; raises ErreurAssertion for n < 0.
void CplxPowerInt(const TComplexe& z, int n, TComplexe& r);
void CplxSin(const TComplexe& z, TComplexe& r);

}  // namespace vestrel
