// Conversion of one point between systems of the catalogue, with the
// convergence, the linear alteration, the typed-point messages and the
// "Convertir" command's unit and zone rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>

#include "../commun/dossier_temporaire.h"
#include "catalogue/donnee.h"
#include "catalogue/pipeline.h"
#include "catalogue/convertir.h"
#include "../commun/message.h"
#include "tools/erreurs.h"

namespace vestrel {
namespace {

using essai::Message;
constexpr double kSeconde = 3.141592653589793 / 180 / 3600;

class Pipeline : public testing::Test {
 protected:
  Pipeline() {
    for (const char* ligne : {"Ellipsoide=\"Clarke\" \"\" 6378249.2 0.0824832567634",
                              "Datum=\"Triangulation\" \"\" \"Clarke\" -168 -60 320",
                              "Datum=\"Tourne\" \"\" \"GRS 80\" 0 0 0 36 0 0 0", "Ellipsoide=\"Nul\" \"\" 0 0",
                              "Datum=\"Datum nul\" \"\" \"Nul\" 0 0 0", "Datum=\"Nul Clarke\" \"\" \"Clarke\" 0 0 0",
                              "Datum=\"RGF\" \"\" \"GRS 80\" 0 0 0"})
      d.AjouteLigne(ligne);
    for (auto [nom, datum] : {std::pair{"Plate", "WGS84"}, {"Plate T", "Triangulation"}, {"Plate nulle", "Datum nul"}})
      d.AjouteLigne(std::string("Projection \"Projection Latitude/Longitude\"=\"") + nom + "\" \"\" \"" + datum + "\"");
    d.AjouteLigne("Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"\" \"WGS84\" 0.9996 500000 0 "
                  "10000000 -177° 6°");
    // A grid over 0°..5° E, 44°..50° N on a Clarke datum of zero parameters.
    std::string grille = "0 5 44 50 1 1\r\n";
    for (int k = 0; k < 6 * 7; ++k) grille += "-168 -60 320 1 ";
    d.AjouteLigne("Datum=\"Quadrillé\" \"\" \"Clarke\" 0 0 0 \"" + dossier_.Ecrit("grille.dat", grille) + "\"");
  }

  TSaisieConversion Saisie(const std::string& source, const std::string& destination,
                           const std::string& x, const std::string& y) const {
    std::vector<std::string> noms;
    d.ListeNoms(noms);
    auto indice = [&](const std::string& n) { return static_cast<int>(std::ranges::find(noms, n) - noms.begin()); };
    return {source, destination, indice(source), indice(destination), x, y, "1"};
  }

  essai::TDossierTemporaire dossier_;
  TDonnees d;
};

TEST_F(Pipeline, LeMeridienDeParisNExisteQuePourLesDatums) {
  int32_t zone = 0;
  std::string x, y;
  ASSERT_TRUE(d.ConvertirPoint("WGS84", "WGS84", "48.5°", "1°", 1, zone, uaDegres, x, y));
  EXPECT_EQ(x, "48.50000000°");
  EXPECT_EQ(y, "3.33722917°");  // 1° + 2°20'14.025''
}

TEST_F(Pipeline, LesQuatreMessagesDuPointTape) {
  const std::string latitude = "Latitude de départ incorrecte, exemple 2°24'17.036''";
  const std::string longitude = "Longitude de départ incorrecte, exemple 2°24'17.036''";
  const std::string easting = "Easting de départ incorrect, exemple 231500";
  const std::string northing = "Northing de départ incorrect, exemple 231500";
  const struct {
    const char *Systeme, *X, *Y;
    std::string Message;
  } cas[] = {
      {"WGS84", "48.5", "2°", latitude},
      {"WGS84", "48.5°", "2", longitude},
      {"WGS84", "0", "12°34'56.7''", ""},
      {"Plate", "231500.5", "1e", northing},
      {"Rien", "48.5°", "1", easting},  // a name that is nothing is read as a system
      // Beyond the poles and three turns of longitude: refused.
      {"WGS84", "95°", "0°", "La latitude de départ doit être comprise entre -90° et 90°"},
      {"WGS84", "-90.000001°", "0°", "La latitude de départ doit être comprise entre -90° et 90°"},
      {"WGS84", "0°", "1e308°", "La longitude de départ doit être comprise entre -360° et 360°"},
      {"WGS84", "-100g", "-400g", ""},
      {"WGS84", "90°", "-360°", ""},
  };
  double X, Y, Z;
  for (const auto& c : cas)
    EXPECT_EQ(Message([&] { d.LireDepart(c.Systeme, c.X, c.Y, 0, X, Y, Z); }), c.Message) << c.X;
  EXPECT_FALSE(d.LireDepart("Rien", "1", "1", 0, X, Y, Z));
  std::string texte = "inchangé";
  EXPECT_FALSE(d.Convergence("Rien", "WGS84", "x", "y", 0, uaDegres, texte));
  EXPECT_EQ(texte, "inchangé");
  double alteration = -1;
  EXPECT_EQ(Message([&] { d.AlterationLineaire("Plate", "WGS84", "1", "1 ", 0, alteration); }), northing);
}

// A system to itself neither turns nor stretches.
TEST_F(Pipeline, VersLuiMeme) {
  TPointConverti p;
  ConvertitPoint(d.Resout("Plate T"), 0, d.Resout("Plate T"), false, 231500, 5000000, true, p);
  EXPECT_NEAR(p.X, 231500, 1e-4);
  EXPECT_NEAR(p.Y, 5000000, 1e-4);
  EXPECT_NEAR(p.Convergence, 0, 1e-6);
  EXPECT_NEAR(p.Alteration, 1, 1e-6);
}

// Near a pole the image of north may point anywhere: the convergence takes
// the whole circle. The values are those of proj -V with the opposite sign
// (PROJ counts from grid north to true north):
//   proj -V +proj=stere +lat_0=90 +lat_ts=90 +lon_0=0 +k_0=0.994
//     +x_0=2000000 +y_0=2000000 +a=6378137 +e=0.08181919106   (and -90)
TEST_F(Pipeline, ConvergenceAutourDesPoles) {
  d.AjouteLigne("Projection \"Stéréographique Polaire\"=\"UPS N\" \"\" \"WGS84\" 0.994 2000000 2000000 0 0");
  d.AjouteLigne("Projection \"Stéréographique Polaire\"=\"UPS S\" \"\" \"WGS84\" 0.994 2000000 2000000 0 1");
  const struct {
    const char* Systeme;
    double Lat, Lon, Convergence;
  } cas[] = {{"UPS N", 85, 150, -150}, {"UPS N", 88, -120, 120}, {"UPS N", 84, 30, -30},
             {"UPS S", -87, 100, 100}, {"UPS S", -85, -20, -20}};
  constexpr double kDegre = 3.141592653589793 / 180;
  for (const auto& c : cas) {
    TPointConverti p;
    ConvertitPoint(d.Resout("WGS84"), 0, d.Resout(c.Systeme), false, c.Lat * kDegre,
                   c.Lon * kDegre, true, p);
    EXPECT_NEAR(p.Convergence / kDegre, c.Convergence, 1e-6) << c.Systeme << " " << c.Lon;
  }
}

TEST_F(Pipeline, LesFautesArithmetiquesFinissentLaCommande) {
  // At 1e19 m, 100 m more is the same double: both points coincide.
  std::string texte = "inchangé";
  EXPECT_THROW(d.Convergence("Plate", "Plate", "0", "1e19", 0, uaDegres, texte), ErreurArithmetique);
  EXPECT_EQ(texte, "inchangé");
  TResultatConversion r;
  EXPECT_THROW(Convertir(d, Saisie("Plate", "Plate", "0", "1e19"), r), ErreurArithmetique);
  EXPECT_TRUE(r.XDest) << "the steps already done stay";
  EXPECT_FALSE(r.Convergence);

  // A formula at a singular point (an ellipsoid of no size): the message
  // names the step and the system. A point is first converted with one test
  // of the flags at the end; a fault must still end it with the error of its
  // first faulty step, here the division by a = 0, not the later failure of
  // the iteration fed with an infinity. Faults raised before the conversion
  // are left as they were.
  std::feclearexcept(FE_ALL_EXCEPT);
  std::feraiseexcept(FE_OVERFLOW);
  TPointConverti p;
  EXPECT_EQ(Message([&] { ConvertitPoint(d.Resout("Plate nulle"), 0, d.Resout("Plate"), false,
                                         1, 1, false, p); }),
            "Division par zéro dans les formules inverses de Plate nulle");
  EXPECT_EQ(Message([&] { ConvertitPoint(d.Resout("Plate"), 0, d.Resout("Plate"), false, 0,
                                         1e19, true, p); }),
            "Opération en virgule flottante incorrecte dans le calcul de la convergence");
  EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW), FE_OVERFLOW);
  std::feclearexcept(FE_ALL_EXCEPT);
}

// The "Convertir" command: the unit index, the zone texts, the Paris box.
// Expected texts: nullptr is not looked at, "-" is no text at all.
TEST_F(Pipeline, CommandeConvertir) {
  const struct {
    const char *Source, *Destination, *X, *Y;
    int Unite;
    const char* Fuseau;
    bool Actif, Paris;
    std::string Message;
    const char *XDest, *YDest, *FuseauDest;
  } cas[] = {
      {"WGS84", "WGS84", "48.51°", "2°", 0, "1", false, false, "", "48.51000000°", nullptr, "-"},
      {"WGS84", "WGS84", "48.51°", "2°", 4, "1", false, false, "Unité d'angle inconnue", "-", "-", "-"},
      // The unit changes only geographic outputs.
      {"WGS84", "Plate T", "48.51°", "2°", 0, "1", false, false, "", "222724.405", nullptr, "-"},
      {"WGS84", "Plate T", "48.51°", "2°", 3, "1", false, false, "", "222724.405", nullptr, "-"},
      // A single-zone source ignores a bad zone text (its edit is disabled);
      // a multi-zone one stops and focuses the edit (below).
      {"Plate", "WGS84", "0", "0", 0, "abc", false, false, "", "0.00000000°", nullptr, "-"},
      // A multi-zone destination shows the zone it chose, negative in the south.
      {"WGS84", "UTM", "-10°", "3°", 0, "1", false, false, "", "500000.000", nullptr, "-31"},
      // The Paris box counts only on a geographic side: a projection sees
      // Greenwich longitudes.
      {"WGS84", "WGS84", "10°", "3°", 0, "1", false, true, "", nullptr, "0.66277083°", "-"},
      {"WGS84", "Plate", "0°", "3°", 0, "1", false, true, "", "333958.472", nullptr, "-"},
      // An unknown source leaves empty texts and an alteration of 0.
      {"Rien", "WGS84", "1", "2", 0, "1", false, false, "", "", "", "-"},
      // The zones of six-degree zones are 1 to 60, negative in the south: a
      // multi-zone source stops and focuses the zone edit.
      {"UTM", "WGS84", "500000", "0", 0, "0", true, false,
       "Le fuseau de départ 0 n'existe pas dans UTM : fuseaux 1 à 60, et -1 à -60 au sud", "-", "-", "-"},
      {"UTM", "WGS84", "500000", "0", 0, "-61", true, false,
       "Le fuseau de départ -61 n'existe pas dans UTM : fuseaux 1 à 60, et -1 à -60 au sud", "-", "-", "-"},
      {"UTM", "WGS84", "500000", "10000000", 0, "-60", true, false, "", "0.00000000°", "177.00000000°", "-"},
  };
  auto texte = [](const std::optional<std::string>& t) { return t.value_or("-"); };
  for (const auto& c : cas) {
    TSaisieConversion s = Saisie(c.Source, c.Destination, c.X, c.Y);
    s.IndiceUnite = c.Unite;
    s.FuseauSource = c.Fuseau;
    s.FuseauSourceActif = c.Actif;
    s.ParisDestination = c.Paris;
    TResultatConversion r;
    SCOPED_TRACE(testing::Message() << c.Source << " -> " << c.Destination << " " << c.X << " "
                                    << c.Y << " unité " << c.Unite << " fuseau " << c.Fuseau);
    EXPECT_EQ(Message([&] { Convertir(d, s, r); }), c.Message);
    EXPECT_EQ(r.FocusFuseauSource, c.Actif && !c.Message.empty());
    for (auto [attendu, obtenu] : {std::pair{c.XDest, &r.XDest}, {c.YDest, &r.YDest}})
      if (attendu) {
        EXPECT_EQ(texte(*obtenu), attendu);
      }
    EXPECT_EQ(texte(r.FuseauDest), c.FuseauDest);
    if (std::string(c.Source) == "Rien") {
      EXPECT_EQ(r.Convergence, "");
      EXPECT_EQ(r.Alteration, "0");
    }
  }
}

// Beside each result: how each datum was shifted, and the warning of a point
// far from a system's region (the result is still given).
TEST_F(Pipeline, MethodeEtAvertissementDuResultat) {
  const struct {
    const char *Source, *Destination, *X, *Y, *Methode, *Avertissement;
  } cas[] = {
      {"WGS84", "RGF", "45°", "3°", "aucune (même datum)", ""},  // one ellipsoid, no shift
      {"WGS84", "Nul Clarke", "45°", "3°", "aucune (paramètres nuls)", ""},
      {"Plate T", "WGS84", "0", "5000000", "3 paramètres (Triangulation)", ""},
      {"Tourne", "Triangulation", "45°", "3°", "7 paramètres (Tourne), 3 paramètres (Triangulation)", ""},
      {"Quadrillé", "WGS84", "45°", "3°", "grille de correction (Quadrillé)", ""},
      {"WGS84", "Quadrillé", "45°", "7°", "hors grille : 3 paramètres (Quadrillé)", ""},
      {"Quadrillé", "Quadrillé", "30°", "3°", "aucune (même datum)", ""},
      // A multi-zone destination takes the zone of the point.
      {"WGS84", "UTM", "0°", "-13°", "aucune (même datum)", ""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(std::string(c.Source) + " -> " + c.Destination + " " + c.X + " " + c.Y);
    TResultatConversion r;
    Convertir(d, Saisie(c.Source, c.Destination, c.X, c.Y), r);
    EXPECT_EQ(r.Methode, c.Methode);
    EXPECT_EQ(r.Avertissement, c.Avertissement);
  }

  // A zone typed far from the point: the source's own scale tells, in the
  // zone typed, not in the zone of the point; the zone of a destination is
  // that of the point.
  TPointConverti p;
  const TSystemeResolu utm = d.Resout("UTM"), wgs84 = d.Resout("WGS84");
  for (auto [zone, loin] : {std::pair{31, false}, {33, true}, {-31, false}}) {
    SCOPED_TRACE(zone);
    double X = 0, Y = 0;
    utm.Multiple->GeoVersCartoDansZone(zone, 0.5 * kSeconde, 3600 * kSeconde, X, Y);
    ConvertitPoint(utm, zone, wgs84, false, X, Y, false, p);
    EXPECT_EQ(p.Eloigne(), loin) << p.EchelleDepart;
    EXPECT_EQ(TexteEloigne(utm, wgs84, p).empty(), !loin);
  }
  ConvertitPoint(wgs84, 0, utm, false, 0.7, -0.3, false, p);
  EXPECT_FALSE(p.Eloigne());
  EXPECT_NEAR(p.EchelleArrivee, 0.9996, 1e-3);
}

}  // namespace
}  // namespace vestrel
