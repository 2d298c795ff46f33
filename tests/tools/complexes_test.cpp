#include "tools/complexes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/erreurs.h"
#include "tools/flottant.h"

using namespace vestrel;

#define EXPECT_COMPLEXE(z, re, im)  \
  do {                              \
    EXPECT_NEAR((z).Re, re, 1e-15); \
    EXPECT_NEAR((z).Im, im, 1e-15); \
  } while (0)

TEST(Complexes, PuissancesEntieresEtPuissanceNegative) {
  TComplexe r;
  CplxPowerInt({0, 0}, 0, r);
  EXPECT_COMPLEXE(r, 1, 0);
  CplxPowerInt({0, 0}, 1, r);
  EXPECT_COMPLEXE(r, 0, 0);
  TComplexe i{0, 1};
  CplxPowerInt(i, 2, r);
  EXPECT_COMPLEXE(r, -1, 0);
  CplxPowerInt(i, 4, i);  // result in its own input
  EXPECT_COMPLEXE(i, 1, 0);
  r = {7, 8};
  try {
    CplxPowerInt({1, 1}, -1, r);
    FAIL();
  } catch (const ErreurAssertion& e) {
    EXPECT_STREQ(e.what(), "La puissance doit être positive ou nulle dans CplxPowerInt");
  }
  EXPECT_COMPLEXE(r, 7, 8);  // not written
}

TEST(Complexes, ResultatDansUneDesEntrees) {
  const TComplexe a{1.5, -2}, b{-0.25, 3};
  TComplexe separe, x = a, y = b;
  CplxMul(a, b, separe);
  CplxMul(x, b, x);
  CplxMul(a, y, y);
  EXPECT_COMPLEXE(x, separe.Re, separe.Im);
  EXPECT_COMPLEXE(y, separe.Re, separe.Im);
  x = a;
  CplxAdd(x, x, x);
  EXPECT_COMPLEXE(x, 3, -4);
  CplxDiv(x, x, x);
  EXPECT_COMPLEXE(x, 1, 0);
}

TEST(Complexes, DivisionEtSinus) {
  TComplexe r;
  CplxDiv({1, 0}, {0, 1}, r);
  EXPECT_COMPLEXE(r, 0, -1);
  CplxSin({0, 1}, r);
  EXPECT_COMPLEXE(r, 0, std::sinh(1.0));
  GardeFlottante garde;  // division by zero is left to the caller's guard
  CplxDiv({1, 0}, {0, 0}, r);
  EXPECT_THROW(garde.Verifie(), ErreurArithmetique);
}
