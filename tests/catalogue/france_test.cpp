// The catalogue shipped beside the program, "france.txt", checked system by
// system against the same systems in PROJ's EPSG database (data/epsg.txt):
// PROJ's cs2cs (Debian proj-bin, proj-data) runs once per system with all the
// points on its standard input; the tests are skipped when it is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/donnee.h"
#include "catalogue/pipeline.h"
#include "catalogue/epsg.h"
#include "../commun/dossier_temporaire.h"
#include "../commun/table.h"
#include "tools/chemins.h"
#include "tools/nombres.h"

using namespace vestrel;

namespace {

constexpr double kDegre = 3.14159265358979323846 / 180;
constexpr double kRayon = 6371000;  // metres per radian of arc, for ground distances

struct TGeo {
  double Lat, Lon;  // degrees
};

const std::string kCheminFrance = std::string(VESTREL_SOURCE_DIR) + "/data/france.txt";

// Runs cs2cs once: one line of two numbers per point in, the first two numbers
// of each output line back.
std::vector<std::pair<double, double>> Cs2cs(const std::string& arguments,
                                            const std::vector<std::pair<double, double>>& entree) {
  const essai::TDossierTemporaire dossier;
  std::string texte;
  for (const auto& [a, b] : entree) texte += FormatF(a, 12) + " " + FormatF(b, 12) + "\n";
  const std::string commande = "cs2cs -f %.10f " + arguments + " < '" +
                               dossier.Ecrit("entree", texte) + "' > '" + dossier("sortie") + "' 2>&1";
  const int code = std::system(commande.c_str());
  const std::string sortie = LitFichier(dossier("sortie"));
  EXPECT_EQ(code, 0) << commande << "\n" << sortie;
  std::vector<std::pair<double, double>> resultat;
  std::istringstream lignes(sortie);
  for (std::string a, b, reste; lignes >> a >> b && std::getline(lignes, reste);) {
    double x = 0, y = 0;
    EXPECT_TRUE(EssaieLitReel(a, x) && EssaieLitReel(b, y)) << "cs2cs: " << a << " " << b;
    resultat.emplace_back(x, y);
  }
  EXPECT_EQ(resultat.size(), entree.size()) << commande << "\n" << sortie;
  return resultat;
}

// The cases of data/epsg.txt (its header says the format).
struct TCas {
  std::string Mot, Nom;
  std::vector<std::string> Champs;  // after the name
  std::vector<TGeo> Points;
  std::string Trace;                // file, line and text
};

std::vector<std::string> Mots(const std::string& texte) {
  std::istringstream flux(texte);
  std::vector<std::string> mots;
  for (std::string m; flux >> m;) mots.push_back(m);
  return mots;
}

std::vector<TCas> CasEPSG() {
  std::map<std::string, std::vector<TGeo>> ensembles;
  std::vector<TCas> cas;
  for (const essai::TLigneTable& l : essai::LitTable("catalogue/data/epsg.txt")) {
    const std::string& ligne = l.Texte;
    std::vector<std::string> champs;
    for (size_t debut = 0;;) {
      const size_t fin = ligne.find(" | ", debut);
      champs.push_back(ligne.substr(debut, fin - debut));
      if (fin == std::string::npos) break;
      debut = fin + 3;
    }
    const size_t blanc = champs[0].find(' ');
    TCas c{champs[0].substr(0, blanc), champs[0].substr(blanc + 1), {}, {}, l.Trace};
    if (c.Mot == "points") {
      const std::vector<std::string> mots = Mots(c.Nom);
      for (size_t i = 1; i + 1 < mots.size(); i += 2)
        ensembles[mots[0]].push_back({LitReel(mots[i]), LitReel(mots[i + 1])});
      continue;
    }
    c.Champs.assign(champs.begin() + 1, champs.end());
    const std::vector<std::string> lieu = Mots(c.Champs.back());
    if (lieu.size() == 4) {
      const double coin[4] = {LitReel(lieu[0]), LitReel(lieu[1]), LitReel(lieu[2]), LitReel(lieu[3])};
      for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
          c.Points.push_back({coin[0] + (coin[2] - coin[0]) * i / 3, coin[1] + (coin[3] - coin[1]) * j / 3});
    } else {
      c.Points = ensembles[lieu.at(0)];
    }
    EXPECT_FALSE(c.Points.empty()) << c.Trace;
    cas.push_back(std::move(c));
  }
  EXPECT_GT(cas.size(), 30u);
  return cas;
}

// The shipped catalogue, loaded once.
const TDonnees& Livre() {
  static const TDonnees* donnees = [] {
    auto* d = new TDonnees;
    d->ChargeFichier(kCheminFrance);
    return d;
  }();
  return *donnees;
}

// The tests that need cs2cs are skipped without it.
class France : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool present = std::system("command -v cs2cs >/dev/null 2>&1") == 0;
    if (!present) GTEST_SKIP() << "cs2cs (PROJ) n'est pas installé";
  }
  const TDonnees* Donnees = &Livre();
};

// Ground distance between two geographic points in degrees, metres.
double Ecart(double lat1, double lon1, double lat2, double lon2) {
  const double dN = (lat2 - lat1) * kDegre * kRayon;
  const double dE = (lon2 - lon1) * kDegre * kRayon * std::cos(lat1 * kDegre);
  return std::hypot(dN, dE);
}

// Each projected system, and the zones its multi-zone system chooses.
TEST_F(France, ChaqueProjectionSuitSaDefinitionEPSGAuMillimetre) {
  for (const TCas& c : CasEPSG()) {
    if (c.Mot != "projection" && c.Mot != "multiple") continue;
    SCOPED_TRACE(c.Trace + " " + c.Nom);
    const std::vector<std::string> epsg = Mots(c.Champs.at(0));
    const TSystemeResolu s = Donnees->Resout(c.Nom);
    const TProjection* simple = s.Projection;
    ASSERT_TRUE(c.Mot == "projection" ? simple != nullptr : s.Multiple != nullptr);
    if (simple) {
      EXPECT_EQ(CodeEPSG(simple->Description), LitEntier(epsg.at(1).substr(5)));
    }
    // The plane coordinates and zone of each point, grouped by cs2cs target.
    std::map<std::string, std::vector<size_t>> parCible;
    std::vector<std::pair<double, double>> plan(c.Points.size());
    std::vector<int32_t> zones(c.Points.size(), 0);
    for (size_t i = 0; i < c.Points.size(); ++i) {
      const double phi = c.Points[i].Lat * kDegre, lambda = c.Points[i].Lon * kDegre;
      if (simple) {
        simple->GeoVersCarto(phi, lambda, plan[i].first, plan[i].second);
        parCible[c.Champs[0]].push_back(i);
        continue;
      }
      s.Multiple->GeoVersCarto(phi, lambda, plan[i].first, plan[i].second, zones[i]);
      const int base = LitEntier(epsg.at(zones[i] > 0 ? 1 : 2).substr(5));
      parCible[epsg[0] + " EPSG:" + std::to_string(base + std::abs(zones[i]))].push_back(i);
    }
    double ecartDirect = 0, ecartInverse = 0;
    for (const auto& [cible, indices] : parCible) {
      std::vector<std::pair<double, double>> entree;
      for (size_t i : indices) entree.emplace_back(c.Points[i].Lat, c.Points[i].Lon);
      const auto attendu = Cs2cs(cible, entree);
      ASSERT_EQ(attendu.size(), indices.size());
      for (size_t k = 0; k < indices.size(); ++k) {
        const size_t i = indices[k];
        const auto [X, Y] = attendu[k];
        ecartDirect = std::max(ecartDirect, std::hypot(plan[i].first - X, plan[i].second - Y));
        double phi = 0, lambda = 0;
        if (simple) simple->CartoVersGeo(X, Y, phi, lambda);
        else s.Multiple->CartoVersGeo(zones[i], X, Y, phi, lambda);
        ecartInverse = std::max(
            ecartInverse, Ecart(c.Points[i].Lat, c.Points[i].Lon, phi / kDegre, lambda / kDegre));
      }
    }
    EXPECT_LT(ecartDirect, 1e-3);
    EXPECT_LT(ecartInverse, 1e-3);
  }
}

TEST_F(France, ChaqueDatumRejointWGS84DansSaPrecision) {
  const TDatum* arrivee = Donnees->TrouveDatum("WGS84");
  ASSERT_NE(arrivee, nullptr);
  for (const TCas& c : CasEPSG()) {
    if (c.Mot != "datum") continue;
    SCOPED_TRACE(c.Trace + " " + c.Nom);
    const TDatum* datum = Donnees->TrouveDatum(c.Nom);
    ASSERT_NE(datum, nullptr);
    EXPECT_EQ(CodeEPSG(datum->Description), LitEntier(Mots(c.Champs[1]).at(0).substr(5)));
    const std::vector<std::string> bornes = Mots(c.Champs.at(2));
    std::vector<std::pair<double, double>> lonLat, latLon;
    for (const TGeo& p : c.Points) {
      lonLat.emplace_back(p.Lon, p.Lat);
      latLon.emplace_back(p.Lat, p.Lon);
    }
    const auto meme = Cs2cs(c.Champs[0] + " +to +proj=longlat +datum=WGS84 +type=crs", lonLat);
    const auto meilleur = Cs2cs(c.Champs[1], latLon);
    ASSERT_EQ(meme.size(), c.Points.size());
    ASSERT_EQ(meilleur.size(), c.Points.size());
    double ecartMeme = 0, ecartMeilleur = 0;
    for (size_t i = 0; i < c.Points.size(); ++i) {
      double X = 0, Y = 0, Z = 0, phi = 0, lambda = 0;
      datum->VersWGS84(false, c.Points[i].Lat * kDegre, c.Points[i].Lon * kDegre, X, Y, Z);
      arrivee->DepuisWGS84(false, X, Y, Z, phi, lambda);
      phi /= kDegre;
      lambda /= kDegre;
      ecartMeme = std::max(ecartMeme, Ecart(meme[i].second, meme[i].first, phi, lambda));
      ecartMeilleur =
          std::max(ecartMeilleur, Ecart(meilleur[i].first, meilleur[i].second, phi, lambda));
    }
    EXPECT_LT(ecartMeilleur, LitReel(bornes.at(0)));
    EXPECT_LT(ecartMeme, LitReel(bornes.at(1)));
  }
}

// The shipped NTF grid, as the programs find it beside france.txt, against
// IGN's NTv2 grid (PROJ takes ntf_r93.gsb for this pair: without it its
// answer moves by metres): 1 000 random points over France from Lambert II
// étendu to Lambert 93, and back from PROJ's images (whose inverse is exact).
TEST_F(France, LambertIIEtenduEtLambert93ParLaGrilleLivree) {
  DefinitDossierProgramme(std::string(VESTREL_SOURCE_DIR) + "/data/");
  TDonnees donnees;
  donnees.ChargeFichier(kCheminFrance);
  DefinitDossierProgramme("");
  ASSERT_NE(donnees.TrouveDatum("NTF")->Grille, nullptr);
  const TSystemeResolu lambert2 = donnees.Resout("Lambert II étendu");
  const TSystemeResolu lambert93 = donnees.Resout("Lambert 93");

  std::mt19937_64 hasard(14);
  std::uniform_real_distribution<double> latitude(42.4, 51.0), longitude(-4.7, 8.1);
  std::vector<std::pair<double, double>> points(1000);
  for (auto& [X, Y] : points) {
    const double phi = latitude(hasard) * kDegre;
    lambert2.Projection->GeoVersCarto(phi, longitude(hasard) * kDegre, X, Y);
  }
  const auto attendus = Cs2cs("EPSG:27572 EPSG:2154", points);
  ASSERT_EQ(attendus.size(), points.size());
  std::vector<double> aller, retour;
  for (size_t i = 0; i < points.size(); ++i) {
    TPointConverti p;
    ConvertitPoint(lambert2, 0, lambert93, false, points[i].first, points[i].second, false, p);
    aller.push_back(std::hypot(p.X - attendus[i].first, p.Y - attendus[i].second));
    ConvertitPoint(lambert93, 0, lambert2, false, attendus[i].first, attendus[i].second, false, p);
    retour.push_back(std::hypot(p.X - points[i].first, p.Y - points[i].second));
  }
  for (auto* ecarts : {&aller, &retour}) {
    std::sort(ecarts->begin(), ecarts->end());
    EXPECT_LE((*ecarts)[ecarts->size() / 2], 1e-3) << (ecarts == &aller ? "aller" : "retour");
    EXPECT_LE(ecarts->back(), 3e-3) << (ecarts == &aller ? "aller" : "retour");
  }
}

// Far from a system's region a point is flagged (its result still given):
// Switzerland's grid at the antipodes of Bern, Réunion's at Paris; never a
// UTM zone up to a degree beyond its edges, nor any system at the points of
// its EPSG case (epsg.txt), both ways.
TEST(FranceReference, PointsLoinDeLaRegionDEmploi) {
  const TDonnees& donnees = Livre();
  const TSystemeResolu wgs84 = donnees.Resout("WGS84");
  // The point from WGS84 to the system, or back from its coordinates.
  auto loin = [&](const std::string& nom, double lat, double lon, int32_t zone = 0) {
    const TSystemeResolu s = donnees.Resout(nom);
    TPointConverti aller, retour;
    ConvertitPoint(wgs84, 0, s, false, lat * kDegre, lon * kDegre, false, aller);
    if (s.Multiple && zone != 0)
      s.Multiple->GeoVersCartoDansZone(zone, lat * kDegre, lon * kDegre, aller.X, aller.Y);
    ConvertitPoint(s, zone ? zone : aller.Zone, wgs84, false, aller.X, aller.Y, false, retour);
    return aller.Eloigne() || retour.Eloigne();
  };
  EXPECT_TRUE(loin("Suisse MN03", -40, 170));
  EXPECT_TRUE(loin("Gauss-Laborde Réunion", 48.85, 2.35));
  // A zone typed for a point beyond its edge, from 80° S to 84° N.
  for (double lat = -80; lat <= 84; lat += 4)
    for (double lon : {-1.0, 7.0}) EXPECT_FALSE(loin("UTM WGS84", lat, lon, lat < 0 ? -31 : 31));
  for (const TCas& c : CasEPSG()) {
    if (c.Mot == "datum") continue;
    for (const TGeo& p : c.Points) EXPECT_FALSE(loin(c.Nom, p.Lat, p.Lon)) << c.Trace;
  }
}

// The file as it lies on disk, written back byte for byte by the catalogue
// that read it: Windows-1252 and CR LF, as the catalogue writes. A UTF-8
// sequence among Windows-1252 text would read back as two characters.
TEST(FranceFichier, Windows1252EnCRLFEtRelueALIdentique) {
  const std::string octets = LitFichier(kCheminFrance);
  ASSERT_FALSE(octets.empty());
  EXPECT_EQ(octets.find("\xC3"), std::string::npos) << "UTF-8 sur disque";

  const essai::TDossierTemporaire dossier;
  Livre().SauveFichier(dossier("copie.txt"));
  EXPECT_EQ(LitFichier(dossier("copie.txt")), octets);
}

// Every datum and single-zone system, the built-in WGS84 included, carries
// the code of its EPSG definition, and that code names it alone.
TEST(FranceFichier, ChaqueSystemeSeNommeParSonCodeEPSG) {
  const TDonnees& donnees = Livre();
  auto verifie = [&](const auto& liste, auto TSystemeResolu::*champ) {
    for (const auto& entree : liste) {
      const std::optional<int> code = CodeEPSG(entree->Description);
      ASSERT_TRUE(code.has_value()) << entree->Nom;
      EXPECT_EQ(ResoutNomOuCode(donnees, "EPSG:" + std::to_string(*code)).*champ, entree.get())
          << entree->Nom;
    }
  };
  verifie(donnees.Datums, &TSystemeResolu::Datum);
  verifie(donnees.Projections, &TSystemeResolu::Projection);
}

}  // namespace
