// Writes the NTF grid "gr3df97a.txt" shipped beside france.txt, from IGN's
// NTv2 grid "ntf_r93.gsb" (public domain; Debian's proj-data installs it in
// /usr/share/proj/). Run by hand when the source grid changes:
//
//   build/grille_ntf /usr/share/proj/ntf_r93.gsb data/gr3df97a.txt
//
// The NTv2 grid gives, at nodes in NTF coordinates, the horizontal shift from
// NTF to RGF93. The IGN ".txt" layout gives, at nodes in RGF93 (WGS84)
// coordinates, the geocentric translation TX TY TZ that the NTF datum adds to
// its Clarke 1880 IGN coordinates (height 0). At each node of the written
// grid the NTF point whose NTv2 shift lands on the node is found by
// iteration; the translation then carries that point exactly onto the node.
// A horizontal shift fixes two components only: the third, along the GRS 80
// normal at the node, is taken from the mean translation -168 -60 320, so
// heights carried through this grid mean nothing.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "geodesy/datum.h"
#include "geodesy/geodesie.h"
#include "tools/chemins.h"
#include "tools/codec.h"
#include "tools/erreurs.h"
#include "tools/nombres.h"

using namespace vestrel;

namespace {

constexpr double kDegre = 3.14159265358979323846 / 180;

// The catalogue's "Clarke 1880 IGN", the ellipsoid of the NTF datum.
constexpr double kAClarke = 6378249.2;
constexpr double kEClarke = 0.0824832567634;
// The mean NTF to WGS84 translation: the component along the normal.
constexpr double kMoyenne[3] = {-168, -60, 320};

// The written grid: nodes every 0.1° over -5.5…10° E, 41…52° N.
constexpr double kLonMin = -5.5, kLatMin = 41, kPas = 0.1;
constexpr int kNLon = 156, kNLat = 111;
constexpr const char* kEntete = "-5.5 10 41 52 0.1 0.1";

// One NTv2 sub-grid: shifts in seconds of arc, longitudes positive west,
// rows from south to north, columns from east to west.
struct TNTv2 {
  double Sud = 0, Est = 0, PasLat = 0, PasLon = 0;  // seconds, Est positive west
  int Lignes = 0, Colonnes = 0;
  std::vector<float> DLat, DLon;  // seconds, DLon positive west

  explicit TNTv2(const std::string& octets) {
    auto champ = [&](size_t enregistrement, const char* nom) {
      const size_t p = enregistrement * 16;
      if (p + 16 > octets.size() || octets.compare(p, std::strlen(nom), nom) != 0)
        throw ErreurConversion(std::string("Grille NTv2 : ") + nom + " attendu");
      return p + 8;
    };
    auto entier = [&](size_t e, const char* nom) {
      int32_t v;
      std::memcpy(&v, octets.data() + champ(e, nom), 4);
      return v;
    };
    auto reel = [&](size_t e, const char* nom) {
      double v;
      std::memcpy(&v, octets.data() + champ(e, nom), 8);
      return v;
    };
    if (entier(0, "NUM_OREC") != 11 || entier(1, "NUM_SREC") != 11 || entier(2, "NUM_FILE") != 1 ||
        octets.compare(champ(3, "GS_TYPE"), 7, "SECONDS") != 0)
      throw ErreurConversion("Grille NTv2 : une seule sous-grille en secondes attendue");
    Sud = reel(15, "S_LAT");
    const double nord = reel(16, "N_LAT");
    Est = reel(17, "E_LONG");
    const double ouest = reel(18, "W_LONG");
    PasLat = reel(19, "LAT_INC");
    PasLon = reel(20, "LONG_INC");
    Lignes = static_cast<int>(std::lround((nord - Sud) / PasLat)) + 1;
    Colonnes = static_cast<int>(std::lround((ouest - Est) / PasLon)) + 1;
    const size_t noeuds = static_cast<size_t>(Lignes) * Colonnes;
    if (entier(21, "GS_COUNT") != static_cast<int32_t>(noeuds) || octets.size() < 22 * 16 + noeuds * 16)
      throw ErreurConversion("Grille NTv2 : nombre de nœuds incohérent");
    DLat.resize(noeuds);
    DLon.resize(noeuds);
    for (size_t k = 0; k < noeuds; ++k) {
      float valeurs[4];  // latitude, longitude, two accuracies
      std::memcpy(valeurs, octets.data() + 22 * 16 + k * 16, 16);
      DLat[k] = valeurs[0];
      DLon[k] = valeurs[1];
    }
  }

  // Bilinear shift at (lon east, lat) in degrees, in degrees east and north.
  // Outside the grid the edge cell is extended linearly; `dehors` says so.
  void Decalage(double lon, double lat, double& dLon, double& dLat, bool& dehors) const {
    const double x = (-lon * 3600 - Est) / PasLon, y = (lat * 3600 - Sud) / PasLat;
    dehors = x < 0 || x > Colonnes - 1 || y < 0 || y > Lignes - 1;
    const int c = std::clamp(static_cast<int>(std::floor(x)), 0, Colonnes - 2);
    const int l = std::clamp(static_cast<int>(std::floor(y)), 0, Lignes - 2);
    const double fx = x - c, fy = y - l;
    auto bilineaire = [&](const std::vector<float>& a) {
      const size_t k = static_cast<size_t>(l) * Colonnes + c;
      return (1 - fx) * (1 - fy) * a[k] + fx * (1 - fy) * a[k + 1] + (1 - fx) * fy * a[k + Colonnes] +
             fx * fy * a[k + Colonnes + 1];
    };
    dLat = bilineaire(DLat) / 3600;
    dLon = -bilineaire(DLon) / 3600;
  }
};

// The translation at the node (lon, lat) of RGF93, degrees. `extrapole` is
// set when the NTF point lies outside the NTv2 grid.
void Translation(const TNTv2& ntv2, double lon, double lat, double t[3], bool& extrapole) {
  // The NTF point whose shift lands on the node.
  double lonNTF = lon, latNTF = lat;
  for (int iteration = 0;; ++iteration) {
    double dLon, dLat;
    ntv2.Decalage(lonNTF, latNTF, dLon, dLat, extrapole);
    const double lonSuivante = lon - dLon, latSuivante = lat - dLat;
    const bool fini = std::abs(lonSuivante - lonNTF) < 1e-13 && std::abs(latSuivante - latNTF) < 1e-13;
    lonNTF = lonSuivante;
    latNTF = latSuivante;
    if (fini) break;
    if (iteration == 50) throw ErreurArithmetique("Grille NTv2 : l'inversion ne converge pas");
  }
  double ntf[3], rgf[3];
  GeographiqueVersCartesien(lonNTF * kDegre, latNTF * kDegre, 0, kAClarke, kEClarke, ntf[0], ntf[1], ntf[2]);
  GeographiqueVersCartesien(lon * kDegre, lat * kDegre, 0, DemiGrandAxeWGS84, ExcentriciteWGS84, rgf[0],
                            rgf[1], rgf[2]);
  // Any translation rgf - ntf + h·n lands on the node (n the GRS 80 normal
  // there); h gives it the normal component of the mean translation.
  const double n[3] = {std::cos(lat * kDegre) * std::cos(lon * kDegre),
                       std::cos(lat * kDegre) * std::sin(lon * kDegre), std::sin(lat * kDegre)};
  double h = 0;
  for (int i = 0; i < 3; ++i) h += (kMoyenne[i] - (rgf[i] - ntf[i])) * n[i];
  for (int i = 0; i < 3; ++i) t[i] = rgf[i] - ntf[i] + h * n[i];
}

std::string GrilleIgn(const TNTv2& ntv2) {
  std::string noeuds;
  int extrapoles = 0;
  for (int i = 0; i < kNLon; ++i)
    for (int j = 0; j < kNLat; ++j) {
      const double lon = kLonMin + i * kPas, lat = kLatMin + j * kPas;
      double t[3];
      bool extrapole = false;
      Translation(ntv2, lon, lat, t, extrapole);
      extrapoles += extrapole;
      std::string numero = FormatD(i * kNLat + j + 1);
      noeuds += std::string(5 - std::min<size_t>(5, numero.size()), '0') + numero;
      for (double v : {lon, lat}) noeuds += ' ' + FormatF(v, 9);
      for (double v : t) noeuds += ' ' + FormatF(v, 4);
      noeuds += "\r\n";
    }
  const std::string entete =
      "GR3D NTF vers RGF93 : translations tirées de la grille NTv2 ntf_r93.gsb de l'IGN "
      "(domaine public), nœuds en coordonnées RGF93\r\n"
      "GR3D1 " + std::string(kEntete) + "\r\n"
      "GR3D2 Méthode : en chaque nœud, TX TY TZ reproduisent exactement le décalage horizontal NTv2 "
      "de Clarke 1880 IGN (h = 0) à GRS 80 ; la composante selon la normale vient de la "
      "translation moyenne -168 -60 320\r\n"
      "GR3D3 Les hauteurs passées par cette grille n'ont pas de sens ; " +
      FormatD(extrapoles) + " nœuds de bord extrapolés hors de la grille NTv2\r\n";
  return Utf8VersWin1252(entete) + noeuds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "Usage : grille_ntf ntf_r93.gsb gr3df97a.txt\n";
    return 2;
  }
  try {
    const TNTv2 ntv2(LitFichier(argv[1]));
    EcritFichierSur(argv[2], GrilleIgn(ntv2));
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
