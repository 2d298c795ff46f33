#include "geodesy/geodesie.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "../commun/table.h"
#include "catalogue/donnee.h"
#include "geodesy/ellipsoide.h"
#include "../commun/message.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;
constexpr double kA = 6378137.0;
constexpr double kE = 0.08181919106;

TEST(Geodesie, FiguresDeReference) {
  TDonnees d;
  for (const essai::TLigneTable& ligne : essai::LitTable("geodesy/data/references.txt")) {
    SCOPED_TRACE(ligne.Trace);
    if (ligne.Texte.starts_with("Ellipsoide=") || ligne.Texte.starts_with("Datum=")) {
      d.AjouteLigne(ligne.Texte);
      continue;
    }
    std::vector<double> v;
    const std::string cas = ligne.Mot(v);
    const TEllipsoide& e = *d.Ellipsoides.back();
    const double tolerance = v.back();
    double X, Y, Z;
    if (cas == "isometrique" && v.size() == 3) {
      EXPECT_NEAR(LatitudeIsometrique(v[0], e.E), v[1], tolerance);
    } else if (cas == "inverse" && v.size() == 3) {
      EXPECT_NEAR(LatitudeIsometriqueInverse(v[0], e.E), v[1], tolerance);
    } else if (cas == "arc" && v.size() == 3) {
      EXPECT_NEAR(e.A * ArcMeridien(v[0] * kDeg, e.E), v[1], tolerance);
    } else if ((cas == "cartesien" && v.size() == 7) || (cas == "wgs84" && v.size() == 6)) {
      if (cas == "cartesien")
        GeographiqueVersCartesien(v[0] * kDeg, v[1] * kDeg, v[2], e.A, e.E, X, Y, Z);
      else
        d.Datums.back()->VersWGS84(false, v[0] * kDeg, v[1] * kDeg, X, Y, Z);
      const size_t i = v.size() - 4;
      EXPECT_NEAR(X, v[i], tolerance);
      EXPECT_NEAR(Y, v[i + 1], tolerance);
      EXPECT_NEAR(Z, v[i + 2], tolerance);
    } else {
      ADD_FAILURE() << "unknown case";
    }
  }
}

// The inverse is exact to the rounding on the sphere, for the ellipsoids of
// the Earth (Clarke 1880 IGN, GRS 80, one just within the series' reach) and
// for flatter ones, measured against the forward formula in long double. Its
// iteration has a cap and refuses non-finite input.
TEST(LatitudeIsometrique, InverseALArrondiPresEtNonConvergence) {
  for (long double e : {0.0L, 0.0824832567634L, 0.0818191910428L, 0.0893L, 0.0895L, 0.3L}) {
    for (int i = -1000; i <= 1000; ++i) {
      const long double phi = 1.5707L * i / 1000;
      const long double L = std::log(std::tan(std::numbers::pi_v<long double> / 4 + phi / 2)) -
                            e * std::atanh(e * std::sin(phi));
      ASSERT_NEAR(LatitudeIsometriqueInverse(static_cast<double>(L), static_cast<double>(e)),
                  static_cast<double>(phi), 5e-16)
          << static_cast<double>(e) << ' ' << static_cast<double>(phi);
    }
  }
  const double infini = std::numeric_limits<double>::infinity();
  for (double L : {infini, -infini, std::nan("")})
    EXPECT_EQ(essai::Message<ErreurArithmetique>([&] { LatitudeIsometriqueInverse(L, kE); }),
              MessageNonConvergence) << L;
  // An eccentricity above 1 makes every step a NaN: the cap ends the loop.
  GardeFlottante garde;
  EXPECT_THROW(LatitudeIsometriqueInverse(0.5, 1.5), ErreurArithmetique);
  garde.Faute();
}

// ψ = e·atanh(e·sin φ) and sinh ψ, summed as series for the ellipsoids of
// the Earth and up to e = 0.1, by the functions beyond: within three units
// in the last place, as good as the library's atanh and sinh composed. The
// isometric latitude from the tangent of the latitude: to the rounding (from
// the latitude, the tangent of π/4 + φ/2 leaves up to 6e-14 near the poles).
TEST(LatitudeIsometrique, TermeDeLExcentriciteEtTangenteALArrondiPres) {
  for (double ed : {0.0, 0.0818191910428, 0.0824832567634, 0.1, 0.3}) {
    for (int i = -1000; i <= 1000; ++i) {
      const double sd = i / 1000.0, t = std::tan(1.5707 * i / 1000);
      const long double e = ed, psi = e * std::atanh(e * sd);
      ASSERT_NEAR(TermeExcentricite(sd, ed), static_cast<double>(psi), 6e-16 * std::fabs(psi))
          << ed << ' ' << sd;
      ASSERT_NEAR(SinhExcentricite(sd, ed), static_cast<double>(std::sinh(psi)),
                  6e-16 * std::fabs(psi)) << ed << ' ' << sd;
      const long double L = std::asinh(static_cast<long double>(t)) -
                            e * std::atanh(e * std::sin(std::atan(static_cast<long double>(t))));
      ASSERT_NEAR(LatitudeIsometriqueTangente(t, ed), static_cast<double>(L),
                  5e-16 * std::max(1.0, std::fabs(static_cast<double>(L)))) << ed << ' ' << t;
    }
  }
}

// The latitude is that of the long double iteration to the rounding, near
// the ellipsoid (Bowring's formula alone) and away from it (iterated).
TEST(Cartesien, AllerRetourALArrondiPres) {
  for (double lambda : {-kPi, -2.0, 0.0, 0.04, 1.5, 3.1})
    for (double phi : {-1.5, -0.8, 0.0, 0.3, 0.85, 1.2, 1.5})
      for (double h : {-5000.0, -99.0, 0.0, 55.0, 99.0, 900.0, 1e6}) {
        double X, Y, Z, l, p;
        GeographiqueVersCartesien(lambda, phi, h, kA, kE, X, Y, Z);
        CartesienVersGeographique(X, Y, Z, kA, kE, l, p);
        const long double e2 = static_cast<long double>(kE) * kE, R = std::hypot(X, Y);
        long double t = Z / R;
        for (int n = 0; n < 100; ++n)
          t = Z / R / (1 - kA * e2 / R / std::sqrt(1 + (1 - e2) * t * t));
        EXPECT_NEAR(std::remainder(l - lambda, 2 * kPi), 0, 1e-15);
        EXPECT_NEAR(p, static_cast<double>(std::atan(t)), 3e-16) << phi << ' ' << h;
      }
}

// The arc tangent of the quotient within 45° of the x axis is atan2 to the
// rounding; beyond, and at the origin, atan2 itself: no fault anywhere.
TEST(Cartesien, ArcTangente2CommeAtan2) {
  GardeFlottante garde;
  for (int i = -1800; i <= 1800; ++i) {
    const double angle = kPi * i / 1800;
    for (double r : {1e-300, 1.0, 6.4e6, 1e300}) {
      const double y = r * std::sin(angle), x = r * std::cos(angle);
      ASSERT_NEAR(ArcTangente2(y, x), std::atan2(y, x), 4e-16 * std::fabs(angle) + 1e-300) << y << ' ' << x;
    }
  }
  EXPECT_EQ(ArcTangente2(0, 0), 0);
  EXPECT_EQ(ArcTangente2(1e300, 1e-300), std::atan2(1e300, 1e-300));
  EXPECT_NO_THROW(garde.Verifie());
}

// On the polar axis the iteration would divide by zero; input that is not
// finite is refused.
TEST(Cartesien, AxePolaireEtEntreeNonFinie) {
  const double b = kA * std::sqrt(1 - kE * kE);
  GardeFlottante garde;
  double lambda, phi;
  CartesienVersGeographique(0, 0, b + 100, kA, kE, lambda, phi);
  EXPECT_EQ(lambda, 0);
  EXPECT_EQ(phi, kPi / 2);
  CartesienVersGeographique(0, 0, -b + 20, kA, kE, lambda, phi);
  EXPECT_EQ(phi, -kPi / 2);
  EXPECT_NO_THROW(garde.Verifie());
  for (double x : {std::nan(""), std::numeric_limits<double>::infinity()})
    EXPECT_THROW(CartesienVersGeographique(x, 0, 1e6, kA, kE, lambda, phi), ErreurArithmetique);
}

TEST(Sphere, PointsSinguliers) {
  double lambda, phi;
  GardeFlottante garde;
  // (The negative x half-axis: see Coeurs.LeCentreDeLaSphereVaALOrigine.) On the axis: φ is the
  // sign of z times π/2, 0 at the centre.
  CartesienVersSphere(0, 0, -2, lambda, phi);
  EXPECT_EQ(lambda, 0);
  EXPECT_EQ(phi, -kPi / 2);
  CartesienVersSphere(0, 0, 0, lambda, phi);
  EXPECT_EQ(phi, 0);
  EXPECT_NO_THROW(garde.Verifie());
  EXPECT_DOUBLE_EQ(ArcMeridien(0.7, 0), 0.7);  // on the sphere the arc is the latitude
}

}  // namespace
}  // namespace vestrel
