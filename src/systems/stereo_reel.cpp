#include "systems/stereo_reel.h"

#include "tools/erreurs.h"
#include "tools/flottant.h"

namespace vestrel {

void TStereo_reel::CalculeConstantes() {
  if (!Valide) return;
  try {
    GardeFlottante garde;
    const TConstantes k = Constantes(TexteVersAngle(Phi0.Texte), DemiGrandAxe(), Excentricite());
    if (garde.Faute()) return;  // nothing written: the core stays as it was
    SetParametres(Landa0.Texte, k.PhiC, k.n1, k.n2, k.c, X0, Y0);
  } catch (const Erreur&) {
    // An unparsable text: the core keeps what it had.
  }
}

}  // namespace vestrel
