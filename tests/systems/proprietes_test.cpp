// Properties of every kind of the factory tables, on random systems:
// - with plausible parameters, a point of the kind's useful area goes to the
//   plane and back within 1e-9°, or the program's error is raised
//   (vestrel::Erreur, as the conversion pipeline would report it);
// - with any parameters and any point, a conversion ends (every loop has a
//   cap) and never hands back a number that is not finite as a result.
// - the Gauss-Krüger sums of the Transverse Mercator kinds, evaluated by
//   Clenshaw's recurrence, stay within 1e-9 m of the term-by-term sums over
//   their useful areas.
// The plausible systems and their areas are drawn from the lines of
// data/proprietes/natures.txt; a kind of the tables without a line is reported.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "geodesy/datum.h"
#include "geodesy/ellipsoide.h"
#include "geodesy/geodesie.h"
#include "systems/createur.h"
#include "systems/transmercator_brut.h"
#include "tools/chemins.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"
#include "tools/nombres.h"

namespace vestrel {
namespace {

using Alea = std::mt19937_64;
constexpr double kDeg = DegresVersRadians;

// A datum on its own ellipsoid of any size and eccentricity.
struct TDatumEssai {
  TEllipsoide ellipsoide;
  TDatum datum;
  TDatumEssai(double a, double e) {
    ellipsoide.Nom = datum.Nom = "essai";
    ellipsoide.A = a;
    ellipsoide.E = e;
    datum.Ellipsoide = &ellipsoide;
  }
  TDatumEssai(const TDatumEssai&) = delete;  // the datum points at its own ellipsoide
};

double Uniforme(Alea& alea, double min, double max) {
  return std::uniform_real_distribution<double>(min, max)(alea);
}
int Entier(Alea& alea, int min, int max) { return std::uniform_int_distribution<int>(min, max)(alea); }
bool PileOuFace(Alea& alea) { return Entier(alea, 0, 1) == 1; }
double Signe(Alea& alea) { return PileOuFace(alea) ? 1.0 : -1.0; }

// ---- A conversion that must end ----------------------------------------------
// A watchdog alarm: a single conversion that takes longer than 20 s is a
// hang; the test stops with the kind, its parameters and the point.
char gConversion[4096];

void SansFin(int) {
  constexpr std::string_view kTitre = "Conversion sans fin : ";
  // Only async-signal-safe calls here.
  [[maybe_unused]] const bool ecrit = write(STDERR_FILENO, kTitre.data(), kTitre.size()) > 0 &&
                                      write(STDERR_FILENO, gConversion, std::strlen(gConversion)) > 0;
  std::abort();
}

struct TChien {
  TChien() { std::signal(SIGALRM, SansFin); }
  ~TChien() { Fin(), std::signal(SIGALRM, SIG_DFL); }
  void Debut(const std::string& description) {
    gConversion[description.copy(gConversion, sizeof gConversion - 1)] = '\0';
    alarm(20);
  }
  void Fin() { alarm(0); }
};

// ---- Plausible systems, from the data file ------------------------------------

// Values by name, degrees for the angles.
using TValeurs = std::map<std::string, double>;

// The pieces of `texte` between the `separateur`s.
std::vector<std::string_view> Coupe(std::string_view texte, char separateur) {
  std::vector<std::string_view> morceaux;
  for (size_t debut = 0, fin; debut <= texte.size(); debut = fin + 1) {
    fin = std::min(texte.find(separateur, debut), texte.size());
    morceaux.push_back(texte.substr(debut, fin - debut));
  }
  return morceaux;
}

// One draw of an expression of natures.txt (its header says the syntax).
double Tire(std::string_view expression, const TValeurs& v, Alea& alea) {
  double somme = 0;
  for (std::string_view terme : Coupe(expression, '+')) {
    double produit = 1;
    for (std::string_view facteur : Coupe(terme, '*')) {
      if (facteur.starts_with("-")) facteur.remove_prefix(1), produit = -produit;
      if (facteur.starts_with("±")) facteur.remove_prefix(std::string_view("±").size()), produit *= Signe(alea);
      double valeur;
      if (facteur.starts_with("[") || facteur.starts_with("{")) {
        const auto bornes = Coupe(facteur.substr(1, facteur.size() - 2), ',');
        const double min = LitReel(bornes.at(0)), max = LitReel(bornes.at(1));
        valeur = facteur[0] == '[' ? Uniforme(alea, min, max)
                                   : Entier(alea, static_cast<int>(min), static_cast<int>(max));
      } else if (!EssaieLitReel(facteur, valeur)) {
        valeur = v.at(std::string(facteur));  // a name drawn before
      }
      produit *= valeur;
    }
    somme += produit;
  }
  return somme;
}

// One line: the parameters (and helpers) in their order, then the useful area.
struct TNatureEssai {
  std::vector<std::pair<std::string, std::string>> Parametres;
  std::string Phi, Lambda;

  TValeurs TireParametres(Alea& alea) const {
    TValeurs v;
    for (const auto& [nom, expression] : Parametres) v[nom] = Tire(expression, v, alea);
    return v;
  }
};

// The lines of the file by nature; the "*" line fills in what a line leaves out.
const std::map<std::string, TNatureEssai>& Natures() {
  static const std::map<std::string, TNatureEssai> natures = [] {
    std::map<std::string, TNatureEssai> n;
    TNatureEssai defauts;
    std::istringstream fichier(
        LitFichier(std::string(VESTREL_SOURCE_DIR) + "/tests/systems/data/proprietes/natures.txt"));
    for (std::string ligne; std::getline(fichier, ligne);) {
      if (ligne.empty() || ligne[0] == '#') continue;
      std::istringstream mots(ligne);
      std::string nature;
      if (ligne[0] == '"') std::getline(mots, nature, '"'), std::getline(mots, nature, '"');
      else mots >> nature;
      TNatureEssai essai;
      for (std::string mot; mots >> mot;) {
        const std::string nom = mot.substr(0, mot.find('=')), expression = mot.substr(nom.size() + 1);
        if (nom == "phi") essai.Phi = expression;
        else if (nom == "lambda") essai.Lambda = expression;
        else essai.Parametres.emplace_back(nom, expression);
      }
      for (const auto& defaut : defauts.Parametres)
        if (std::ranges::none_of(essai.Parametres, [&](const auto& p) { return p.first == defaut.first; }))
          essai.Parametres.insert(essai.Parametres.begin(), defaut);
      (nature == "*" ? defauts : n[nature]) = essai;
    }
    return n;
  }();
  return natures;
}

// ---- Systems and conversions ----------------------------------------------------

std::unique_ptr<TAncetre> Cree(const std::string& nature) {
  if (auto p = CreeProjection(nature)) return p;
  return CreeMultiple(nature);
}

std::vector<std::string> ToutesLesNatures() {
  std::vector<std::string> natures;
  for (const auto& t : TypesProjection()) natures.push_back(t.Nature);
  for (const auto& t : TypesMultiple()) natures.push_back(t.Nature);
  return natures;
}

// The names of a kind's parameters, in the order of its records.
std::vector<std::string> Noms(const TAncetre& s) {
  std::vector<std::string> noms;
  for (int i = 0; i < s.NbReel(); ++i) noms.push_back(s.NomReel(i));
  for (int i = 0; i < s.NbEntier(); ++i) noms.push_back(s.NomEntier(i));
  for (int i = 0; i < s.NbAngle(); ++i) noms.push_back(s.NomAngle(i));
  for (int i = 0; i < s.NbBooleen(); ++i) noms.push_back(s.NomBooleen(i));
  return noms;
}

// Fills a system as the record reader does; `description` names the kind,
// its parameters and the ellipsoid. False when the program refuses the
// parameters with its error.
bool Remplit(TAncetre& s, TDatumEssai& datum, const TValeurs& p, std::string& description) {
  description = s.Nature() + " :";
  for (const std::string& nom : Noms(s)) description += " " + nom + "=" + FormatG(p.at(nom), 17);
  description += " ; a=" + FormatG(datum.ellipsoide.A, 17) + " e=" + FormatG(datum.ellipsoide.E, 17);
  try {
    s.SetValide(false);
    s.Datum = &datum.datum;
    for (int i = 0; i < s.NbReel(); ++i) s.SetReel(i, p.at(s.NomReel(i)));
    for (int i = 0; i < s.NbEntier(); ++i) s.SetEntier(i, static_cast<int32_t>(p.at(s.NomEntier(i))));
    for (int i = 0; i < s.NbAngle(); ++i) s.SetAngle(i, FormatG(p.at(s.NomAngle(i)), 17) + "°");
    for (int i = 0; i < s.NbBooleen(); ++i) s.SetBooleen(i, p.at(s.NomBooleen(i)) != 0);
    s.SetValide(true);
  } catch (const Erreur&) {
    return false;
  }
  return s.Valide;
}

// Runs one conversion under a floating-point guard, as the pipeline does.
// False on the program's error; a result must be finite, and anything else
// thrown is a failure.
bool Convertit(TChien& chien, const std::string& description, auto conversion,
               std::initializer_list<double*> sorties) {
  chien.Debut(description);
  bool resultat = false;
  try {
    GardeFlottante garde;
    conversion();
    garde.Verifie();
    for (double* sortie : sorties) EXPECT_TRUE(std::isfinite(*sortie)) << "résultat non fini : " << description;
    resultat = true;
  } catch (const Erreur&) {
  } catch (const std::exception& e) {
    ADD_FAILURE() << "exception hors des erreurs du programme (" << e.what() << ") : " << description;
  }
  chien.Fin();
  return resultat;
}

// Plane coordinates back to the ellipsoid, radians.
bool Inverse(TChien& chien, const TAncetre& s, const std::string& description, int32_t zone,
             double X, double Y, double& phi, double& lambda) {
  return Convertit(chien, description + " ; X Y " + FormatG(X, 17) + " " + FormatG(Y, 17), [&] {
    if (auto* p = dynamic_cast<const TProjection*>(&s)) p->CartoVersGeo(X, Y, phi, lambda);
    else dynamic_cast<const TMultiple&>(s).CartoVersGeo(zone, X, Y, phi, lambda);
  }, {&phi, &lambda});
}

struct TBilan {
  int AllersRetours = 0, Erreurs = 0;
};

// Forward and back for one point (degrees); the round trip is checked to
// `precision` degrees when both directions give a result.
void AllerRetour(TChien& chien, const TAncetre& s, const std::string& description, double phi,
                 double lambda, double precision, TBilan& bilan) {
  const std::string point = description + " ; point " + FormatG(phi, 17) + " " + FormatG(lambda, 17);
  double X = 0, Y = 0, phiR = 0, lambdaR = 0;
  int32_t zone = 0;
  const auto aller = [&] {
    if (auto* p = dynamic_cast<const TProjection*>(&s)) p->GeoVersCarto(phi * kDeg, lambda * kDeg, X, Y);
    else dynamic_cast<const TMultiple&>(s).GeoVersCarto(phi * kDeg, lambda * kDeg, X, Y, zone);
  };
  if (!Convertit(chien, point, aller, {&X, &Y}) || !Inverse(chien, s, point, zone, X, Y, phiR, lambdaR)) {
    ++bilan.Erreurs;
    return;
  }
  ++bilan.AllersRetours;
  EXPECT_NEAR(phiR / kDeg, phi, precision) << point;
  // At the poles the longitude means nothing. In radians: a longitude near
  // the largest double would overflow in degrees.
  if (std::fabs(phi) < 89.999) {
    EXPECT_NEAR(std::remainder(lambdaR - lambda * kDeg, 2 * std::numbers::pi) / kDeg, 0.0, precision)
        << point;
  }
}

// The sums Σ c_k·sin 2kz of both Gauss-Krüger series of a Transverse Mercator
// kind at the point (degrees): by Clenshaw's recurrence as the kind sums
// them, and term by term, within 1e-9 m once scaled by n.
void SommesDeGaussKruger(const TTransverseMercatorBrut& s, double e, double phi, double lambda) {
  const double L = LatitudeIsometrique(phi * kDeg, e), dLambda = lambda * kDeg - s.LandaC.Valeur;
  const TComplexe z{std::atan(std::sinh(L) / std::cos(dLambda)),
                    std::atanh(std::sin(dLambda) / std::cosh(L))};
  TCoefficients series[2];
  CoefficientsMercatorTransverse(e, series[0]);
  CoefficientsMercatorTransverseInverse(e, series[1]);
  for (const TCoefficients& c : series) {
    TComplexe somme{0, 0}, terme;
    for (int k = 1; k <= 4; ++k) {
      CplxSin(TComplexe{2 * k * z.Re, 2 * k * z.Im}, terme);
      CplxScale(terme, c[k], terme);
      CplxAdd(somme, terme, somme);
    }
    const TComplexe clenshaw = SommeSinus(c, z);
    EXPECT_NEAR(s.n * clenshaw.Re, s.n * somme.Re, 1e-9) << s.Nature() << " " << phi << " " << lambda;
    EXPECT_NEAR(s.n * clenshaw.Im, s.n * somme.Im, 1e-9) << s.Nature() << " " << phi << " " << lambda;
  }
}

// ---- The properties ----------------------------------------------------------------

TEST(Proprietes, ChaqueNatureDesTablesAUneLigneDEssai) {
  Alea alea(1);
  for (const std::string& nature : ToutesLesNatures()) {
    auto ligne = Natures().find(nature);
    if (ligne == Natures().end()) {
      ADD_FAILURE() << "nature sans ligne dans natures.txt : " << nature;
      continue;
    }
    EXPECT_FALSE(ligne->second.Phi.empty() || ligne->second.Lambda.empty()) << nature;
    const TValeurs v = ligne->second.TireParametres(alea);
    for (const std::string& nom : Noms(*Cree(nature)))
      EXPECT_TRUE(v.count(nom)) << nature << " : paramètre " << nom << " sans expression";
  }
}

// An ellipsoid of the Earth's size (a sphere now and then).
TDatumEssai DatumAuHasard(Alea& alea) {
  if (Entier(alea, 0, 9) == 0) return {Uniforme(alea, 6.36e6, 6.39e6), 0};
  return {Uniforme(alea, 6.376e6, 6.379e6), Uniforme(alea, 0.08, 0.0825)};
}

// Plausible systems, points of their useful area: round trip within 1e-9°
// or the program's error, and most of them must succeed.
TEST(Proprietes, AllerRetourDansLaZoneUtileOuErreurDuProgramme) {
  constexpr int kSystemes = 40, kPoints = 40;
  TChien chien;
  for (const std::string& nature : ToutesLesNatures()) {
    if (!Natures().count(nature)) continue;  // reported above
    const TNatureEssai& ligne = Natures().at(nature);
    Alea alea(std::hash<std::string>{}(nature));
    TBilan bilan;
    int refuses = 0;
    for (int k = 0; k < kSystemes; ++k) {
      TDatumEssai datum = DatumAuHasard(alea);
      const TValeurs parametres = ligne.TireParametres(alea);
      auto s = Cree(nature);
      std::string description;
      if (!Remplit(*s, datum, parametres, description)) {
        ++refuses;
        continue;
      }
      const auto* mercator = dynamic_cast<const TTransverseMercatorBrut*>(s.get());
      for (int i = 0; i < kPoints; ++i) {
        const double phi = Tire(ligne.Phi, parametres, alea);
        const double lambda = Tire(ligne.Lambda, parametres, alea);
        AllerRetour(chien, *s, description, phi, lambda, 1e-9, bilan);
        if (mercator) SommesDeGaussKruger(*mercator, datum.ellipsoide.E, phi, lambda);
      }
    }
    // Plausible systems in their own area convert: errors are the exception.
    EXPECT_LE(refuses, kSystemes / 10) << nature;
    EXPECT_GE(bilan.AllersRetours, 9 * (bilan.AllersRetours + bilan.Erreurs) / 10)
        << nature << " : " << bilan.Erreurs << " erreurs";
  }
}

// Found by the test above: the inverse of a Bonne projection south of the
// equator (negative radii) sent every point elsewhere.
TEST(Proprietes, BonneAuSudDeLEquateur) {
  TChien chien;
  TDatumEssai datum(6378137.0, 0.08181919106);
  auto bonne = Cree("Bonne");
  std::string description;
  ASSERT_TRUE(Remplit(*bonne, datum, {{"X0", 500000}, {"Y0", 1e6}, {"Landa0", 25}, {"Phi0", -30}},
                      description));
  TBilan bilan;
  for (double phi : {-30.0, -10.0, -55.0, 5.0})
    for (double lambda : {25.0, 10.0, 60.0}) AllerRetour(chien, *bonne, description, phi, lambda, 1e-9, bilan);
  EXPECT_EQ(bilan.Erreurs, 0);
}

double ValeurSauvage(Alea& alea) {
  static const double kValeurs[] = {0,    -0.0,  1,     -1,     90,   -90,     180,    360,
                                    1e-12, 1e300, -1e300, 1e15, 6378137, 0.9996, 89.99999999999, 4.9e-324};
  switch (Entier(alea, 0, 3)) {
    case 0: return kValeurs[Entier(alea, 0, std::size(kValeurs) - 1)];
    case 1: return Uniforme(alea, -200, 200);
    case 2: return Uniforme(alea, -1e7, 1e7);
    default: return Signe(alea) * std::pow(10.0, Uniforme(alea, -20, 30));
  }
}

// Any parameters, any point, any plane coordinates: each conversion ends
// with a finite result or the program's error.
TEST(Proprietes, ParametresEtPointsQuelconquesFinissentSansValeurNonFinie) {
  constexpr int kSystemes = 200, kPoints = 20;
  TChien chien;
  for (const std::string& nature : ToutesLesNatures()) {
    Alea alea(std::hash<std::string>{}(nature) ^ 0x5eed);
    for (int k = 0; k < kSystemes; ++k) {
      const double a = PileOuFace(alea) ? 6378137.0 : std::fabs(ValeurSauvage(alea));
      TDatumEssai datum(a, PileOuFace(alea) ? 0.08181919106 : Uniforme(alea, 0, 0.99));
      auto s = Cree(nature);
      TValeurs parametres;
      for (const std::string& nom : Noms(*s)) parametres[nom] = ValeurSauvage(alea);
      for (int i = 0; i < s->NbEntier(); ++i)  // an int32_t, whatever the value
        parametres[s->NomEntier(i)] = std::fmod(parametres[s->NomEntier(i)], 2147483647.0);
      std::string description;
      if (!Remplit(*s, datum, parametres, description)) continue;
      TBilan bilan;
      for (int i = 0; i < kPoints; ++i) {
        const double phi = PileOuFace(alea) ? Uniforme(alea, -90, 90) : ValeurSauvage(alea);
        const double lambda = PileOuFace(alea) ? Uniforme(alea, -180, 180) : ValeurSauvage(alea);
        AllerRetour(chien, *s, description, phi, lambda, std::numeric_limits<double>::infinity(), bilan);
        // Plane coordinates that no point gave.
        double phiR = 0, lambdaR = 0;
        const double X = ValeurSauvage(alea), Y = ValeurSauvage(alea);
        Inverse(chien, *s, description, Entier(alea, -70, 70), X, Y, phiR, lambdaR);
      }
    }
  }
}

}  // namespace
}  // namespace vestrel
