// Properties of every kind of the factory tables, on random systems:
// - with plausible parameters, a point of the kind's useful area goes to the
//   plane and back within the kind's accuracy, or the program's error is
//   raised (vestrel::Erreur, as the conversion pipeline would report it);
// - with any parameters and any point, a conversion ends (every loop has a
//   cap) and never hands back a number that is not finite as a result.
// A kind that is not in the tables yet is simply not visited; a kind added to
// the tables without a row below is reported.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
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
  TDatum* Datum() { return &datum; }
};

double Uniforme(Alea& alea, double min, double max) {
  return std::uniform_real_distribution<double>(min, max)(alea);
}
int Entier(Alea& alea, int min, int max) { return std::uniform_int_distribution<int>(min, max)(alea); }
bool PileOuFace(Alea& alea) { return Entier(alea, 0, 1) == 1; }
double Signe(Alea& alea) { return PileOuFace(alea) ? 1.0 : -1.0; }

// ---- A conversion that must end ----------------------------------------------
// A watchdog thread: a single conversion that takes longer than this is a
// hang; the test stops with the kind, its parameters and the point.
constexpr auto kDelaiMax = std::chrono::seconds(20);

class TChien {
 public:
  TChien() : fil_([this] { Veille(); }) {}
  ~TChien() {
    {
      std::lock_guard<std::mutex> verrou(mutex_);
      fin_ = true;
    }
    cv_.notify_all();
    fil_.join();
  }
  void Debut(std::string description) {
    std::lock_guard<std::mutex> verrou(mutex_);
    description_ = std::move(description);
    debut_ = std::chrono::steady_clock::now();
    actif_ = true;
  }
  void Fin() {
    std::lock_guard<std::mutex> verrou(mutex_);
    actif_ = false;
  }

 private:
  void Veille() {
    std::unique_lock<std::mutex> verrou(mutex_);
    while (!fin_) {
      cv_.wait_for(verrou, std::chrono::milliseconds(200));
      if (actif_ && std::chrono::steady_clock::now() - debut_ > kDelaiMax) {
        std::fprintf(stderr, "Conversion sans fin : %s\n", description_.c_str());
        std::abort();
      }
    }
  }
  std::mutex mutex_;
  std::condition_variable cv_;
  std::string description_;
  std::chrono::steady_clock::time_point debut_;
  bool actif_ = false, fin_ = false;
  std::thread fil_;
};

// ---- Random systems ------------------------------------------------------------

// The parameters of one system by name, degrees for the angles.
struct TParametresEssai {
  std::map<std::string, double> Valeurs;
  double Get(const std::string& nom) const {
    auto it = Valeurs.find(nom);
    return it == Valeurs.end() ? 0.0 : it->second;
  }
};

// The useful area of a system: latitude and longitude ranges, degrees.
struct TZone {
  double PhiMin, PhiMax, LambdaMin, LambdaMax;
};

struct TNatureEssai {
  // Plausible parameters (by name) for this kind.
  std::function<void(Alea&, TParametresEssai&)> Parametres;
  // The area where the kind is meant to be used, from its parameters.
  std::function<TZone(const TParametresEssai&)> Zone;
  // Round-trip accuracy in degrees.
  double Precision = 1e-9;
};

TZone Autour(double phi, double lambda, double dPhi, double dLambda) {
  return {std::max(phi - dPhi, -84.0), std::min(phi + dPhi, 84.0), lambda - dLambda,
          lambda + dLambda};
}

// The common parameters: scale factor, false origin, origin.
void Communs(Alea& alea, TParametresEssai& p, double phiMin, double phiMax) {
  p.Valeurs["k0"] = Uniforme(alea, 0.9990, 1.0001);
  p.Valeurs["X0"] = Uniforme(alea, 0, 3e6);
  p.Valeurs["Y0"] = Uniforme(alea, -1e6, 1e7);
  const double landa = Uniforme(alea, -180, 180);
  const double phi = Signe(alea) * Uniforme(alea, phiMin, phiMax);
  for (const char* nom : {"Landa0", "LandaC"}) p.Valeurs[nom] = landa;
  for (const char* nom : {"Phi0", "PhiC"}) p.Valeurs[nom] = phi;
}

TZone AutourOrigine(const TParametresEssai& p, double dPhi, double dLambda) {
  return Autour(p.Get("Phi0"), p.Get("Landa0"), dPhi, dLambda);
}

std::function<void(Alea&, TParametresEssai&)> CommunsEntre(double phiMin, double phiMax) {
  return [=](Alea& alea, TParametresEssai& p) { Communs(alea, p, phiMin, phiMax); };
}
std::function<TZone(const TParametresEssai&)> AutourDe(double dPhi, double dLambda) {
  return [=](const TParametresEssai& p) { return AutourOrigine(p, dPhi, dLambda); };
}

// The raw sphere kinds: exponent, radius and constant near those of their
// derived kinds.
std::function<void(Alea&, TParametresEssai&)> SphereBrute(double phiMax) {
  return [=](Alea& alea, TParametresEssai& p) {
    Communs(alea, p, 0, phiMax);
    p.Valeurs["n1"] = Uniforme(alea, 1.0, 1.003);
    p.Valeurs["n2"] = Uniforme(alea, 6.36e6, 6.39e6);
    p.Valeurs["c"] = Uniforme(alea, -0.005, 0.005);
  };
}

// The rows, by nature. The Phi0/PhiC and Landa0/LandaC pairs hold the same
// value, whichever of the two the kind has.
const std::map<std::string, TNatureEssai>& Natures() {
  static const std::map<std::string, TNatureEssai> natures = [] {
    std::map<std::string, TNatureEssai> n;
    // The raw Lambert cone: n = sin of the latitude where it touches.
    n["Lambert Conique"] = {
        [](Alea& alea, TParametresEssai& p) {
          Communs(alea, p, 25, 65);
          p.Valeurs["n"] = std::sin(std::fabs(p.Get("Phi0")) * kDeg);
          p.Valeurs["c"] = Uniforme(alea, 1.0e7, 1.3e7);
          p.Valeurs["Phi0"] = std::fabs(p.Get("Phi0"));
        },
        [](const TParametresEssai& p) {
          return Autour(std::asin(p.Get("n")) / kDeg, p.Get("LandaC"), 5, 6);
        }};
    n["Lambert Conique Tangent"] = {CommunsEntre(20, 70), AutourDe(5, 6)};
    n["Lambert Conique Sécant"] = {
        [](Alea& alea, TParametresEssai& p) {
          Communs(alea, p, 25, 65);
          const double ecart = Uniforme(alea, 0.5, 4);
          p.Valeurs["Phi1"] = p.Get("Phi0") - ecart;
          p.Valeurs["Phi2"] = p.Get("Phi0") + ecart;
        },
        AutourDe(5, 6)};
    // The centre (LandaC, PhiC) falls on the oblique latitude PhiC + AlphaC
    // (conformal sphere): the cone touches near there.
    n["Lambert Conique Oblique"] = {
        [](Alea& alea, TParametresEssai& p) {
          Communs(alea, p, 20, 65);
          const double contact = Signe(alea) * Uniforme(alea, 15, 70);
          p.Valeurs["AlphaC"] = contact - p.Get("PhiC");
          p.Valeurs["Phi1"] = contact + Uniforme(alea, -2, 2);
        },
        AutourDe(2, 2)};
    n["Transverse Mercator Brut"] = {
        [](Alea& alea, TParametresEssai& p) {
          Communs(alea, p, 0, 70);
          p.Valeurs["n"] = Uniforme(alea, 6.35e6, 6.40e6);
        },
        [](const TParametresEssai& p) { return TZone{-75, 75, p.Get("LandaC") - 3, p.Get("LandaC") + 3}; }};
    n["Transverse Mercator"] = {CommunsEntre(0, 70), AutourDe(8, 3)};
    n["UTM Fuseau"] = {
        [](Alea& alea, TParametresEssai& p) {
          p.Valeurs["Fuseau"] = Entier(alea, 1, 60);
          p.Valeurs["Sud"] = PileOuFace(alea);
        },
        [](const TParametresEssai& p) {
          const double meridien = p.Get("Fuseau") * 6 - 183;
          return p.Get("Sud") ? TZone{-80, 0, meridien - 3, meridien + 3}
                              : TZone{0, 84, meridien - 3, meridien + 3};
        }};
    n["MTM Fuseau"] = {
        [](Alea& alea, TParametresEssai& p) {
          p.Valeurs["Fuseau"] = Entier(alea, 1, 32);
          p.Valeurs["Sud"] = PileOuFace(alea);
        },
        [](const TParametresEssai& p) {
          const double meridien = -(p.Get("Fuseau") * 3 + 49.5);
          return p.Get("Sud") ? TZone{-80, 0, meridien - 1.5, meridien + 1.5}
                              : TZone{0, 84, meridien - 1.5, meridien + 1.5};
        }};
    n["Gauss Rosenmund"] = {CommunsEntre(30, 60), AutourDe(2, 3)};
    // The raw Gauss-Laborde: a transverse projection, used along its meridian.
    n["Gauss Laborde"] = {
        SphereBrute(60),
        [](const TParametresEssai& p) { return TZone{-60, 60, p.Get("LandaC") - 3, p.Get("LandaC") + 3}; }};
    for (const char* laborde : {"Gauss Laborde Courbure", "Gauss Laborde Equatoriale",
                                "Gauss Laborde Bitangente"})
      n[laborde] = {CommunsEntre(0, 65), AutourDe(5, 3)};
    for (const char* oblique : {"Gauss Laborde Oblique", "Hotine", "Hotine centré"})
      n[oblique] = {
          [](Alea& alea, TParametresEssai& p) {
            Communs(alea, p, 10, 60);
            p.Valeurs["Theta0"] = Signe(alea) * Uniforme(alea, 10, 80);
          },
          AutourDe(2, 2)};
    n["Stéréographique"] = {
        SphereBrute(70),
        AutourDe(4, 4)};
    for (const char* stereo : {"Stéréographique Courbure", "Stéréographique Equatoriale",
                               "Stéréographique Bitangente"})
      n[stereo] = {CommunsEntre(0, 75), AutourDe(4, 4)};
    n["Stéréographique Polaire"] = {
        [](Alea& alea, TParametresEssai& p) {
          Communs(alea, p, 0, 0);
          p.Valeurs["Sud"] = PileOuFace(alea);
        },
        [](const TParametresEssai& p) {
          return p.Get("Sud") ? TZone{-89.9, -60, -180, 180} : TZone{60, 89.9, -180, 180};
        }};
    // A polynomial fitted to New Zealand: near its own origin only.
    n["New Zealand Map Grid"] = {
        [](Alea& alea, TParametresEssai& p) {
          p.Valeurs["X0"] = Uniforme(alea, 2e6, 3e6);
          p.Valeurs["Y0"] = Uniforme(alea, 5e6, 7e6);
          p.Valeurs["Phi0"] = -41 + Uniforme(alea, -0.5, 0.5);
          p.Valeurs["Landa0"] = 173 + Uniforme(alea, -0.5, 0.5);
        },
        AutourDe(6, 6)};
    n["Bonne"] = {CommunsEntre(10, 70), AutourDe(10, 15)};
    n["Mercator sur sphère"] = {CommunsEntre(0, 0), [](const TParametresEssai& p) {
                                  return TZone{-80, 80, p.Get("Landa0") - 60, p.Get("Landa0") + 60};
                                }};
    n["Projection Latitude/Longitude"] = {[](Alea&, TParametresEssai&) {},
                                          [](const TParametresEssai&) {
                                            return TZone{-90, 90, -180, 180};
                                          }};
    n["Transverse Mercator Multiple"] = {
        [](Alea& alea, TParametresEssai& p) {
          p.Valeurs["k0"] = Uniforme(alea, 0.9990, 1.0);
          p.Valeurs["X0"] = Uniforme(alea, 0, 1e6);
          p.Valeurs["Y0Nord"] = Uniforme(alea, -1e6, 1e6);
          p.Valeurs["Y0Sud"] = Uniforme(alea, 5e6, 1e7);
          const double pas = PileOuFace(alea) ? 6 : 3;
          p.Valeurs["Pas"] = pas;
          p.Valeurs["LandaFuseau0"] = -180 + pas / 2 + Entier(alea, -3, 3) * pas;
        },
        [](const TParametresEssai&) { return TZone{-80, 84, -180, 180}; }};
    return n;
  }();
  return natures;
}

// An ellipsoid of the Earth's size (a sphere now and then).
struct TEllipsoideEssai {
  double A, E;
};
TEllipsoideEssai EllipsoideAuHasard(Alea& alea) {
  if (Entier(alea, 0, 9) == 0) return {Uniforme(alea, 6.36e6, 6.39e6), 0};
  return {Uniforme(alea, 6.376e6, 6.379e6), Uniforme(alea, 0.08, 0.0825)};
}

// Fills a system as the record reader does. False when the program refuses
// the parameters with its error.
bool Remplit(TAncetre& s, TDatum* datum, const TParametresEssai& p, std::string& description) {
  description = s.Nature() + " :";
  try {
    s.SetValide(false);
    s.Datum = datum;
    for (int i = 0; i < s.NbReel(); ++i) {
      const double v = p.Get(s.NomReel(i));
      description += " " + s.NomReel(i) + "=" + FormatG(v, 17);
      s.SetReel(i, v);
    }
    for (int i = 0; i < s.NbEntier(); ++i) {
      const int32_t v = static_cast<int32_t>(p.Get(s.NomEntier(i)));
      description += " " + s.NomEntier(i) + "=" + FormatD(v);
      s.SetEntier(i, v);
    }
    for (int i = 0; i < s.NbAngle(); ++i) {
      const std::string texte = FormatG(p.Get(s.NomAngle(i)), 17) + "°";
      description += " " + s.NomAngle(i) + "=" + texte;
      s.SetAngle(i, texte);
    }
    for (int i = 0; i < s.NbBooleen(); ++i) {
      const bool v = p.Get(s.NomBooleen(i)) != 0;
      description += " " + s.NomBooleen(i) + "=" + (v ? "1" : "0");
      s.SetBooleen(i, v);
    }
    s.SetValide(true);
  } catch (const Erreur&) {
    return false;
  }
  return s.Valide;
}

// ---- One conversion as the pipeline runs it ------------------------------------

enum class TIssue { Resultat, Erreur };

// Runs the conversion under a floating-point guard. A result must be finite;
// anything thrown must be the program's error.
template <class F>
TIssue Convertit(TChien& chien, const std::string& description, F conversion,
                 std::initializer_list<double*> sorties) {
  chien.Debut(description);
  TIssue issue = TIssue::Resultat;
  try {
    GardeFlottante garde;
    conversion();
    garde.Verifie();
    for (double* sortie : sorties)
      EXPECT_TRUE(std::isfinite(*sortie)) << "résultat non fini : " << description;
  } catch (const Erreur& e) {
    if (std::getenv("VESTREL_PROPRIETES_BAVARD"))
      std::fprintf(stderr, "%s -> %s\n", description.c_str(), e.what());
    issue = TIssue::Erreur;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "exception hors des erreurs du programme (" << e.what() << ") : "
                  << description;
    issue = TIssue::Erreur;
  }
  chien.Fin();
  return issue;
}

struct TBilan {
  int AllersRetours = 0, Erreurs = 0;
};

// Forward and back for one point; the round trip is checked to `precision`
// degrees when both directions give a result.
void AllerRetour(TChien& chien, const TAncetre& s, const std::string& description, double phi,
                 double lambda, double precision, TBilan& bilan) {
  const std::string point = description + " ; point " + FormatG(phi, 17) + " " + FormatG(lambda, 17);
  double X = 0, Y = 0, phiR = 0, lambdaR = 0;
  int32_t zone = 0;
  const auto* p = dynamic_cast<const TProjection*>(&s);
  const auto* m = dynamic_cast<const TMultiple*>(&s);
  const double phiRad = phi * kDeg, lambdaRad = lambda * kDeg;
  auto aller = [&] {
    if (p) p->GeoVersCarto(phiRad, lambdaRad, X, Y);
    else m->GeoVersCarto(phiRad, lambdaRad, X, Y, zone);
  };
  auto retour = [&] {
    if (p) p->CartoVersGeo(X, Y, phiR, lambdaR);
    else m->CartoVersGeo(zone, X, Y, phiR, lambdaR);
  };
  if (Convertit(chien, point, aller, {&X, &Y}) == TIssue::Erreur ||
      Convertit(chien, point + " ; X Y " + FormatG(X, 17) + " " + FormatG(Y, 17), retour,
                {&phiR, &lambdaR}) == TIssue::Erreur) {
    ++bilan.Erreurs;
    return;
  }
  ++bilan.AllersRetours;
  const double dLambda = std::remainder(lambdaR / kDeg - lambda, 360.0);
  EXPECT_NEAR(phiR / kDeg, phi, precision) << point;
  // At the poles the longitude means nothing.
  if (std::fabs(phi) < 89.999) {
    EXPECT_NEAR(dLambda, 0.0, precision) << point;
  }
}

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

TEST(Proprietes, ChaqueNatureDesTablesAUneLigneDEssai) {
  for (const std::string& nature : ToutesLesNatures())
    EXPECT_TRUE(Natures().count(nature)) << "nature sans paramètres d'essai : " << nature;
}

// Plausible systems, points of their useful area: round trip or the
// program's error, and most of them must succeed.
TEST(Proprietes, AllerRetourDansLaZoneUtileOuErreurDuProgramme) {
  constexpr int kSystemes = 40, kPoints = 40;
  TChien chien;
  for (const std::string& nature : ToutesLesNatures()) {
    auto ligne = Natures().find(nature);
    if (ligne == Natures().end()) continue;
    Alea alea(std::hash<std::string>{}(nature));
    TBilan bilan;
    int refuses = 0;
    for (int k = 0; k < kSystemes; ++k) {
      const TEllipsoideEssai e = EllipsoideAuHasard(alea);
      TDatumEssai datum(e.A, e.E);
      TParametresEssai parametres;
      ligne->second.Parametres(alea, parametres);
      auto s = Cree(nature);
      std::string description;
      if (!Remplit(*s, datum.Datum(), parametres, description)) {
        ++refuses;
        continue;
      }
      description += " ; a=" + FormatG(e.A, 17) + " e=" + FormatG(e.E, 17);
      const TZone z = ligne->second.Zone(parametres);
      for (int i = 0; i < kPoints; ++i)
        AllerRetour(chien, *s, description, Uniforme(alea, z.PhiMin, z.PhiMax),
                    Uniforme(alea, z.LambdaMin, z.LambdaMax), ligne->second.Precision, bilan);
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
  ASSERT_TRUE(bonne);
  TParametresEssai p;
  p.Valeurs = {{"X0", 500000}, {"Y0", 1e6}, {"Landa0", 25}, {"Phi0", -30}};
  std::string description;
  ASSERT_TRUE(Remplit(*bonne, datum.Datum(), p, description));
  TBilan bilan;
  for (double phi : {-30.0, -10.0, -55.0, 5.0})
    for (double lambda : {25.0, 10.0, 60.0})
      AllerRetour(chien, *bonne, description, phi, lambda, 1e-9, bilan);
  EXPECT_EQ(bilan.Erreurs, 0);
}

// ---- Anything at all ------------------------------------------------------------

double ValeurSauvage(Alea& alea) {
  static const double kValeurs[] = {0,     -0.0,  1,      -1,     90,     -90,   180,
                                    360,   1e-12, 1e300,  -1e300, 1e15,   6378137, 0.9996,
                                    89.99999999999, 4.9e-324};
  switch (Entier(alea, 0, 3)) {
    case 0: return kValeurs[Entier(alea, 0, sizeof kValeurs / sizeof *kValeurs - 1)];
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
      const double e = PileOuFace(alea) ? 0.08181919106 : Uniforme(alea, 0, 0.99);
      TDatumEssai datum(a, e);
      auto s = Cree(nature);
      TParametresEssai parametres;
      // Names of every kind: the table lookup falls back to 0 for the others.
      for (const char* nom : {"k0", "X0", "Y0", "n", "c", "n1", "n2", "Landa0", "LandaC",
                              "Phi0", "PhiC", "Phi1", "Phi2", "AlphaC", "Theta0", "Fuseau",
                              "Sud", "Y0Nord", "Y0Sud", "LandaFuseau0", "Pas"})
        parametres.Valeurs[nom] = ValeurSauvage(alea);
      parametres.Valeurs["Fuseau"] = std::fmod(parametres.Get("Fuseau"), 2147483647.0);
      std::string description;
      if (!Remplit(*s, datum.Datum(), parametres, description)) continue;
      description += " ; a=" + FormatG(a, 17) + " e=" + FormatG(e, 17);
      TBilan bilan;
      for (int i = 0; i < kPoints; ++i) {
        const double phi = PileOuFace(alea) ? Uniforme(alea, -90, 90) : ValeurSauvage(alea);
        const double lambda = PileOuFace(alea) ? Uniforme(alea, -180, 180) : ValeurSauvage(alea);
        AllerRetour(chien, *s, description, phi, lambda, std::numeric_limits<double>::infinity(), bilan);
        // Plane coordinates that no point gave.
        double phiR = 0, lambdaR = 0;
        const double X = ValeurSauvage(alea), Y = ValeurSauvage(alea);
        const int32_t zone = Entier(alea, -70, 70);
        Convertit(chien, description + " ; X Y " + FormatG(X, 17) + " " + FormatG(Y, 17),
                  [&] {
                    if (auto* p = dynamic_cast<const TProjection*>(s.get()))
                      p->CartoVersGeo(X, Y, phiR, lambdaR);
                    else
                      dynamic_cast<const TMultiple*>(s.get())->CartoVersGeo(zone, X, Y, phiR, lambdaR);
                  },
                  {&phiR, &lambdaR});
      }
    }
  }
}

}  // namespace
}  // namespace vestrel
