// Random sequences of catalogue edits through the catalogue's own operations
// (add, replace and remove ellipsoids, datums and systems of every kind):
// after each step the catalogue converts exactly as a fresh load of its saved
// text does, and an edit it refuses changes nothing. A system on an edited
// ellipsoid or datum that kept its old constants fails here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

#include "../commun/empreinte.h"
#include "../commun/tous_les_types.h"
#include "catalogue/donnee.h"
#include "systems/createur.h"

namespace vestrel {
namespace {

using essai::TexteSauve;

class TEditions {
 public:
  explicit TEditions(unsigned graine) : hasard_(graine) {
    TFlux flux(essai::kTousLesTypes);
    modeles_.ChargeFlux(flux);
    TFlux copie(essai::kTousLesTypes);
    Donnees.ChargeFlux(copie);
    // The models hold every kind of the factory tables.
    std::set<std::string> natures;
    for (const auto& p : modeles_.Projections) natures.insert(p->Nature());
    for (const auto& m : modeles_.Multiples) natures.insert(m->Nature());
    for (const auto& t : TypesProjection()) EXPECT_TRUE(natures.count(t.Nature)) << t.Nature;
    for (const auto& t : TypesMultiple()) EXPECT_TRUE(natures.count(t.Nature)) << t.Nature;
  }

  TDonnees Donnees;

  // One random edit; the text of what was done.
  std::string Etape() {
    switch (Entier(0, 8)) {
      case 0: return "ajoute l'ellipsoïde " + Donnees.AjouteEllipsoide(Ellipsoide()).Nom;
      case 1: return Remplace(Donnees.Ellipsoides, &TEditions::Ellipsoide, &TDonnees::RemplaceEllipsoide, "ellipsoïde");
      case 2: return Supprime(Donnees.Ellipsoides, &TDonnees::SupprimeEllipsoide, "l'ellipsoïde ");
      case 3: return "ajoute le datum " + Donnees.AjouteDatum(Datum()).Nom;
      case 4: return Remplace(Donnees.Datums, &TEditions::Datum, &TDonnees::RemplaceDatum, "datum");
      case 5: return Supprime(Donnees.Datums, &TDonnees::SupprimeDatum, "le datum ");
      case 6: return "ajoute le système " + Donnees.AjouteSysteme(Systeme()).Nom;
      case 7: {
        TAncetre* ancien = Systeme(Donnees);
        if (!ancien) return "aucun système";
        auto s = Systeme();
        if (Entier(0, 1)) s->Nom = ancien->Nom;
        const std::string nom = ancien->Nom;
        Donnees.RemplaceSysteme(*ancien, std::move(s));
        return "remplace le système " + nom;
      }
      default: {
        TAncetre* s = Systeme(Donnees);
        if (!s) return "aucun système";
        const std::string nom = s->Nom;
        Donnees.SupprimeSysteme(*s);
        return "supprime le système " + nom;
      }
    }
  }

 private:
  int Entier(int min, int max) { return std::uniform_int_distribution<int>(min, max)(hasard_); }
  double Reel(double min, double max) {
    return std::uniform_real_distribution<double>(min, max)(hasard_);
  }
  std::string Nom(const char* prefixe) { return prefixe + std::to_string(++noms_); }
  // An entry past the built-in first one replaced by new values, now and then under its own name.
  std::string Remplace(auto& liste, auto nouvelles, auto remplace, const std::string& quoi) {
    auto* entree = Choisi(liste, 1);
    if (!entree) return "aucun " + quoi;
    auto valeurs = (this->*nouvelles)();
    if (Entier(0, 1)) valeurs->Nom = entree->Nom;
    (Donnees.*remplace)(*entree, *valeurs);
    return "remplace " + quoi + " " + entree->Nom;
  }
  std::string Supprime(auto& liste, auto supprime, const std::string& quoi) {
    const std::string nom = Choisi(liste, 0)->Nom;  // gone once removed
    return "supprime " + quoi + nom + ((Donnees.*supprime)(nom) ? "" : " (refusé)");
  }
  template <class T>
  T* Choisi(const std::vector<std::unique_ptr<T>>& liste, size_t premier) {
    if (liste.size() <= premier) return nullptr;
    return liste[static_cast<size_t>(Entier(static_cast<int>(premier), static_cast<int>(liste.size()) - 1))].get();
  }
  TAncetre* Systeme(const TDonnees& d) {
    const size_t n = d.Projections.size() + d.Multiples.size();
    if (n == 0) return nullptr;
    const auto i = static_cast<size_t>(Entier(0, static_cast<int>(n) - 1));
    return i < d.Projections.size() ? static_cast<TAncetre*>(d.Projections[i].get())
                                    : d.Multiples[i - d.Projections.size()].get();
  }

  // Around the Earth's, sometimes a sphere.
  std::unique_ptr<TEllipsoide> Ellipsoide() {
    auto e = std::make_unique<TEllipsoide>();
    e->Nom = Nom("E");
    e->A = Reel(6.37e6, 6.385e6);
    e->E = Entier(0, 4) == 0 ? 0 : Reel(0.05, 0.1);
    return e;
  }
  std::unique_ptr<TDatum> Datum() {
    auto d = std::make_unique<TDatum>();
    d->Nom = Nom("D");
    d->Ellipsoide = Choisi(Donnees.Ellipsoides, 0);
    for (double* translation : {&d->DeltaX, &d->DeltaY, &d->DeltaZ}) *translation = Reel(-300, 300);
    d->TroisParametres = Entier(0, 1);
    if (!d->TroisParametres) {
      for (double* rotation : {&d->RotX, &d->RotY, &d->RotZ}) *rotation = Reel(-2, 2);
      d->Echelle = Reel(-5, 5);
    }
    return d;
  }
  // A copy of a system of every kind's file, on a random datum, parameters
  // written as texts by index as the editor writes them, the reals moved a little.
  std::unique_ptr<TAncetre> Systeme() {
    const TAncetre& modele = *Systeme(modeles_);
    std::unique_ptr<TAncetre> s = CreeProjection(modele.Nature());
    if (!s) s = CreeMultiple(modele.Nature());
    s->Nom = Nom("S");
    s->Datum = Choisi(Donnees.Datums, 0);
    for (int i = 0; i < modele.NbParametres(); ++i) s->EcritParametre(i, modele.TexteParametre(i));
    for (int i = 0; i < modele.NbReel(); ++i) s->SetReel(i, modele.GetReel(i) * (1 + Reel(-1e-3, 1e-3)));
    s->SetValide(true);
    return s;
  }

  std::mt19937 hasard_;
  TDonnees modeles_;
  int noms_ = 0;
};

TEST(Editions, LeCatalogueEditeConvertitCommeSonFichierRelu) {
  const char* graine = std::getenv("VESTREL_GRAINE");
  const unsigned premiere = graine ? static_cast<unsigned>(std::strtoul(graine, nullptr, 10)) : 1;
  for (unsigned g = premiere; g < premiere + 4; ++g) {
    TEditions editions(g);
    std::string journal;
    for (int etape = 0; etape < 40 && !HasFailure(); ++etape) {
      const std::string avant = TexteSauve(editions.Donnees);
      try {
        journal += editions.Etape() + "\n";
      } catch (const Erreur& e) {
        // Refused (a system whose constants cannot be computed on its new
        // datum, a name in use): nothing changed.
        journal += std::string("refusé : ") + e.what() + "\n";
        ASSERT_EQ(TexteSauve(editions.Donnees), avant) << journal;
      }
      const std::string texte = TexteSauve(editions.Donnees);
      TDonnees relu;
      TFlux flux(texte);
      relu.ChargeFlux(flux);
      ASSERT_EQ(TexteSauve(relu), texte) << journal;
      ASSERT_EQ(essai::Empreinte(editions.Donnees), essai::Empreinte(relu))
          << "graine " << g << "\n" << journal;
    }
  }
}

}  // namespace
}  // namespace vestrel
