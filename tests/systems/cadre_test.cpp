// The coordinate-system framework: the parameter interface by index, the
// plain latitude/longitude kind, the record line and the factory.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "geodesy/datum.h"
#include "systems/createur.h"
#include "systems/projlatlong.h"
#include "tools/erreurs.h"

using namespace vestrel;

namespace {

// A kind with every sort of parameter and a derived constant, to exercise
// what the framework does for every kind.
class TEssai : public TProjection {
 public:
  double X0 = 0, k0 = 1;
  int32_t Zone = 0;
  TAngle Landa0;
  bool Nord = false;
  int calculs = 0;
  double derive = 0;

  std::string Nature() const override { return "Essai"; }
  void GeoVersCarto(double, double, double& X, double& Y) const override { X = Y = 0; }
  void CartoVersGeo(double, double, double& p, double& l) const override { p = l = 0; }

 protected:
  void DecritParametres(TParametres& p) override {
    p.Reel("X0", X0).Reel("k0", k0).Entier("Fuseau", Zone).Angle("Landa0", Landa0).Booleen("Nord", Nord);
  }
  void CalculeConstantes() override {
    ++calculs;
    if (Valide) derive = 1.0 / k0;
  }
};

struct Catalogue {
  std::vector<std::unique_ptr<TEllipsoide>> ellipsoides;
  std::vector<std::unique_ptr<TDatum>> datums;
  Catalogue() {
    auto e = std::make_unique<TEllipsoide>();
    e->Nom = "GRS 80";
    e->A = DemiGrandAxeWGS84;
    e->E = ExcentriciteWGS84;
    auto d = std::make_unique<TDatum>();
    d->Nom = "WGS84";
    d->Ellipsoide = e.get();
    ellipsoides.push_back(std::move(e));
    datums.push_back(std::move(d));
  }
};

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const Erreur& e) {
    return e.what();
  }
  return "(pas d'erreur)";
}

}  // namespace

TEST(Parametres, IndicesHorsLimitesEnLectureEtEnEcriture) {
  TEssai s;
  s.SetValide(true);
  EXPECT_EQ(s.NbReel(), 2);
  EXPECT_EQ(s.NbEntier(), 1);
  EXPECT_EQ(s.NbAngle(), 1);
  EXPECT_EQ(s.NbBooleen(), 1);
  for (int i : {-1, 2}) {
    EXPECT_EQ(Message([&] { s.GetReel(i); }), "Demande de paramètre hors-limites");
    EXPECT_EQ(Message([&] { s.NomReel(i); }), "Demande de paramètre hors-limites");
  }
  EXPECT_EQ(Message([&] { s.NomAngle(1); }), "Demande de paramètre hors-limites");
  EXPECT_THROW(s.GetBooleen(1), ErreurIntervalle);
  EXPECT_EQ(Message([&] { s.SetEntier(1, 3); }), "Ecriture de paramètre hors-limites");
  EXPECT_FALSE(s.Valide);
  s.SetValide(true);
  EXPECT_EQ(Message([&] { s.SetAngle(-1, "1°"); }), "Ecriture de paramètre hors-limites");
  EXPECT_FALSE(s.Valide);
  EXPECT_EQ(s.NomParametre(2), "Fuseau");
  EXPECT_EQ(s.NomParametre(4), "Nord");
  EXPECT_EQ(s.NomParametre(5), "");
  EXPECT_EQ(s.NomParametre(-1), "");
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

TEST(Parametres, LesConstantesSuiventChaqueEcritureEtSetValide) {
  TEssai s;
  s.SetReel(1, 4.0);
  EXPECT_EQ(s.derive, 0.0);  // not yet valid: nothing derived
  s.SetValide(true);
  EXPECT_EQ(s.derive, 0.25);
  s.SetReel(1, 2.0);
  EXPECT_EQ(s.derive, 0.5);
  // A singular value is an arithmetic error and leaves the system invalid.
  EXPECT_EQ(Message([&] { s.SetReel(1, 0.0); }), "Division par zéro");
  EXPECT_FALSE(s.Valide);
}

TEST(LatLon, SansParametreEtPlateCarreeSurLeRayonA) {
  Catalogue c;
  TProj_LatLonj s;
  EXPECT_EQ(s.Nature(), "Projection Latitude/Longitude");
  EXPECT_EQ(s.NbParametres(), 0);
  EXPECT_EQ(Message([&] { s.GetReel(0); }), "Demande de paramètre hors-limites");
  EXPECT_EQ(Message([&] { s.SetReel(0, 1); }), "Ecriture de paramètre hors-limites");
  EXPECT_FALSE(s.Valide);
  s.Datum = c.datums[0].get();
  double X, Y, phi, lambda;
  s.GeoVersCarto(0, 1, X, Y);
  EXPECT_EQ(X, 6378137.0);
  EXPECT_EQ(Y, 0.0);
  s.CartoVersGeo(X, Y, phi, lambda);
  EXPECT_EQ(lambda, 1.0);
  EXPECT_EQ(phi, 0.0);
}

TEST(LigneDeSysteme, EcritureEtLectureRestituentTout) {
  Catalogue c;
  TProj_LatLonj s;
  s.Nom = "Plate carrée";
  s.Description = "";
  s.Datum = c.datums[0].get();
  std::string ligne;
  Ecriture(s, ligne);
  EXPECT_EQ(ligne,
            "Projection \"Projection Latitude/Longitude\"=\"Plate carrée\" \"\" \"WGS84\"\r\n");
  TFlux flux(ligne);
  EXPECT_EQ(LitCle(flux), "Projection \"Projection Latitude/Longitude\"");
  auto lue = CreeProjection("Projection Latitude/Longitude");
  ASSERT_TRUE(lue);
  Lecture(*lue, flux, c.datums);
  EXPECT_EQ(lue->Nom, "Plate carrée");
  EXPECT_EQ(lue->Description, "");
  EXPECT_EQ(lue->Datum, c.datums[0].get());
  EXPECT_TRUE(lue->Valide);
  EXPECT_TRUE(flux.Fin());
}

TEST(LigneDeSysteme, ErreursDeLecture) {
  Catalogue c;
  auto lire = [&](const std::string& reste) {
    TProj_LatLonj s;
    TFlux flux(reste);
    std::string m = Message([&] { Lecture(s, flux, c.datums); });
    EXPECT_FALSE(s.Valide);
    return m;
  };
  EXPECT_EQ(lire("\"a\" \"b\"\r\n"), "Nombre incorrecte de paramètre lors de la lecture d'une projection");
  EXPECT_EQ(lire("\"a\" \"b\" \"WGS84\" 1\r\n"),
            "Nombre incorrecte de paramètre lors de la lecture d'une projection");
  EXPECT_EQ(lire("\"a\" \"b\" \"wgs84\"\r\n"), "Datum wgs84 inconnu dans la projection a");
  // A double quote inside a name ends the token early: the count is wrong.
  EXPECT_EQ(lire("\"a\"b\" \"c\" \"WGS84\"\r\n"),
            "Nombre incorrecte de paramètre lors de la lecture d'une projection");
}

TEST(Fabrique, TablesEtRequetesDeParametres) {
  EXPECT_FALSE(CreeProjection("projection latitude/longitude"));
  EXPECT_FALSE(CreeMultiple("Projection Latitude/Longitude"));
  EXPECT_EQ(NombreParametres("Projection Latitude/Longitude"), 0);
  EXPECT_EQ(NombreParametres("Inconnue"), -1);
  EXPECT_EQ(NomParametre("Projection Latitude/Longitude", 0), "");
  EXPECT_EQ(NomParametre("Inconnue", -1), "");
  // Each row's nature is the one its class reports, so a written line reads
  // back into the same kind.
  for (const auto& t : TypesProjection()) EXPECT_EQ(t.Cree()->Nature(), t.Nature);
  for (const auto& t : TypesMultiple()) EXPECT_EQ(t.Cree()->Nature(), t.Nature);
}
