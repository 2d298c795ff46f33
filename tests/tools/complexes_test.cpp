#include "tools/complexes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "tools/erreurs.h"
#include "tools/flottant.h"

using namespace vestrel;

namespace {
void ExpectComplexe(const TComplexe& z, double re, double im) {
  EXPECT_NEAR(z.Re, re, 1e-15);
  EXPECT_NEAR(z.Im, im, 1e-15);
}
}  // namespace

TEST(Complexes, PuissancesEntieres) {
  TComplexe r{9, 9};
  CplxPowerInt({0, 0}, 0, r);
  ExpectComplexe(r, 1, 0);
  CplxPowerInt({0, 0}, 1, r);
  ExpectComplexe(r, 0, 0);
  CplxPowerInt({0, 1}, 2, r);
  ExpectComplexe(r, -1, 0);
  CplxPowerInt({0, 1}, 4, r);
  ExpectComplexe(r, 1, 0);
  TComplexe z{0.5, -1.25};
  CplxPowerInt(z, 6, z);  // result in its own input
  const std::complex<double> attendu = std::pow(std::complex<double>(0.5, -1.25), 6);
  EXPECT_NEAR(z.Re, attendu.real(), 1e-13);
  EXPECT_NEAR(z.Im, attendu.imag(), 1e-13);
}

TEST(Complexes, PuissanceNegativeRefuseeSansEcrireLeResultat) {
  TComplexe r{7, 8};
  try {
    CplxPowerInt({1, 1}, -1, r);
    FAIL();
  } catch (const ErreurAssertion& e) {
    EXPECT_STREQ(e.what(), "La puissance doit être positive ou nulle dans CplxPowerInt");
  }
  ExpectComplexe(r, 7, 8);
}

TEST(Complexes, ResultatDansUneDesEntrees) {
  const TComplexe a{1.5, -2}, b{-0.25, 3};
  TComplexe separe, x = a, y = b;
  CplxMul(a, b, separe);
  CplxMul(x, y, x);
  EXPECT_EQ(x.Re, separe.Re);
  EXPECT_EQ(x.Im, separe.Im);
  y = b;
  CplxMul(a, y, y);
  EXPECT_EQ(y.Re, separe.Re);
  EXPECT_EQ(y.Im, separe.Im);
  x = a;
  CplxAdd(x, x, x);
  ExpectComplexe(x, 3, -4);
  x = a;
  CplxDiv(x, x, x);
  ExpectComplexe(x, 1, 0);
  CplxScale(x, -2, x);
  ExpectComplexe(x, -2, 0);
  CplxZero(x);
  ExpectComplexe(x, 0, 0);
}

TEST(Complexes, DivisionEtSinus) {
  TComplexe r;
  CplxDiv({1, 0}, {0, 1}, r);
  ExpectComplexe(r, 0, -1);
  CplxSin({0, 1}, r);
  ExpectComplexe(r, 0, std::sinh(1.0));
  CplxSin({M_PI / 2, 0.5}, r);
  ExpectComplexe(r, std::cosh(0.5), std::cos(M_PI / 2) * std::sinh(0.5));
}

TEST(Complexes, DivisionParZeroVueParLaGarde) {
  GardeFlottante garde;
  TComplexe r;
  CplxDiv({1, 0}, {0, 0}, r);
  EXPECT_THROW(garde.Verifie(), ErreurArithmetique);
}
