// The correction-grid reader: the first byte picks the file name (its
// extension picks the layout), the rest is the file. A grid that loads is
// consistent and interpolates finite translations wherever it says "inside".
#include <cmath>
#include <string>

#include "commun.h"
#include "geodesy/grille_ign.h"
#include "tools/erreurs.h"

using namespace vestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
  if (taille == 0) return 0;
  static const char* const kNoms[] = {"grille.txt", "GRILLE.TXT", "grille.Txt", "grille.gri",
                                      "grille.dat", "grille", "grille.txt.gri", "g.tx"};
  const std::string nom = kNoms[octets[0] % (sizeof kNoms / sizeof *kNoms)];
  const std::string chemin = fuzz::Fichier(nom, fuzz::Texte(octets + 1, taille - 1));
  try {
    const TGrilleIgn g(chemin);
    const size_t noeuds = static_cast<size_t>(g.NLon) * static_cast<size_t>(g.NLat);
    fuzz::Exige(g.NLon > 0 && g.NLat > 0 && g.TX.size() == noeuds && g.TY.size() == noeuds &&
                    g.TZ.size() == noeuds,
                "tableaux de taille incohérente");
    const double lons[] = {g.LonMin, g.LonMax, (g.LonMin + g.LonMax) / 2,
                           g.LonMin + 0.37 * g.PasLon, std::nextafter(g.LonMax, g.LonMin),
                           std::nextafter(g.LonMin, -1e300), std::nextafter(g.LonMax, 1e300)};
    const double lats[] = {g.LatMin, g.LatMax, (g.LatMin + g.LatMax) / 2,
                           g.LatMin + 0.61 * g.PasLat, std::nextafter(g.LatMax, g.LatMin),
                           std::nextafter(g.LatMin, -1e300), std::nextafter(g.LatMax, 1e300)};
    for (double lon : lons)
      for (double lat : lats) {
        double tx = 0, ty = 0, tz = 0;
        const bool dedans = g.Interpole(lon, lat, tx, ty, tz);
        if (!(lon >= g.LonMin && lon <= g.LonMax && lat >= g.LatMin && lat <= g.LatMax))
          fuzz::Exige(!dedans, "point hors de la grille dit dedans");
        if (dedans)
          fuzz::Exige(std::isfinite(tx) && std::isfinite(ty) && std::isfinite(tz),
                      "translation non finie");
      }
  } catch (const Erreur&) {
  }
  return 0;
}
