#include "tools/complexes.h"

#include <gtest/gtest.h>

#include "tools/erreurs.h"
#include "tools/flottant.h"

using namespace vestrel;

#define EXPECT_COMPLEXE(z, re, im)  \
  do {                              \
    EXPECT_NEAR((z).Re, re, 1e-15); \
    EXPECT_NEAR((z).Im, im, 1e-15); \
  } while (0)

// The series write results into their own inputs; the values themselves are
// checked through the New Zealand grid's reference points.
TEST(Complexes, ResultatDansUneDesEntrees) {
  const TComplexe a{1.5, -2}, b{-0.25, 3};
  TComplexe x = a, y = b;
  CplxMul(x, b, x);
  CplxMul(a, y, y);
  EXPECT_COMPLEXE(x, 5.625, 5);
  EXPECT_COMPLEXE(y, 5.625, 5);
  CplxAdd(x, x, x);
  EXPECT_COMPLEXE(x, 11.25, 10);
  CplxDiv(x, x, x);
  EXPECT_COMPLEXE(x, 1, 0);
  TComplexe i{0, 1};
  CplxPowerInt(i, 4, i);
  EXPECT_COMPLEXE(i, 1, 0);
}

TEST(Complexes, PuissanceNegativeEtDivisionParZero) {
  TComplexe r{7, 8};
  EXPECT_THROW(CplxPowerInt({1, 1}, -1, r), ErreurAssertion);
  EXPECT_COMPLEXE(r, 7, 8);  // not written
  GardeFlottante garde;  // division by zero is left to the caller's guard
  CplxDiv({1, 0}, {0, 0}, r);
  EXPECT_THROW(garde.Verifie(), ErreurArithmetique);
}
