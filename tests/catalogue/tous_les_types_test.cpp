// Every kind of the factory through a real data file: written, read back
// byte for byte, and a point taken from WGS84 into the system and back
// through the conversion pipeline.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogue/donnee.h"
#include "../commun/dossier_temporaire.h"
#include "../commun/tous_les_types.h"
#include "systems/createur.h"
#include "tools/chemins.h"
#include "tools/codec.h"

using namespace vestrel;

TEST(TousLesTypes, ChaqueNatureSEcritSeRelitEtConvertitDansLesDeuxSens) {
  essai::TDossierTemporaire dossier;
  essai::Ecrit(dossier("entree.txt"), Utf8VersWin1252(essai::kTousLesTypes));
  TDonnees donnees;
  donnees.ChargeFichier(dossier("entree.txt"));

  // Every row of the factory tables is represented.
  std::set<std::string> natures;
  for (const auto& p : donnees.Projections) natures.insert(p->Nature());
  for (const auto& m : donnees.Multiples) natures.insert(m->Nature());
  for (const auto& t : TypesProjection()) EXPECT_TRUE(natures.count(t.Nature)) << t.Nature;
  for (const auto& t : TypesMultiple()) EXPECT_TRUE(natures.count(t.Nature)) << t.Nature;

  // Saved again, the file is the same byte for byte.
  donnees.SauveFichier(dossier("sortie.txt"));
  EXPECT_EQ(LitFichier(dossier("sortie.txt")), LitFichier(dossier("entree.txt")));

  std::vector<std::string> noms;
  donnees.ListeNoms(noms);
  for (const auto& nom : noms) {
    if (donnees.IndiceDatum(nom) >= 0) continue;
    const auto [latitude, longitude] = nom == "NZMG"   ? std::pair{"-41°30'", "174°"}
                                       : nom == "UPSN" ? std::pair{"85°", "30°"}
                                                       : std::pair{"46°10'", "3°20'"};
    int32_t zone = 0;
    std::string x, y, lat, lon;
    ASSERT_TRUE(donnees.ConvertirPoint("WGS84", nom, latitude, longitude, 0, zone,
                                       uaDMS, x, y))
        << nom;
    int32_t retour = 0;
    ASSERT_TRUE(donnees.ConvertirPoint(nom, "WGS84", x, y, zone, retour, uaDMS, lat, lon)) << nom;
    // Back to the thousandth of a second at the millimetre of the texts.
    EXPECT_EQ(lat, latitude) << nom << " " << x << " " << y;
    EXPECT_EQ(lon, longitude) << nom << " " << x << " " << y;
  }
}
