// The reference cases of the projection kinds, one data file per family in
// data/ (their header says the format): published worked examples and
// independent results (PROJ's cs2cs, the command in a comment above the points).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../commun/table.h"
#include "catalogue/donnee.h"
#include "essais_projection.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

namespace fs = std::filesystem;
using namespace essais;

std::vector<std::string> Familles() {
  std::vector<std::string> noms;
  for (const auto& f : fs::directory_iterator(std::string(VESTREL_SOURCE_DIR) + "/tests/systems/data"))
    if (f.path().extension() == ".txt") noms.push_back(f.path().stem().string());
  std::sort(noms.begin(), noms.end());
  return noms;
}

class References : public testing::TestWithParam<std::string> {};

TEST_P(References, Famille) {
  TDonnees donnees;
  const TProjection* p = nullptr;
  double tolerance = 1e-3, boucle = 1e-9;
  int cas = 0;
  for (const essai::TLigneTable& l : essai::LitTable("systems/data/" + GetParam() + ".txt")) {
    const std::string& ligne = l.Texte;
    SCOPED_TRACE(l.Trace);
    if (ligne.starts_with("Ellipsoide") || ligne.starts_with("Datum") ||
        ligne.starts_with("Projection")) {
      ASSERT_NO_THROW(donnees.AjouteLigne(ligne));
      if (ligne.starts_with("Projection")) p = donnees.Projections.back().get();
      continue;
    }
    std::vector<double> v;
    const std::string mot = l.Mot(v);
    ASSERT_TRUE(p);
    ++cas;
    const double a = p->Datum->Ellipsoide->A;
    double X, Y, phi, lambda;
    if (mot == "tolerance" && v.size() == 1) {
      tolerance = v[0] / 1000;
    } else if (mot == "boucle" && v.size() == 1) {
      boucle = v[0];
    } else if ((mot == "point" || mot == "aller") && v.size() == 4) {
      Aller(*p, v[1], v[0], X, Y);
      EXPECT_NEAR(X, v[2], tolerance);
      EXPECT_NEAR(Y, v[3], tolerance);
      if (mot == "aller") continue;
      Retour(*p, X, Y, phi, lambda);
      EXPECT_NEAR(phi, v[1], boucle);
      EXPECT_NEAR(lambda, v[0], boucle);
    } else if (mot == "retour" && v.size() == 4) {
      Retour(*p, v[0], v[1], phi, lambda);
      EXPECT_NEAR(phi * kDeg * a, v[3] * kDeg * a, tolerance);
      EXPECT_NEAR(lambda * kDeg * a * std::cos(phi * kDeg), v[2] * kDeg * a * std::cos(phi * kDeg),
                  tolerance);
    } else if (mot == "singulier" && v.size() == 2) {
      EXPECT_THROW(Aller(*p, v[1], v[0], X, Y), ErreurArithmetique);
    } else if (mot == "boucles" && v.size() == 4) {
      for (int i = 0; i <= 12; ++i)
        for (int j = 0; j <= 12; ++j) {
          const double phi0 = v[0] + (v[1] - v[0]) * i / 12, lambda0 = v[2] + (v[3] - v[2]) * j / 12;
          Aller(*p, phi0, lambda0, X, Y);
          Retour(*p, X, Y, phi, lambda);
          ASSERT_NEAR(phi, phi0, boucle) << "at " << phi0 << " " << lambda0;
          ASSERT_NEAR(lambda, lambda0, boucle) << "at " << phi0 << " " << lambda0;
        }
    } else {
      ADD_FAILURE() << "ligne incomprise";
    }
  }
  EXPECT_GT(cas, 0);
}

INSTANTIATE_TEST_SUITE_P(Projections, References, testing::ValuesIn(Familles()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vestrel
