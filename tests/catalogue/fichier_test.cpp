// The catalogue and its data file: built-ins, unique names, record errors with
// their messages, line ends, Windows-1252 on disk, atomic saving.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "catalogue/donnee.h"
#include "../commun/dossier_temporaire.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using essai::Ecrit;
using essai::Lit;
using essai::TDossierTemporaire;

const std::string kClarke = "Ellipsoide=\"Clarke 1880 IGN\" \"Clarke 1880 (IGN) à Paris\" 6378249.2 0.0824832567634";
const std::string kNtf = "Datum=\"Triangulation\" \"Nouvelle Triangulation\" \"Clarke 1880 IGN\" -168 -60 320";
const std::string kSept = "Datum=\"Sept\" \"Sept paramètres\" \"GRS 80\" 1.5 -2.25 3 0.1 0.2 -0.3 1.2345679";
const std::string kPlate = "Projection \"Projection Latitude/Longitude\"=\"Plate 2°E\" \"Plate carrée\" \"Triangulation\"";

std::string Lignes(std::initializer_list<std::string> lignes, const char* fin = "\r\n") {
  std::string texte;
  for (const auto& l : lignes) texte += l + fin;
  return texte;
}

std::string Sauve(const TDonnees& d) {
  std::string texte;
  d.SauveFlux(texte);
  return texte;
}

TEST(Catalogue, NeufNeContientQueLesIntegres) {
  TDonnees d;
  ASSERT_EQ(d.Ellipsoides.size(), 1u);
  ASSERT_EQ(d.Datums.size(), 1u);
  EXPECT_EQ(d.Ellipsoides[0]->Nom, "GRS 80");
  EXPECT_EQ(d.Ellipsoides[0]->A, 6378137.0);
  EXPECT_EQ(d.Ellipsoides[0]->E, 0.08181919106);
  EXPECT_EQ(d.Datums[0]->Nom, "WGS84");
  EXPECT_EQ(d.Datums[0]->Ellipsoide, d.Ellipsoides[0].get());
  EXPECT_TRUE(d.Projections.empty());
  EXPECT_EQ(Sauve(d), "");
}

TEST(Catalogue, SauverPuisChargerReproduitChaqueEnregistrementDansLOrdre) {
  TDossierTemporaire dossier;
  TDonnees d;
  for (const auto& l : {kClarke, kNtf, kSept, kPlate}) d.AjouteLigne(l);
  d.AjouteLigne("Ellipsoide=\"Sphère\" \"\" 6371000 0");
  d.AjouteLigne("Projection \"Projection Latitude/Longitude\"=\"Plate WGS\" \"\" \"WGS84\"");
  const std::string fichier = dossier("donnees.txt");
  d.SauveFichier(fichier);

  TDonnees relu;
  relu.ChargeFichier(fichier);
  EXPECT_EQ(Sauve(relu), Sauve(d));
  std::vector<std::string> noms;
  relu.ListeNoms(noms);
  EXPECT_EQ(noms, (std::vector<std::string>{"WGS84", "Triangulation", "Sept", "Plate 2°E", "Plate WGS"}));
  EXPECT_EQ(relu.Ellipsoides[2]->Nom, "Sphère");
  EXPECT_EQ(relu.Projections[0]->Datum, relu.Datums[1].get());
  EXPECT_EQ(relu.Datums[2]->Echelle, 1.2345679);
  EXPECT_FALSE(relu.Datums[2]->TroisParametres);
}

TEST(Catalogue, LesNomsAccentuesSontEnWindows1252SurLeDisque) {
  TDossierTemporaire dossier;
  TDonnees d;
  d.AjouteLigne(kClarke);
  d.AjouteLigne(kNtf);
  d.AjouteLigne(kPlate);
  d.SauveFichier(dossier("d.txt"));
  const std::string octets = Lit(dossier("d.txt"));
  EXPECT_NE(octets.find("\"Plate 2\xB0" "E\""), std::string::npos);
  EXPECT_NE(octets.find("(IGN) \xE0 Paris"), std::string::npos);
  EXPECT_NE(octets.find("Plate carr\xE9" "e"), std::string::npos);
  EXPECT_EQ(octets.find('\xC3'), std::string::npos) << "no UTF-8 on disk";
  EXPECT_EQ(octets.find('\xC2'), std::string::npos) << "no UTF-8 on disk";

  TDonnees relu;
  relu.ChargeFichier(dossier("d.txt"));
  EXPECT_EQ(relu.Projections.at(0)->Nom, "Plate 2°E");
  EXPECT_EQ(relu.Projections.at(0)->Description, "Plate carrée");
}

TEST(Catalogue, ToutesLesFinsDeLigneSontLues) {
  for (const char* fin : {"\r\n", "\n", "\r", "\r\n\r\n", "\n\n\n"}) {
    TDonnees d;
    TFlux flux(Lignes({kClarke, kNtf, kPlate}, fin));
    d.ChargeFlux(flux);
    EXPECT_EQ(d.Projections.size(), 1u) << "line end " << testing::PrintToString(fin);
    EXPECT_EQ(d.Projections.at(0)->Datum, d.Datums.at(1).get());
  }
  TDonnees d;  // the last line without a line end
  TFlux flux(kClarke + "\n" + kNtf);
  d.ChargeFlux(flux);
  EXPECT_EQ(d.Datums.size(), 2u);
}

struct TCasErreur {
  const char* Nom;
  std::string Ligne;
  std::string Message;
  bool Intervalle;  // a range error rather than a conversion error
};

// Each failing line is followed by a good one, which the next call still
// reads: the rest of a failing line is always consumed.
TEST(Catalogue, ChaqueErreurDEnregistrementASonMessage) {
  const TCasErreur cas[] = {
      {"nom d'ellipsoïde pris", "Ellipsoide=\"GRS 80\" \"x\" 6378137 0.08", "GRS 80 est déjà utilisé", false},
      {"ellipsoïde au nom d'un datum", "Ellipsoide=\"WGS84\" \"x\" 6378137 0.08", "WGS84 est déjà utilisé", false},
      {"datum au nom d'un système", "Datum=\"Plate 2°E\" \"\" \"GRS 80\" 0 0 0", "Plate 2°E est déjà utilisé", false},
      {"projection en trois mots",
       "Projection \"Projection Latitude/Longitude\" x=\"A\" \"\" \"WGS84\"",
       "Définission de projection 'Projection \"Projection Latitude/Longitude\" x' incorrecte", false},
      {"multiple en un mot", "Multiple=\"A\" \"\" \"WGS84\"", "Définission de Multiple 'Multiple' incorrecte", false},
      {"mot de projection allongé", "Projections \"Projection Latitude/Longitude\"=\"A\" \"\" \"WGS84\"",
       "Donnée 'Projections \"Projection Latitude/Longitude\"' de nature inconnue", false},
      {"mot de multiple allongé", "MultipleX \"Truc\"=\"A\" \"\" \"WGS84\"",
       "Donnée 'MultipleX \"Truc\"' de nature inconnue", false},
      {"nature inconnue", "Projection \"Lambert Inconnu\"=\"A\" \"\" \"WGS84\"",
       "Projection Projection \"Lambert Inconnu\" inconnue", false},
      {"multiple inconnu", "Multiple \"Mercator Inconnu\"=\"A\" \"\" \"WGS84\" 1",
       "Multiple Multiple \"Mercator Inconnu\" inconnue", false},
      {"mot inconnu", "Truc=\"A\" 1 2", "Donnée Truc de nature inconnue", false},
      {"paramètre en trop", "Projection \"Projection Latitude/Longitude\"=\"A\" \"\" \"WGS84\" 1",
       "Nombre incorrecte de paramètre lors de la lecture d'une projection", true},
      {"datum inconnu", "Projection \"Projection Latitude/Longitude\"=\"A\" \"\" \"wgs84\"",
       "Datum wgs84 inconnu dans la projection A", true},
      {"guillemet dans un nom", "Projection \"Projection Latitude/Longitude\"=\"A\"B\" \"\" \"WGS84\"",
       "Nombre incorrecte de paramètre lors de la lecture d'une projection", true},
      {"ellipsoïde inconnu", "Datum=\"D\" \"\" \"Clarke\" 0 0 0", "Ellipsoïde Clarke inconnu dans le datum D", true},
      {"ellipsoïde incomplet", "Ellipsoide=\"E\" \"\" 6378137",
       "Nombre incorrecte de paramètre lors de la lecture d'un ellipsoïde", true},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Nom);
    TDonnees d;
    d.AjouteLigne(kClarke);
    d.AjouteLigne(kNtf);
    d.AjouteLigne(kPlate);
    const size_t avant = d.Ellipsoides.size() + d.Datums.size() + d.Projections.size();
    TFlux flux(c.Ligne + "\r\n" + "Ellipsoide=\"Suivant\" \"\" 6378137 0.08\r\n");
    try {
      d.LitEnregistrement(flux);
      ADD_FAILURE() << "no error";
    } catch (const ErreurIntervalle& e) {
      EXPECT_TRUE(c.Intervalle);
      EXPECT_EQ(e.what(), c.Message);
    } catch (const ErreurConversion& e) {
      EXPECT_FALSE(c.Intervalle);
      EXPECT_EQ(e.what(), c.Message);
    }
    EXPECT_EQ(d.Ellipsoides.size() + d.Datums.size() + d.Projections.size(), avant) << "nothing appended";
    d.LitEnregistrement(flux);
    EXPECT_EQ(d.Ellipsoides.back()->Nom, "Suivant");
    EXPECT_TRUE(flux.Fin());
  }
}

TEST(Catalogue, UnFichierChargeDeuxFoisEchoueASonPremierEnregistrement) {
  TDossierTemporaire dossier;
  Ecrit(dossier("d.txt"), Lignes({kClarke, kNtf}));
  TDonnees d;
  d.ChargeFichier(dossier("d.txt"));
  try {
    d.ChargeFichier(dossier("d.txt"));
    FAIL();
  } catch (const ErreurChargement& e) {
    EXPECT_EQ(e.Fichier, dossier("d.txt"));
    EXPECT_EQ(e.Ligne, 1);
    EXPECT_EQ(e.MessageRecord, "Clarke 1880 IGN est déjà utilisé");
  }
  EXPECT_EQ(d.Ellipsoides.size(), 2u);
  EXPECT_EQ(d.Datums.size(), 2u);
}

TEST(Catalogue, LeNumeroDeLigneCompteToutesLesFinsDeLigne) {
  TDossierTemporaire dossier;
  // Line 1, empty line 2, line 3 with LF, line 4 with CR, then the failing
  // record on line 5.
  Ecrit(dossier("d.txt"), kClarke + "\r\n\r\n" + kNtf + "\n" +
                              "Ellipsoide=\"Autre\" \"\" 6378137 0.08\r" + kSept + " 9 9\r\n" + kPlate);
  TDonnees d;
  try {
    d.ChargeFichier(dossier("d.txt"));
    FAIL();
  } catch (const ErreurChargement& e) {
    EXPECT_EQ(e.Ligne, 5);
    EXPECT_EQ(e.MessageRecord, "Nombre incorrecte de paramètre lors de la lecture d'un datum");
  }
  EXPECT_EQ(d.Ellipsoides.size(), 3u) << "the records before the failure stay";
  EXPECT_TRUE(d.Projections.empty());
}

TEST(Catalogue, UneLigneDeBlancsGateLEnregistrementSuivant) {
  TDonnees d;
  TFlux flux(kClarke + "\r\n   \r\n" + kNtf + "\r\n");
  EXPECT_THROW(d.ChargeFlux(flux), ErreurConversion);
  EXPECT_EQ(d.Ellipsoides.size(), 2u);
  EXPECT_EQ(d.Datums.size(), 1u);

  TDonnees fin;  // a last line of blanks
  TFlux flux2(kClarke + "\r\n   ");
  try {
    fin.ChargeFlux(flux2);
    FAIL();
  } catch (const ErreurConversion& e) {
    EXPECT_STREQ(e.what(), "Donnée  de nature inconnue");
  }
  EXPECT_EQ(fin.Ellipsoides.size(), 2u);
}

TEST(Catalogue, RecherchesParNomExact) {
  TDonnees d;
  for (const auto& l : {kClarke, kNtf, kPlate}) d.AjouteLigne(l);
  EXPECT_EQ(d.IndiceDatum("Triangulation"), 1);
  EXPECT_EQ(d.IndiceDatum("triangulation"), -1);
  EXPECT_EQ(d.IndiceProjection("Plate 2°E"), 0);
  EXPECT_EQ(d.TrouveSysteme("Plate 2°E"), d.Projections[0].get());
  EXPECT_EQ(d.TrouveSysteme("Triangulation"), nullptr);
  EXPECT_EQ(d.DescriptionDe("Plate 2°E"), "Plate carrée");
  EXPECT_EQ(d.DescriptionDe("Rien"), "");
  EXPECT_FALSE(d.NomLibre("Triangulation"));
  EXPECT_TRUE(d.NomLibre("Clarke 1880 IGN")) << "ellipsoids are not looked at";
  EXPECT_TRUE(d.Resout("Triangulation").Geographique());
  EXPECT_EQ(d.Resout("Plate 2°E").Projection, d.Projections[0].get());
  EXPECT_FALSE(d.Resout("Rien").Trouve());
}

TEST(Catalogue, SuppressionRefuseeQuandUtiliseeOuIntegree) {
  TDonnees d;
  for (const auto& l : {kClarke, kNtf, kPlate}) d.AjouteLigne(l);
  EXPECT_FALSE(d.SupprimeEllipsoide("Clarke 1880 IGN"));
  EXPECT_FALSE(d.SupprimeDatum("Triangulation"));
  EXPECT_FALSE(d.SupprimeDatum("WGS84"));
  EXPECT_FALSE(d.SupprimeEllipsoide("GRS 80"));
  d.Projections.clear();
  EXPECT_TRUE(d.SupprimeDatum("Triangulation"));
  EXPECT_TRUE(d.SupprimeEllipsoide("Clarke 1880 IGN"));
  EXPECT_EQ(Sauve(d), "");
}

// Saving writes a temporary file and renames it: a save that fails leaves
// the previous file whole. (Truncating the file first would lose it.)
TEST(Catalogue, UnEnregistrementQuiEchoueLaisseLAncienFichierIntact) {
  TDossierTemporaire dossier;
  const std::string fichier = dossier("donnees.txt");
  TDonnees d;
  for (const auto& l : {kClarke, kNtf, kPlate}) d.AjouteLigne(l);
  d.SauveFichier(fichier);
  const std::string ancien = Lit(fichier);

  // A name that Windows-1252 cannot hold.
  d.Projections[0]->Nom = "Plate Ω";
  EXPECT_THROW(d.SauveFichier(fichier), Erreur);
  EXPECT_EQ(Lit(fichier), ancien);
  d.Projections[0]->Nom = "Plate";

  // A disk that fills up half-way: the file-size limit makes the write fail.
  for (int i = 0; i < 200; ++i)
    d.AjouteLigne("Projection \"Projection Latitude/Longitude\"=\"P" + std::to_string(i) +
                  "\" \"\" \"WGS84\"");
  rlimit limite{};
  getrlimit(RLIMIT_FSIZE, &limite);
  const rlimit ancienne = limite;
  limite.rlim_cur = ancien.size() + 100;
  auto signal = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
  EXPECT_THROW(d.SauveFichier(fichier), ErreurEntreeSortie);
  setrlimit(RLIMIT_FSIZE, &ancienne);
  std::signal(SIGXFSZ, signal);
  EXPECT_EQ(Lit(fichier), ancien);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dossier()),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file left behind";
}

}  // namespace
}  // namespace vestrel
