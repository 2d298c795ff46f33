// Correction grid files. Three layouts share one header of six numbers
// (LonMin LonMax LatMin LatMax PasLon PasLat, degrees):
// - ".txt" in any letter case, the IGN layout of "gr3df97a.txt": line 1
//   ignored, line 2 a label then the header, lines 3-4 ignored, then one
//   record per line "number lon lat TX TY TZ ...";
// - otherwise line 1 is the header alone and line 2 holds "TX TY TZ x" for
//   every node in element order (one-line layout);
// - or, when line 1 goes on after the header, one record "lon lat TX TY TZ
//   ..." per following line (record layout).
// Lines end with CR LF, LF or CR; the content is plain ASCII numbers.
#include "geodesy/grille_ign.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <string_view>

#include "tools/chemins.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

// A grid larger than this is refused (three arrays of 8-byte values).
constexpr double kNoeudsMax = 50e6;

// ExtraitJeton over a view, so that a long line is not copied at each token.
std::string_view Jeton(std::string_view& ligne, char separateur) {
  const size_t debut = ligne.find_first_not_of(separateur);
  if (debut == std::string_view::npos) {
    ligne = {};
    return {};
  }
  ligne.remove_prefix(debut);
  const size_t fin = ligne.find(separateur);
  if (fin == std::string_view::npos) {
    const std::string_view jeton = ligne;
    ligne = {};
    return jeton;
  }
  const std::string_view jeton = ligne.substr(0, fin);
  ligne.remove_prefix(fin + 1);
  return jeton;
}

double Nombre(std::string_view& ligne, char separateur) {
  return LitReel(Jeton(ligne, separateur));
}

// Lines at CR LF, LF or CR; views into `texte`.
std::vector<std::string_view> Lignes(std::string_view texte) {
  std::vector<std::string_view> lignes;
  size_t debut = 0;
  while (debut < texte.size()) {
    size_t fin = texte.find_first_of("\r\n", debut);
    if (fin == std::string_view::npos) fin = texte.size();
    lignes.push_back(texte.substr(debut, fin - debut));
    if (fin < texte.size() && texte[fin] == '\r' && fin + 1 < texte.size() &&
        texte[fin + 1] == '\n')
      ++fin;
    debut = fin + 1;
  }
  return lignes;
}

bool ExtensionTxt(const std::string& fichier) {
  const size_t point = fichier.rfind('.');
  if (point == std::string::npos || fichier.find('/', point) != std::string::npos) return false;
  std::string extension = fichier.substr(point);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".TXT";
}

std::string_view LigneOuVide(const std::vector<std::string_view>& lignes, size_t indice) {
  return indice < lignes.size() ? lignes[indice] : std::string_view{};
}

}  // namespace

std::string ExtraitJeton(std::string& ligne, char separateur) {
  std::string_view reste = ligne;
  const std::string jeton(Jeton(reste, separateur));
  ligne = std::string(reste);
  return jeton;
}

TGrilleIgn::TGrilleIgn(const std::string& fichier) {
  const std::string contenu = LitFichier(fichier);
  const std::vector<std::string_view> lignes = Lignes(contenu);
  const bool ign = ExtensionTxt(fichier);

  // A number that cannot be read names the file and its line.
  auto ligneFautive = [&](size_t indice, auto&& lecture) {
    try {
      lecture();
    } catch (const ErreurConversion& erreur) {
      throw ErreurConversion("Grille " + fichier + ", ligne " + std::to_string(indice + 1) +
                             " : " + erreur.what());
    }
  };
  std::string_view entete = LigneOuVide(lignes, ign ? 1 : 0);
  ligneFautive(ign ? 1 : 0, [&] {
    if (ign) Jeton(entete, ' ');
    LonMin = Nombre(entete, ' ');
    LonMax = Nombre(entete, ' ');
    LatMin = Nombre(entete, ' ');
    LatMax = Nombre(entete, ' ');
    PasLon = Nombre(entete, ' ');
    PasLat = Nombre(entete, ' ');
  });

  // The node counts are checked before anything is allocated: a damaged
  // header must not ask for gigabytes.
  double nlon = 0, nlat = 0;
  {
    GardeFlottante garde;
    nlon = std::nearbyint((LonMax - LonMin) / PasLon) + 1;
    nlat = std::nearbyint((LatMax - LatMin) / PasLat) + 1;
    garde.Faute();
  }
  if (!(PasLon > 0) || !(PasLat > 0) || !(LonMax >= LonMin) || !(LatMax >= LatMin) ||
      !std::isfinite(nlon) || !std::isfinite(nlat) || nlon * nlat > kNoeudsMax)
    throw ErreurConversion("En-tête de grille incorrect dans le fichier " + fichier);
  NLon = static_cast<int>(nlon);
  NLat = static_cast<int>(nlat);
  const size_t noeuds = static_cast<size_t>(NLon) * static_cast<size_t>(NLat);
  TX.assign(noeuds, 0.0);
  TY.assign(noeuds, 0.0);
  TZ.assign(noeuds, 0.0);

  const bool uneLigne = !ign && entete.empty();
  size_t premiere = ign ? 4 : 1;
  while (!uneLigne && premiere < lignes.size() && lignes[premiere].empty()) ++premiere;
  const std::string_view modele = LigneOuVide(lignes, premiere);
  const char separateur = modele.find(' ') != std::string_view::npos ? ' ' : '\t';

  if (uneLigne) {
    ligneFautive(premiere, [&] {
      std::string_view valeurs = modele;
      for (size_t k = 0; k < noeuds; ++k) {
        TX[k] = Nombre(valeurs, separateur);
        TY[k] = Nombre(valeurs, separateur);
        TZ[k] = Nombre(valeurs, separateur);
        Jeton(valeurs, separateur);
      }
    });
    return;
  }

  for (size_t n = premiere; n < lignes.size(); ++n) {
    std::string_view ligne = lignes[n];
    if (ligne.empty()) continue;
    ligneFautive(n, [&] {
      if (ign) Jeton(ligne, separateur);
      const double lon = Nombre(ligne, separateur);
      const double lat = Nombre(ligne, separateur);
      const double tx = Nombre(ligne, separateur);
      const double ty = Nombre(ligne, separateur);
      const double tz = Nombre(ligne, separateur);
      const double i = std::nearbyint((lon - LonMin) / PasLon);
      const double j = std::nearbyint((lat - LatMin) / PasLat);
      if (!(i >= 0 && i < NLon && j >= 0 && j < NLat)) return;
      const size_t k = static_cast<size_t>(i) * NLat + static_cast<size_t>(j);
      TX[k] = tx;
      TY[k] = ty;
      TZ[k] = tz;
    });
  }
}

// Bilinear interpolation in the cell whose lower corner is node (i, j). On
// the upper edges the cell shrinks to its lower nodes: the weights beyond the
// grid are zero and those nodes are not read. The steps' inverses do not
// wait for the point. The values read from a file are finite and the
// weights sum to 1, so that nothing can overflow; a value that is not finite
// (a grid altered in memory) leaves the point outside.
bool TGrilleIgn::Interpole(double lon, double lat, double& tx, double& ty, double& tz) const {
  if (!(lon >= LonMin && lon <= LonMax && lat >= LatMin && lat <= LatMax)) return false;
  const double u = (lon - LonMin) * (1 / PasLon);
  const double v = (lat - LatMin) * (1 / PasLat);
  // u, v >= 0: the conversion truncates.
  const int i = std::min(static_cast<int>(u), NLon - 1);
  const int j = std::min(static_cast<int>(v), NLat - 1);
  const bool lonSuivante = i + 1 < NLon;
  const bool latSuivante = j + 1 < NLat;
  const double fu = lonSuivante ? u - i : 0.0;
  const double fv = latSuivante ? v - j : 0.0;
  const size_t k = static_cast<size_t>(i) * NLat + j;
  const double w00 = (1 - fu) * (1 - fv);
  const double w10 = fu * (1 - fv);
  const double w01 = (1 - fu) * fv;
  const double w11 = fu * fv;
  auto combine = [&](const std::vector<double>& a) {
    double somme = w00 * a[k];
    if (lonSuivante) somme += w10 * a[k + NLat];
    if (latSuivante) somme += w01 * a[k + 1];
    if (lonSuivante && latSuivante) somme += w11 * a[k + NLat + 1];
    return somme;
  };
  tx = combine(TX);
  ty = combine(TY);
  tz = combine(TZ);
  return std::isfinite(tx) && std::isfinite(ty) && std::isfinite(tz);
}

}  // namespace vestrel
