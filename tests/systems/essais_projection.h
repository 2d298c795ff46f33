#pragma once
// Helpers shared by the projection-kind tests: the test ellipsoids and
// datums, a system filled the way the record reader fills it, round trips
// and the record line.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "geodesy/datum.h"
#include "systems/createur.h"
#include "tools/flottant.h"

namespace vestrel::essais {

inline constexpr double kDeg = DegresVersRadians;

// A datum on its own ellipsoid, held in a list as the catalogue holds them
// (the record reader looks datums up in such a list).
struct TDatumEssai {
  std::vector<std::unique_ptr<TEllipsoide>> ellipsoides;
  std::vector<std::unique_ptr<TDatum>> datums;
  TDatumEssai(const std::string& nom, double a, double e) {
    ellipsoides.push_back(std::make_unique<TEllipsoide>());
    ellipsoides[0]->Nom = nom;
    ellipsoides[0]->A = a;
    ellipsoides[0]->E = e;
    datums.push_back(std::make_unique<TDatum>());
    datums[0]->Nom = nom;
    datums[0]->Ellipsoide = ellipsoides[0].get();
  }
  TDatum* Datum() const { return datums[0].get(); }
};

inline double ExcentriciteDepuisInverseAplatissement(double inverse) {
  const double f = 1 / inverse;
  return std::sqrt(f * (2 - f));
}

inline const TDatumEssai& Grs80() {
  static const TDatumEssai d("GRS 80", 6378137.0, 0.0818191910428);
  return d;
}
inline const TDatumEssai& Bessel() {
  static const TDatumEssai d("Bessel 1841", 6377397.155,
                             ExcentriciteDepuisInverseAplatissement(299.1528128));
  return d;
}
// The ellipsoid of the worked examples.
inline const TDatumEssai& Exemple() {
  static const TDatumEssai d("Exemple", 6378137.0, 0.08181919106);
  return d;
}
inline const TDatumEssai& Sphere() {
  static const TDatumEssai d("Sphère", 6378137.0, 0);
  return d;
}

// A system of that nature filled as the record reader fills it: validity off,
// datum, reals, angles and booleans in index order, validity on.
inline std::unique_ptr<TProjection> Systeme(const std::string& nature, const TDatumEssai& datum,
                                            const std::vector<double>& reels,
                                            const std::vector<std::string>& angles,
                                            const std::vector<bool>& booleens = {}) {
  auto p = CreeProjection(nature);
  EXPECT_TRUE(p) << nature;
  if (!p) return p;
  p->SetValide(false);
  p->Datum = datum.Datum();
  p->Nom = nature + " essai";
  p->Description = "essai";
  for (size_t i = 0; i < reels.size(); ++i) p->SetReel(static_cast<int>(i), reels[i]);
  for (size_t i = 0; i < angles.size(); ++i) p->SetAngle(static_cast<int>(i), angles[i]);
  for (size_t i = 0; i < booleens.size(); ++i) p->SetBooleen(static_cast<int>(i), booleens[i]);
  p->SetValide(true);
  return p;
}

// Forward under a floating-point guard (as the conversion pipeline does).
inline void Aller(const TProjection& p, double phiDeg, double lambdaDeg, double& X, double& Y) {
  GardeFlottante garde;
  p.GeoVersCarto(phiDeg * kDeg, lambdaDeg * kDeg, X, Y);
  garde.Verifie();
}
inline void Retour(const TProjection& p, double X, double Y, double& phiDeg, double& lambdaDeg) {
  GardeFlottante garde;
  p.CartoVersGeo(X, Y, phiDeg, lambdaDeg);
  garde.Verifie();
  phiDeg /= kDeg;
  lambdaDeg /= kDeg;
}

// A point forward gives (X, Y) within `tolerance` metres, and its image
// comes back within 1e-9 degree.
inline void VerifiePoint(const TProjection& p, double phiDeg, double lambdaDeg, double X, double Y,
                         double tolerance) {
  double x, y, phi, lambda;
  Aller(p, phiDeg, lambdaDeg, x, y);
  EXPECT_NEAR(x, X, tolerance) << p.Nature() << " " << phiDeg << " " << lambdaDeg;
  EXPECT_NEAR(y, Y, tolerance) << p.Nature() << " " << phiDeg << " " << lambdaDeg;
  Retour(p, x, y, phi, lambda);
  EXPECT_NEAR(phi, phiDeg, 1e-9) << p.Nature();
  EXPECT_NEAR(lambda, lambdaDeg, 1e-9) << p.Nature();
}

// Forward then back over a grid of latitudes and longitudes (degrees):
// the point comes back within 1e-9 degree.
inline void AllersRetours(const TProjection& p, double phiMin, double phiMax, double lambdaMin,
                          double lambdaMax, int pas = 12) {
  for (int i = 0; i <= pas; ++i)
    for (int j = 0; j <= pas; ++j) {
      const double phi0 = phiMin + (phiMax - phiMin) * i / pas;
      const double lambda0 = lambdaMin + (lambdaMax - lambdaMin) * j / pas;
      double X, Y, phi, lambda;
      Aller(p, phi0, lambda0, X, Y);
      Retour(p, X, Y, phi, lambda);
      ASSERT_NEAR(phi, phi0, 1e-9) << p.Nature() << " at " << phi0 << " " << lambda0;
      ASSERT_NEAR(lambda, lambda0, 1e-9) << p.Nature() << " at " << phi0 << " " << lambda0;
    }
}

// The system written to its record line and read back into a fresh system
// of its nature: same name, description, datum and parameters, same line,
// and the same conversion of the point (phiDeg, lambdaDeg).
inline void VerifieLigne(const TProjection& p, const TDatumEssai& datum, double phiDeg,
                         double lambdaDeg) {
  std::string ligne;
  Ecriture(p, ligne);
  const size_t egal = ligne.find("\"=");
  ASSERT_NE(egal, std::string::npos) << ligne;
  EXPECT_EQ(ligne.substr(0, egal + 1), "Projection \"" + p.Nature() + "\"");
  auto relu = CreeProjection(p.Nature());
  ASSERT_TRUE(relu);
  TFlux flux(ligne);
  flux.Place(egal + 2);
  Lecture(*relu, flux, datum.datums);
  EXPECT_TRUE(relu->Valide);
  EXPECT_EQ(relu->Nom, p.Nom);
  EXPECT_EQ(relu->Description, p.Description);
  EXPECT_EQ(relu->Datum, p.Datum);
  for (int i = 0; i < p.NbReel(); ++i)
    EXPECT_NEAR(relu->GetReel(i), p.GetReel(i), 1e-11 * std::fabs(p.GetReel(i)));
  for (int i = 0; i < p.NbAngle(); ++i) EXPECT_EQ(relu->GetAngle(i), p.GetAngle(i));
  for (int i = 0; i < p.NbBooleen(); ++i) EXPECT_EQ(relu->GetBooleen(i), p.GetBooleen(i));
  std::string relue;
  Ecriture(*relu, relue);
  EXPECT_EQ(relue, ligne);
  double X, Y, Xr, Yr;
  Aller(p, phiDeg, lambdaDeg, X, Y);
  Aller(*relu, phiDeg, lambdaDeg, Xr, Yr);
  EXPECT_NEAR(Xr, X, 1e-6) << ligne;
  EXPECT_NEAR(Yr, Y, 1e-6) << ligne;
}

}  // namespace vestrel::essais
