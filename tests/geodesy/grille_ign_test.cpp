#include "geodesy/grille_ign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "../commun/dossier_temporaire.h"
#include "../commun/message.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {
namespace {

using essai::TDossierTemporaire;

// The IGN layout, as in "gr3df97a.txt": four header lines, then numbered
// records with extra columns (precision code, geoid) that are not read.
constexpr const char* kGrilleIgn =
    "GR3D  002024 024 20370201  01JAN98\r\n"
    "GR3D1   -5.5000  10.0000  41.0000  52.0000    .1000    .1000\r\n"
    "GR3D2 INTERPOLATION BILINEAIRE\r\n"
    "GR3D3 PREC CM 01:5 02:10 03:20 04:50 99>100\r\n"
    "00001   -5.500000000   41.000000000  -165.000  -67.000  315.000  99  -0158\r\n"
    "00002   -5.500000000   41.100000000  -167.000  -69.000  317.000  99  -0158\r\n"
    "\r\n"
    "00112   -5.400000000   41.000000000  -166.000  -68.000  316.000  99  -0158\r\n"
    "00113   -5.400000000   41.100000000  -168.000  -70.000  318.000  99  -0158\r\n"
    "17315   10.000000000   51.900000000  -102.000  -52.000  302.000  01\r\n"
    "17316   10.000000000   52.000000000  -100.000  -50.000  300.000  01\r\n"
    "17205    9.900000000   52.000000000  -104.000  -54.000  304.000  01\r\n";

// Every layout: the file name, its text, the grid size and some nodes
// (index i·NLat + j: translations), a node no record gives being zero.
TEST(GrilleIgn, Dispositions) {
  struct TNoeud {
    size_t Indice;
    double TX, TY, TZ;
  };
  const struct {
    const char *Nom, *Texte;
    int NLon, NLat;
    std::vector<TNoeud> Noeuds;
  } cas[] = {
      // The IGN layout whatever the case of the extension (its nodes: the
      // interpolation test).
      {"grille.Txt", kGrilleIgn, 156, 111, {{111, -166, -68, 316}}},
      // One line: four values per node, the last one ignored and missing at
      // the very end of the line.
      {"grille.dat",
       "0 1 40 42 1 1\n1 2 3 0  4 5 6 0 7 8 9 0 10 11 12 0 13 14 15 0 16 17 18\n99 99 99 99\n", 2, 3,
       {{0, 1, 2, 3}, {2, 7, 8, 9}, {5, 16, 17, 18}}},
      // A seventh token on line 1 announces one record per line; CR alone ends
      // the lines; records in any order, a later one replacing an earlier one,
      // one outside the grid ignored.
      {"grille.dat",
       "0 1 40 42 1 1 fin\r1 42 5 6 7 commentaire\r\r0 40 1 1 1\r0 40 2 3 4\r5 40 9 9 9\r", 2, 3,
       {{0, 2, 3, 4}, {1, 0, 0, 0}, {5, 5, 6, 7}}},
      // Two trailing blanks after the sixth number also mean records.
      {"h.dat", "0 1 40 42 1 1  \n0 41 1 2 3\n", 2, 3, {{1, 1, 2, 3}}},
      // Tab-separated records.
      {"grille.tab", "0 1 40 41 1 1 x\n1\t41\t-1.5\t2.5\t3e1\n\t0\t\t40\t7\t8\t9\n", 2, 2,
       {{0, 7, 8, 9}, {1, 0, 0, 0}, {3, -1.5, 2.5, 30}}},
  };
  TDossierTemporaire dossier;
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Texte);
    const TGrilleIgn g(dossier.Ecrit(c.Nom, c.Texte));
    EXPECT_EQ(g.NLon, c.NLon);
    EXPECT_EQ(g.NLat, c.NLat);
    ASSERT_EQ(g.TX.size(), size_t(c.NLon * c.NLat));
    for (const TNoeud& n : c.Noeuds) {
      EXPECT_EQ(g.TX[n.Indice], n.TX) << n.Indice;
      EXPECT_EQ(g.TY[n.Indice], n.TY) << n.Indice;
      EXPECT_EQ(g.TZ[n.Indice], n.TZ) << n.Indice;
    }
  }
}

TEST(GrilleIgn, InterpolationAuxNoeudsAuMilieuEtAuxBordsSuperieurs) {
  TDossierTemporaire dossier;
  const TGrilleIgn g(dossier.Ecrit("gr3df97a.txt", kGrilleIgn));
  // Longitude, latitude, translations; then the upper corner, upper latitude
  // edge, upper longitude edge: the missing neighbours beyond the arrays weigh nothing.
  const double noeuds[][5] = {{-5.5, 41.0, -165, -67, 315},        {-5.4, 41.1, -168, -70, 318},
                              {-5.45, 41.05, -166.5, -68.5, 316.5}, {10.0, 52.0, -100, -50, 300},
                              {9.95, 52.0, -102, -52, 302},         {10.0, 51.95, -101, -51, 301}};
  double x, y, z;
  for (const auto& n : noeuds) {
    ASSERT_TRUE(g.Interpole(n[0], n[1], x, y, z)) << n[0] << " " << n[1];
    EXPECT_NEAR(x, n[2], 1e-9);
    EXPECT_NEAR(y, n[3], 1e-9);
    EXPECT_NEAR(z, n[4], 1e-9);
  }
  constexpr double eps = 1e-9;
  for (auto [lon, lat] : {std::pair{-5.5 - eps, 45.0}, {10 + eps, 45.0}, {0.0, 41 - eps}, {0.0, 52 + eps},
                          {std::nan(""), 45.0}})
    EXPECT_FALSE(g.Interpole(lon, lat, x, y, z)) << lon << " " << lat;
  // A value that is not finite (a grid altered in memory) leaves the point
  // outside, whatever its weight.
  TGrilleIgn h = g;
  h.TX[111] = std::numeric_limits<double>::infinity();
  GardeFlottante garde;
  EXPECT_FALSE(h.Interpole(-5.5, 41.0, x, y, z));
  EXPECT_FALSE(h.Interpole(-5.45, 41.0, x, y, z));
  garde.Faute();
}

TEST(GrilleIgn, FichiersIncorrects) {
  TDossierTemporaire dossier;
  EXPECT_THROW(TGrilleIgn(dossier("absente.txt")), ErreurEntreeSortie);
  // Headers that would ask for an absurd grid are refused before any
  // allocation (1e16 nodes would otherwise end in std::bad_alloc).
  for (const char* entete : {"0 1e6 0 1e6 0.0001 0.0001", "0 1 0 1 0 1", "0 1 0 1 1 -0.5",
                             "1 0 0 1 1 1", "0 1 2 1 1 1", "-1e308 1e308 0 1 1e-300 1"}) {
    const std::string chemin = dossier.Ecrit("absurde.dat", std::string(entete) + " x\n0 0 1 1 1\n");
    EXPECT_NE(essai::Message<ErreurConversion>([&] { TGrilleIgn g(chemin); }).find("En-tête de grille incorrect"),
              std::string::npos) << entete;
  }
  // Malformed numbers and missing tokens, in the header and in the nodes:
  // the message names the file and the line.
  for (auto [contenu, ligne] : {std::pair{"0 1 0 1 1\n", 1}, {"0 1 0 1 1 un x\n", 1},
                                {"0 1 0 1 1 1 x\n0 0 1 1\n", 2}, {"0 1 0 1 1 1 x\n\n0 0 1 1 1,5\n", 3},
                                {"0 1 0 1 1 1\n1 2 3 0 4 5 6\n", 2}, {"0 1 0 1 1 1\n", 2}}) {
    const std::string chemin = dossier.Ecrit("mauvaise.dat", contenu);
    const std::string message = essai::Message<ErreurConversion>([&] { TGrilleIgn g(chemin); });
    EXPECT_TRUE(message.starts_with("Grille " + chemin + ", ligne " + std::to_string(ligne) + " : ")) << message;
  }
  EXPECT_THROW(TGrilleIgn(dossier.Ecrit("courte.txt", "GR3D\nGR3D1 0 1 0 1 1\n")),
               ErreurConversion);
}

}  // namespace
}  // namespace vestrel
