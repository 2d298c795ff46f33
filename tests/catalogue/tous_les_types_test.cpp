// Every kind of the factory through a real data file: written, read back
// byte for byte, and a point taken from WGS84 into the system and back
// through the conversion pipeline.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogue/donnee.h"
#include "../commun/dossier_temporaire.h"
#include "systems/createur.h"
#include "tools/chemins.h"
#include "tools/codec.h"

using namespace vestrel;

namespace {

// One record of each kind, with plausible parameters around (46°N, 3°E)
// unless the kind calls for another place.
const char* const kFichier =
    "Ellipsoide=\"Clarke 1880 IGN\" \"Clarke 1880 (IGN)\" 6378249.2 0.0824832567634\r\n"
    "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n"
    "Projection \"Lambert Conique\"=\"LC\" \"\" \"WGS84\" 0.725607765053 11754255.426 700000 12655612.05 3°\r\n"
    "Projection \"Lambert Conique Tangent\"=\"LT\" \"\" \"NTF\" 0.99987742 600000 2200000 2°20'14.025'' 52g\r\n"
    "Projection \"Lambert Conique Sécant\"=\"L93\" \"Lambert 93\" \"WGS84\" 700000 6600000 3° 46°30' 44° 49°\r\n"
    "Projection \"Lambert Conique Oblique\"=\"LO\" \"\" \"WGS84\" 1 0 0 3° 46° 46° 10°\r\n"
    "Projection \"Transverse Mercator Brut\"=\"TMB\" \"\" \"WGS84\" 6375585.2 500000 0 3°\r\n"
    "Projection \"Transverse Mercator\"=\"TM\" \"\" \"WGS84\" 0.9996 500000 0 3° 0°\r\n"
    "Projection \"UTM Fuseau\"=\"UTM31\" \"\" \"WGS84\" 31 0\r\n"
    "Projection \"MTM Fuseau\"=\"MTM8\" \"\" \"WGS84\" 8 0\r\n"
    "Projection \"Gauss Rosenmund\"=\"GR\" \"\" \"WGS84\" 600000 200000 3° 46°\r\n"
    "Projection \"Gauss Laborde\"=\"GL\" \"\" \"WGS84\" 1 6378137 0 0 0 3°\r\n"
    "Projection \"Gauss Laborde Courbure\"=\"GLC\" \"\" \"WGS84\" 1 160000 50000 3° 46°\r\n"
    "Projection \"Gauss Laborde Equatoriale\"=\"GLE\" \"\" \"WGS84\" 1 160000 50000 3° 46°\r\n"
    "Projection \"Gauss Laborde Bitangente\"=\"GLB\" \"\" \"WGS84\" 1 160000 50000 3° 46°\r\n"
    "Projection \"Gauss Laborde Oblique\"=\"GLO\" \"\" \"WGS84\" 1 0 0 3° 46° 30°\r\n"
    "Projection \"Hotine\"=\"H\" \"\" \"WGS84\" 1 0 0 3° 46° 30°\r\n"
    "Projection \"Hotine centré\"=\"HC\" \"\" \"WGS84\" 1 0 0 3° 46° 30°\r\n"
    "Projection \"Stéréographique\"=\"S\" \"\" \"WGS84\" 1 6378137 0 0 0 3° 46°\r\n"
    "Projection \"Stéréographique Courbure\"=\"SC\" \"\" \"WGS84\" 0.9999079 155000 463000 3° 46°\r\n"
    "Projection \"Stéréographique Equatoriale\"=\"SE\" \"\" \"WGS84\" 1 0 0 3° 46°\r\n"
    "Projection \"Stéréographique Bitangente\"=\"SB\" \"\" \"WGS84\" 1 0 0 3° 46°\r\n"
    "Projection \"Stéréographique Polaire\"=\"UPSN\" \"\" \"WGS84\" 0.994 2000000 2000000 0° 0\r\n"
    "Projection \"New Zealand Map Grid\"=\"NZMG\" \"\" \"WGS84\" 2510000 6023150 173° -41°\r\n"
    "Projection \"Bonne\"=\"B\" \"\" \"WGS84\" 0 0 3° 46°\r\n"
    "Projection \"Mercator sur sphère\"=\"M\" \"\" \"WGS84\" 0 0 3°\r\n"
    "Projection \"Projection Latitude/Longitude\"=\"LL\" \"\" \"WGS84\"\r\n"
    "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"UTM sur WGS84\" \"WGS84\" 0.9996 500000 0 10000000 -177° 6°\r\n";

struct Lieu {
  const char* Systeme;
  const char* Latitude;
  const char* Longitude;
};

}  // namespace

TEST(TousLesTypes, ChaqueNatureSEcritSeRelitEtConvertitDansLesDeuxSens) {
  essai::TDossierTemporaire dossier;
  essai::Ecrit(dossier("entree.txt"), Utf8VersWin1252(kFichier));
  TDonnees donnees;
  donnees.ChargeFichier(dossier("entree.txt"));

  // Every row of the factory tables is represented.
  std::set<std::string> natures;
  for (const auto& p : donnees.Projections) natures.insert(p->Nature());
  for (const auto& m : donnees.Multiples) natures.insert(m->Nature());
  for (const auto& t : TypesProjection()) EXPECT_TRUE(natures.count(t.Nature)) << t.Nature;
  for (const auto& t : TypesMultiple()) EXPECT_TRUE(natures.count(t.Nature)) << t.Nature;
  EXPECT_EQ(TypesProjection().size() + TypesMultiple().size(), 26u);

  // Saved again, the file is the same byte for byte.
  donnees.SauveFichier(dossier("sortie.txt"));
  EXPECT_EQ(LitFichier(dossier("sortie.txt")), LitFichier(dossier("entree.txt")));

  std::vector<std::string> noms;
  donnees.ListeNoms(noms);
  for (const auto& nom : noms) {
    if (donnees.IndiceDatum(nom) >= 0) continue;
    Lieu lieu{nom.c_str(), "46°10'", "3°20'"};
    if (nom == "NZMG") lieu = {nom.c_str(), "-41°30'", "174°"};
    if (nom == "UPSN") lieu = {nom.c_str(), "85°", "30°"};
    int32_t zone = 0;
    std::string x, y, lat, lon;
    ASSERT_TRUE(donnees.ConvertirPoint("WGS84", nom, lieu.Latitude, lieu.Longitude, 0, zone,
                                       uaDMS, x, y))
        << nom;
    int32_t retour = 0;
    ASSERT_TRUE(donnees.ConvertirPoint(nom, "WGS84", x, y, zone, retour, uaDMS, lat, lon)) << nom;
    // Back to the thousandth of a second at the millimetre of the texts.
    EXPECT_EQ(lat, std::string(lieu.Latitude)) << nom << " " << x << " " << y;
    EXPECT_EQ(lon, std::string(lieu.Longitude)) << nom << " " << x << " " << y;
  }
}
