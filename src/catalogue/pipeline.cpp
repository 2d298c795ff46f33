// The conversion of one point between two systems of the catalogue, with the
// meridian convergence and the linear alteration at that point.
//
// The point travels through WGS84 geocentric coordinates: source system →
// geographic coordinates on its datum → WGS84 X, Y, Z → geographic
// coordinates on the destination datum → destination system. Between two
// systems on the same datum (MemeDatum) that round trip is an identity and
// is skipped: the geographic coordinates go straight from one to the other.
// The Paris
// meridian exists only for geographic systems: projections always see
// longitudes counted from Greenwich.
//
// The convergence and the alteration follow a second point a short step
// north of the first (1.5e-05 rad of latitude from a geographic source, 100 m
// of northing from a projected one) through the same road.
//
// Each projected system also gets its own scale at the point: the length of
// its image of a meridian arc of 1.5e-05 rad at the point over the arc's
// length on its ellipsoid. Along the meridian this is the scale of a
// conformal projection in every direction; 1 % away from 1 (10 m per km)
// lies far beyond what any system is chosen for, while Lambert 93 stays
// within 0.31 % over metropolitan France and a UTM zone within 0.21 % one
// degree beyond its edges. A destination's inverse must also bring the image
// back to the point: some formulas fold the far side of the earth onto the
// near one (an arc tangent of one argument), where the scale looks right.
// Over a run of points, a cell of one degree checked once at its corners
// and centre with half the limit spares its points both checks.
#include <cmath>
#include <numbers>

#include "catalogue/donnee.h"
#include "catalogue/pipeline.h"
#include "geodesy/geodesie.h"
#include "tools/flottant.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

constexpr double kPasLatitude = 1.5e-05;  // radians
constexpr double kPasNordage = 100.0;     // metres

constexpr double kLatitudeMax = std::numbers::pi / 2 * (1 + 1e-14);  // radians
constexpr double kLongitudeMax = 2 * std::numbers::pi * (1 + 1e-14);  // radians

constexpr const char* kLatitudeIncorrecte = "Latitude de départ incorrecte, exemple 2°24'17.036''";
constexpr const char* kLongitudeIncorrecte = "Longitude de départ incorrecte, exemple 2°24'17.036''";
constexpr const char* kEastingIncorrect = "Easting de départ incorrect, exemple 231500";
constexpr const char* kNorthingIncorrect = "Northing de départ incorrect, exemple 231500";

// Every step is checked by the operation's floating-point guard as soon as
// it ends, so that a formula evaluated at a singular point ends the
// conversion with that step's arithmetic error instead of carrying an
// infinity or a NaN further. The guard starts with no fault set and each
// check raises and clears what the step set: one guard per operation thus
// tells the same faults as one guard per step.
//
// Testing the flags stalls the processor, so a point of a long run is first
// converted with a single test at the end (TControle without checks per
// step); only a point that faults or fails is converted again step by step,
// which raises the error of the first faulty step, as ever.
class TControle {
 public:
  explicit TControle(bool parEtape = true) : parEtape_(parEtape) {}
  void FinEtape() {
    if (parEtape_) garde_.Verifie();
  }
  bool ParEtape() const { return parEtape_; }
  // True when a fault occurred since the start (and clears it).
  bool Faute() { return garde_.Faute(); }

 private:
  GardeFlottante garde_;
  bool parEtape_;
};

// Where a step computes, for the message of an arithmetic fault: "Division
// par zéro dans les formules inverses de Lambert 93". Built only on a fault.
struct TLieu {
  const char* Quoi;
  const std::string* Nom = nullptr;
};

template <class F>
void Etape(TControle& garde, TLieu lieu, F&& calcul) {
  try {
    calcul();
    garde.FinEtape();
  } catch (const ErreurArithmetique& e) {
    throw ErreurArithmetique(std::string(e.what()) + " dans " + lieu.Quoi +
                             (lieu.Nom ? " " + *lieu.Nom : std::string()));
  }
}

constexpr const char* kInverse = "les formules inverses de";
constexpr const char* kDirecte = "les formules de projection de";
constexpr const char* kDatum = "le changement de datum de";
constexpr const char* kConvergence = "le calcul de la convergence";
constexpr const char* kAlteration = "le calcul de l'altération linéaire";

// A system of the catalogue whose constants could not be computed is kept
// (its parameters are the user's) but converts nothing: it says why.
void VerifieUtilisable(const TAncetre& systeme) {
  if (!systeme.Valide)
    throw ErreurConversion("Les constantes du système " + systeme.Nom +
                           " n'ont pas pu être calculées : " +
                           (systeme.Defaut.empty() ? "paramètres incomplets" : systeme.Defaut));
}

void VerifieUtilisable(const TSystemeResolu& s) {
  if (s.Projection) VerifieUtilisable(*s.Projection);
  if (s.Multiple) VerifieUtilisable(*s.Multiple);
}

const TDatum& DatumDe(const TAncetre& systeme) {
  if (!systeme.Datum) throw ErreurAssertion("Système " + systeme.Nom + " sans datum");
  return *systeme.Datum;
}

// The datum of a system, null when it has none (the conversion then raises
// its error at the step that needs it, as ever).
const TDatum* DatumOuNul(const TSystemeResolu& s) {
  if (s.Datum) return s.Datum;
  return s.Projection ? s.Projection->Datum : s.Multiple->Datum;
}

bool MemeDatumEntre(const TSystemeResolu& source, const TSystemeResolu& destination) {
  const TDatum* depart = DatumOuNul(source);
  const TDatum* arrivee = DatumOuNul(destination);
  return depart && arrivee && MemeDatum(*depart, *arrivee);
}

const TDatum& DatumDe(const TSystemeResolu& s) {
  if (s.Datum) return *s.Datum;
  return DatumDe(s.Projection ? static_cast<const TAncetre&>(*s.Projection) : *s.Multiple);
}

// What the road of the point itself leaves for its checks: the geographic
// coordinates (radians) on the datum of a projected side, and whether a
// datum with a grid shifted it by its parameters.
struct TTrace {
  double Phi = 0, Lambda = 0;
  bool HorsGrille = false;
};

// Source system to WGS84 geocentric coordinates. `zone`: the Paris flag (1)
// for a datum, the zone number for a multi-zone system.
void VersWGS84(TControle& garde, const TSystemeResolu& s, int32_t zone, double premiere,
               double seconde, double (&P)[3], TTrace* trace = nullptr) {
  if (s.Datum) {
    Etape(garde, {kDatum, &s.Datum->Nom}, [&] {
      const bool grille = s.Datum->VersWGS84(zone == 1, premiere, seconde, P[0], P[1], P[2]);
      if (trace) trace->HorsGrille = s.Datum->Grille && !grille;
    });
    return;
  }
  VerifieUtilisable(s.Projection ? static_cast<const TAncetre&>(*s.Projection) : *s.Multiple);
  double phi = 0, lambda = 0;
  if (s.Projection)
    Etape(garde, {kInverse, &s.Projection->Nom}, [&] { s.Projection->CartoVersGeo(premiere, seconde, phi, lambda); });
  else
    Etape(garde, {kInverse, &s.Multiple->Nom}, [&] { s.Multiple->CartoVersGeo(zone, premiere, seconde, phi, lambda); });
  const TDatum& datum = DatumDe(s);
  Etape(garde, {kDatum, &datum.Nom}, [&] {
    const bool grille = datum.VersWGS84(false, phi, lambda, P[0], P[1], P[2]);
    if (trace) *trace = {phi, lambda, datum.Grille && !grille};
  });
}

// The tangent of the latitude goes on with it up to this bound (beyond it,
// within 1e-150 rad of a pole, its square would overflow).
constexpr double kPasDeTangente = 1e150;

// WGS84 geocentric coordinates to the destination system. `paris` counts
// longitudes from the Paris meridian on a datum; a multi-zone system writes
// the zone it chose into `zone`, or uses `zoneImposee` when it is not 0.
void DepuisWGS84(TControle& garde, const TSystemeResolu& d, bool paris,
                 const double (&P)[3], double& premiere, double& seconde, int32_t& zone,
                 TTrace* trace = nullptr, int32_t zoneImposee = 0) {
  if (d.Datum) {
    Etape(garde, {kDatum, &d.Datum->Nom}, [&] {
      const bool grille = d.Datum->DepuisWGS84(paris, P[0], P[1], P[2], premiere, seconde);
      if (trace) trace->HorsGrille = d.Datum->Grille && !grille;
    });
    return;
  }
  VerifieUtilisable(d.Projection ? static_cast<const TAncetre&>(*d.Projection) : *d.Multiple);
  const TDatum& datum = DatumDe(d);
  double phi = 0, lambda = 0, tangente = kPasDeTangente;
  Etape(garde, {kDatum, &datum.Nom}, [&] {
    const bool grille = datum.DepuisWGS84(false, P[0], P[1], P[2], phi, lambda, &tangente);
    if (trace) *trace = {phi, lambda, datum.Grille && !grille};
  });
  if (d.Projection)
    Etape(garde, {kDirecte, &d.Projection->Nom}, [&] {
      if (std::fabs(tangente) < kPasDeTangente)
        d.Projection->GeoVersCartoTangente(phi, tangente, lambda, premiere, seconde);
      else
        d.Projection->GeoVersCarto(phi, lambda, premiere, seconde);
    });
  else if (zoneImposee != 0)
    Etape(garde, {kDirecte, &d.Multiple->Nom}, [&] {
      zone = zoneImposee;
      d.Multiple->GeoVersCartoDansZone(zone, phi, lambda, premiere, seconde);
    });
  else
    Etape(garde, {kDirecte, &d.Multiple->Nom}, [&] { d.Multiple->GeoVersCarto(phi, lambda, premiere, seconde, zone); });
}

// Between two systems on the same datum: the source's point to geographic
// coordinates (longitude from Greenwich) and straight on to the destination.
// False, with nothing written, for a latitude beyond ±90° or a longitude
// beyond ±180°: such a point takes the geocentric road, which brings it back
// into those ranges.
bool SansDecalage(TControle& garde, const TSystemeResolu& s, int32_t zoneSource,
                  double premiere, double seconde, const TSystemeResolu& d, bool paris,
                  double& x, double& y, int32_t& zone, TTrace* trace = nullptr,
                  int32_t zoneImposee = 0) {
  double phi = premiere, lambda = seconde;
  if (s.Datum) {
    if (zoneSource == 1) lambda += MeridienParis();
  } else if (s.Projection) {
    Etape(garde, {kInverse, &s.Projection->Nom}, [&] { s.Projection->CartoVersGeo(premiere, seconde, phi, lambda); });
  } else {
    Etape(garde, {kInverse, &s.Multiple->Nom}, [&] { s.Multiple->CartoVersGeo(zoneSource, premiere, seconde, phi, lambda); });
  }
  if (!(std::fabs(phi) <= std::numbers::pi / 2 && std::fabs(lambda) <= std::numbers::pi))
    return false;
  if (trace) trace[0] = trace[1] = {phi, lambda, false};
  if (d.Datum) {
    x = phi;
    y = paris ? lambda - MeridienParis() : lambda;
  } else if (d.Projection) {
    Etape(garde, {kDirecte, &d.Projection->Nom}, [&] { d.Projection->GeoVersCarto(phi, lambda, x, y); });
  } else if (zoneImposee != 0) {
    Etape(garde, {kDirecte, &d.Multiple->Nom}, [&] {
      zone = zoneImposee;
      d.Multiple->GeoVersCartoDansZone(zone, phi, lambda, x, y);
    });
  } else {
    Etape(garde, {kDirecte, &d.Multiple->Nom}, [&] { d.Multiple->GeoVersCarto(phi, lambda, x, y, zone); });
  }
  return true;
}

// The scale of a projected system alone at the point (φ, λ) on its datum,
// whose image is (X, Y) in `zone`: its image of a meridian arc of
// kPasLatitude over the arc's length M·dφ. The arc goes away from the
// equator near it (a multi-zone system may change zone there) and towards
// it elsewhere (it never passes a pole).
double EchellePropre(const TSystemeResolu& s, int32_t zone, double phi, double lambda, double X,
                     double Y) {
  const double pas = (phi >= 0) == (std::fabs(phi) < 0.5) ? kPasLatitude : -kPasLatitude;
  double X1 = 0, Y1 = 0;
  if (s.Projection)
    s.Projection->GeoVersCarto(phi + pas, lambda, X1, Y1);
  else
    s.Multiple->GeoVersCartoDansZone(zone, phi + pas, lambda, X1, Y1);
  const TEllipsoide& ellipsoide = *DatumDe(s).Ellipsoide;
  const double e2 = ellipsoide.E * ellipsoide.E;
  const double sinus = std::sin(phi + pas / 2);
  const double w = 1 - e2 * sinus * sinus;
  const double arc = ellipsoide.A * (1 - e2) / (w * std::sqrt(w)) * kPasLatitude;
  return std::hypot(X1 - X, Y1 - Y) / arc;
}

// The two points of the convergence and the alteration, in WGS84
// geocentric coordinates, and the source's reference length between them.
struct TDeuxPoints {
  double P[2][3];
  double Longueur;
};

void PointsSource(TControle& garde, const TSystemeResolu& s, int32_t zone,
                  double premiere, double seconde, TDeuxPoints& points) {
  if (s.Datum) {
    VersWGS84(garde, s, zone, premiere, seconde, points.P[0]);
    VersWGS84(garde, s, zone, premiere + kPasLatitude, seconde, points.P[1]);
    Etape(garde, {kAlteration}, [&] {
      const double dX = points.P[1][0] - points.P[0][0], dY = points.P[1][1] - points.P[0][1],
                   dZ = points.P[1][2] - points.P[0][2];
      points.Longueur = std::sqrt(dX * dX + dY * dY + dZ * dZ);
    });
  } else {
    VersWGS84(garde, s, zone, premiere, seconde, points.P[0]);
    VersWGS84(garde, s, zone, premiere, seconde + kPasNordage, points.P[1]);
    points.Longueur = kPasNordage;
  }
}

// The images of the two points in the destination: (φ, λ) from Greenwich
// for a datum, (X, Y) otherwise; a multi-zone destination chooses each
// point's zone and the zones are dropped.
struct TImages {
  double A[2], B[2];
};

void ImagesDestination(TControle& garde, const TSystemeResolu& d,
                       const TDeuxPoints& points, TImages& images, int32_t zoneImposee = 0) {
  for (int i = 0; i < 2; ++i) {
    int32_t zone = 0;
    DepuisWGS84(garde, d, false, points.P[i], images.A[i], images.B[i], zone, nullptr,
                zoneImposee);
  }
}

// The same images between two systems on the same datum, the reference
// length being still the one through WGS84.
void ImagesSansDecalage(TControle& garde, const TSystemeResolu& s, int32_t zoneSource,
                        double premiere, double seconde, const TSystemeResolu& d,
                        const TDeuxPoints& points, TImages& images, int32_t zoneImposee) {
  for (int i = 0; i < 2; ++i) {
    const double p = s.Datum && i == 1 ? premiere + kPasLatitude : premiere;
    const double q = !s.Datum && i == 1 ? seconde + kPasNordage : seconde;
    int32_t zone = 0;
    if (!SansDecalage(garde, s, zoneSource, p, q, d, false, images.A[i], images.B[i], zone,
                      nullptr, zoneImposee))
      DepuisWGS84(garde, d, false, points.P[i], images.A[i], images.B[i], zone, nullptr,
                  zoneImposee);
  }
}

// The angle between the destination's north and the image of the source's
// north, clockwise: the azimuth of the second image seen from the first on a
// datum, the full-circle arc tangent of (ΔX, ΔY) on a grid (near a pole the
// image of north may point anywhere). Two images that coincide have no
// direction: 0 / 0, an invalid operation.
double ConvergenceDe(TControle& garde, const TSystemeResolu& d, const TImages& images) {
  double convergence = 0;
  if (d.Datum)
    Etape(garde, {kConvergence}, [&] {
      convergence = Azimut(images.A[0], images.B[0], images.A[1], images.B[1],
                           d.Datum->Ellipsoide->E);
    });
  else
    Etape(garde, {kConvergence}, [&] {
      const double dX = images.A[1] - images.A[0], dY = images.B[1] - images.B[0];
      if (dX == 0 && dY == 0) throw ErreurArithmetique("Opération en virgule flottante incorrecte");
      convergence = std::atan2(dX, dY);
    });
  return convergence;
}

// Distance between the two images over the source's reference length; 1 for
// a geographic destination.
double AlterationDe(TControle& garde, const TSystemeResolu& d, const TImages& images,
                    double longueur) {
  if (d.Datum) return 1.0;
  double alteration = 0;
  Etape(garde, {kAlteration}, [&] {
    const double dX = images.A[1] - images.A[0], dY = images.B[1] - images.B[0];
    alteration = std::sqrt(dX * dX + dY * dY) / longueur;
  });
  return alteration;
}

}  // namespace

// ---- Numbers ------------------------------------------------------------------

namespace {

constexpr const char* kLatitudeHorsBornes = "La latitude de départ doit être comprise entre -90° et 90°";
constexpr const char* kLongitudeHorsBornes =
    "La longitude de départ doit être comprise entre -360° et 360°";

}  // namespace

const char* DefautLatitudeLongitude(double latitude, double longitude) noexcept {
  // A few units in the last place are let through: 100g and 90° need not
  // give the same double.
  if (!(std::fabs(latitude) <= kLatitudeMax)) return kLatitudeHorsBornes;
  if (!(std::fabs(longitude) <= kLongitudeMax)) return kLongitudeHorsBornes;
  return nullptr;
}

void VerifieLatitudeLongitude(double latitude, double longitude) {
  if (const char* message = DefautLatitudeLongitude(latitude, longitude))
    throw ErreurIntervalle(message);
}

const char* EssaieLitPointDepart(const TSystemeResolu& source, std::string_view texteX,
                                 std::string_view texteY, double& premiere,
                                 double& seconde) noexcept {
  // The X text is checked before the Y text; the four messages replace
  // whatever the angle parser or the number reader would say.
  if (source.Geographique()) {
    if (!EssaieTexteVersAngle(texteX, premiere) || !std::isfinite(premiere))
      return kLatitudeIncorrecte;
    if (!EssaieTexteVersAngle(texteY, seconde) || !std::isfinite(seconde))
      return kLongitudeIncorrecte;
    return DefautLatitudeLongitude(premiere, seconde);
  }
  if (!EssaieLitReel(texteX, premiere)) return kEastingIncorrect;
  if (!EssaieLitReel(texteY, seconde)) return kNorthingIncorrect;
  return nullptr;
}

void LitPointDepart(const TSystemeResolu& source, std::string_view texteX,
                    std::string_view texteY, double& premiere, double& seconde) {
  if (const char* message = EssaieLitPointDepart(source, texteX, texteY, premiere, seconde)) {
    if (message == kLatitudeHorsBornes || message == kLongitudeHorsBornes)
      throw ErreurIntervalle(message);
    throw ErreurConversion(message);
  }
}

namespace {

// The checks of one projected side at (φ, λ) on its datum, whose image is
// (X, Y) in `zone`: its own scale, and for a destination whether its inverse
// brings the image back to the point (to 1e-7 rad, some 60 cm).
void VerifieCote(const TSystemeResolu& s, int32_t zone, double phi, double lambda, double X,
                 double Y, bool retour, double& echelle, bool& horsFormules) {
  echelle = EchellePropre(s, zone, phi, lambda, X, Y);
  horsFormules = false;
  if (!retour) return;
  double phiRetour = 0, lambdaRetour = 0;
  if (s.Projection)
    s.Projection->CartoVersGeo(X, Y, phiRetour, lambdaRetour);
  else
    s.Multiple->CartoVersGeo(zone, X, Y, phiRetour, lambdaRetour);
  constexpr double kEcartRetour = 1e-7;
  horsFormules = !(std::fabs(phiRetour - phi) <= kEcartRetour &&
                   std::fabs(std::remainder(lambdaRetour - lambda, 2 * std::numbers::pi)) <=
                       kEcartRetour);
}

// Whether the points of the cell of (φ, λ) may skip the checks of that side,
// the cell being examined on its first point (under its own guard: a fault
// leaves the cell to be checked point by point).
bool CelluleSure(TCacheRegions::TCote& cote, const TSystemeResolu& s, int32_t zone, double phi,
                 double lambda, bool retour) {
  constexpr double kDegre = std::numbers::pi / 180, kParDegre = 180 / std::numbers::pi;
  const double l = (phi + std::numbers::pi / 2) * kParDegre;
  const double c = (lambda + std::numbers::pi) * kParDegre;
  // A zone beyond ±2^28 (a system that does not bound them) is not kept.
  constexpr int32_t kZoneMax = 1 << 28;
  if (!(l >= 0 && l < 180 && c >= 0 && c < 360) || zone <= -kZoneMax || zone >= kZoneMax)
    return false;
  // Both are positive: the conversion truncates to the row and the column.
  const double ligne = static_cast<int>(l), colonne = static_cast<int>(c);
  const size_t indice = static_cast<size_t>(ligne) * 360 + static_cast<size_t>(colonne);
  if (cote.Cellules.empty()) cote.Cellules.assign(180 * 360, 0);
  constexpr int32_t kSure = 1, kDouteuse = 2;
  const int32_t cellule = cote.Cellules[indice];
  if (cellule == zone * 4 + kSure) return true;
  if (cellule == zone * 4 + kDouteuse) return false;
  bool sure = true;
  {
    GardeFlottante garde;
    try {
      const double phi0 = ligne * kDegre - std::numbers::pi / 2;
      const double lambda0 = colonne * kDegre - std::numbers::pi;
      const double coins[5][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0.5, 0.5}};
      for (const auto& coin : coins) {
        const double p = phi0 + coin[0] * kDegre, l = lambda0 + coin[1] * kDegre;
        double X = 0, Y = 0, echelle = 1;
        bool horsFormules = false;
        if (s.Projection)
          s.Projection->GeoVersCarto(p, l, X, Y);
        else
          s.Multiple->GeoVersCartoDansZone(zone, p, l, X, Y);
        VerifieCote(s, zone, p, l, X, Y, retour, echelle, horsFormules);
        if (horsFormules || !(std::fabs(echelle - 1) < kEcartEchelleMax / 2)) sure = false;
      }
    } catch (const Erreur&) {
      sure = false;
    }
    if (garde.Faute()) sure = false;
  }
  cote.Cellules[indice] = zone * 4 + (sure ? kSure : kDouteuse);
  return sure;
}

// The checks of the projected sides. They only warn: in a conversion
// checked step by step, a check that cannot be computed is left out and the
// conversion goes on (a fault in the single test at the end sends the point
// there).
void Echelles(TControle& garde, const TSystemeResolu& source, int32_t zoneSource,
              double premiere, double seconde, const TTrace& depart,
              const TSystemeResolu& destination, const TTrace& arrivee,
              TPointConverti& resultat, TCacheRegions* regions) {
  resultat.EchelleDepart = resultat.EchelleArrivee = 1;
  resultat.HorsFormulesArrivee = false;
  auto calcule = [&] {
    bool sansObjet = false;
    if (!source.Datum &&
        !(regions && CelluleSure(regions->Depart, source, zoneSource, depart.Phi, depart.Lambda,
                                 false)))
      VerifieCote(source, zoneSource, depart.Phi, depart.Lambda, premiere, seconde, false,
                  resultat.EchelleDepart, sansObjet);
    if (!destination.Datum &&
        !(regions && CelluleSure(regions->Arrivee, destination, resultat.Zone, arrivee.Phi,
                                 arrivee.Lambda, true)))
      VerifieCote(destination, resultat.Zone, arrivee.Phi, arrivee.Lambda, resultat.X,
                  resultat.Y, true, resultat.EchelleArrivee, resultat.HorsFormulesArrivee);
  };
  if (!garde.ParEtape()) {
    calcule();
    return;
  }
  GardeFlottante propre;
  bool echec = false;
  try {
    calcule();
  } catch (const Erreur&) {
    echec = true;
  }
  if (propre.Faute() || echec) {
    resultat.EchelleDepart = resultat.EchelleArrivee = 1;
    resultat.HorsFormulesArrivee = false;
  }
}

void ConvertitPoint(TControle& garde, const TSystemeResolu& source, int32_t zoneSource,
                    const TSystemeResolu& destination, bool parisDestination, double premiere,
                    double seconde, bool details, TPointConverti& resultat,
                    TCacheRegions* regions) {
  resultat.Etapes = 0;
  TDeuxPoints points;
  TTrace traces[2];  // source, destination
  const bool memeDatum = MemeDatumEntre(source, destination);
  if (!memeDatum || !SansDecalage(garde, source, zoneSource, premiere, seconde, destination,
                                  parisDestination, resultat.X, resultat.Y, resultat.Zone,
                                  traces, resultat.ZoneImposee)) {
    VersWGS84(garde, source, zoneSource, premiere, seconde, points.P[0], &traces[0]);
    DepuisWGS84(garde, destination, parisDestination, points.P[0], resultat.X, resultat.Y,
                resultat.Zone, &traces[1], resultat.ZoneImposee);
  }
  resultat.HorsGrilleDepart = traces[0].HorsGrille;
  resultat.HorsGrilleArrivee = traces[1].HorsGrille;
  Echelles(garde, source, zoneSource, premiere, seconde, traces[0], destination, traces[1],
           resultat, regions);
  resultat.Etapes = 1;
  if (!details) return;
  PointsSource(garde, source, zoneSource, premiere, seconde, points);
  TImages images;
  if (memeDatum)
    ImagesSansDecalage(garde, source, zoneSource, premiere, seconde, destination, points,
                       images, resultat.ZoneImposee);
  else
    ImagesDestination(garde, destination, points, images, resultat.ZoneImposee);
  // From a datum to the same datum the map is the identity: north stays
  // north exactly (the azimuth would leave a rounding of either sign).
  resultat.Convergence = memeDatum && source.Datum && destination.Datum
                             ? 0
                             : ConvergenceDe(garde, destination, images);
  resultat.Etapes = 2;
  resultat.Alteration = AlterationDe(garde, destination, images, points.Longueur);
  resultat.Etapes = 3;
}

}  // namespace

void VerifieZone(const TSystemeResolu& source, int32_t zone, bool arrivee) {
  if (!source.Multiple) return;
  const int32_t nombre = source.Multiple->NombreZones();
  if (nombre == 0 || (zone != 0 && zone >= -nombre && zone <= nombre)) return;
  throw ErreurIntervalle(std::string(arrivee ? "Le fuseau d'arrivée " : "Le fuseau de départ ") +
                         FormatD(zone) + " n'existe pas dans " +
                         source.Multiple->Nom + " : fuseaux 1 à " + FormatD(nombre) +
                         ", et -1 à -" + FormatD(nombre) + " au sud");
}

void ConvertitPoint(const TSystemeResolu& source, int32_t zoneSource,
                    const TSystemeResolu& destination, bool parisDestination, double premiere,
                    double seconde, bool details, TPointConverti& resultat,
                    TCacheRegions* regions) {
  if (!source.Trouve() || !destination.Trouve())
    throw ErreurAssertion("Conversion entre systèmes non résolus");
  VerifieUtilisable(source);
  VerifieUtilisable(destination);
  VerifieZone(source, zoneSource);
  if (resultat.ZoneImposee != 0) VerifieZone(destination, resultat.ZoneImposee, true);
  {
    TControle fin(false);
    try {
      ConvertitPoint(fin, source, zoneSource, destination, parisDestination, premiere, seconde,
                     details, resultat, regions);
      if (!fin.Faute()) return;
    } catch (...) {
      // The faults of this attempt are cleared; the faults raised before the
      // conversion are restored when the guard ends.
      fin.Faute();
    }
  }
  // Converted again step by step, to raise the error of the first faulty step.
  TControle parEtape;
  ConvertitPoint(parEtape, source, zoneSource, destination, parisDestination, premiere, seconde,
                 details, resultat, regions);
}

void AjouteCoordonnee(std::string& sortie, const TSystemeResolu& destination, double valeur,
                      int unite) {
  if (destination.Geographique())
    sortie += AngleVersTexte(unite, valeur);
  else
    AjouteF(sortie, valeur, 3);
}

std::string TexteCoordonnee(const TSystemeResolu& destination, double valeur, int unite) {
  std::string texte;
  AjouteCoordonnee(texte, destination, valeur, unite);
  return texte;
}

// The two points of the alteration lie about 100 m apart and their images are
// good to far below a millimetre: nine decimals are what the ratio knows.
std::string TexteAlteration(double alteration) {
  if (!(std::fabs(alteration) < 1e6)) return FormatG(alteration, 15);
  return FormatG(std::round(alteration * 1e9) / 1e9, 15);
}

std::string TexteEcartEchelle(double alteration) {
  if (!(std::fabs(alteration) < 1e6)) return "";
  // In hundredths of a centimetre per kilometre, the digits TexteAlteration keeps.
  const double centiemes = std::round((alteration - 1) * 1e7);
  auto signe = [](double v) { return v > 0 ? "+" : v < 0 ? "-" : ""; };
  return signe(centiemes) + FormatF(std::fabs(centiemes) / 100, 2) + " cm/km (" +
         signe(centiemes) + FormatF(std::fabs(centiemes) / 10, 1) + " ppm)";
}

// ---- What goes with a result ----------------------------------------------------

namespace {

std::string MethodeDatum(const TDatum& datum, bool horsGrille) {
  const std::string parametres = datum.TroisParametres ? "3 paramètres" : "7 paramètres";
  if (!datum.Grille) return parametres;
  return horsGrille ? "hors grille : " + parametres : "grille de correction";
}

}  // namespace

bool MemeDatum(const TSystemeResolu& source, const TSystemeResolu& destination) {
  return MemeDatum(DatumDe(source), DatumDe(destination));
}

std::string TexteMethode(const TSystemeResolu& source, const TSystemeResolu& destination,
                         bool horsGrilleDepart, bool horsGrilleArrivee) {
  const TDatum& depart = DatumDe(source);
  const TDatum& arrivee = DatumDe(destination);
  if (MemeDatum(depart, arrivee)) return "aucune (même datum)";
  std::string texte;
  for (auto [datum, horsGrille] : {std::pair{&depart, horsGrilleDepart}, {&arrivee, horsGrilleArrivee}}) {
    if (datum->Identite()) continue;
    if (!texte.empty()) texte += ", ";
    texte += MethodeDatum(*datum, horsGrille) + " (" + datum->Nom + ")";
  }
  return texte.empty() ? "aucune (paramètres nuls)" : texte;
}

std::string TexteEloigne(const TSystemeResolu& source, const TSystemeResolu& destination,
                         const TPointConverti& point) {
  std::string texte;
  auto ajoute = [&](const TSystemeResolu& s, double echelle, bool horsFormules) {
    texte += texte.empty() ? "point loin de la région d'emploi de " : " et de ";
    texte += (s.Projection ? static_cast<const TAncetre*>(s.Projection) : s.Multiple)->Nom;
    texte += horsFormules ? " (au-delà de ce que ses formules représentent)"
                          : " (altération linéaire " + FormatG(echelle, 6) + ")";
  };
  if (point.EloigneDepart()) ajoute(source, point.EchelleDepart, false);
  if (point.EloigneArrivee())
    ajoute(destination, point.EchelleArrivee, point.HorsFormulesArrivee);
  return texte;
}

std::string TexteHorsGrille(const TSystemeResolu& source, const TSystemeResolu& destination,
                            const TPointConverti& point) {
  std::string texte;
  auto ajoute = [&](const TDatum& datum) {
    texte += texte.empty() ? "point hors de la grille " : " et de la grille ";
    texte += datum.NomGrille + " du datum " + datum.Nom;
  };
  if (point.HorsGrilleDepart) ajoute(DatumDe(source));
  if (point.HorsGrilleArrivee) ajoute(DatumDe(destination));
  return texte;
}

// ---- Texts --------------------------------------------------------------------

namespace {

// The typed point of `source` converted to `destination` through the
// numbers, as the batch command line converts it: false when either name is
// not found (the source's texts are read only when it is found, before the
// destination is looked for).
bool PointTape(const TDonnees& donnees, const std::string& source,
               const std::string& destination, const std::string& texteX,
               const std::string& texteY, int32_t zoneSource, bool parisDestination,
               bool details, TSystemeResolu& arrivee, TPointConverti& point) {
  const TSystemeResolu depart = donnees.Resout(source);
  if (!depart.Trouve()) return false;
  double premiere = 0, seconde = 0;
  LitPointDepart(depart, texteX, texteY, premiere, seconde);
  arrivee = donnees.Resout(destination);
  if (!arrivee.Trouve()) return false;
  ConvertitPoint(depart, zoneSource, arrivee, parisDestination, premiere, seconde, details,
                 point);
  return true;
}

}  // namespace

bool TDonnees::SystemeVersWGS84(const std::string& nom, int32_t zone, double premiere,
                                double seconde, double& X, double& Y, double& Z) const {
  const TSystemeResolu s = Resout(nom);
  if (!s.Trouve()) return false;
  TControle garde;
  double P[3];
  VersWGS84(garde, s, zone, premiere, seconde, P);
  X = P[0], Y = P[1], Z = P[2];
  return true;
}

bool TDonnees::WGS84VersSysteme(const std::string& nom, int32_t& zone, double X, double Y,
                                double Z, double& premiere, double& seconde) const {
  const TSystemeResolu d = Resout(nom);
  if (!d.Trouve()) return false;
  TControle garde;
  const double P[3] = {X, Y, Z};
  DepuisWGS84(garde, d, zone == 1, P, premiere, seconde, zone);
  return true;
}

bool TDonnees::LireDepart(const std::string& nom, const std::string& texteX,
                          const std::string& texteY, int32_t zone, double& X, double& Y,
                          double& Z) const {
  // A name that is nothing at all is read as a system: its texts are
  // checked as numbers before it is found missing.
  double premiere = 0, seconde = 0;
  LitPointDepart(Resout(nom), texteX, texteY, premiere, seconde);
  return SystemeVersWGS84(nom, zone, premiere, seconde, X, Y, Z);
}

bool TDonnees::EcrireArrivee(const std::string& nom, int32_t& zone, double X, double Y, double Z,
                             int unite, std::string& texteX, std::string& texteY) const {
  double premiere = 0, seconde = 0;
  if (!WGS84VersSysteme(nom, zone, X, Y, Z, premiere, seconde)) return false;
  const TSystemeResolu d = Resout(nom);
  if (d.Geographique() && (unite < uaDegres || unite > uaDM)) return true;
  texteX = TexteCoordonnee(d, premiere, unite);
  texteY = TexteCoordonnee(d, seconde, unite);
  return true;
}

bool TDonnees::ConvertirPoint(const std::string& source, const std::string& destination,
                              const std::string& texteX, const std::string& texteY,
                              int32_t zoneSource, int32_t& zoneDestination, int unite,
                              std::string& sortieX, std::string& sortieY) const {
  // A name that is nothing at all is read as a system: its texts are
  // checked as numbers before it is found missing.
  if (!Resout(source).Trouve()) {
    double premiere = 0, seconde = 0;
    LitPointDepart(TSystemeResolu{}, texteX, texteY, premiere, seconde);
    return false;
  }
  TSystemeResolu d;
  TPointConverti point;
  if (!PointTape(*this, source, destination, texteX, texteY, zoneSource, zoneDestination == 1,
                 false, d, point))
    return false;
  if (d.Multiple) zoneDestination = point.Zone;
  if (d.Geographique() && (unite < uaDegres || unite > uaDM)) return true;
  sortieX = TexteCoordonnee(d, point.X, unite);
  sortieY = TexteCoordonnee(d, point.Y, unite);
  return true;
}

bool TDonnees::Convergence(const std::string& source, const std::string& destination,
                           const std::string& texteX, const std::string& texteY,
                           int32_t zoneSource, int unite, std::string& texte) const {
  TSystemeResolu d;
  TPointConverti point;
  if (!PointTape(*this, source, destination, texteX, texteY, zoneSource, false, true, d, point))
    return false;
  AngleVersTexte(unite, point.Convergence, texte);
  return true;
}

bool TDonnees::AlterationLineaire(const std::string& source, const std::string& destination,
                                  const std::string& texteX, const std::string& texteY,
                                  int32_t zoneSource, double& alteration) const {
  TSystemeResolu d;
  TPointConverti point;
  if (!PointTape(*this, source, destination, texteX, texteY, zoneSource, false, true, d, point))
    return false;
  alteration = point.Alteration;
  return true;
}

}  // namespace vestrel
