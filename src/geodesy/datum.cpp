#include "geodesy/datum.h"

#include <numbers>

#include "geodesy/geodesie.h"
#include "tools/chemins.h"
#include "tools/erreurs.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

// The IGN grid of the NTF to RGF93 translations, looked for beside the
// program when an NTF datum names no grid.
constexpr const char* kGrilleNTF = "gr3df97a.txt";

// The last component of a path.
std::string NomDeFichier(const std::string& chemin) {
  const auto p = chemin.find_last_of("/\\");
  return p == std::string::npos ? chemin : chemin.substr(p + 1);
}

constexpr double SecondesVersRadians(double secondes) {
  return secondes / 180 / 60 / 60 * std::numbers::pi;
}

}  // namespace

double MeridienParis() {
  static const double meridien = TexteVersAngle("2°20'14.025''");
  return meridien;
}

// When the file cannot be loaded the datum is left exactly as it was (same
// NomGrille, same Grille, same SansGrille) and the error goes to the caller;
// calling again with the same name therefore tries the file again.
void TDatum::SetGrille(const std::string& nom) {
  if (nom == NomGrille) return;
  if (FichierExiste(nom)) {
    auto grille = std::make_unique<TGrilleIgn>(nom);
    Grille = std::move(grille);
    NomGrille = nom;
    SansGrille = false;
    ErreurGrille.clear();
  } else {
    Grille.reset();
    NomGrille = nom;
    SansGrille = Nom == "NTF";
    ErreurGrille = nom.empty() ? "" : "fichier introuvable";
  }
}

void TDatum::ChoisitGrille(const std::string& nom) {
  if (!nom.empty() && nom != NomGrille && !FichierExiste(nom))
    throw ErreurEntreeSortie("Le fichier de grille " + nom + " n'existe pas");
  SetGrille(nom);
}

// Tokens: name, description, ellipsoid, ΔX ΔY ΔZ, then optionally RX RY RZ
// scale, then optionally the grid ("*" for none). The numbers and the
// ellipsoid are checked before any field changes; a grid file that cannot
// be read leaves the datum on its parameters (the catalogue warns of it).
void TDatum::Lecture(TFlux& flux, const std::vector<std::unique_ptr<TEllipsoide>>& ellipsoides) {
  Lecture(flux, [&ellipsoides](const std::string& nom) -> TEllipsoide* {
    for (const auto& e : ellipsoides)
      if (e->Nom == nom) return e.get();
    return nullptr;
  });
}

void TDatum::Lecture(TFlux& flux,
                     const std::function<TEllipsoide*(const std::string&)>& trouveEllipsoide) {
  Lu = false;
  std::vector<std::string> jetons;
  DecoupeLigne(LitLigne(flux), jetons);
  const size_t n = jetons.size();
  if (n != 6 && n != 7 && n != 10 && n != 11)
    throw ErreurIntervalle("Nombre incorrect de paramètres lors de la lecture d'un datum");
  TEllipsoide* ellipsoide = trouveEllipsoide(jetons[2]);
  if (!ellipsoide)
    throw ErreurIntervalle("Ellipsoïde " + Extrait(jetons[2]) + " inconnu dans le datum " +
                           Extrait(jetons[0]));
  const double dx = LitReel(jetons[3]), dy = LitReel(jetons[4]), dz = LitReel(jetons[5]);
  const bool trois = n < 8;
  double rx = RotX, ry = RotY, rz = RotZ, echelle = Echelle;
  if (!trois) {
    rx = LitReel(jetons[6]);
    ry = LitReel(jetons[7]);
    rz = LitReel(jetons[8]);
    echelle = LitReel(jetons[9]);
  }

  Nom = jetons[0];
  Description = jetons[1];
  Ellipsoide = ellipsoide;
  DeltaX = dx;
  DeltaY = dy;
  DeltaZ = dz;
  TroisParametres = trois;
  RotX = rx;
  RotY = ry;
  RotZ = rz;
  Echelle = echelle;

  // An NTF line names the shipped grid by its absence; a full path to a
  // "gr3df97a.txt" that is no longer there (the program moved or was
  // reinstalled) falls back to the shipped one rather than to the three
  // parameters, which are 1 to 2 m off. A grid that cannot be read leaves
  // the datum on its parameters, the name kept and the reason told.
  auto chargeGrille = [this](const std::string& grille) {
    try {
      SetGrille(grille);
    } catch (const Erreur& erreur) {
      Grille.reset();
      NomGrille = grille;
      SansGrille = false;
      ErreurGrille = erreur.what();
    }
  };
  const size_t positionGrille = trois ? 7 : 11;
  const std::string defaut = Nom == "NTF" ? CheminDonneesProgramme(kGrilleNTF) : std::string();
  const bool defautPresent = !defaut.empty() && FichierExiste(defaut);
  if (n == positionGrille) {
    const std::string& grille = jetons[n - 1];
    if (grille == "*") SansGrille = true;
    else if (defautPresent && !FichierExiste(grille) && NomDeFichier(grille) == kGrilleNTF)
      chargeGrille(defaut);
    else chargeGrille(grille);
  } else if (defautPresent) {
    chargeGrille(defaut);
  }
  Lu = true;
}

void TDatum::Ecriture(std::string& sortie) const {
  sortie += "Datum=\"" + Nom + "\" \"" + Description + "\" \"" +
            (Ellipsoide ? Ellipsoide->Nom : std::string()) + "\"";
  for (double delta : {DeltaX, DeltaY, DeltaZ}) {
    sortie += ' ';
    AjouteG(sortie, delta, 12);
  }
  if (!TroisParametres) {
    for (double rotation : {RotX, RotY, RotZ}) {
      sortie += ' ';
      AjouteG(sortie, rotation, 12);
    }
    sortie += ' ';
    AjouteG(sortie, Echelle, 8);
  }
  // The shipped grid is written as no grid token, so that the line keeps
  // finding it wherever the program is installed next; a named grid that
  // could not be found is kept: the file may come back.
  const bool livree = Nom == "NTF" && NomGrille == CheminDonneesProgramme(kGrilleNTF);
  if (!NomGrille.empty() && !livree && (!SansGrille || !ErreurGrille.empty()))
    sortie += " \"" + NomGrille + "\"";
  else if (SansGrille)
    sortie += " *";
  sortie += "\r\n";
}

void TDatum::Assign(const TDatum& source) {
  Nom = source.Nom;
  Description = source.Description;
  Ellipsoide = source.Ellipsoide;
  DeltaX = source.DeltaX;
  DeltaY = source.DeltaY;
  DeltaZ = source.DeltaZ;
  TroisParametres = source.TroisParametres;
  if (!source.Grille && !source.ErreurGrille.empty()) {
    // A grid that could not be read at loading is not tried again here.
    Grille.reset();
    NomGrille = source.NomGrille;
    ErreurGrille = source.ErreurGrille;
  } else {
    SetGrille(source.NomGrille);
  }
  // "*" (no grid) goes with it: SetGrille leaves it alone when the name
  // does not change, and a copy of an NTF saved without "*" would take the
  // default grid at the next start.
  SansGrille = source.SansGrille;
  if (!TroisParametres) {
    RotX = source.RotX;
    RotY = source.RotY;
    RotZ = source.RotZ;
    Echelle = source.Echelle;
  }
}

// Datum to WGS84: the similarity of the datum, replaced inside the grid by the
// translations interpolated at the approximate WGS84 position.
bool TDatum::VersWGS84(bool paris, double phi, double lambda, double& X, double& Y,
                       double& Z) const {
  if (paris) lambda += MeridienParis();
  double x, y, z;
  GeographiqueVersCartesien(lambda, phi, 0, Ellipsoide->A, Ellipsoide->E, x, y, z);
  if (TroisParametres)
    SeptParametres(DeltaX, DeltaY, DeltaZ, 0, 0, 0, 0, x, y, z, X, Y, Z);
  else
    SeptParametres(DeltaX, DeltaY, DeltaZ, Echelle / 1e6, SecondesVersRadians(RotX),
                   SecondesVersRadians(RotY), SecondesVersRadians(RotZ), x, y, z, X, Y, Z);
  if (!Grille) return false;
  double lambdaW, phiW, tx, ty, tz;
  CartesienVersGeographique(X, Y, Z, DemiGrandAxeWGS84, ExcentriciteWGS84, lambdaW, phiW);
  if (!Grille->Interpole(lambdaW * RadiansVersDegres, phiW * RadiansVersDegres, tx, ty, tz))
    return false;
  SeptParametres(tx, ty, tz, 0, 0, 0, 0, x, y, z, X, Y, Z);
  return true;
}

// WGS84 to datum: the grid is looked up once at the WGS84 position, without
// iteration; outside it the exact inverse of the datum's similarity is used.
bool TDatum::DepuisWGS84(bool paris, double X, double Y, double Z, double& phi,
                         double& lambda, double* tangente) const {
  double x = X, y = Y, z = Z;
  bool grille = false;
  if (Grille) {
    double lambdaW, phiW, tx, ty, tz;
    CartesienVersGeographique(X, Y, Z, DemiGrandAxeWGS84, ExcentriciteWGS84, lambdaW, phiW);
    grille = Grille->Interpole(lambdaW * RadiansVersDegres, phiW * RadiansVersDegres, tx, ty, tz);
    if (grille) SeptParametresInverseApprochee(tx, ty, tz, 0, 0, 0, 0, X, Y, Z, x, y, z);
  }
  if (!grille) {
    if (TroisParametres)
      SeptParametresInverseApprochee(DeltaX, DeltaY, DeltaZ, 0, 0, 0, 0, X, Y, Z, x, y, z);
    else
      SeptParametresInverse(DeltaX, DeltaY, DeltaZ, Echelle / 1e6, SecondesVersRadians(RotX),
                            SecondesVersRadians(RotY), SecondesVersRadians(RotZ), X, Y, Z, x,
                            y, z);
  }
  // The height is dropped.
  CartesienVersGeographique(x, y, z, Ellipsoide->A, Ellipsoide->E, lambda, phi, tangente);
  if (paris) lambda -= MeridienParis();
  return grille;
}

bool TDatum::Identite() const {
  return !Grille && DeltaX == 0 && DeltaY == 0 && DeltaZ == 0 &&
         (TroisParametres || (RotX == 0 && RotY == 0 && RotZ == 0 && Echelle == 0));
}

bool MemeDatum(const TDatum& a, const TDatum& b) {
  if (&a == &b) return true;
  return a.Identite() && b.Identite() && a.Ellipsoide && b.Ellipsoide &&
         a.Ellipsoide->A == b.Ellipsoide->A && a.Ellipsoide->E == b.Ellipsoide->E;
}

}  // namespace vestrel
