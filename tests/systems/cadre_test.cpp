// The coordinate-system framework: the parameter interface by index and the
// constants that follow the parameters.
#include <gtest/gtest.h>

#include <array>

#include "essais_projection.h"
#include "tools/nombres.h"
#include "systems/createur.h"
#include "../commun/message.h"
#include "tools/erreurs.h"

using namespace vestrel;
using essais::Catalogue;

namespace {

// A kind with every sort of parameter, to exercise what the framework does
// for every kind.
class TEssai : public TProjection {
 public:
  double X0 = 0, k0 = 1;
  int32_t Zone = 0;
  TAngle Landa0;
  bool Nord = false;

  std::string Nature() const override { return "Essai"; }
  void GeoVersCarto(double, double, double& X, double& Y) const override { X = Y = 0; }
  void CartoVersGeo(double, double, double& p, double& l) const override { p = l = 0; }

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("X0", X0).Reel("k0", k0).Entier("Fuseau", Zone).Angle("Landa0", Landa0).Booleen("Nord", Nord);
  }
};

using essai::Message;

}  // namespace

TEST(Parametres, IndicesHorsLimitesEnLectureEtEnEcriture) {
  TEssai s;
  s.SetValide(true);
  for (int i : {-1, 2}) {
    EXPECT_EQ(Message([&] { s.GetReel(i); }), "Demande de paramètre hors-limites");
    EXPECT_EQ(Message([&] { s.NomReel(i); }), "Demande de paramètre hors-limites");
  }
  EXPECT_EQ(Message([&] { s.NomAngle(1); }), "Demande de paramètre hors-limites");
  EXPECT_THROW(s.GetBooleen(1), ErreurIntervalle);
  EXPECT_EQ(Message([&] { s.SetEntier(1, 3); }), "Écriture de paramètre hors-limites");
  EXPECT_FALSE(s.Valide);
  s.SetValide(true);
  EXPECT_EQ(Message([&] { s.SetAngle(-1, "1°"); }), "Écriture de paramètre hors-limites");
  EXPECT_FALSE(s.Valide);
  for (auto [i, nom] : {std::pair{2, "Fuseau"}, {4, "Nord"}, {5, ""}, {-1, ""}}) EXPECT_EQ(s.NomParametre(i), nom) << i;
  EXPECT_EQ(NombreParametres("Inconnue"), -1);
  EXPECT_EQ(NomParametre("Inconnue", 0), "");
}

TEST(Parametres, UnAngleIlliscibleGardeSonTexteEtLAncienneValeur) {
  TEssai s;
  s.SetAngle(0, "3°");
  s.SetValide(true);
  EXPECT_THROW(s.SetAngle(0, "3,5°"), ErreurConversion);
  EXPECT_EQ(s.GetAngle(0), "3,5°");
  EXPECT_DOUBLE_EQ(s.Landa0.Valeur, 3 * DegresVersRadians);
  EXPECT_FALSE(s.Valide);
}

// The constants of each kind follow the writes of its parameters: after each
// change the result is that of a system read afresh. Writes while invalid
// wait for SetValide(true), which also follows an ellipsoid edited in place.
TEST(Constantes, SuiventLesParametresEtLEllipsoide) {
  struct {
    const char *nature, *reste;
    double phi, lambda;
  } const cas[] = {
      {"Lambert Conique Tangent", "600000 2200000 2°20'14.025'' 52g", 47, 3},
      {"Gauss Laborde Bitangente", "160000 50000 55°32' -21°07'", -21, 55.3},
      {"Stéréographique Bitangente", "600000 200000 2.3° 46.8°", 47.8, 3.3},
      {"Gauss Laborde Oblique", "600000 200000 8° 46.5° 30°", 47.2, 9.1},
      {"Hotine centré", "600000 200000 8° 46.5° 30°", 47.2, 9.1},
      {"Transverse Mercator", "500000 0 3° 10°", 45, 5}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nature);
    // The result at (phi, lambda) of a system on an ellipsoid (a, e).
    auto lu = [&](TDonnees& d, double a, double e, double k0) -> TProjection& {
      d.AjouteLigne("Ellipsoide=\"E\" \"\" " + FormatG(a, 12) + " " + FormatG(e, 12));
      d.AjouteLigne("Datum=\"D\" \"\" \"E\" 0 0 0");
      d.AjouteLigne("Projection \"" + std::string(c.nature) + "\"=\"S\" \"\" \"D\" " +
                    FormatG(k0, 12) + " " + c.reste);
      return *d.Projections.back();
    };
    // The image of (phi, lambda) and the inverse of that image.
    auto resultat = [&](const TProjection& p) {
      double X, Y, phi, lambda;
      essais::Aller(p, c.phi, c.lambda, X, Y);
      essais::Retour(p, X, Y, phi, lambda);
      return std::array{X, Y, phi, lambda};
    };
    auto frais = [&](double a, double e, double k0) {
      TDonnees d;
      return resultat(lu(d, a, e, k0));
    };
    TDonnees d;
    TProjection& s = lu(d, 6378137, 0.08181919106, 0.9999);
    EXPECT_EQ(resultat(s), frais(6378137, 0.08181919106, 0.9999));
    s.SetReel(0, 0.999);
    EXPECT_EQ(resultat(s), frais(6378137, 0.08181919106, 0.999));
    s.SetValide(false);
    s.SetReel(0, 0.5);
    EXPECT_EQ(resultat(s), frais(6378137, 0.08181919106, 0.999));
    s.SetValide(true);
    EXPECT_EQ(resultat(s), frais(6378137, 0.08181919106, 0.5));
    d.TrouveEllipsoide("E")->A = 6378249.2;
    d.TrouveEllipsoide("E")->E = 0.0824832567634;
    s.SetValide(true);
    EXPECT_EQ(resultat(s), frais(6378249.2, 0.0824832567634, 0.5));
  }
}

// A system never validated has no constants: converting is an arithmetic
// error, not a silent result.
TEST(Constantes, SansValidationPasDeConversion) {
  for (const char* nature : {"UTM Fuseau", "Gauss Laborde Equatoriale"}) {
    auto p = CreeProjection(nature);
    p->Datum = Catalogue().TrouveDatum("WGS84");
    double phi, lambda;
    EXPECT_THROW(essais::Retour(*p, 500000, 5000000, phi, lambda), ErreurArithmetique) << nature;
  }
}
