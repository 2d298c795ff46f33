// The coordinate-system framework: the parameter interface by index, and no
// conversion before the constants are computed.
#include <gtest/gtest.h>

#include "essais_projection.h"
#include "systems/createur.h"
#include "../commun/message.h"
#include "tools/erreurs.h"

using namespace vestrel;

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

// A system never validated has no constants: converting is an arithmetic
// error, not a silent result.
TEST(Constantes, SansValidationPasDeConversion) {
  for (const char* nature : {"UTM Fuseau", "Gauss Laborde Equatoriale"}) {
    auto p = CreeProjection(nature);
    p->Datum = essais::Catalogue().TrouveDatum("WGS84");
    double phi, lambda;
    EXPECT_THROW(essais::Retour(*p, 500000, 5000000, phi, lambda), ErreurArithmetique) << nature;
  }
}
