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
#include <cmath>
#include <numbers>

#include "catalogue/donnee.h"
#include "geodesy/geodesie.h"
#include "tools/flottant.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

constexpr double kPasLatitude = 1.5e-05;  // radians
constexpr double kPasNordage = 100.0;     // metres

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
  // True when a fault occurred since the start (and clears it).
  bool Faute() { return garde_.Faute(); }

 private:
  GardeFlottante garde_;
  bool parEtape_;
};

template <class F>
void Etape(TControle& garde, F&& calcul) {
  calcul();
  garde.FinEtape();
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

// Source system to WGS84 geocentric coordinates. `zone`: the Paris flag (1)
// for a datum, the zone number for a multi-zone system.
void VersWGS84(TControle& garde, const TSystemeResolu& s, int32_t zone, double premiere,
               double seconde, double (&P)[3]) {
  if (s.Datum) {
    Etape(garde, [&] { s.Datum->VersWGS84(zone == 1, premiere, seconde, P[0], P[1], P[2]); });
    return;
  }
  double phi = 0, lambda = 0;
  if (s.Projection)
    Etape(garde, [&] { s.Projection->CartoVersGeo(premiere, seconde, phi, lambda); });
  else
    Etape(garde, [&] { s.Multiple->CartoVersGeo(zone, premiere, seconde, phi, lambda); });
  const TDatum& datum = DatumDe(s.Projection ? static_cast<const TAncetre&>(*s.Projection)
                                             : *s.Multiple);
  Etape(garde, [&] { datum.VersWGS84(false, phi, lambda, P[0], P[1], P[2]); });
}

// WGS84 geocentric coordinates to the destination system. `paris` counts
// longitudes from the Paris meridian on a datum; a multi-zone system writes
// the zone it chose into `zone`.
void DepuisWGS84(TControle& garde, const TSystemeResolu& d, bool paris,
                 const double (&P)[3], double& premiere, double& seconde, int32_t& zone) {
  if (d.Datum) {
    Etape(garde, [&] { d.Datum->DepuisWGS84(paris, P[0], P[1], P[2], premiere, seconde); });
    return;
  }
  const TDatum& datum = DatumDe(d.Projection ? static_cast<const TAncetre&>(*d.Projection)
                                             : *d.Multiple);
  double phi = 0, lambda = 0;
  Etape(garde, [&] { datum.DepuisWGS84(false, P[0], P[1], P[2], phi, lambda); });
  if (d.Projection)
    Etape(garde, [&] { d.Projection->GeoVersCarto(phi, lambda, premiere, seconde); });
  else
    Etape(garde, [&] { d.Multiple->GeoVersCarto(phi, lambda, premiere, seconde, zone); });
}

// Between two systems on the same datum: the source's point to geographic
// coordinates (longitude from Greenwich) and straight on to the destination.
// False, with nothing written, for a latitude beyond ±90° or a longitude
// beyond ±180°: such a point takes the geocentric road, which brings it back
// into those ranges.
bool SansDecalage(TControle& garde, const TSystemeResolu& s, int32_t zoneSource,
                  double premiere, double seconde, const TSystemeResolu& d, bool paris,
                  double& x, double& y, int32_t& zone) {
  double phi = premiere, lambda = seconde;
  if (s.Datum) {
    if (zoneSource == 1) lambda += MeridienParis();
  } else if (s.Projection) {
    Etape(garde, [&] { s.Projection->CartoVersGeo(premiere, seconde, phi, lambda); });
  } else {
    Etape(garde, [&] { s.Multiple->CartoVersGeo(zoneSource, premiere, seconde, phi, lambda); });
  }
  if (!(std::fabs(phi) <= std::numbers::pi / 2 && std::fabs(lambda) <= std::numbers::pi))
    return false;
  if (d.Datum) {
    x = phi;
    y = paris ? lambda - MeridienParis() : lambda;
  } else if (d.Projection) {
    Etape(garde, [&] { d.Projection->GeoVersCarto(phi, lambda, x, y); });
  } else {
    Etape(garde, [&] { d.Multiple->GeoVersCarto(phi, lambda, x, y, zone); });
  }
  return true;
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
    Etape(garde, [&] {
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
                       const TDeuxPoints& points, TImages& images) {
  for (int i = 0; i < 2; ++i) {
    int32_t zone = 0;
    DepuisWGS84(garde, d, false, points.P[i], images.A[i], images.B[i], zone);
  }
}

// The same images between two systems on the same datum, the reference
// length being still the one through WGS84.
void ImagesSansDecalage(TControle& garde, const TSystemeResolu& s, int32_t zoneSource,
                        double premiere, double seconde, const TSystemeResolu& d,
                        const TDeuxPoints& points, TImages& images) {
  for (int i = 0; i < 2; ++i) {
    const double p = s.Datum && i == 1 ? premiere + kPasLatitude : premiere;
    const double q = !s.Datum && i == 1 ? seconde + kPasNordage : seconde;
    int32_t zone = 0;
    if (!SansDecalage(garde, s, zoneSource, p, q, d, false, images.A[i], images.B[i], zone))
      DepuisWGS84(garde, d, false, points.P[i], images.A[i], images.B[i], zone);
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
    Etape(garde, [&] {
      convergence = Azimut(images.A[0], images.B[0], images.A[1], images.B[1],
                           d.Datum->Ellipsoide->E);
    });
  else
    Etape(garde, [&] {
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
  Etape(garde, [&] {
    const double dX = images.A[1] - images.A[0], dY = images.B[1] - images.B[0];
    alteration = std::sqrt(dX * dX + dY * dY) / longueur;
  });
  return alteration;
}

}  // namespace

// ---- Numbers ------------------------------------------------------------------

void LitPointDepart(const TSystemeResolu& source, std::string_view texteX,
                    std::string_view texteY, double& premiere, double& seconde) {
  // The X text is checked before the Y text; the four messages replace
  // whatever the angle parser or the number reader said.
  auto lit = [](auto lecture, std::string_view texte, const char* message) {
    try {
      return lecture(texte);
    } catch (const Erreur&) {
      throw ErreurConversion(message);
    }
  };
  if (source.Geographique()) {
    auto angle = [](std::string_view t) { return TexteVersAngle(t); };
    premiere = lit(angle, texteX, kLatitudeIncorrecte);
    seconde = lit(angle, texteY, kLongitudeIncorrecte);
  } else {
    auto reel = [](std::string_view t) { return LitReel(t); };
    premiere = lit(reel, texteX, kEastingIncorrect);
    seconde = lit(reel, texteY, kNorthingIncorrect);
  }
}

namespace {

void ConvertitPoint(TControle& garde, const TSystemeResolu& source, int32_t zoneSource,
                    const TSystemeResolu& destination, bool parisDestination, double premiere,
                    double seconde, bool details, TPointConverti& resultat) {
  TDeuxPoints points;
  const bool memeDatum = MemeDatumEntre(source, destination);
  if (!memeDatum || !SansDecalage(garde, source, zoneSource, premiere, seconde, destination,
                                  parisDestination, resultat.X, resultat.Y, resultat.Zone)) {
    VersWGS84(garde, source, zoneSource, premiere, seconde, points.P[0]);
    DepuisWGS84(garde, destination, parisDestination, points.P[0], resultat.X, resultat.Y,
                resultat.Zone);
  }
  if (!details) return;
  PointsSource(garde, source, zoneSource, premiere, seconde, points);
  TImages images;
  if (memeDatum)
    ImagesSansDecalage(garde, source, zoneSource, premiere, seconde, destination, points,
                       images);
  else
    ImagesDestination(garde, destination, points, images);
  // From a datum to the same datum the map is the identity: north stays
  // north exactly (the azimuth would leave a rounding of either sign).
  resultat.Convergence = memeDatum && source.Datum && destination.Datum
                             ? 0
                             : ConvergenceDe(garde, destination, images);
  resultat.Alteration = AlterationDe(garde, destination, images, points.Longueur);
}

}  // namespace

void ConvertitPoint(const TSystemeResolu& source, int32_t zoneSource,
                    const TSystemeResolu& destination, bool parisDestination, double premiere,
                    double seconde, bool details, TPointConverti& resultat) {
  if (!source.Trouve() || !destination.Trouve())
    throw ErreurAssertion("Conversion entre systèmes non résolus");
  {
    TControle fin(false);
    try {
      ConvertitPoint(fin, source, zoneSource, destination, parisDestination, premiere, seconde,
                     details, resultat);
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
                 details, resultat);
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

// ---- The "Convertir" command ----------------------------------------------------

void Convertir(const TDonnees& donnees, const TSaisieConversion& saisie,
               TResultatConversion& resultat) {
  // The unit choices are listed in another order than the display units.
  static constexpr int kUnites[] = {uaDegres, uaDM, uaDMS, uaGrades};
  if (saisie.IndiceUnite < 0 || saisie.IndiceUnite > 3)
    throw ErreurConversion("Unité d'angle inconnue");
  const int unite = kUnites[saisie.IndiceUnite];

  const int nbDatums = static_cast<int>(donnees.Datums.size());
  const int nbProjections = static_cast<int>(donnees.Projections.size());

  // Source zone: the Paris flag on a datum; otherwise the zone text, which
  // matters only while its edit is enabled (a multi-zone source).
  int32_t zoneSource = 0;
  if (saisie.IndiceSource < nbDatums) {
    zoneSource = saisie.ParisSource ? 1 : 0;
  } else if (!EssaieLitEntier(saisie.FuseauSource, zoneSource)) {
    zoneSource = 0;
    if (saisie.FuseauSourceActif) {
      resultat.FocusFuseauSource = true;
      throw ErreurConversion("Le numéro de fuseau de départ est incorrect, exemple 12");
    }
  }
  int32_t zoneDestination = 0;
  if (saisie.IndiceDestination < nbDatums && saisie.ParisDestination) zoneDestination = 1;

  std::string x, y;
  donnees.ConvertirPoint(saisie.Source, saisie.Destination, saisie.XSource, saisie.YSource,
                         zoneSource, zoneDestination, unite, x, y);
  resultat.XDest = x;
  resultat.YDest = y;

  std::string convergence;
  donnees.Convergence(saisie.Source, saisie.Destination, saisie.XSource, saisie.YSource,
                      zoneSource, unite, convergence);
  resultat.Convergence = convergence;

  double alteration = 0;
  donnees.AlterationLineaire(saisie.Source, saisie.Destination, saisie.XSource, saisie.YSource,
                             zoneSource, alteration);
  resultat.Alteration = TexteAlteration(alteration);
  resultat.EcartEchelle = TexteEcartEchelle(alteration);

  if (saisie.IndiceDestination >= nbDatums + nbProjections)
    resultat.FuseauDest = FormatD(zoneDestination);
}

}  // namespace vestrel
