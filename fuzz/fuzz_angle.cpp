// Angle texts: any bytes through TexteVersAngle; what it reads is written in
// every display unit and must read back to the same angle at the precision
// of the form.
#include <cmath>
#include <string>

#include "commun.h"
#include "tools/erreurs.h"
#include "tools/nombres.h"
#include "tools/outils.h"

using namespace vestrel;

namespace {

// Half a unit of the last written digit, in radians.
double PrecisionForme(int unite) {
  switch (unite) {
    case uaDegres: return 0.5e-8 * DegresVersRadians;
    case uaDMS: return 0.5e-3 / 3600 * DegresVersRadians;
    case uaGrades: return 0.5e-8 * GradesVersRadians;
    default: return 0.5e-3 / 60 * DegresVersRadians;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
  const std::string_view texte = fuzz::Texte(octets, taille);
  double angle = 0, essai = 0;
  const bool lu = EssaieTexteVersAngle(texte, essai);
  try {
    angle = TexteVersAngle(texte);
  } catch (const Erreur&) {
    fuzz::Exige(!lu, "EssaieTexteVersAngle lit ce que TexteVersAngle refuse");
    return 0;
  }
  fuzz::Exige(lu && essai == angle, "EssaieTexteVersAngle et TexteVersAngle divergent");
  fuzz::Exige(std::isfinite(angle), "angle non fini lu de '" + std::string(texte) + "'");
  for (int unite = -1; unite <= 4; ++unite) {
    std::string ecrit = "inchangé";
    try {
      AngleVersTexte(unite, angle, ecrit);
    } catch (const Erreur&) {
      continue;  // beyond what a whole count of thousandths can hold
    }
    if (unite < 0 || unite > 3) {
      fuzz::Exige(ecrit == "inchangé", "unité hors limites : texte modifié");
      continue;
    }
    double relu = 0;
    try {
      relu = TexteVersAngle(ecrit);
    } catch (const Erreur& e) {
      fuzz::Echec("'" + ecrit + "' écrit par l'unité " + FormatD(unite) + " ne se relit pas : " +
                  e.what());
    }
    const double tolerance = PrecisionForme(unite) + 4e-16 * std::fabs(angle);
    fuzz::Exige(std::fabs(relu - angle) <= tolerance,
                "'" + std::string(texte) + "' -> '" + ecrit + "' relu " + FormatG(relu, 17) +
                    " au lieu de " + FormatG(angle, 17));
  }
  return 0;
}
