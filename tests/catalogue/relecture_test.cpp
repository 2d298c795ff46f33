// What the catalogue accepts, it writes as a file that reads back: cases
// found by fuzzing the data-file reader and the record-line reader.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/donnee.h"
#include "../commun/dossier_temporaire.h"

using namespace vestrel;

namespace {

std::string Sauve(const TDonnees& d) {
  std::string s;
  d.SauveFlux(s);
  return s;
}

void AttendRefus(const std::string& ligne) {
  TDonnees d;
  d.AjouteLigne("Ellipsoide=\"Clarke\" \"Clarke 1880\" 6378249.2 0.0824832567634");
  const std::string avant = Sauve(d);
  try {
    d.AjouteLigne(ligne);
    ADD_FAILURE() << "acceptée : " << ligne;
  } catch (const ErreurConversion& e) {
    EXPECT_NE(std::string(e.what()).find("guillemet"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Sauve(d), avant);
}

}  // namespace

// The lines quote their texts without escape: a text holding a double quote
// (an unquoted token that ends with one) would be saved as a line that no
// longer reads, and the next load would lose every record after it.
TEST(Relecture, UnGuillemetDansUnTexteEstRefuseALaLecture) {
  AttendRefus("Ellipsoide=a\"b \"x\" 6378249.2 0.08");
  AttendRefus("Ellipsoide=\"E\" !\" 6378249.2 0.08");
  AttendRefus("Datum=\"D\" d\" \"Clarke\" -168 -60 320");
  AttendRefus("Datum=\"D\" \"d\" \"Clarke\" -168 -60 320 0 0 0 0 grille-absente.txt\"");
  AttendRefus("Projection \"Bonne\"=\"B\" a\"b \"WGS84\" 0 0 3° 46°");
  AttendRefus("Multiple \"Transverse Mercator Multiple\"=U\"TM \"\" \"WGS84\" 0.9996 500000 0 "
              "10000000 -177° 6°");
}

TEST(Relecture, UnFichierSArreteAuGuillemetEtCeQuiEstSauveSeRelit) {
  essai::TDossierTemporaire dossier;
  const std::string chemin = dossier.Ecrit(
      "donnees.txt",
      "Ellipsoide=\"Clarke\" \"Clarke 1880\" 6378249.2 0.0824832567634\r\n"
      "Datum=\"NTF\" \"Nouvelle\" \"Clarke\" -168 -60 320 *\r\n"
      "Projection \"Bonne\"=\"B\" !\" \"NTF\" 0 0 3\xB0 46\xB0\r\n"
      "Projection \"Mercator sur sph\xE8re\"=\"M\" \"\" \"WGS84\" 0 0 3\xB0\r\n");
  TDonnees d;
  try {
    d.ChargeFichier(chemin);
    ADD_FAILURE() << "chargé en entier";
  } catch (const ErreurChargement& e) {
    EXPECT_EQ(e.Ligne, 3);
  }
  EXPECT_EQ(d.Datums.size(), 2u);
  EXPECT_TRUE(d.Projections.empty());
  TDonnees relu;
  TFlux flux(Sauve(d));
  relu.ChargeFlux(flux);
  EXPECT_EQ(Sauve(relu), Sauve(d));
}
