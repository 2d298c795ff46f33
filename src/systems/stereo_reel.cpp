#include "systems/stereo_reel.h"

#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {

void TStereo_reel::CalculeConstantes() {
  if (!Valide) return;
  try {
    GardeFlottante garde;
    const TSphereGauss s = Sphere(TexteVersAngle(Phi0.Texte), DemiGrandAxe(), Excentricite());
    const double n2 = k0 * s.R;
    const std::string centre = TexteCentre(s.Latitude);
    if (garde.Faute()) return;  // nothing written: the core stays as it was
    SetParametres(Landa0.Texte, centre, s.n1, n2, s.c, X0, Y0);
  } catch (const Erreur&) {
    // An unparsable text: the core keeps what it had.
  }
}

}  // namespace vestrel
