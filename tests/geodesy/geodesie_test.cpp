#include "geodesy/geodesie.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kA = 6378137.0;
constexpr double kE = 0.08181919106;
// GRS 80 by its defining inverse flattening, as PROJ's "+ellps=GRS80".
const double kEGrs80 = std::sqrt(1 - std::pow(1 - 1 / 298.257222101, 2));

// IGN NT/G 71, test sets of ALG0001 and ALG0002 (e of the Clarke 1880 IGN).
TEST(LatitudeIsometrique, JeuxEssaiIGN) {
  constexpr double e = 0.08199188998;
  EXPECT_NEAR(LatitudeIsometrique(0.872664626, e), 1.00552653649, 1e-10);
  EXPECT_NEAR(LatitudeIsometrique(-0.3, e), -0.30261690063, 1e-10);
  EXPECT_NEAR(LatitudeIsometrique(0.19998903370, e), 0.2, 1e-10);
  EXPECT_NEAR(LatitudeIsometriqueInverse(1.00552653648, e), 0.87266462600, 1e-10);
  EXPECT_NEAR(LatitudeIsometriqueInverse(-0.30261690060, e), -0.29999999997, 1e-10);
  EXPECT_NEAR(LatitudeIsometriqueInverse(0.2, e), 0.19998903369, 1e-10);
}

TEST(LatitudeIsometrique, AllerRetour) {
  for (double e : {0.0, kE, 0.3}) {
    EXPECT_NEAR(LatitudeIsometrique(0, e), 0, 1e-15);
    for (double phi = -1.55; phi < 1.56; phi += 0.1)
      EXPECT_NEAR(LatitudeIsometriqueInverse(LatitudeIsometrique(phi, e), e), phi, 1e-11);
  }
}

TEST(LatitudeIsometrique, InverseSansConvergenceLeveUneErreur) {
  const double infini = std::numeric_limits<double>::infinity();
  for (double L : {infini, -infini, std::nan("")}) {
    try {
      LatitudeIsometriqueInverse(L, kE);
      ADD_FAILURE() << "pas d'erreur pour " << L;
    } catch (const ErreurArithmetique& erreur) {
      EXPECT_STREQ(erreur.what(), MessageNonConvergence);
    }
  }
  // An eccentricity above 1 makes every step a NaN: the cap ends the loop.
  GardeFlottante garde;
  EXPECT_THROW(LatitudeIsometriqueInverse(0.5, 1.5), ErreurArithmetique);
  garde.Faute();
}

// Reference points converted with
//   echo "2.33722916667 48.8 120" | cs2cs -f %.5f +proj=longlat +ellps=GRS80 +to +proj=geocent +ellps=GRS80
//   echo "-75 -33.5 -2500" | cs2cs -f %.5f +proj=longlat +ellps=GRS80 +to +proj=geocent +ellps=GRS80
TEST(Cartesien, PointsDeReference) {
  struct Cas { double lon, lat, h, X, Y, Z; };
  for (const Cas& c : {Cas{2.33722916667, 48.8, 120, 4205772.73527, 171658.55432, 4776027.99378},
                       Cas{-75, -33.5, -2500, 1377431.04005, -5140642.62540, -3498954.44546}}) {
    double X, Y, Z;
    GeographiqueVersCartesien(c.lon * kPi / 180, c.lat * kPi / 180, c.h, kA, kEGrs80, X, Y, Z);
    EXPECT_NEAR(X, c.X, 1e-4);
    EXPECT_NEAR(Y, c.Y, 1e-4);
    EXPECT_NEAR(Z, c.Z, 1e-4);
  }
}

// The height R / cos φ − N loses precision within a few metres of the
// poles (about 0.04 mm at 89.99°), hence latitudes up to 86° here.
TEST(Cartesien, AllerRetour) {
  for (double lambda : {-kPi, -2.0, 0.0, 0.04, 1.5, 3.1})
    for (double phi : {-1.5, -0.8, 0.0, 0.3, 1.2, 1.5})
      for (double h : {-5000.0, 0.0, 1234.567, 1e6}) {
        double X, Y, Z, l, p, hh;
        GeographiqueVersCartesien(lambda, phi, h, kA, kE, X, Y, Z);
        CartesienVersGeographique(X, Y, Z, kA, kE, l, p, hh);
        EXPECT_NEAR(std::remainder(l - lambda, 2 * kPi), 0, 1e-11);
        EXPECT_NEAR(p, phi, 1e-11);
        EXPECT_NEAR(hh, h, 1e-6);
      }
}

// On the polar axis the iteration would divide by zero.
TEST(Cartesien, AxePolaireSansDivisionParZero) {
  const double b = kA * std::sqrt(1 - kE * kE);
  GardeFlottante garde;
  double lambda, phi, h;
  CartesienVersGeographique(0, 0, b + 100, kA, kE, lambda, phi, h);
  EXPECT_EQ(lambda, 0);
  EXPECT_EQ(phi, kPi / 2);
  EXPECT_NEAR(h, 100, 1e-8);
  CartesienVersGeographique(0, 0, -b + 20, kA, kE, lambda, phi, h);
  EXPECT_EQ(phi, -kPi / 2);
  EXPECT_NEAR(h, -20, 1e-8);
  EXPECT_NO_THROW(garde.Verifie());
}

TEST(Cartesien, EntreeNonFinieLeveUneErreur) {
  double lambda, phi, h;
  EXPECT_THROW(CartesienVersGeographique(std::nan(""), 0, 0, kA, kE, lambda, phi, h),
               ErreurArithmetique);
  EXPECT_THROW(CartesienVersGeographique(1e6, 0, std::numeric_limits<double>::infinity(), kA,
                                         kE, lambda, phi, h),
               ErreurArithmetique);
}

TEST(SeptParametres, InversesExacteEtApprochee) {
  const double TX = -168.5, TY = 60.25, TZ = 320.125;
  const double X = 4201000.5, Y = 177000.25, Z = 4779000.75;
  double Xp, Yp, Zp, x, y, z;
  // Translations only: both inverses are an exact subtraction.
  SeptParametres(TX, TY, TZ, 0, 0, 0, 0, X, Y, Z, Xp, Yp, Zp);
  SeptParametresInverseApprochee(TX, TY, TZ, 0, 0, 0, 0, Xp, Yp, Zp, x, y, z);
  EXPECT_NEAR(x, X, 1e-9);
  EXPECT_NEAR(y, Y, 1e-9);
  EXPECT_NEAR(z, Z, 1e-9);

  const double D = 8.2e-6, RX = 2.9e-6, RY = -1.2e-6, RZ = 4.4e-6;
  SeptParametres(TX, TY, TZ, D, RX, RY, RZ, X, Y, Z, Xp, Yp, Zp);
  SeptParametresInverse(TX, TY, TZ, D, RX, RY, RZ, Xp, Yp, Zp, x, y, z);
  EXPECT_NEAR(x, X, 1e-8);
  EXPECT_NEAR(y, Y, 1e-8);
  EXPECT_NEAR(z, Z, 1e-8);
  // Second order: |D|, |R| ~ 1e-5 on 6.4e6 m leaves well under a millimetre.
  SeptParametresInverseApprochee(TX, TY, TZ, D, RX, RY, RZ, Xp, Yp, Zp, x, y, z);
  EXPECT_NEAR(x, X, 1e-3);
  EXPECT_NEAR(y, Y, 1e-3);
  EXPECT_NEAR(z, Z, 1e-3);
  EXPECT_GT(std::fabs(x - X) + std::fabs(y - Y) + std::fabs(z - Z), 1e-6);
}

TEST(Sphere, AllerRetourEtPointsSinguliers) {
  double x, y, z, lambda, phi;
  SphereVersCartesien(1.1, -0.4, x, y, z);
  CartesienVersSphere(x, y, z, lambda, phi);
  EXPECT_NEAR(lambda, 1.1, 1e-15);
  EXPECT_NEAR(phi, -0.4, 1e-15);

  GardeFlottante garde;
  // Negative x half-axis: the half-angle quotient is 0/0.
  CartesienVersSphere(-0.6, 0, 0.8, lambda, phi);
  EXPECT_EQ(lambda, kPi);
  EXPECT_NEAR(phi, std::atan(0.8 / 0.6), 1e-15);
  CartesienVersSphere(-1, -1e-20, 0, lambda, phi);
  EXPECT_EQ(lambda, -kPi);
  // On the axis: φ is the sign of z times π/2, 0 at the centre.
  CartesienVersSphere(0, 0, -2, lambda, phi);
  EXPECT_EQ(lambda, 0);
  EXPECT_EQ(phi, -kPi / 2);
  CartesienVersSphere(0, 0, 0, lambda, phi);
  EXPECT_EQ(phi, 0);
  EXPECT_NO_THROW(garde.Verifie());
}

TEST(Series, QuartDeMeridienEtSphere) {
  EXPECT_NEAR(ArcMeridien(kPi / 2, kE) * kA, 10001965.73, 0.01);
  TCoefficients c;
  CoefficientsArcMeridien(0, c);
  EXPECT_EQ(c, (TCoefficients{1, 0, 0, 0, 0}));
  CoefficientsMercatorTransverse(0, c);
  EXPECT_EQ(c, (TCoefficients{1, 0, 0, 0, 0}));
  CoefficientsMercatorTransverseInverse(0, c);
  EXPECT_EQ(c, (TCoefficients{1, 0, 0, 0, 0}));
  // On the sphere the arc is the latitude itself.
  EXPECT_DOUBLE_EQ(ArcMeridien(0.7, 0), 0.7);
}

TEST(Azimut, DirectionsCardinales) {
  const double phi = 0.8, lambda = 0.1, eps = 1e-6;
  EXPECT_NEAR(Azimut(phi, lambda, phi + eps, lambda, kE), 0, 1e-9);
  EXPECT_NEAR(Azimut(phi, lambda, phi, lambda + eps, kE), kPi / 2, 1e-5);
  EXPECT_NEAR(std::fabs(Azimut(phi, lambda, phi - eps, lambda, kE)), kPi, 1e-9);
  EXPECT_NEAR(Azimut(phi, lambda, phi, lambda - eps, kE), -kPi / 2, 1e-5);
}

}  // namespace
}  // namespace vestrel
