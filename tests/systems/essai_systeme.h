#pragma once
// Test helpers shared by the projection-kind tests: an ellipsoid with its
// datum, and the record-line round trip of a system.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "geodesy/datum.h"
#include "systems/createur.h"

namespace vestrel::essai {

inline constexpr double kDeg = 0.017453292519943295;  // radians per degree

// GRS 80 as PROJ defines it (1/f = 298.257222101); Clarke 1880 (IGN).
inline constexpr double kAGrs80 = 6378137.0, kEGrs80 = 0.0818191910428158;
inline constexpr double kAClarke = 6378249.2, kEClarke = 0.08248325676;

// A datum on its own ellipsoid, kept alive by the fixture.
struct TEssaiDatum {
  TEllipsoide Ellipsoide;
  std::vector<std::unique_ptr<TDatum>> Datums;
  TEssaiDatum(double a, double e, const std::string& nom = "Essai") {
    Ellipsoide.A = a;
    Ellipsoide.E = e;
    auto d = std::make_unique<TDatum>();
    d->Nom = nom;
    d->Ellipsoide = &Ellipsoide;
    Datums.push_back(std::move(d));
  }
  TDatum* Datum() const { return Datums.front().get(); }
};

// Fills a system as the record-line reader does: reals, then angle texts.
inline void Remplit(TAncetre& systeme, const TEssaiDatum& datum,
                    const std::vector<double>& reels, const std::vector<std::string>& angles) {
  systeme.SetValide(false);
  systeme.Datum = datum.Datum();
  systeme.Nom = "Essai " + systeme.Nature();
  systeme.Description = "Système d'essai";
  for (size_t i = 0; i < reels.size(); ++i) systeme.SetReel(static_cast<int>(i), reels[i]);
  for (size_t i = 0; i < angles.size(); ++i) systeme.SetAngle(static_cast<int>(i), angles[i]);
  systeme.SetValide(true);
}

// Writes `systeme` to a record line, reads it back into a fresh object of
// the same nature and checks name, description, datum and every parameter.
inline void VerifieRelecture(const TProjection& systeme, const TEssaiDatum& datum) {
  std::string ligne;
  Ecriture(systeme, ligne);
  const std::string tete = "Projection \"" + systeme.Nature() + "\"=";
  ASSERT_EQ(ligne.rfind(tete, 0), 0u) << ligne;
  auto relu = CreeProjection(systeme.Nature());
  ASSERT_TRUE(relu);
  TFlux flux(ligne.substr(tete.size()));
  Lecture(*relu, flux, datum.Datums);
  EXPECT_TRUE(relu->Valide);
  EXPECT_EQ(relu->Nom, systeme.Nom);
  EXPECT_EQ(relu->Description, systeme.Description);
  EXPECT_EQ(relu->Datum, systeme.Datum);
  ASSERT_EQ(relu->NbParametres(), systeme.NbParametres());
  for (int i = 0; i < systeme.NbReel(); ++i)
    EXPECT_NEAR(relu->GetReel(i), systeme.GetReel(i), std::abs(systeme.GetReel(i)) * 1e-12);
  for (int i = 0; i < systeme.NbAngle(); ++i) EXPECT_EQ(relu->GetAngle(i), systeme.GetAngle(i));
  std::string relue;
  Ecriture(*relu, relue);
  EXPECT_EQ(relue, ligne);
}

}  // namespace vestrel::essai
