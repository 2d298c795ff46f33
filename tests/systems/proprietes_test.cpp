// Properties of every kind of the factory tables, on random systems:
// - with plausible parameters, a point of the kind's useful area goes to the
//   plane and back within 1e-9°, or the program's error is raised
//   (vestrel::Erreur, as the conversion pipeline would report it);
// - with any parameters and any point, a conversion ends (every loop has a
//   cap) and never hands back a number that is not finite as a result.
// The plausible systems and their areas are drawn as the table Natures()
// says; a kind of the factory tables without an entry there is reported.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "geodesy/datum.h"
#include "geodesy/ellipsoide.h"
#include "systems/createur.h"
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

[[maybe_unused]] const bool gChien = std::signal(SIGALRM, SansFin) != SIG_ERR;

// ---- Plausible systems ------------------------------------------------------------

// Values by name, degrees for the angles, 0 or 1 for the booleans.
using TValeurs = std::map<std::string, double>;

// The draws of one plausible system: its parameters so far and the dice.
struct TTirage {
  Alea& alea;
  TValeurs v;
  double& operator[](const std::string& nom) { return v[nom]; }
  double U(double min, double max) { return Uniforme(alea, min, max); }
  double PlusMoins(double min, double max) { return Signe(alea) * U(min, max); }  // ±[min, max]
  double E(int min, int max) { return Entier(alea, min, max); }
};

// Kinds drawn alike: their parameters (after the common ones the test draws
// first, which they may draw again) and the centre of their useful area: a
// point is drawn within ±DPhi, ±DLambda degrees of the values of the
// parameters named Phi and Landa (of 0 where none is named).
struct TNatureEssai {
  std::vector<std::string> Natures;
  void (*Parametres)(TTirage&);
  const char* Phi;
  double DPhi;
  const char* Landa;
  double DLambda;
};

const std::vector<TNatureEssai>& Natures() {
  using T = TTirage;
  static const std::vector<TNatureEssai> natures = {
      // The raw Lambert cone: n = sin of the latitude where it touches (25° to 65°).
      {{"Lambert Conique"}, [](T& t) { t["n"] = t.U(0.43, 0.9), t["c"] = t.U(1.0e7, 1.3e7), t["P"] = 45; },
       "P", 25, "LandaC", 6},
      {{"Lambert Conique Tangent"}, [](T& t) { t["Phi0"] = t.PlusMoins(20, 70); }, "Phi0", 5, "Landa0", 6},
      {{"Lambert Conique Sécant"},
       [](T& t) {
         t["Phi0"] = t.PlusMoins(25, 65), t["Phi1"] = t["Phi0"] + t.U(-4, -0.5);
         t["Phi2"] = t["Phi0"] + t.U(0.5, 4);
       },
       "Phi0", 5, "Landa0", 6},
      // The centre (LandaC, PhiC) falls on the oblique latitude PhiC + AlphaC
      // (conformal sphere): the cone touches near there.
      {{"Lambert Conique Oblique"},
       [](T& t) {
         t["PhiC"] = t.PlusMoins(20, 65);
         const double contact = t.PlusMoins(15, 70);
         t["AlphaC"] = contact - t["PhiC"], t["Phi1"] = contact + t.U(-2, 2);
       },
       "PhiC", 2, "LandaC", 2},
      {{"Transverse Mercator Brut"}, [](T& t) { t["n"] = t.U(6.35e6, 6.40e6); }, nullptr, 75, "LandaC", 3},
      {{"Transverse Mercator"}, [](T& t) { t["Phi0"] = t.PlusMoins(0, 70); }, "Phi0", 8, "Landa0", 3},
      {{"UTM Fuseau"},
       [](T& t) {
         t["Fuseau"] = t.E(1, 60), t["Sud"] = t.E(0, 1);
         t["P"] = t["Sud"] ? -42 : 42, t["L"] = 6 * t["Fuseau"] - 183;
       },
       "P", 42, "L", 3},
      {{"MTM Fuseau"},
       [](T& t) {
         t["Fuseau"] = t.E(1, 32), t["Sud"] = t.E(0, 1);
         t["P"] = t["Sud"] ? -42 : 42, t["L"] = -3 * t["Fuseau"] - 49.5;
       },
       "P", 42, "L", 1.5},
      {{"Gauss Rosenmund"}, [](T& t) { t["Phi0"] = t.PlusMoins(30, 60); }, "Phi0", 2, "Landa0", 3},
      // The raw kinds on a sphere: exponent, radius and constant near those of
      // their derived kinds. The raw Gauss-Laborde is transverse: along its meridian.
      {{"Gauss Laborde"},
       [](T& t) { t["n1"] = t.U(1, 1.003), t["n2"] = t.U(6.36e6, 6.39e6), t["c"] = t.U(-0.005, 0.005); },
       nullptr, 60, "LandaC", 3},
      {{"Gauss Laborde Courbure", "Gauss Laborde Equatoriale", "Gauss Laborde Bitangente"},
       [](T& t) { t["Phi0"] = t.PlusMoins(0, 65); }, "Phi0", 5, "Landa0", 3},
      {{"Gauss Laborde Oblique", "Hotine", "Hotine centré"},
       [](T& t) { t["Phi0"] = t.PlusMoins(10, 60), t["Theta0"] = t.PlusMoins(10, 80); }, "Phi0", 2, "Landa0", 2},
      {{"Stéréographique"},
       [](T& t) {
         t["n1"] = t.U(1, 1.003), t["n2"] = t.U(6.36e6, 6.39e6), t["c"] = t.U(-0.005, 0.005);
         t["PhiC"] = t.PlusMoins(0, 70);
       },
       "PhiC", 4, "LandaC", 4},
      {{"Stéréographique Courbure", "Stéréographique Equatoriale", "Stéréographique Bitangente"},
       [](T& t) { t["Phi0"] = t.PlusMoins(0, 75); }, "Phi0", 4, "Landa0", 4},
      {{"Stéréographique Polaire"}, [](T& t) { t["Sud"] = t.E(0, 1), t["P"] = t["Sud"] ? -74.95 : 74.95; },
       "P", 14.95, nullptr, 180},
      // A polynomial fitted to New Zealand: near its own origin only.
      {{"New Zealand Map Grid"},
       [](T& t) {
         t["X0"] = t.U(2e6, 3e6), t["Y0"] = t.U(5e6, 7e6);
         t["Phi0"] = -41 + t.U(-0.5, 0.5), t["Landa0"] = 173 + t.U(-0.5, 0.5);
       },
       "Phi0", 6, "Landa0", 6},
      {{"Bonne"}, [](T& t) { t["Phi0"] = t.PlusMoins(10, 70); }, "Phi0", 10, "Landa0", 15},
      {{"Mercator sur sphère"}, [](T&) {}, nullptr, 80, "Landa0", 60},
      {{"Projection Latitude/Longitude"}, [](T&) {}, nullptr, 90, nullptr, 180},
      {{"Transverse Mercator Multiple"},
       [](T& t) {
         t["k0"] = t.U(0.999, 1), t["X0"] = t.U(0, 1e6), t["Y0Nord"] = t.U(-1e6, 1e6);
         t["Y0Sud"] = t.U(5e6, 1e7), t["Pas"] = 3 * t.E(1, 2), t["LandaFuseau0"] = -178.5 + 3 * t.E(-6, 6);
         t["P"] = 2;
       },
       "P", 82, nullptr, 180},
  };
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
  for (int i = 0; i < s.NbParametres(); ++i) noms.push_back(s.NomParametre(i));
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
bool Convertit(const std::string& description, auto conversion, std::initializer_list<double*> sorties) {
  gConversion[description.copy(gConversion, sizeof gConversion - 1)] = '\0';
  alarm(20);
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
  alarm(0);
  return resultat;
}

// Plane coordinates back to the ellipsoid, radians.
bool Inverse(const TAncetre& s, const std::string& description, int32_t zone, double X, double Y,
             double& phi, double& lambda) {
  return Convertit(description + " ; X Y " + FormatG(X, 17) + " " + FormatG(Y, 17), [&] {
    if (auto* p = dynamic_cast<const TProjection*>(&s)) p->CartoVersGeo(X, Y, phi, lambda);
    else dynamic_cast<const TMultiple&>(s).CartoVersGeo(zone, X, Y, phi, lambda);
  }, {&phi, &lambda});
}

struct TBilan {
  int AllersRetours = 0, Erreurs = 0;
};

// Forward and back for one point (degrees); the round trip is checked to
// `precision` degrees when both directions give a result.
void AllerRetour(const TAncetre& s, const std::string& description, double phi,
                 double lambda, double precision, TBilan& bilan) {
  const std::string point = description + " ; point " + FormatG(phi, 17) + " " + FormatG(lambda, 17);
  double X = 0, Y = 0, phiR = 0, lambdaR = 0;
  int32_t zone = 0;
  const auto aller = [&] {
    if (auto* p = dynamic_cast<const TProjection*>(&s)) p->GeoVersCarto(phi * kDeg, lambda * kDeg, X, Y);
    else dynamic_cast<const TMultiple&>(s).GeoVersCarto(phi * kDeg, lambda * kDeg, X, Y, zone);
  };
  if (!Convertit(point, aller, {&X, &Y}) || !Inverse(s, point, zone, X, Y, phiR, lambdaR)) {
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

// ---- The properties ----------------------------------------------------------------

// Plausible systems, points of their useful area: round trip within 1e-9°
// or the program's error, and most of them must succeed.
TEST(Proprietes, AllerRetourDansLaZoneUtileOuErreurDuProgramme) {
  constexpr int kSystemes = 40, kPoints = 40;
  for (const std::string& nature : ToutesLesNatures()) {
    // A kind without an entry, or a parameter its entry never draws, fails here.
    const auto entree =
        std::ranges::find_if(Natures(), [&](const auto& n) { return std::ranges::count(n.Natures, nature) > 0; });
    if (entree == Natures().end()) {
      ADD_FAILURE() << "nature sans entrée d'essai : " << nature;
      continue;
    }
    const TNatureEssai& n = *entree;
    Alea alea(std::hash<std::string>{}(nature));
    TBilan bilan;
    int refuses = 0;
    for (int k = 0; k < kSystemes; ++k) {
      // An ellipsoid of the Earth's size (a sphere now and then).
      TDatumEssai datum = Entier(alea, 0, 9) == 0
                              ? TDatumEssai{Uniforme(alea, 6.36e6, 6.39e6), 0}
                              : TDatumEssai{Uniforme(alea, 6.376e6, 6.379e6), Uniforme(alea, 0.08, 0.0825)};
      TTirage t{alea, {}};
      t["k0"] = t.U(0.999, 1.0001), t["X0"] = t.U(0, 3e6), t["Y0"] = t.U(-1e6, 1e7);
      t["Landa0"] = t.U(-180, 180), t["LandaC"] = t.U(-180, 180);
      n.Parametres(t);
      const TValeurs& parametres = t.v;
      auto s = Cree(nature);
      std::string description;
      if (!Remplit(*s, datum, parametres, description)) {
        ++refuses;
        continue;
      }
      for (int i = 0; i < kPoints; ++i) {  // a point of the system's useful area
        const double phi = (n.Phi ? parametres.at(n.Phi) : 0) + Uniforme(alea, -n.DPhi, n.DPhi);
        const double lambda = (n.Landa ? parametres.at(n.Landa) : 0) + Uniforme(alea, -n.DLambda, n.DLambda);
        AllerRetour(*s, description, phi, lambda, 1e-9, bilan);
      }
    }
    EXPECT_LE(refuses, kSystemes / 10) << nature;
    EXPECT_GE(bilan.AllersRetours, 9 * (bilan.AllersRetours + bilan.Erreurs) / 10)
        << nature << " : " << bilan.Erreurs << " erreurs";
  }
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
        AllerRetour(*s, description, phi, lambda, std::numeric_limits<double>::infinity(), bilan);
        // Plane coordinates that no point gave.
        double phiR = 0, lambdaR = 0;
        const double X = ValeurSauvage(alea), Y = ValeurSauvage(alea);
        Inverse(*s, description, Entier(alea, -70, 70), X, Y, phiR, lambdaR);
      }
    }
  }
}

}  // namespace
}  // namespace vestrel
