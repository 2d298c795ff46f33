// The catalogue shipped beside the program, "france.txt", checked system by
// system against the same systems as defined in the EPSG database of PROJ:
// the test runs PROJ's cs2cs (Debian proj-bin, proj-data) once per system with
// all the points on its standard input, and is skipped when cs2cs is missing.
//
// - Projections: points spread over each system's area of use, taken from
//   geographic coordinates on the system's own datum, agree within 1 mm with
//   cs2cs, and the inverse of cs2cs's plane coordinates comes back within 1 mm.
// - Datum shifts: the three- or seven-parameter shift agrees with cs2cs given
//   the same parameters, and with PROJ's best transformation (a grid where one
//   is installed) within the published accuracy of the parameters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/donnee.h"
#include "catalogue/fichier_ini.h"
#include "../commun/dossier_temporaire.h"
#include "tools/chemins.h"
#include "tools/nombres.h"

using namespace vestrel;
namespace fs = std::filesystem;

namespace {

constexpr double kDegre = 3.14159265358979323846 / 180;
constexpr double kRayon = 6371000;  // metres per radian of arc, for ground distances

struct TGeo {
  double Lat, Lon;  // degrees
};

const std::string& CheminFrance() {
  static const std::string chemin = std::string(VESTREL_SOURCE_DIR) + "/data/france.txt";
  return chemin;
}

bool Cs2csPresent() {
  static const bool present = std::system("command -v cs2cs >/dev/null 2>&1") == 0;
  return present;
}

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

// A grid of points between two corners, corners included.
std::vector<TGeo> Grille(double latMin, double lonMin, double latMax, double lonMax, int n = 4) {
  std::vector<TGeo> points;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      points.push_back({latMin + (latMax - latMin) * i / (n - 1),
                        lonMin + (lonMax - lonMin) * j / (n - 1)});
  return points;
}

const std::vector<TGeo> kFrance = {
    {42.70, 2.90},  {43.60, 1.44}, {43.30, 5.40},  {44.84, -0.58}, {45.76, 4.84},
    {47.22, -1.55}, {48.39, -4.49}, {48.85, 2.35}, {48.58, 7.75},  {50.63, 3.06},
    {51.05, 2.37},  {45.92, 6.87}, {42.70, 9.45},  {41.39, 9.16},  {46.16, -1.15}};
const std::vector<TGeo> kSuisse = {{45.83, 6.00}, {46.20, 6.15}, {46.95, 7.44}, {47.50, 8.50},
                                   {47.70, 9.50}, {46.50, 10.45}, {46.00, 8.95}, {47.55, 7.59}};
const std::vector<TGeo> kNouvelleZelande = {{-34.45, 172.68}, {-36.85, 174.76}, {-39.49, 176.91},
                                           {-41.29, 174.78}, {-43.53, 172.64}, {-45.87, 170.50},
                                           {-46.60, 168.35}, {-47.00, 167.90}, {-41.00, 173.00}};
const std::vector<TGeo> kReunion = Grille(-21.39, 55.22, -20.87, 55.84);
const std::vector<TGeo> kPaysBas = {{50.76, 5.70}, {51.44, 3.60}, {52.37, 4.90}, {53.00, 6.00},
                                    {53.47, 6.90}, {52.22, 7.05}, {51.92, 4.48}, {52.16, 5.39}};

// The points of a conic conformal zone CCzz: one degree on each side of zz.
std::vector<TGeo> ZoneCC(int zz) {
  return Grille(zz - 1, -4.8, zz + 1, 8.2);
}

struct TCasProjection {
  std::string Nom;       // system in france.txt
  std::string Geo;       // its datum's geographic system (latitude, longitude order)
  std::string Projete;   // the projected system (easting, northing order)
  std::vector<TGeo> Points;
};

std::vector<TCasProjection> CasProjections() {
  std::vector<TCasProjection> cas = {
      {"Lambert 93", "EPSG:4171", "EPSG:2154", kFrance},
      {"Lambert I", "EPSG:4275", "EPSG:27561", Grille(48.2, -4.8, 51.1, 8.2)},
      {"Lambert II", "EPSG:4275", "EPSG:27562", Grille(45.5, -4.8, 48.2, 8.2)},
      {"Lambert III", "EPSG:4275", "EPSG:27563", Grille(42.3, -1.8, 45.5, 7.7)},
      {"Lambert IV", "EPSG:4275", "EPSG:27564", Grille(41.3, 8.5, 43.1, 9.6)},
      {"Lambert II étendu", "EPSG:4275", "EPSG:27572", kFrance},
      {"Lambert I carto", "EPSG:4275", "EPSG:27571", Grille(48.2, -4.8, 51.1, 8.2)},
      {"Lambert III carto", "EPSG:4275", "EPSG:27573", Grille(42.3, -1.8, 45.5, 7.7)},
      {"Lambert IV carto", "EPSG:4275", "EPSG:27574", Grille(41.3, 8.5, 43.1, 9.6)},
      {"ED50 UTM 30", "EPSG:4230", "EPSG:23030", Grille(43.0, -5.0, 51.0, 0.0)},
      {"ED50 UTM 31", "EPSG:4230", "EPSG:23031", Grille(42.3, 0.0, 51.1, 6.0)},
      {"ED50 UTM 32", "EPSG:4230", "EPSG:23032", Grille(41.3, 6.0, 49.0, 9.6)},
      {"UPS Nord", "EPSG:4326", "EPSG:5041", Grille(84.0, -179.0, 89.9, 179.0)},
      {"UPS Sud", "EPSG:4326", "EPSG:5042", Grille(-89.9, -179.0, -80.0, 179.0)},
      {"Suisse MN03", "EPSG:4149", "EPSG:21781", kSuisse},
      {"NZMG", "EPSG:4272", "EPSG:27200", kNouvelleZelande},
      // The EPSG database writes Réunion's grid as a Transverse Mercator; over
      // the island it agrees with the Gauss-Laborde to a tenth of a millimetre.
      {"Gauss-Laborde Réunion", "EPSG:4626", "EPSG:3727", kReunion},
      {"RD Pays-Bas", "EPSG:4289", "EPSG:28992", kPaysBas},
  };
  for (int zz = 42; zz <= 50; ++zz)
    cas.push_back({"CC" + std::to_string(zz), "EPSG:4171", "EPSG:" + std::to_string(3900 + zz),
                   ZoneCC(zz)});
  return cas;
}

// The shipped catalogue, loaded once.
const TDonnees& Livre() {
  static const TDonnees* donnees = [] {
    auto* d = new TDonnees;
    d->ChargeFichier(CheminFrance());
    return d;
  }();
  return *donnees;
}

// The tests that need cs2cs are skipped without it.
class France : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Cs2csPresent()) GTEST_SKIP() << "cs2cs (PROJ) n'est pas installé";
  }
  const TDonnees* Donnees = &Livre();
};

// Ground distance between two geographic points in degrees, metres.
double Ecart(double lat1, double lon1, double lat2, double lon2) {
  const double dN = (lat2 - lat1) * kDegre * kRayon;
  const double dE = (lon2 - lon1) * kDegre * kRayon * std::cos(lat1 * kDegre);
  return std::hypot(dN, dE);
}

TEST_F(France, ChaqueProjectionSuitSaDefinitionEPSGAuMillimetre) {
  for (const TCasProjection& c : CasProjections()) {
    SCOPED_TRACE(c.Nom);
    const int indice = Donnees->IndiceProjection(c.Nom);
    ASSERT_GE(indice, 0);
    const TProjection& systeme = *Donnees->Projections[indice];
    std::vector<std::pair<double, double>> entree;
    for (const TGeo& p : c.Points) entree.emplace_back(p.Lat, p.Lon);
    const auto attendu = Cs2cs(c.Geo + " " + c.Projete, entree);
    ASSERT_EQ(attendu.size(), c.Points.size());
    double ecartDirect = 0, ecartInverse = 0;
    for (size_t i = 0; i < c.Points.size(); ++i) {
      const TGeo& p = c.Points[i];
      double X = 0, Y = 0;
      systeme.GeoVersCarto(p.Lat * kDegre, p.Lon * kDegre, X, Y);
      ecartDirect = std::max(ecartDirect, std::hypot(X - attendu[i].first, Y - attendu[i].second));
      double phi = 0, lambda = 0;
      systeme.CartoVersGeo(attendu[i].first, attendu[i].second, phi, lambda);
      ecartInverse =
          std::max(ecartInverse, Ecart(p.Lat, p.Lon, phi / kDegre, lambda / kDegre));
    }
    EXPECT_LT(ecartDirect, 1e-3);
    EXPECT_LT(ecartInverse, 1e-3);
  }
}

TEST_F(France, UTMMultiFuseauSuitLesFuseauxEPSG) {
  const int indice = Donnees->IndiceMultiple("UTM WGS84");
  ASSERT_GE(indice, 0);
  const TMultiple& utm = *Donnees->Multiples[indice];
  // Points of several zones on both sides of the equator, edges included.
  const std::vector<TGeo> points = {{48.85, 2.35},  {43.0, 0.0},     {51.0, 5.99},  {-33.9, 18.4},
                                    {-21.1, 55.5},  {40.7, -74.0},   {-36.85, 174.76},
                                    {64.1, -21.9},  {0.0, -177.0},   {-0.5, 179.9}};
  std::map<int32_t, std::vector<size_t>> parFuseau;
  std::vector<std::pair<double, double>> plan(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    int32_t zone = 0;
    utm.GeoVersCarto(points[i].Lat * kDegre, points[i].Lon * kDegre, plan[i].first,
                     plan[i].second, zone);
    const int attendue = int(std::floor((points[i].Lon + 180) / 6)) % 60 + 1;
    EXPECT_EQ(std::abs(zone), attendue) << points[i].Lat << " " << points[i].Lon;
    EXPECT_EQ(zone < 0, points[i].Lat < 0);
    parFuseau[zone].push_back(i);
  }
  double ecart = 0;
  for (const auto& [zone, indices] : parFuseau) {
    const std::string epsg = "EPSG:" + std::to_string((zone > 0 ? 32600 : 32700) + std::abs(zone));
    std::vector<std::pair<double, double>> entree;
    for (size_t i : indices) entree.emplace_back(points[i].Lat, points[i].Lon);
    const auto attendu = Cs2cs("EPSG:4326 " + epsg, entree);
    ASSERT_EQ(attendu.size(), indices.size());
    for (size_t k = 0; k < indices.size(); ++k) {
      const size_t i = indices[k];
      ecart = std::max(ecart, std::hypot(plan[i].first - attendu[k].first,
                                         plan[i].second - attendu[k].second));
      double phi = 0, lambda = 0;
      utm.CartoVersGeo(zone, attendu[k].first, attendu[k].second, phi, lambda);
      EXPECT_LT(Ecart(points[i].Lat, points[i].Lon, phi / kDegre, lambda / kDegre), 1e-3);
    }
  }
  EXPECT_LT(ecart, 1e-3);
}

struct TCasDatum {
  std::string Nom;
  std::string Meme;       // PROJ definition with the same shift (longitude, latitude order)
  std::string Geo;        // EPSG geographic system (latitude, longitude order)
  std::string Meilleur;   // EPSG destination of PROJ's best transformation
  double Precision;       // bound against PROJ's best transformation, metres
  double Accord;          // agreement with the same parameters, metres
  std::vector<TGeo> Points;
};

// Two transformations each good to its published accuracy may differ by the
// sum of both; PROJ's best one is a grid (about 1 m or better) or another set
// of parameters. The bound is twice the published accuracy of the file's
// parameters: the three NTF parameters, "2 m", are 3.95 m from the IGN grid
// at Brest; at Perpignan PROJ takes the Spanish ED50 parameters, 3.8 m away.
TEST_F(France, ChaqueDatumRejointWGS84DansSaPrecision) {
  const std::string wgs84 = "+proj=longlat +datum=WGS84 +type=crs";
  const std::vector<TCasDatum> cas = {
      // RGF93 and WGS84 agree to the metre; PROJ applies no shift.
      {"RGF93", "+proj=longlat +ellps=GRS80 +towgs84=0,0,0 +type=crs", "EPSG:4171", "EPSG:4326",
       2.0, 1e-3, kFrance},
      // NTF to WGS 84 (1), EPSG:1193, accuracy 2 m; PROJ's best is the IGN grid
      // when proj-data has it.
      {"NTF", "+proj=longlat +ellps=clrk80ign +towgs84=-168,-60,320 +type=crs", "EPSG:4275",
       "EPSG:4326", 4.0, 1e-3, kFrance},
      // ED50 to WGS 84 (17), EPSG:1275, France, accuracy 2 m.
      {"ED50", "+proj=longlat +ellps=intl +towgs84=-84,-97,-117 +type=crs", "EPSG:4230",
       "EPSG:4326", 4.0, 1e-3, kFrance},
      // CH1903 to WGS 84 (2), EPSG:1766, accuracy 1.5 m.
      {"CH1903", "+proj=longlat +ellps=bessel +towgs84=674.374,15.056,405.346 +type=crs",
       "EPSG:4149", "EPSG:4326", 3.0, 1e-3, kSuisse},
      // NZGD49 to WGS 84 (2), EPSG:1564, accuracy 4 m (coordinate-frame
      // rotations there; position-vector rotations, opposite signs, here).
      {"NZGD49",
       "+proj=longlat +ellps=intl +towgs84=59.47,-5.04,187.44,0.47,-0.1,1.024,-4.5993 +type=crs",
       "EPSG:4272", "EPSG:4326", 8.0, 2e-3, kNouvelleZelande},
      // Reunion 1947 to RGR92 (1), EPSG:1926, accuracy 0.1 m; RGR92 is WGS84
      // to the metre. The large rotation makes the product of scale and
      // rotation, which the two writings of the similarity round differently,
      // worth a few centimetres.
      {"Réunion 1947",
       "+proj=longlat +ellps=intl "
       "+towgs84=789.524,-626.486,-89.904,0.6006,76.7946,-10.5788,-32.3241 +type=crs",
       "EPSG:4626", "EPSG:4627", 0.2, 0.1, kReunion},
      // Amersfoort to WGS 84 (3), EPSG:15934, accuracy 1 m.
      {"Amersfoort",
       "+proj=longlat +ellps=bessel +towgs84=565.2369,50.0087,465.658,-0.406857330322,"
       "0.350732676543,-1.87034738361,4.0812 +type=crs",
       "EPSG:4289", "EPSG:4326", 2.0, 2e-3, kPaysBas},
  };
  const TDatum* arrivee = Donnees->TrouveDatum("WGS84");
  ASSERT_NE(arrivee, nullptr);
  for (const TCasDatum& c : cas) {
    SCOPED_TRACE(c.Nom);
    const TDatum* datum = Donnees->TrouveDatum(c.Nom);
    ASSERT_NE(datum, nullptr);
    std::vector<std::pair<double, double>> lonLat, latLon;
    for (const TGeo& p : c.Points) {
      lonLat.emplace_back(p.Lon, p.Lat);
      latLon.emplace_back(p.Lat, p.Lon);
    }
    const auto meme = Cs2cs(c.Meme + " +to " + wgs84, lonLat);
    const auto meilleur = Cs2cs(c.Geo + " " + c.Meilleur, latLon);
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
    EXPECT_LT(ecartMeme, c.Accord);
    EXPECT_LT(ecartMeilleur, c.Precision);
  }
}

// A point converted from NTF Lambert II étendu to RGF93 Lambert 93 through the
// three-parameter shift, against the IGN transformation grid (gr3df97a, as
// PROJ ships it in proj-data: ntf_r93.gsb), the reference of the national
// network. Figures fixed with:
//   echo "600000 2430000" | cs2cs -f %.4f EPSG:27572 EPSG:2154
//   -> 651329.8074 6863348.4608  (the grid)
//   echo "651329.8074 6863348.4608" | cs2cs -f %.4f EPSG:2154 EPSG:27572
//   -> 600000.0000 2430000.0000
TEST(FranceReference, LambertIIEtenduVersLambert93DansLaPrecisionDuDatum) {
  const TDonnees& donnees = Livre();
  int32_t zone = 0;
  std::string X, Y;
  ASSERT_TRUE(donnees.ConvertirPoint("Lambert II étendu", "Lambert 93", "600000", "2430000", 0,
                                     zone, 0, X, Y));
  const double ecart = std::hypot(LitReel(X) - 651329.8074, LitReel(Y) - 6863348.4608);
  EXPECT_LT(ecart, 2.0);  // NTF to WGS 84 (1), EPSG:1193: 2 m
  ASSERT_TRUE(donnees.ConvertirPoint("Lambert 93", "Lambert II étendu", "651329.8074",
                                     "6863348.4608", 0, zone, 0, X, Y));
  EXPECT_LT(std::hypot(LitReel(X) - 600000, LitReel(Y) - 2430000), 2.0);
}

// The tutorial's example: Paris city hall from WGS84 to Lambert 93, as
//   echo "48.856666666667 2.352222222222" | cs2cs -f %.3f EPSG:4326 EPSG:2154
//   -> 652470.714 6862042.659
TEST(FranceReference, ExempleDuTutoriel) {
  const TDonnees& donnees = Livre();
  int32_t zone = 0;
  std::string X, Y;
  ASSERT_TRUE(donnees.ConvertirPoint("WGS84", "Lambert 93", "48°51'24''", "2°21'08''", 0, zone,
                                     0, X, Y));
  EXPECT_EQ(X, "652470.714");
  EXPECT_EQ(Y, "6862042.659");
}

// The worked example of the oblique stereographic projection in the EPSG
// guidance note on coordinate operations (IOGP 373-7-2): Amersfoort / RD New,
// 53° N 6° E gives E = 196105.283 m, N = 557057.739 m.
TEST(FranceReference, RDPaysBasExempleDeLaNoteEPSG) {
  const TDonnees& donnees = Livre();
  double X = 0, Y = 0;
  donnees.Projections[donnees.IndiceProjection("RD Pays-Bas")]->GeoVersCarto(53 * kDegre,
                                                                              6 * kDegre, X, Y);
  EXPECT_NEAR(X, 196105.283, 1e-3);
  EXPECT_NEAR(Y, 557057.739, 1e-3);
}

// The file as it lies on disk: Windows-1252 and CR LF, and written back
// byte for byte by the catalogue that read it.
TEST(FranceFichier, Windows1252EnCRLFEtRelueALIdentique) {
  const std::string octets = LitFichier(CheminFrance());
  ASSERT_FALSE(octets.empty());
  size_t lignes = 0;
  for (size_t i = 0; i < octets.size(); ++i) {
    if (octets[i] == '\n') {
      ++lignes;
      EXPECT_TRUE(i > 0 && octets[i - 1] == '\r') << "ligne " << lignes;
    }
  }
  EXPECT_EQ(octets.back(), '\n');
  EXPECT_EQ(octets.find("\xC3"), std::string::npos) << "UTF-8 sur disque";
  EXPECT_NE(octets.find("\xE9"), std::string::npos) << "é en Windows-1252";

  const essai::TDossierTemporaire dossier;
  Livre().SauveFichier(dossier("copie.txt"));
  EXPECT_EQ(LitFichier(dossier("copie.txt")), octets);
}

// A new user, without a settings folder, finds the shipped systems at start
// in an installed program's ../share/vestrel/ (the other places are those of
// demarrage_test.cpp).
TEST(FranceFichier, UnNouvelUtilisateurTrouveLesSystemesLivres) {
  const essai::TDossierTemporaire racine;
  const std::string installe = racine("share/vestrel/france.txt");
  essai::Ecrit(installe, LitFichier(CheminFrance()));
  std::filesystem::create_directories(racine("bin"));
  DefinitDossierProgramme(racine("bin/"));
  const char* ancien = std::getenv("XDG_CONFIG_HOME");
  const std::string sauve = ancien ? ancien : "";
  ::setenv("XDG_CONFIG_HOME", racine("config").c_str(), 1);
  TFichierIni ini;
  ini.LitFichier();
  TDonnees donnees;
  const TDemarrage demarrage = ChargeAuDemarrage(donnees, ini);
  if (ancien) ::setenv("XDG_CONFIG_HOME", sauve.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
  DefinitDossierProgramme("");
  EXPECT_EQ(fs::weakly_canonical(demarrage.FichierCharge), fs::weakly_canonical(installe));
  EXPECT_FALSE(demarrage.Incomplet.has_value());
  std::vector<std::string> noms;
  donnees.ListeNoms(noms);
  std::vector<std::string> attendus = {
      "WGS84", "RGF93", "NTF", "ED50", "Lambert 93", "Lambert I", "Lambert II", "Lambert III",
      "Lambert IV", "Lambert II étendu", "ED50 UTM 30", "ED50 UTM 31", "ED50 UTM 32",
      "UPS Nord", "UPS Sud", "Suisse MN03", "NZMG", "Gauss-Laborde Réunion", "RD Pays-Bas"};
  for (int zz = 42; zz <= 50; ++zz) attendus.push_back("CC" + std::to_string(zz));
  for (const std::string& nom : attendus)
    EXPECT_NE(std::find(noms.begin(), noms.end(), nom), noms.end()) << nom;
  EXPECT_EQ(donnees.Multiples.size(), 1u);
  EXPECT_EQ(noms.back(), "UTM WGS84");
}

}  // namespace
